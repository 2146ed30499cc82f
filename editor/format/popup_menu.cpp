// `PopupMenu1`: the editor's context menu in the owner-drawn menu look, its
// shortcuts (which act while the editor has the focus, before the editor's
// own handling of the same keys), and its showing on a right button press or
// the context-menu key.
#include "editor/format/format_commands.h"

#include "controls/menu_style.h"
#include "editor/format/image_list.h"
#include "store/handler_guard.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

namespace quillmere {

namespace {

struct MenuRow {
    QAction* FormatCommands::*action;
    const char* name;
    const char* caption;  // a separator's section title
    const char* shortcut;
    int image;  // -1: none
    const char* hint;
    bool separator;
    bool checkable;
    void (FormatCommands::*handler)();
};

using F = FormatCommands;

// clang-format off
const MenuRow kMenuRows[] = {
    {&F::Cut1,            "Cut1",            QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Cut"),             "Ctrl+X", 10, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Move the selection to the clipboard"), false, false, &F::btnCutClick},
    {&F::Copy1,           "Copy1",           QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Copy"),            "Ctrl+C", 11, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Copy the selection to the clipboard"), false, false, &F::btnCopyClick},
    {&F::Paste1,          "Paste1",          QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Paste"),           "Ctrl+V", 12, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Insert the clipboard at the selection"), false, false, &F::btnPasteClick},
    {&F::N1,              "N1",              QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Text Selection"),  "",       -1, "",                                    true,  false, nullptr},
    {&F::SelectAll1,      "SelectAll1",      QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Select All"),      "Ctrl+A", -1, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Select the whole entry"),              false, false, &F::SelectAll1Click},
    {&F::N2,              "N2",              QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Text Deletion"),   "",       -1, "",                                    true,  false, nullptr},
    {&F::ClearSelection1, "ClearSelection1", QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Clear Selection"), "Ctrl+D", 19, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Delete the selected text"),            false, false, &F::ClearSelection1Click},
    {&F::ClearAll1,       "ClearAll1",       QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Clear All"),       "",       19, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Empty the whole entry"),               false, false, &F::ClearAll1Click},
    {&F::N3,              "N3",              QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Text Formatting"), "",       -1, "",                                    true,  false, nullptr},
};

const MenuRow kFormattingRows[] = {
    {&F::Bold1,      "Bold1",      QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Bold"),      "Ctrl+B", 4, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Switch bold on or off"),      false, true, &F::btnBoldClick},
    {&F::Italic1,    "Italic1",    QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Italic"),    "Ctrl+I", 5, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Switch italic on or off"),    false, true, &F::btnItalicClick},
    {&F::Underline1, "Underline1", QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Underline"), "Ctrl+U", 6, QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Switch underline on or off"), false, true, &F::btnUnderlineClick},
};
// clang-format on

}  // namespace

void FormatCommands::buildPopupMenu() {
    PopupMenu1 = new QMenu;
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const QList<QIcon> icons = ImageList1->icons();

    const auto addRow = [this, &icons](QMenu* menu, const MenuRow& row) {
        QAction* action = nullptr;
        if (row.separator) {
            action = MenuLook::addSection(menu, tr(row.caption));
            // The title is the separator's hint as well, as the look reads it.
            MenuLook::setHint(action, tr(row.caption));
        } else {
            action = menu->addAction(tr(row.caption));
            action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            // The keys act only through the editor (eventFilter); while the
            // menu itself is open they act on it.
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setShortcutVisibleInContextMenu(true);
            action->setCheckable(row.checkable);
            action->setProperty(kImageIndexProperty, row.image);
            MenuLook::setImage(action, icons, row.image);
            MenuLook::setHint(action, tr(row.hint));
            connect(action, &QAction::triggered, this, guardSlot(this, row.handler));
        }
        action->setObjectName(QString::fromLatin1(row.name));
        this->*row.action = action;
    };

    for (const MenuRow& row : kMenuRows) {
        addRow(PopupMenu1, row);
    }
    auto* formatting = new QMenu(tr("Formatting"), PopupMenu1);
    formatting->setObjectName(QStringLiteral("FormattingMenu"));
    for (const MenuRow& row : kFormattingRows) {
        addRow(formatting, row);
    }
    Formatting1 = PopupMenu1->addMenu(formatting);
    Formatting1->setObjectName(QStringLiteral("Formatting1"));
    MenuLook::setHint(Formatting1, tr("Bold, italic and underline"));
    MenuLook::apply(PopupMenu1);
}

void FormatCommands::EditorMouseDown(Qt::MouseButton button) {
    // The menu draws its icons over gradients: transparently.
    ImageList1->setBackgroundColor(std::nullopt);
    if (button == Qt::RightButton) {
        showPopupMenu(QCursor::pos());
    }
}

void FormatCommands::showPopupMenu(const QPoint& globalPos) {
    // Not exec(): the press that opened the menu is still being handled, and
    // the editor goes on working while the menu is open.
    PopupMenu1->popup(globalPos);
}

QAction* FormatCommands::shortcutAction(const QKeySequence& keys) const {
    for (QAction* action : {Cut1, Copy1, Paste1, SelectAll1, ClearSelection1, ClearAll1, Bold1,
                            Italic1, Underline1}) {
        if (!action->shortcut().isEmpty() && action->shortcut() == keys) {
            return action;
        }
    }
    return nullptr;
}

bool FormatCommands::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != Editor || (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)) {
        return QObject::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const QKeyCombination combination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key()));
    QAction* action = shortcutAction(QKeySequence(combination));
    if (action == nullptr) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        // Claim the key so that it comes to the editor as a key press, where
        // the menu's command runs instead of the editor's own.
        event->accept();
        return true;
    }
    if (action->isEnabled()) {
        action->trigger();
    }
    return true;
}

}  // namespace quillmere
