#include "editor/pickers/emoticons_window.h"

#include "controls/bar_button.h"
#include "controls/rb_button.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"
#include "editor/pickers/emoticon_art.h"
#include "editor/pictures/picture_clipboard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace quillmere {

namespace {

constexpr int kWindowWidth = 427;
constexpr int kWindowHeight = 312;
constexpr int kPicturePanelHeight = kWindowHeight - 2 * kBarHeight;  // 222
constexpr TColor kCloseButtonColor = 4827907;                        // #03AB49

}  // namespace

void copyEmoticonToClipboard(const QImage& image) {
    putPictureOnClipboard(image);
}

// --- EmoticonImage ------------------------------------------------------------

namespace {

// A picture of the picker is a button for screen readers, pressed as a click.
class EmoticonAccessible : public QAccessibleWidget {
public:
    explicit EmoticonAccessible(EmoticonImage* image)
        : QAccessibleWidget(image, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->isEnabled()) {
            emit static_cast<EmoticonImage*>(widget())->clicked();
        }
    }
};

QAccessibleInterface* emoticonFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(EmoticonImage::staticMetaObject.className()) &&
        object != nullptr && object->isWidgetType()) {
        return new EmoticonAccessible(static_cast<EmoticonImage*>(object));
    }
    return nullptr;
}

}  // namespace

EmoticonImage::EmoticonImage(QWidget* parent, int tag, const QImage& picture)
    : QWidget(parent), tag_(tag), picture_(picture) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(emoticonFactory);
        return true;
    }();
    (void)factoryInstalled;
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(picture.size());
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void EmoticonImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    if (hasFocus() && keyboardFocus_) {
        // Reached by the keyboard: a dotted mark around it.
        QPen dots(Qt::black, 1, Qt::DotLine);
        painter.setPen(dots);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void EmoticonImage::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int key = plain ? event->key() : 0;
    const bool acts = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
                      key == Qt::Key_Right || key == Qt::Key_Down || key == Qt::Key_Left ||
                      key == Qt::Key_Up;
    if (acts && !keyboardFocus_) {
        // The focus came with the window and shows no mark yet: the first
        // key shows where it is rather than picking or moving unseen.
        keyboardFocus_ = true;
        update();
        emit focused();
        return;
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            emit clicked();
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            focusNextPrevChild(true);
            return;
        case Qt::Key_Left:
        case Qt::Key_Up:
            focusNextPrevChild(false);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void EmoticonImage::focusInEvent(QFocusEvent* event) {
    // Opening the window may put the focus on a picture as well; only Tab,
    // Shift+Tab and the arrows show the mark and the picture's text, so the
    // window looks as designed to a mouse user. Coming back to the window
    // keeps the mark as it was.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason) {
        keyboardFocus_ = true;
    } else if (reason == Qt::MouseFocusReason) {
        keyboardFocus_ = false;
    }
    QWidget::focusInEvent(event);
    update();
    if (keyboardFocus_) {
        emit focused();
    }
}

void EmoticonImage::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void EmoticonImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(event->modifiers(), at.x(), at.y());
}

void EmoticonImage::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void EmoticonImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        emit clicked();
    }
}

// --- TfrmEmoticons --------------------------------------------------------------

TfrmEmoticons::TfrmEmoticons(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    FormCreate();
}

void TfrmEmoticons::FormCreate() {
    setObjectName(QStringLiteral("frmEmoticons"));
    setWindowTitle(tr("Emotional Icons"));
    setModal(true);
    setFixedSize(kWindowWidth, kWindowHeight);

    RbPanel3 = new TRbPanel(this, QStringLiteral("RbPanel3"));
    applyTitleBarStyle(*RbPanel3, 29);
    RbPanel3->SetCaption(tr("Emotional Icons"));
    RbPanel3->setGeometry(0, 0, kWindowWidth, kBarHeight);
    RbPanel3->installEventFilter(this);

    RbPanel1 = new TRbPanel(this, QStringLiteral("RbPanel1"));
    applyContentFrameStyle(*RbPanel1, 25, 7);
    RbPanel1->SetShowCaption(false);
    RbPanel1->setGeometry(0, kBarHeight, kWindowWidth, kPicturePanelHeight);

    Label1 = new QLabel(RbPanel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 184, 405, 22);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(designFont(QStringLiteral("Arial"), 19));
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(palette);

    RbPanel2 = new TRbPanel(this, QStringLiteral("RbPanel2"));
    applyButtonBarStyle(*RbPanel2);
    RbPanel2->setGeometry(0, kBarHeight + kPicturePanelHeight, kWindowWidth, kBarHeight);
    btnClose = MakeBarButton(RbPanel2, QStringLiteral("btnClose"), tr("Close"),
                             QRect(328, 10, 75, 25), 0, false, kCloseButtonColor);
    connect(btnClose, &TRbButton::OnClick, this, &TfrmEmoticons::btnCloseClick);

    buildPictures();
    EmoticonPicked = false;
}

void TfrmEmoticons::buildPictures() {
    for (const EmoticonRow& row : EmoticonRows()) {
        auto* image = new EmoticonImage(RbPanel1, row.tag, DrawEmoticon(row));
        image->setObjectName(QString::fromLatin1(row.component));
        image->move(row.geometry.topLeft());
        // The hover text's name part, for screen readers.
        image->setAccessibleName(
            tr(row.hoverText).section(QStringLiteral("   "), 0, 0));
        connect(image, &EmoticonImage::mouseMoved, this,
                [this, image](Qt::KeyboardModifiers shift, int x, int y) {
                    Image2MouseMove(image, shift, x, y);
                });
        connect(image, &EmoticonImage::clicked, this, [this, image] { Image2Click(image); });
        connect(image, &EmoticonImage::focused, this,
                [this, image] { Image2MouseMove(image, Qt::NoModifier, 0, 0); });
    }
}

EmoticonImage* TfrmEmoticons::imageOfTag(int tag) const {
    const EmoticonRow* row = EmoticonRowOf(tag);
    if (row == nullptr) {
        return nullptr;
    }
    return RbPanel1->findChild<EmoticonImage*>(QString::fromLatin1(row->component),
                                               Qt::FindDirectChildrenOnly);
}

void TfrmEmoticons::Image2MouseMove(EmoticonImage* Sender, Qt::KeyboardModifiers, int, int) {
    if (Sender == nullptr) {
        return;
    }
    if (const EmoticonRow* row = EmoticonRowOf(Sender->Tag())) {
        Label1->setText(tr(row->hoverText));
    }
}

void TfrmEmoticons::Image2Click(EmoticonImage* Sender) {
    if (Sender == nullptr) {
        return;
    }
    EmoticonPicked = true;
    copyEmoticonToClipboard(Sender->Picture());
    accept();
}

void TfrmEmoticons::btnCloseClick() {
    reject();
}

void TfrmEmoticons::RbPanel3MouseDown(const QPointF& globalPos) {
    dragOffset_.reset();
    QWindow* window = windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        return;
    }
    dragOffset_ = globalPos.toPoint() - pos();
}

bool TfrmEmoticons::eventFilter(QObject* watched, QEvent* event) {
    if (watched != RbPanel3) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                RbPanel3MouseDown(mouse->globalPosition());
                return true;
            }
            break;
        }
        case QEvent::MouseMove:
            if (dragOffset_) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                move(mouse->globalPosition().toPoint() - *dragOffset_);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (dragOffset_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                dragOffset_.reset();
                return true;
            }
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmEmoticons::showEvent(QShowEvent* event) {
    dragOffset_.reset();
    centreOnOwner();
    QDialog::showEvent(event);
}

void TfrmEmoticons::centreOnOwner() {
    const QWidget* owner = parentWidget();
    QRect area;
    if (owner != nullptr && owner->isVisible()) {
        area = owner->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    const QSize size = frameGeometry().size();
    move(area.left() + (area.width() - size.width()) / 2,
         area.top() + (area.height() - size.height()) / 2);
}

}  // namespace quillmere
