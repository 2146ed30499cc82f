#include "export/progress_window.h"

#include "controls/progress_cyl.h"
#include "controls/rb_button.h"
#include "controls/system_colors.h"
#include "export/frame_animator.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace quillmere {

namespace {

constexpr TColor kBarForeColor = 33023;    // #FF8000
constexpr TColor kBarForeLineColor = 128;  // maroon, #800000
// Both parts of the bar: the default shading turned round (ColorFactor +1), so
// the light line is the darkest row and the tube looks hollow.
constexpr StyleValues kBarStyle{255, 4.0f, -1.0f, 255, 255, 1.0f, -3.0f};

QFont labelFont(const QString& family, int pixelSize, bool bold, bool italic = false) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

// Draws `width` nested one-pixel rings inward from `rect`: left and top edges
// in `topLeft`, right and bottom edges in `bottomRight`.
void drawRings(QPainter& painter, QRect rect, int width, const QColor& topLeft,
               const QColor& bottomRight) {
    for (int i = 0; i < width; ++i) {
        painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
        painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
        painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
        painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

}  // namespace

TProgressPanel::TProgressPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel1"));
    setFrameShape(QFrame::NoFrame);  // the border is drawn by paintEvent
}

void TProgressPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect area = rect();
    painter.fillRect(area, Qt::white);
    // Single border: the sunken two-ring edge of a window's client area.
    drawRings(painter, area, 1, toQColor(clBtnShadow), toQColor(clBtnHighlight));
    area.adjust(1, 1, -1, -1);
    drawRings(painter, area, 1, toQColor(cl3DDkShadow), toQColor(cl3DLight));
    area.adjust(1, 1, -1, -1);
    // The raised bevel; the margin inside it stays white.
    drawRings(painter, area, kBevelWidth, toQColor(clBtnHighlight), toQColor(clBtnShadow));
}

TfrmProgress::TfrmProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Progress"));
    setModal(false);
    setFixedSize(kClientWidth, kClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    buildControls();
}

void TfrmProgress::buildControls() {
    Panel1 = new TProgressPanel(this);
    Panel1->setGeometry(0, 0, kClientWidth, kClientHeight);

    Label1 = makeLabel(Panel1, "Label1", tr("Exporting"),
                       labelFont(QStringLiteral("Arial"), 21, true, true));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(8, 16, 270, 24);

    RxGIFAnimator1 = new TFrameAnimator(Panel1);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setGeometry(120, 64, 32, 32);

    btnCancel = new TRbButton(Panel1, QStringLiteral("btnCancel"));
    btnCancel->SetCaption(QString());
    btnCancel->SetShowCaption(false);
    btnCancel->SetGlyph(cancelGlyph());
    btnCancel->SetColor(clWhite);
    btnCancel->setToolTip(tr("Stop Copying"));
    btnCancel->setGeometry(219, 64, 41, 41);
    connect(btnCancel, &TRbButton::OnClick, this, &TfrmProgress::btnCancelClick);

    xipZip = new TProgressCyl(Panel1);
    xipZip->setObjectName(QStringLiteral("xipZip"));
    xipZip->setGeometry(19, 120, 246, 41);
    setUpProgressBar();

    const QFont countFont = labelFont(QStringLiteral("Liberation Sans"), 11, true);
    Label4 = makeLabel(Panel1, "Label4", tr("Files exported:"), countFont);
    Label4->move(96, 168);
    Label4->adjustSize();
    lblCount = makeLabel(Panel1, "lblCount", QStringLiteral("0"),
                         labelFont(QStringLiteral("Liberation Sans"), 11, false));
    // Wide enough for any count up to the window's edge.
    lblCount->setGeometry(184, 168, kClientWidth - 184 - 8, Label4->height());
}

void TfrmProgress::setUpProgressBar() {
    xipZip->setBackBorderColor(clBlack);
    xipZip->setBackColor(clSilver);
    xipZip->setBackStyle(kBarStyle);
    xipZip->setForeStyle(kBarStyle);
    xipZip->setBevelColor(clWhite);
    xipZip->setBevelInner(bvNone);
    xipZip->setBevelOuter(bvNone);
    xipZip->setBevelWidth(1);
    xipZip->setBorderWidth(2);
    xipZip->setColor(clWhite);
    xipZip->setCylinderEffect(ceMaximum);
    xipZip->setFont(labelFont(QStringLiteral("Arial"), 12, true));
    xipZip->setFontColor(clBlack);
    xipZip->setFontEffect(feNone);
    xipZip->setFontOrientation(foLeftToRight);
    xipZip->setFontShadowColor(clBlack);
    xipZip->setForeColor(kBarForeColor);
    xipZip->setForeLineColor(kBarForeLineColor);
    xipZip->setMax(100);
    xipZip->setMin(0);
    xipZip->setOrientation(pbHorizontal);
    xipZip->setPosition(0);
    xipZip->setProEffect(peCustom);
    xipZip->setShowText(true);
    xipZip->setText(QStringLiteral("%"));
    xipZip->setTextDone(tr("Export Complete"));
    xipZip->setStep(1);
    xipZip->setStopAtMax(true);
}

void TfrmProgress::showCentredOn(QWidget* owner) {
    const QRect around = owner && owner->isVisible()
                             ? owner->frameGeometry()
                             : (screen() ? screen()->availableGeometry() : QRect());
    if (around.isValid()) {
        move(around.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
}

bool TfrmProgress::waitUntilPlaced(int timeoutMs) {
    // Right after show() the window system may not have mapped and framed
    // the window yet; until then its geometry can still read (0, 0).
    const QDeadlineTimer deadline(timeoutMs);
    const auto placed = [this] {
        const QWindow* window = windowHandle();
        return window != nullptr && window->isExposed() && frameGeometry().width() >= width();
    };
    while (isVisible() && !placed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return placed();
}

void TfrmProgress::btnCancelClick() {
    Label1->setText(tr("Finalizing..."));
    emit cancelRequested();
    QCoreApplication::processEvents();
}

QImage cancelGlyph() {
    constexpr int kGlyphSize = 24;
    QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x80, 0x00, 0x00), 1.0));
    painter.setBrush(QColor(0xD0, 0x20, 0x20));
    painter.drawEllipse(QRectF(1.5, 1.5, kGlyphSize - 3, kGlyphSize - 3));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8, 8, 8, 8));
    return image;
}

}  // namespace quillmere
