#include "shell/dialog_frame.h"

#include "controls/bar_button.h"
#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"
#include "shell/glyphs.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace quillmere {

namespace {

TRbPanel* fillingPanel(QWidget* window, const QString& name) {
    auto* panel = new TRbPanel(window, name);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    return panel;
}

}  // namespace

TRbPanel* MakeContentFrame(QWidget* window, const QString& caption) {
    TRbPanel* panel = fillingPanel(window, QStringLiteral("RbPanel8"));
    applyContentFrameStyle(*panel);
    panel->SetCaption(caption);
    return panel;
}

TRbPanel* MakeTitleBar(QWidget* parent, const QString& name, int captionHeight) {
    auto* panel = new TRbPanel(parent, name);
    applyTitleBarStyle(*panel, captionHeight);
    return panel;
}

TRbPanel* MakeButtonBar(QWidget* parent, const QString& name) {
    auto* panel = new TRbPanel(parent, name);
    applyButtonBarStyle(*panel);
    panel->SetCaption(QString());
    return panel;
}

TRbPanel* MakeToolBarBand(QWidget* parent, const QString& name) {
    auto* panel = new TRbPanel(parent, name);
    applyContentFrameStyle(*panel, 25, 3);
    panel->SetShowCaption(false);
    panel->setFont(ArialPixels(15));
    return panel;
}

TRbPanel* MakeEditorBand(QWidget* parent, const QString& name) {
    auto* panel = new TRbPanel(parent, name);
    applyContentFrameStyle(*panel, 0, 7);
    panel->SetShowCaption(false);
    // Its caption is never shown; a plain font keeps the caption's bold out
    // of the editor, which inherits what its own font leaves unset.
    panel->setFont(ArialPixels(15));
    return panel;
}

TRbButton* MakeDialogButton(QWidget* parent, const QString& name, const QString& caption,
                            const QRect& geometry, char16_t glyphCode, bool glyphRight) {
    return MakeBarButton(parent, name, caption, geometry, glyphCode, glyphRight, clWhite);
}

TRbCheckBox* MakeSkipCheckBox(QWidget* parent, const QRect& geometry) {
    auto* box = new TRbCheckBox(parent, QStringLiteral("chkSkip"));
    box->setGeometry(geometry);
    box->SetCaption(QCoreApplication::translate("quillmere::DialogFrame", "Skip empty entries"));
    box->setFont(designFont(QStringLiteral("Arial"), 13));
    box->SetCheckColor(32768);  // #008000
    box->SetGradientBorder(true);
    box->SetShowFocusRect(true);
    box->SetTextShadow(true);
    box->SetHotTrack(false);
    box->SetSpacing(3);
    box->SetColor(clWhite);
    return box;
}

QFont ArialPixels(int pixels, bool bold) {
    return designFont(QStringLiteral("Arial"), pixels, bold);
}

void SetBlackText(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    widget->setPalette(palette);
}

QPoint CentredTopLeft(const QRect& area, const QRect& frame, const QRect& client) {
    const QSize size = frame.contains(client) ? frame.size() : client.size();
    return QPoint(area.left() + (area.width() - size.width()) / 2,
                  area.top() + (area.height() - size.height()) / 2);
}

void CentreOn(QWidget& window, const QWidget* over) {
    QRect area;
    if (over != nullptr && over->isVisible()) {
        area = over->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    window.move(CentredTopLeft(area, window.frameGeometry(), window.geometry()));
}

}  // namespace quillmere
