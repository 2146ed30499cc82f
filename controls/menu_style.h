// The owner-drawn look of the editor's context menu: two-line items (caption,
// and the item's hint as a second line) on a near-white background with a
// gradient icon column, a rounded amber highlight, and separators that carry
// a section title on a blue-grey band.
//
// On Qt the look is a style for QMenu (a QProxyStyle), so the menu keeps its
// own keyboard navigation, submenus and accessibility: the style sizes
// (CT_MenuItem) and draws (CE_MenuItem) every item. A titled separator is a
// separator action with text, as QMenu::addSection makes it; an item's hint
// is its QAction::statusTip; its image is its QIcon (16 x 16).
//
// Use:
//     MenuLook::apply(menu);                    // also styles its submenus
//     MenuLook::addSection(menu, "Text Selection");
//     QAction* cut = menu->addAction(tr("Cu&t"));
//     MenuLook::setImage(cut, imageList, 3);    // icon 3 of an image list
//     MenuLook::setHint(cut, tr("Cut the selection to the clipboard"));
//
// Geometry inside an item rectangle R (its left edge counted as 0): icon
// column 0..26, icon at (4, 5), text from 30 to R.Right - 4, caption at
// R.Top + 6, hint at R.Top + caption height + 10.
#pragma once

#include "controls/system_colors.h"

#include <QIcon>
#include <QList>
#include <QProxyStyle>
#include <QSize>
#include <QString>

class QAction;
class QMenu;
class QPainter;
class QFont;

namespace quillmere {

// Colours of the look (0x00BBGGRR).
inline constexpr TColor kMenuItemBackground = 16448250;   // #FAFAFA
inline constexpr TColor kMenuSectionBand = 15656925;      // #DDE7EE
inline constexpr TColor kMenuText = 7214336;              // #00156E
inline constexpr TColor kMenuDisabledText = 12632256;     // #C0C0C0
inline constexpr TColor kMenuHighlightBorder = 12961221;  // #C5C5C5, also the separator line
inline constexpr TColor kMenuCheckedFrame = 10395294;     // #9E9E9E
inline constexpr TColor kMenuIconColumn[3] = {16248543, 13871228, 13871228};  // left to right
inline constexpr TColor kMenuAmber[3] = {14546431, 14546431, 6214399};        // top to bottom

// What the measuring and drawing of one item read.
struct MenuItemData {
    QString caption;   // may hold '&' accelerator marks
    QString shortcut;  // shortcut text, e.g. "Ctrl+X"; empty for none
    QString hint;      // second line; may be empty
    QIcon image;       // null for none
    bool checked = false;
    bool enabled = true;
    bool hasSubmenu = false;
    bool menuHasImageList = true;  // the icon column is measured in
};

class MenuLook : public QProxyStyle {
    Q_OBJECT

public:
    MenuLook();

    // Gives `menu` this look, together with its submenus (also those added
    // later, which get it before they are first shown). Separators are not
    // collapsed, so a menu may begin with a titled separator.
    static void apply(QMenu* menu);

    // Adds a titled separator (a section) to `menu` and returns it.
    static QAction* addSection(QMenu* menu, const QString& title);

    // The hint drawn as the item's second line (kept as the status tip).
    static void setHint(QAction* action, const QString& hint);

    // Gives `action` image `imageIndex` of `imageList`; an index outside the
    // list (-1 for none) removes the image.
    static void setImage(QAction* action, const QList<QIcon>& imageList, int imageIndex);

    // The shared instance, owned by the application object.
    static MenuLook* instance();

    // Measuring as the platform's multi-line text drawing with external
    // leading does it: lines end only at line breaks, each is one line
    // spacing high, '&' accelerator marks take no room, and an empty text is
    // one line high.
    static QSize measureText(const QFont& font, const QString& text);

    // Size of an item: width max(bold caption [+ bold shortcut + 8], regular
    // hint) + 8 (+ 26 for the icon column), height bold caption + regular
    // hint (one line when empty) + 13.
    static QSize MenuItemMeasureItem(const QFont& menuFont, const MenuItemData& item);

    // Size of a separator: bold title + (14, 8), or (10, 3) without a title.
    static QSize MeasureSeparator(const QFont& menuFont, const QString& title);

    // Draws an item into `rect` (right and bottom exclusive as QRect's
    // width and height give them). `selected` highlights an enabled item.
    static void MenuItemDrawItem(QPainter& canvas, const QFont& menuFont, const QRect& rect,
                                 bool selected, const MenuItemData& item,
                                 bool showMnemonics = true);

    // Draws a separator: a titled band, or the icon column and a grey line.
    static void SeparatorDrawItem(QPainter& canvas, const QFont& menuFont, const QRect& rect,
                                  const QString& title);

    // The check mark drawn for a checked item without an image, black on
    // transparent.
    static const QImage& checkMark();

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};

}  // namespace quillmere
