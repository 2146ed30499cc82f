#include "search/result_list.h"

#include "controls/color_gradient.h"
#include "controls/rb_fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

namespace quillmere {

namespace {

// Colours of the selected item (0x00BBGGRR).
constexpr TColor kGradientTop = 14546431;    // #FFF5DD
constexpr TColor kGradientBottom = 6214399;  // #FFD25E
constexpr TColor kOutlineColor = 12961221;   // #C5C5C5
constexpr int kCornerEllipse = 5;
constexpr int kImageOffset = 4;
constexpr int kTextLeft = 25;
constexpr int kTextTop = 4;

// The rounded rectangle (L, T, R, B) with corner ellipses of 5 x 5, as a
// clip region: the rectangle less the pixels outside the corner ellipses.
QPainterPath roundedRegion(const QRect& rect) {
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), kCornerEllipse / 2.0, kCornerEllipse / 2.0);
    return path;
}

void drawSelection(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setClipPath(roundedRegion(rect));
    DrawColorGradient(painter, FillRect::fromQRect(rect), false,
                      {kGradientTop, kGradientTop, kGradientBottom});
    // The outline (L, T, R - 1, B - 1): its pixels lie on L .. R - 2 and
    // T .. B - 2, one pixel inside the gradient's far edges.
    painter.setPen(QPen(toQColor(kOutlineColor), 1));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRoundedRect(QRect(rect.left(), rect.top(), rect.width() - 2, rect.height() - 2),
                            kCornerEllipse / 2.0, kCornerEllipse / 2.0);
    painter.restore();
}

// The picture with its white pixels left out.
QImage withWhiteTransparent(const QImage& image) {
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if ((row[x] & 0x00FFFFFF) == 0x00FFFFFF) {
                row[x] = 0;
            }
        }
    }
    return argb;
}

// A dotted rectangle that inverts every other pixel of its border, as the
// window system draws the focus of a list item.
void drawFocusRectangle(QPainter& painter, const QRect& rect) {
    if (painter.paintEngine() == nullptr || painter.paintEngine()->type() != QPaintEngine::Raster) {
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;
    auto dot = [&](int x, int y) {
        if (((x - rect.left()) + (y - rect.top())) % 2 == 0) {
            painter.fillRect(QRect(x, y, 1, 1), Qt::white);
        }
    };
    for (int x = rect.left(); x <= right; ++x) {
        dot(x, rect.top());
        if (bottom != rect.top()) {
            dot(x, bottom);
        }
    }
    for (int y = rect.top() + 1; y < bottom; ++y) {
        dot(rect.left(), y);
        if (right != rect.left()) {
            dot(right, y);
        }
    }
    painter.restore();
}

}  // namespace

QString elideWithDots(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    static const QString dots = QStringLiteral("...");
    QString cut = text;
    while (!cut.isEmpty() && metrics.horizontalAdvance(cut + dots) > width) {
        cut.chop(1);
    }
    return cut + dots;
}

void ListBox1DrawItem(QPainter& painter, const QRect& rect, const QString& text,
                      const QImage& image, ResultItemState state) {
    if (state.selected) {
        drawSelection(painter, rect);
    } else {
        painter.fillRect(rect, Qt::white);
    }
    if (!image.isNull()) {
        painter.drawImage(QPoint(rect.left() + kImageOffset, rect.top() + kImageOffset),
                          withWhiteTransparent(image));
    }
    painter.save();
    painter.setPen(Qt::black);
    const QRect textRect(rect.left() + kTextLeft, rect.top() + kTextTop,
                         qMax(0, rect.width() - kTextLeft), qMax(0, rect.height() - kTextTop));
    painter.setClipRect(rect);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     elideWithDots(text, painter.fontMetrics(), textRect.width()));
    painter.restore();
    if (state.focused) {
        drawFocusRectangle(painter, rect);
    }
}

TResultListBox::TResultListBox(QWidget* parent) : QListWidget(parent) {
    installFontSubstitutes();
    setFont(designFont(QStringLiteral("Arial"), 13));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // Items are as wide as the list and their text is cut with "...", so
    // there is never anything to scroll sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new TResultItemDelegate(this));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
}

void TResultListBox::setItemImage(const QImage& image) {
    image_ = image;
    viewport()->update();
}

void TResultListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit listDoubleClicked();
    }
}

void TResultListBox::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int key = event->key();
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        if (!event->isAutoRepeat()) {
            emit itemChosenByKey();
        }
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

TResultItemDelegate::TResultItemDelegate(TResultListBox* list)
    : QStyledItemDelegate(list), list_(list) {}

void TResultItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    ResultItemState state;
    state.selected = option.state.testFlag(QStyle::State_Selected);
    state.focused = option.state.testFlag(QStyle::State_HasFocus);
    painter->save();
    painter->setFont(list_->font());
    ListBox1DrawItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(),
                     list_->itemImage(), state);
    painter->restore();
}

QSize TResultItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    Q_UNUSED(option);
    Q_UNUSED(index);
    // No width of its own: the list lays every item out across its whole
    // viewport, which narrows when the vertical scroll bar appears.
    return {1, kResultItemHeight};
}

}  // namespace quillmere
