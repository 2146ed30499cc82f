#include "controls/menu_style.h"

#include "controls/color_gradient.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleOptionMenuItem>

#include <algorithm>
#include <vector>

namespace quillmere {

namespace {

// Geometry of an item, relative to its rectangle (left edge counted as 0).
constexpr int kIconColumnRight = 26;
constexpr int kIconLeft = 4;
constexpr int kIconTop = 5;
constexpr int kIconSize = 16;
constexpr int kTextLeft = 30;
constexpr int kTextRightInset = 4;
constexpr int kCaptionTop = 6;
constexpr int kHintGap = 10;          // hint top = caption height + 10
constexpr int kHighlightSplit = 8;    // highlight split at caption height + 8
constexpr qreal kCornerRadius = 2.5;  // corner ellipse 5 by 5
constexpr int kSectionTitleLeft = 10;
constexpr int kItemWidthExtra = 8;
constexpr int kShortcutGap = 8;
constexpr int kItemHeightExtra = 13;
constexpr int kSectionWidthExtra = 14;
constexpr int kSectionHeightExtra = 8;
constexpr QSize kPlainSeparatorSize{10, 3};

const char* const kLookAppliedProperty = "quillmereMenuLook";

QColor qcolor(TColor c) {
    return toQColor(c);
}

QFont withWeight(const QFont& font, bool bold) {
    QFont f = font;
    f.setBold(bold);
    return f;
}

// The text as the platform draws it with accelerator marks: "&&" is one '&',
// a single '&' disappears.
QString withoutMnemonics(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
        } else if (text[i] == u'&') {
            continue;
        }
        out.append(text[i]);
    }
    return out;
}

void fillSolid(QPainter& canvas, const QRect& r, TColor color) {
    canvas.fillRect(r, qcolor(color));
}

// Outline of a rectangle on its outermost pixels, as a hollow-brush
// rectangle of the drawing layer draws it.
void outline(QPainter& canvas, const QRect& r, TColor color) {
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(qcolor(color), 1));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(r.adjusted(0, 0, -1, -1));
    canvas.restore();
}

QPainterPath roundedPath(const QRect& r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(r), kCornerRadius, kCornerRadius);
    return path;
}

FillRect iconColumn(const QRect& r) {
    return {r.left(), r.top(), r.left() + kIconColumnRight, r.top() + r.height()};
}

void drawHighlight(QPainter& canvas, const QRect& r, int captionHeight, bool hasHint) {
    canvas.save();
    canvas.setClipPath(roundedPath(r), Qt::IntersectClip);
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    const std::vector<TColor> amber(std::begin(kMenuAmber), std::end(kMenuAmber));
    if (!hasHint) {
        DrawColorGradient(canvas, FillRect::fromQRect(r), false, amber);
    } else {
        const int split = r.top() + captionHeight + kHighlightSplit;
        DrawColorGradient(canvas, {r.left(), r.top(), right, split}, false, amber);
        DrawColorGradient(canvas, {r.left(), split, right, bottom}, false, amber);
    }
    canvas.restore();
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(qcolor(kMenuHighlightBorder), 1));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRoundedRect(r.adjusted(0, 0, -1, -1), kCornerRadius - 0.5, kCornerRadius - 0.5);
    canvas.restore();
}

// Finds the action an item option stands for. QMenu does not hand the action
// to its style, so the action under the item's rectangle is taken when the
// menu has laid out its items, else the visible action whose text, icon and
// kind match the option. Several matches are all returned.
std::vector<const QAction*> actionsFor(const QWidget* widget, const QStyleOptionMenuItem* opt,
                                       bool byRect) {
    std::vector<const QAction*> found;
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (menu == nullptr) {
        return found;
    }
    const bool separator = opt->menuItemType == QStyleOptionMenuItem::Separator;
    if (byRect) {
        const QAction* a = menu->actionAt(opt->rect.center());
        if (a != nullptr && a->isSeparator() == separator &&
            menu->actionGeometry(const_cast<QAction*>(a)) == opt->rect) {
            found.push_back(a);
            return found;
        }
    }
    for (const QAction* a : menu->actions()) {
        if (!a->isVisible() || a->isSeparator() != separator) {
            continue;
        }
        const QString text = a->text();
        if (opt->text != text && !opt->text.startsWith(text + u'\t')) {
            continue;
        }
        if (a->icon().cacheKey() != opt->icon.cacheKey() && !a->icon().isNull()) {
            continue;
        }
        found.push_back(a);
    }
    return found;
}

MenuItemData itemDataOf(const QStyleOptionMenuItem* opt, const QAction* action) {
    MenuItemData item;
    const qsizetype tab = opt->text.indexOf(u'\t');
    item.caption = tab < 0 ? opt->text : opt->text.left(tab);
    item.shortcut = tab < 0 ? QString() : opt->text.mid(tab + 1);
    item.image = opt->icon;
    item.checked = opt->checkType != QStyleOptionMenuItem::NotCheckable && opt->checked;
    item.enabled = (opt->state & QStyle::State_Enabled) != 0;
    item.hasSubmenu = opt->menuItemType == QStyleOptionMenuItem::SubMenu;
    if (action != nullptr) {
        item.hint = action->statusTip();
    }
    return item;
}

// The width QMenu adds to its item column for the widest shortcut text,
// counted as QMenu counts it.
int shortcutColumnOf(const QWidget* widget) {
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (menu == nullptr) {
        return 0;
    }
    const QFontMetrics fm = menu->fontMetrics();
    int widest = 0;
    for (const QAction* a : menu->actions()) {
        if (!a->isVisible() || a->isSeparator()) {
            continue;
        }
        const QString text = a->text();
        const qsizetype tab = text.indexOf(u'\t');
        if (tab >= 0) {
            widest = std::max(widest, fm.horizontalAdvance(text.mid(tab + 1)));
        } else if (!a->shortcut().isEmpty() && a->isShortcutVisibleInContextMenu()) {
            widest = std::max(
                widest, fm.horizontalAdvance(a->shortcut().toString(QKeySequence::NativeText)));
        }
    }
    return widest;
}

QString sectionTitleOf(const QStyleOptionMenuItem* opt, const QAction* action) {
    if (!opt->text.isEmpty() || action == nullptr) {
        return opt->text;
    }
    return action->statusTip();
}

}  // namespace

MenuLook::MenuLook() = default;

MenuLook* MenuLook::instance() {
    static QPointer<MenuLook> shared;
    if (shared.isNull()) {
        shared = new MenuLook;
        shared->setParent(QCoreApplication::instance());
    }
    return shared.data();
}

void MenuLook::apply(QMenu* menu) {
    if (menu == nullptr) {
        return;
    }
    menu->setStyle(instance());
    menu->setSeparatorsCollapsible(false);
    const auto styleSubmenus = [menu] {
        for (QAction* a : menu->actions()) {
            if (a->menu() != nullptr && a->menu()->style() != instance()) {
                apply(a->menu());
            }
        }
    };
    styleSubmenus();
    if (!menu->property(kLookAppliedProperty).toBool()) {
        menu->setProperty(kLookAppliedProperty, true);
        QObject::connect(menu, &QMenu::aboutToShow, menu, styleSubmenus);
    }
}

QAction* MenuLook::addSection(QMenu* menu, const QString& title) {
    QAction* section = menu->addSeparator();
    section->setText(title);
    return section;
}

void MenuLook::setHint(QAction* action, const QString& hint) {
    action->setStatusTip(hint);
}

void MenuLook::setImage(QAction* action, const QList<QIcon>& imageList, int imageIndex) {
    if (imageIndex >= 0 && imageIndex < imageList.size()) {
        action->setIcon(imageList[imageIndex]);
    } else {
        action->setIcon(QIcon());
    }
}

const QImage& MenuLook::checkMark() {
    // The classic 7 x 7 check glyph.
    static const QImage mark = [] {
        static const char* const rows[] = {
            "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
        };
        QImage image(7, 7, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 7; ++x) {
                if (rows[y][x] == '#') {
                    image.setPixel(x, y, qRgb(0, 0, 0));
                }
            }
        }
        return image;
    }();
    return mark;
}

QSize MenuLook::measureText(const QFont& font, const QString& text) {
    const QFontMetrics fm(font);
    const QStringList lines = withoutMnemonics(text).split(u'\n');
    int width = 0;
    for (QString line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        width = std::max(width, fm.horizontalAdvance(line));
    }
    return {width, static_cast<int>(lines.size()) * fm.lineSpacing()};
}

QSize MenuLook::MenuItemMeasureItem(const QFont& menuFont, const MenuItemData& item) {
    const QFont bold = withWeight(menuFont, true);
    const QSize caption = measureText(bold, item.caption);
    int w1 = caption.width();
    if (!item.shortcut.isEmpty()) {
        w1 += measureText(bold, item.shortcut).width() + kShortcutGap;
    }
    const QSize hint = measureText(withWeight(menuFont, false), item.hint);
    int width = std::max(w1, hint.width()) + kItemWidthExtra;
    if (item.menuHasImageList) {
        width += kIconColumnRight;
    }
    return {width, caption.height() + hint.height() + kItemHeightExtra};
}

QSize MenuLook::MeasureSeparator(const QFont& menuFont, const QString& title) {
    if (title.isEmpty()) {
        return kPlainSeparatorSize;
    }
    const QSize size = measureText(withWeight(menuFont, true), title);
    return {size.width() + kSectionWidthExtra, size.height() + kSectionHeightExtra};
}

void MenuLook::MenuItemDrawItem(QPainter& canvas, const QFont& menuFont, const QRect& rect,
                                bool selected, const MenuItemData& item, bool showMnemonics) {
    const QFont bold = withWeight(menuFont, true);
    const QFont regular = withWeight(menuFont, false);
    const int h = measureText(bold, item.caption).height();
    const int l = rect.left();
    const int t = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();

    fillSolid(canvas, rect, kMenuItemBackground);
    const FillRect ic = iconColumn(rect);
    if (item.checked) {
        DrawColorGradient(canvas, ic, false, {kMenuAmber[0], kMenuAmber[1], kMenuAmber[2]});
    } else {
        DrawColorGradient(canvas, ic, true,
                          {kMenuIconColumn[0], kMenuIconColumn[1], kMenuIconColumn[2]});
    }
    if (selected && item.enabled) {
        drawHighlight(canvas, rect, h, !item.hint.isEmpty());
    }

    canvas.save();
    const int mnemonic = showMnemonics ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    canvas.setPen(qcolor(item.enabled ? kMenuText : kMenuDisabledText));
    canvas.setFont(regular);
    const QRect captionRect(QPoint(l + kTextLeft, t + kCaptionTop),
                            QPoint(right - kTextRightInset - 1, bottom - 1));
    canvas.drawText(captionRect, Qt::AlignLeft | Qt::AlignTop | mnemonic, item.caption);
    if (item.checked) {
        outline(canvas, QRect(QPoint(ic.Left, ic.Top), QPoint(ic.Right - 1, ic.Bottom - 1)),
                kMenuCheckedFrame);
        if (item.image.isNull()) {
            const QImage& mark = checkMark();
            const int x = l + (kIconColumnRight - mark.width()) / 2 + 1;
            const int y = t + (rect.height() - mark.height()) / 2 - 1;
            canvas.drawImage(x, y, mark);
        }
    }
    if (!item.shortcut.isEmpty()) {
        canvas.drawText(captionRect, Qt::AlignRight | Qt::AlignTop, item.shortcut);
    }
    const QRect hintRect(QPoint(l + kTextLeft, t + h + kHintGap),
                         QPoint(right - kTextRightInset - 1, bottom - 1));
    canvas.drawText(hintRect, Qt::AlignLeft | Qt::AlignTop, item.hint);
    if (!item.image.isNull()) {
        item.image.paint(&canvas, QRect(l + kIconLeft, t + kIconTop, kIconSize, kIconSize),
                         Qt::AlignCenter, QIcon::Normal, QIcon::Off);
    }
    canvas.restore();
}

void MenuLook::SeparatorDrawItem(QPainter& canvas, const QFont& menuFont, const QRect& rect,
                                 const QString& title) {
    const int l = rect.left();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    if (!title.isEmpty()) {
        fillSolid(canvas, rect, kMenuSectionBand);
        canvas.save();
        canvas.setFont(withWeight(menuFont, true));
        canvas.setPen(qcolor(kMenuText));
        const QRect titleRect(QPoint(l + kSectionTitleLeft, rect.top()),
                              QPoint(right - kTextRightInset - 1, bottom - 1));
        canvas.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
        canvas.restore();
        return;
    }
    DrawColorGradient(canvas, iconColumn(rect), true,
                      {kMenuIconColumn[0], kMenuIconColumn[1], kMenuIconColumn[2]});
    const int y = bottom - 2;
    if (right - 1 >= l + kIconColumnRight) {
        canvas.save();
        canvas.setRenderHint(QPainter::Antialiasing, false);
        canvas.setPen(QPen(qcolor(kMenuHighlightBorder), 1));
        canvas.drawLine(l + kIconColumnRight, y, right - 1, y);
        canvas.restore();
    }
}

QSize MenuLook::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                 const QWidget* widget) const {
    const auto* opt = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || opt == nullptr) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    const std::vector<const QAction*> actions = actionsFor(widget, opt, false);
    const std::vector<const QAction*> candidates =
        actions.empty() ? std::vector<const QAction*>{nullptr} : actions;
    // Items the option cannot tell apart get the largest of their sizes, so
    // no hint is cut off.
    QSize result;
    for (const QAction* action : candidates) {
        QSize s;
        if (opt->menuItemType == QStyleOptionMenuItem::Separator) {
            s = MeasureSeparator(opt->font, sectionTitleOf(opt, action));
        } else {
            s = MenuItemMeasureItem(opt->font, itemDataOf(opt, action));
        }
        result = result.expandedTo(s);
    }
    // QMenu widens its item column by its shortcut column; the measured width
    // already holds the shortcut, so that much is given back here and the
    // widest item ends up exactly as wide as measured.
    result.setWidth(std::max(1, result.width() - shortcutColumnOf(widget)));
    return result;
}

void MenuLook::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const {
    const auto* opt = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || opt == nullptr ||
        (opt->menuItemType != QStyleOptionMenuItem::Normal &&
         opt->menuItemType != QStyleOptionMenuItem::SubMenu &&
         opt->menuItemType != QStyleOptionMenuItem::Separator)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const std::vector<const QAction*> actions = actionsFor(widget, opt, true);
    const QAction* action = actions.empty() ? nullptr : actions.front();
    if (opt->menuItemType == QStyleOptionMenuItem::Separator) {
        SeparatorDrawItem(*painter, opt->font, opt->rect, sectionTitleOf(opt, action));
        return;
    }
    const MenuItemData item = itemDataOf(opt, action);
    const bool mnemonics = styleHint(SH_UnderlineShortcut, opt, widget) != 0;
    MenuItemDrawItem(*painter, opt->font, opt->rect, (opt->state & State_Selected) != 0, item,
                     mnemonics);
    if (item.hasSubmenu) {
        // The platform's submenu arrow, at the right of the item.
        QStyleOptionMenuItem arrow = *opt;
        const int size = 9;
        arrow.rect = QRect(opt->rect.right() - kTextRightInset - size + 1,
                           opt->rect.top() + (opt->rect.height() - size) / 2, size, size);
        arrow.palette.setColor(QPalette::ButtonText,
                               qcolor(item.enabled ? kMenuText : kMenuDisabledText));
        arrow.palette.setColor(QPalette::WindowText,
                               qcolor(item.enabled ? kMenuText : kMenuDisabledText));
        QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
    }
}

void MenuLook::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                             QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelMenu) {
        fillSolid(*painter, option->rect, kMenuItemBackground);
        outline(*painter, option->rect, kMenuCheckedFrame);
        return;
    }
    if (element == PE_FrameMenu) {
        outline(*painter, option->rect, kMenuCheckedFrame);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int MenuLook::pixelMetric(PixelMetric metric, const QStyleOption* option,
                          const QWidget* widget) const {
    switch (metric) {
        case PM_MenuPanelWidth:
            return 1;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            return 0;
        case PM_SmallIconSize:
            return kIconSize;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

}  // namespace quillmere
