// The context menu look: item and separator sizes from the measuring rules,
// and drawn pixels of the icon column, highlight, check frame and separators.
#include "controls/menu_style.h"

#include "test_support.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace quillmere {
namespace {

constexpr QRgb kUntouched = 0xFF123456;

QFont menuFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

QFont bold(QFont f) {
    f.setBold(true);
    return f;
}

QFont regular(QFont f) {
    f.setBold(false);
    return f;
}

int widthOf(const QFont& f, const QString& s) {
    return QFontMetrics(f).horizontalAdvance(s);
}

int lineOf(const QFont& f) {
    return QFontMetrics(f).lineSpacing();
}

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kUntouched);
    return image;
}

// A 16 x 16 image, transparent but for a red top-left pixel.
QIcon markerIcon() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    return QIcon(QPixmap::fromImage(image));
}

// QMenu keeps its item options to itself; this exposes them.
class InspectableMenu : public QMenu {
public:
    using QMenu::QMenu;
    QStyleOptionMenuItem optionFor(QAction* action) const {
        QStyleOptionMenuItem option;
        initStyleOption(&option, action);
        option.rect = actionGeometry(action);
        return option;
    }
};

// ---------------------------------------------------------- measuring ----

struct MeasureCase {
    const char* label;
    const char* caption;
    const char* shown;  // the caption as drawn, accelerator marks resolved
    const char* shortcut;
    const char* hint;
};

void PrintTo(const MeasureCase& c, std::ostream* os) {
    *os << c.label;
}

class MenuItemMeasure : public testing::TestWithParam<MeasureCase> {};

TEST_P(MenuItemMeasure, sizeFollowsTheMeasuringRules) {
    const MeasureCase& c = GetParam();
    const QFont f = menuFont();
    MenuItemData item;
    item.caption = QString::fromUtf8(c.caption);
    item.shortcut = QString::fromUtf8(c.shortcut);
    item.hint = QString::fromUtf8(c.hint);

    // Caption in bold, without its accelerator mark; the shortcut in bold
    // plus 8; the hint in regular, one line spacing per line (one when empty).
    const QString shownCaption = QString::fromUtf8(c.shown);
    int w1 = widthOf(bold(f), shownCaption);
    if (!item.shortcut.isEmpty()) {
        w1 += widthOf(bold(f), item.shortcut) + 8;
    }
    const QStringList hintLines = item.hint.split(u'\n');
    int w2 = 0;
    for (const QString& line : hintLines) {
        w2 = std::max(w2, widthOf(regular(f), line));
    }
    const int width = std::max(w1, w2) + 8 + 26;
    const int height =
        lineOf(bold(f)) + static_cast<int>(hintLines.size()) * lineOf(regular(f)) + 13;

    EXPECT_EQ(QSize(width, height), MenuLook::MenuItemMeasureItem(f, item));
    item.menuHasImageList = false;
    EXPECT_EQ(QSize(width - 26, height), MenuLook::MenuItemMeasureItem(f, item));
}

INSTANTIATE_TEST_SUITE_P(
    Items, MenuItemMeasure,
    testing::Values(
        MeasureCase{"caption, shortcut and hint", "Cu&t", "Cut", "Ctrl+X",
                    "Cut the selection to the clipboard"},
        MeasureCase{"empty hint is still one line high", "&Paste", "Paste", "Ctrl+V", ""},
        MeasureCase{"caption wider than the hint", "Select everything in the entry",
                    "Select everything in the entry", "", "All"},
        MeasureCase{"two-line hint", "&Bold", "Bold", "Ctrl+B", "Make the text bold\nor not"},
        MeasureCase{"doubled ampersand is one character", "Save && Close", "Save & Close", "",
                    "x"}));

TEST(MenuSeparatorMeasure, titledAndPlainSeparators) {
    const QFont f = menuFont();
    const QString title = QStringLiteral("Text Selection");
    EXPECT_EQ(QSize(widthOf(bold(f), title) + 14, lineOf(bold(f)) + 8),
              MenuLook::MeasureSeparator(f, title));
    EXPECT_EQ(QSize(10, 3), MenuLook::MeasureSeparator(f, QString()));
}

TEST(MenuLookStyle, menuItemsTakeTheirMeasuredHeightsAndHints) {
    InspectableMenu menu;
    menu.setFont(menuFont());
    MenuLook::apply(&menu);
    QAction* section = MenuLook::addSection(&menu, QStringLiteral("Text Selection"));
    QAction* cut = menu.addAction(QStringLiteral("Cu&t"));
    cut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    MenuLook::setHint(cut, QStringLiteral("Cut the selection\nto the clipboard"));
    QAction* plain = menu.addSeparator();
    QAction* paste = menu.addAction(QStringLiteral("&Paste"));

    const QFont f = menu.font();
    const int boldLine = lineOf(bold(f));
    const int line = lineOf(regular(f));
    // A section first in the menu is kept (separators are not collapsed).
    EXPECT_EQ(boldLine + 8, menu.actionGeometry(section).height());
    EXPECT_EQ(boldLine + 2 * line + 13, menu.actionGeometry(cut).height());
    EXPECT_EQ(3, menu.actionGeometry(plain).height());
    EXPECT_EQ(boldLine + line + 13, menu.actionGeometry(paste).height());
    // Items sit at the menu's left edge inside its one-pixel frame.
    EXPECT_EQ(1, menu.actionGeometry(cut).left());

    // The style measures the hint it finds through the menu's actions, and
    // every item is as wide as the widest measured one: Cut, with its
    // two-line hint and its shortcut.
    MenuItemData item;
    item.caption = QStringLiteral("Cu&t");
    item.shortcut = QKeySequence(QStringLiteral("Ctrl+X")).toString(QKeySequence::NativeText);
    item.hint = QStringLiteral("Cut the selection\nto the clipboard");
    const QSize cutSize = MenuLook::MenuItemMeasureItem(f, item);
    MenuItemData pasteItem;
    pasteItem.caption = QStringLiteral("&Paste");
    const int widest =
        std::max({cutSize.width(), MenuLook::MenuItemMeasureItem(f, pasteItem).width(),
                  MenuLook::MeasureSeparator(f, QStringLiteral("Text Selection")).width()});
    EXPECT_EQ(widest, menu.actionGeometry(cut).width());
    EXPECT_EQ(widest, menu.actionGeometry(section).width());
    const QStyleOptionMenuItem option = menu.optionFor(cut);
    const QSize measured =
        menu.style()->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), &menu);
    EXPECT_EQ(cutSize.height(), measured.height());
}

TEST(MenuLookStyle, submenusGetTheLookAlsoWhenAddedLater) {
    QMenu menu;
    QMenu* early = menu.addMenu(QStringLiteral("Formatting"));
    MenuLook::apply(&menu);
    EXPECT_EQ(MenuLook::instance(), menu.style());
    EXPECT_EQ(MenuLook::instance(), early->style());
    QMenu* late = menu.addMenu(QStringLiteral("Later"));
    emit menu.aboutToShow();
    EXPECT_EQ(MenuLook::instance(), late->style());
}

// ------------------------------------------------------------ drawing ----

MenuItemData itemWithHint() {
    MenuItemData item;
    item.caption = QStringLiteral("Copy");
    item.hint = QStringLiteral("Copy the selection");
    return item;
}

QImage drawItem(const MenuItemData& item, bool selected, int height = 30) {
    QImage image = blank(200, height);
    QPainter painter(&image);
    MenuLook::MenuItemDrawItem(painter, menuFont(), QRect(0, 0, 200, height), selected, item);
    return image;
}

TEST(MenuItemDraw, unselectedItemHasBackgroundAndIconColumn) {
    const QImage image = drawItem(itemWithHint(), false);
    // Icon column 0..25 left to right, #DFEEF7 -> #7CA8D3 over 13 lines, then
    // flat (line 6: 223 - 99 * 6/13 = 177.3, 238 - 70 * 6/13 = 205.7, 247 - 36 * 6/13 = 230.4).
    EXPECT_PIXEL(image, 0, 3, "#DFEEF7");
    EXPECT_PIXEL(image, 6, 3, "#B1CDE6");
    EXPECT_PIXEL(image, 13, 3, "#7CA8D3");
    EXPECT_PIXEL(image, 25, 29, "#7CA8D3");
    EXPECT_PIXEL(image, 26, 3, "#FAFAFA");
    EXPECT_PIXEL(image, 28, 29, "#FAFAFA");
    EXPECT_PIXEL(image, 199, 0, "#FAFAFA");
}

TEST(MenuItemDraw, highlightWithHintIsTwoAmberGradientsInAGreyRoundedFrame) {
    MenuItemData item = itemWithHint();
    const QImage image = drawItem(item, true, 40);
    const int h = lineOf(bold(menuFont()));  // caption height, measured bold
    // First part (0, 0, 200, h + 8): flat #FFF5DD then down to #FFD25E on its last line.
    EXPECT_PIXEL(image, 28, 1, "#FFF5DD");
    EXPECT_PIXEL(image, 28, h + 7, "#FFD25E");
    // The second part starts again at #FFF5DD (its last line, #FFD25E, lies
    // under the outline).
    EXPECT_PIXEL(image, 28, h + 8, "#FFF5DD");
    EXPECT_PIXEL(image, 28, h + 9, "#FFF5DD");
    // The highlight covers the icon column too.
    EXPECT_PIXEL(image, 6, 3, "#FFF5DD");
    // Outline on the outermost pixels.
    EXPECT_PIXEL(image, 28, 0, "#C5C5C5");
    EXPECT_PIXEL(image, 28, 39, "#C5C5C5");
    EXPECT_PIXEL(image, 0, 20, "#C5C5C5");
    EXPECT_PIXEL(image, 199, 20, "#C5C5C5");
    // The corner lies outside the rounded clip: the icon column shows there.
    EXPECT_PIXEL(image, 0, 0, "#DFEEF7");
}

TEST(MenuItemDraw, highlightWithoutHintIsOneGradient) {
    MenuItemData item;
    item.caption = QStringLiteral("Paste");
    const QImage image = drawItem(item, true, 30);
    // Extent 30: L = 15; band 1 (len 14) line 28 (r = 13): 245 - 35 * 13/14
    // = 212.5, 221 - 127 * 13/14 = 103.1.
    EXPECT_PIXEL(image, 28, 1, "#FFF5DD");
    EXPECT_PIXEL(image, 28, 15, "#FFF5DD");
    EXPECT_PIXEL(image, 28, 16, "#FFF2D3");
    EXPECT_PIXEL(image, 28, 28, "#FFD467");
}

TEST(MenuItemDraw, disabledItemUnderTheMouseShowsNoHighlight) {
    MenuItemData item = itemWithHint();
    item.enabled = false;
    item.image = markerIcon();
    const QImage image = drawItem(item, true);
    EXPECT_PIXEL(image, 28, 1, "#FAFAFA");
    EXPECT_PIXEL(image, 28, 0, "#FAFAFA");
    EXPECT_PIXEL(image, 13, 3, "#7CA8D3");
    EXPECT_PIXEL(image, 4, 5, "#FF0000");  // icon in full colour at (4, 5)
}

TEST(MenuItemDraw, checkedItemWithoutImageShowsFramedAmberColumnAndCheckMark) {
    MenuItemData item = itemWithHint();
    item.checked = true;
    const QImage image = drawItem(item, false, 30);
    // Amber top to bottom over 30 rows (row 20: 245 - 35 * 4/14 = 235, 221 - 127 * 4/14 = 184.7).
    EXPECT_PIXEL(image, 20, 1, "#FFF5DD");
    EXPECT_PIXEL(image, 20, 20, "#FFE8AF");
    // Frame #9E9E9E on the column's outermost pixels.
    const struct {
        int x, y;
    } frame[] = {{0, 0}, {25, 0}, {0, 15}, {25, 15}, {0, 29}, {25, 29}, {12, 29}};
    for (const auto& p : frame) {
        EXPECT_PIXEL(image, p.x, p.y, "#9E9E9E");
    }
    EXPECT_PIXEL(image, 26, 15, "#FAFAFA");
    // The 7 x 7 check mark at x = (26 - 7) div 2 + 1 = 10, y = (30 - 7) div 2 - 1 = 10.
    const QImage& mark = MenuLook::checkMark();
    ASSERT_EQ(QSize(7, 7), mark.size());
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            if (qAlpha(mark.pixel(x, y)) == 255) {
                EXPECT_PIXEL(image, 10 + x, 10 + y, "#000000");
            } else {
                EXPECT_NE(std::string("#000000"), testsupport::pixelHex(image, 10 + x, 10 + y));
            }
        }
    }
}

TEST(MenuItemDraw, checkedItemWithImageDrawsTheImageInsteadOfTheMark) {
    MenuItemData item = itemWithHint();
    item.checked = true;
    item.image = markerIcon();
    const QImage image = drawItem(item, false, 30);
    EXPECT_PIXEL(image, 4, 5, "#FF0000");
    EXPECT_PIXEL(image, 16, 10, "#FFF5DD");  // where the mark's corner would be
    EXPECT_PIXEL(image, 0, 0, "#9E9E9E");
}

TEST(MenuSeparatorDraw, titledSeparatorIsABlueGreyBandWithoutIconColumn) {
    QImage image = blank(120, 24);
    {
        QPainter painter(&image);
        MenuLook::SeparatorDrawItem(painter, menuFont(), QRect(0, 0, 120, 24),
                                    QStringLiteral("Text Selection"));
    }
    EXPECT_PIXEL(image, 2, 1, "#DDE7EE");
    EXPECT_PIXEL(image, 5, 22, "#DDE7EE");
    EXPECT_PIXEL(image, 119, 23, "#DDE7EE");
    // The title is drawn in dark blue somewhere in the band.
    bool titleDrawn = false;
    for (int y = 0; y < 24 && !titleDrawn; ++y) {
        for (int x = 10; x < 116 && !titleDrawn; ++x) {
            titleDrawn = testsupport::pixelHex(image, x, y) == "#00156E";
        }
    }
    EXPECT_TRUE(titleDrawn);
}

TEST(MenuSeparatorDraw, plainSeparatorIsIconColumnAndOneGreyLine) {
    QImage image = blank(60, 3);
    {
        QPainter painter(&image);
        MenuLook::SeparatorDrawItem(painter, menuFont(), QRect(0, 0, 60, 3), QString());
    }
    EXPECT_PIXEL(image, 0, 0, "#DFEEF7");
    EXPECT_PIXEL(image, 25, 2, "#7CA8D3");
    // Line at y = Bottom - 2 = 1 from x = 26 to the right edge.
    EXPECT_PIXEL(image, 26, 1, "#C5C5C5");
    EXPECT_PIXEL(image, 59, 1, "#C5C5C5");
    // The rest keeps the menu's own background.
    EXPECT_PIXEL(image, 30, 0, "#123456");
    EXPECT_PIXEL(image, 30, 2, "#123456");
}

TEST(MenuLookStyle, renderedMenuShowsTheLookAndTheActiveItemHighlight) {
    InspectableMenu menu;
    menu.setFont(menuFont());
    MenuLook::apply(&menu);
    QAction* section = MenuLook::addSection(&menu, QStringLiteral("Text Selection"));
    QAction* cut = menu.addAction(QStringLiteral("Cu&t"));
    QAction* copy = menu.addAction(QStringLiteral("&Copy"));
    MenuLook::setHint(copy, QStringLiteral("Copy the selection"));
    menu.setActiveAction(copy);
    menu.resize(menu.sizeHint());
    QImage image(menu.size(), QImage::Format_RGB32);
    image.fill(kUntouched);
    menu.render(&image);

    const QRect s = menu.actionGeometry(section);
    const QRect c = menu.actionGeometry(cut);
    const QRect k = menu.actionGeometry(copy);
    EXPECT_PIXEL(image, s.left() + 3, s.top() + 1, "#DDE7EE");
    // Cut: icon column counted from the item's left edge.
    EXPECT_PIXEL(image, c.left(), c.top() + 3, "#DFEEF7");
    EXPECT_PIXEL(image, c.left() + 13, c.top() + 3, "#7CA8D3");
    EXPECT_PIXEL(image, c.left() + 27, c.top() + 3, "#FAFAFA");
    // Copy is active: amber highlight in its grey outline.
    EXPECT_PIXEL(image, k.left() + 28, k.top() + 1, "#FFF5DD");
    EXPECT_PIXEL(image, k.left() + 28, k.top(), "#C5C5C5");
    EXPECT_PIXEL(image, k.left() + 6, k.top() + 3, "#FFF5DD");
    // The menu's frame.
    EXPECT_PIXEL(image, 0, 0, "#9E9E9E");
}

TEST(MenuLookStyle, checkableActionsAndSubmenusAreDrawnFromTheirOptions) {
    InspectableMenu menu;
    menu.setFont(menuFont());
    MenuLook::apply(&menu);
    QAction* boldItem = menu.addAction(QStringLiteral("&Bold"));
    boldItem->setCheckable(true);
    boldItem->setChecked(true);
    MenuLook::setImage(boldItem, {QIcon(), markerIcon()}, 1);
    QAction* plainItem = menu.addAction(QStringLiteral("&Italic"));
    plainItem->setCheckable(true);
    MenuLook::setImage(plainItem, {markerIcon()}, 5);  // outside the list: no image
    EXPECT_TRUE(plainItem->icon().isNull());
    // A wide item keeps the submenu's caption far from the arrow.
    menu.addAction(QStringLiteral("Clear the whole entry at once"));
    QMenu* formatting = menu.addMenu(QStringLiteral("&Fmt"));
    formatting->addAction(QStringLiteral("Font"));
    menu.setActiveAction(formatting->menuAction());
    menu.resize(menu.sizeHint());
    QImage image(menu.size(), QImage::Format_RGB32);
    image.fill(kUntouched);
    menu.render(&image);

    const QRect b = menu.actionGeometry(boldItem);
    EXPECT_PIXEL(image, b.left(), b.top(), "#9E9E9E");           // checked frame
    EXPECT_PIXEL(image, b.left() + 20, b.top() + 2, "#FFF5DD");  // amber column
    EXPECT_PIXEL(image, b.left() + 4, b.top() + 5, "#FF0000");   // its image
    const QRect i = menu.actionGeometry(plainItem);
    EXPECT_PIXEL(image, i.left(), i.top() + 3, "#DFEEF7");  // unchecked: blue column

    // The active submenu item: amber over its whole width, and the submenu
    // arrow drawn near the right edge.
    const QRect f = menu.actionGeometry(formatting->menuAction());
    EXPECT_PIXEL(image, f.left() + 6, f.top() + 3, "#FFF5DD");
    bool arrow = false;
    for (int y = f.top() + 1; y < f.bottom() && !arrow; ++y) {
        for (int x = f.right() - 16; x < f.right() - 1 && !arrow; ++x) {
            const QColor c = image.pixelColor(x, y);
            arrow = c.red() < 200;  // amber has red 255; the arrow is dark
        }
    }
    EXPECT_TRUE(arrow);
}

}  // namespace
}  // namespace quillmere
