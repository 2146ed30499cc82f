// Shared pieces of the program's windows: the gradient panels that frame
// them, their push buttons and check box with the program's look, fonts and
// centring.
#pragma once

#include "controls/system_colors.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace quillmere {

class TRbButton;
class TRbCheckBox;
class TRbPanel;

// A content frame filling `window`: white, caption at the top centre in
// Arial bold 19 pixels, black with a white shadow, corner width 25, border 7
// silver, outer colour silver, antialiased.
TRbPanel* MakeContentFrame(QWidget* window, const QString& caption);

// The main window's bands: the date header (title bar with a caption
// `captionHeight` pixels high), the bottom button bar, the tool bar band
// (white, border 3, corners 25) and the editor band (white, border 7,
// square corners).
TRbPanel* MakeTitleBar(QWidget* parent, const QString& name, int captionHeight);
TRbPanel* MakeButtonBar(QWidget* parent, const QString& name);
TRbPanel* MakeToolBarBand(QWidget* parent, const QString& name);
TRbPanel* MakeEditorBand(QWidget* parent, const QString& name);

// A push button with the program's look (controls/bar_button.h) in white,
// for the dialogs.
TRbButton* MakeDialogButton(QWidget* parent, const QString& name, const QString& caption,
                            const QRect& geometry, char16_t glyphCode, bool glyphRight = false);

// The "Skip empty entries" check box: green check mark, text shadow, Arial
// 13 pixels, focus rectangle.
TRbCheckBox* MakeSkipCheckBox(QWidget* parent, const QRect& geometry);

// Arial of `pixels` character height (bold when asked).
QFont ArialPixels(int pixels, bool bold = false);

// Makes a widget's text black whatever the palette.
void SetBlackText(QWidget* widget);

// Centres `window` on `over` when that is shown, else on the primary
// screen's work area.
void CentreOn(QWidget& window, const QWidget* over);

// The top-left corner that centres a window on `area`: its outer size is its
// frame `frame`, or its client rectangle `client` when that frame does not
// hold it (on X11 a frameless window that was hidden once reports a stale
// 1 x 1 frame, which put every second opening off centre).
QPoint CentredTopLeft(const QRect& area, const QRect& frame, const QRect& client);

}  // namespace quillmere
