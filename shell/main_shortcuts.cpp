// Keys of the main window beyond the design's own: the day commands, the
// full-text search, printing, Find and Redo without the mouse, the tool bar
// (F10), the About box (F1), and Tab through
// the window's controls in the order they appear.
#include "controls/rb_button.h"
#include "controls/tool_bar_keys.h"
#include "editor/format/format_commands.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "store/handler_guard.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

namespace quillmere {

namespace {

// "Hint (Keys)", or "Caption (Keys)" for a button without a hint.
QString hintWithKeys(const QString& hint, const QString& caption, const QKeySequence& keys) {
    QString text = hint.isEmpty() ? caption : hint;
    text.remove(QLatin1Char('&'));
    return QStringLiteral("%1 (%2)").arg(text, keys.toString(QKeySequence::NativeText));
}

// Keeps the key with the button: shown in its hint and told to screen readers
// as the key that presses it.
void showKeysOn(QWidget* button, const QString& caption, const QKeySequence& keys) {
    button->setToolTip(hintWithKeys(button->toolTip(), caption, keys));
    button->setProperty("quillmereShortcut", keys);
}

// The tool bar's buttons show only pictures; screen readers read their names,
// taken from the hints as they are ("Export..." stays apart from the bottom
// bar's "Export"), or from the button's name when it has no hint
// ("btnJustify" is read "Justify").
[[maybe_unused]] constexpr const char* kNamesOfButtonsWithoutHint[] = {
    QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Justify")};

void nameToolButtons(QToolBar* toolBar) {
    for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
        if (!button->accessibleName().isEmpty() || !button->text().isEmpty()) {
            continue;
        }
        QString name = button->toolTip();
        if (name.isEmpty() && button->objectName().startsWith(QStringLiteral("btn"))) {
            // Translated as "Justify" is (the one such button).
            name = QCoreApplication::translate("quillmere::TfrmMain",
                                               button->objectName().mid(3).toUtf8().constData());
        }
        button->setAccessibleName(name);
    }
}

}  // namespace

void TfrmMain::buildKeyboard() {
    nameToolButtons(ToolBar1);

    // The drawn buttons run through Click, as Space on them does, and only
    // while they are enabled (a running search or export switches them off).
    struct DrawnKey {
        TRbButton* button;
        QKeyCombination keys;
    };
    const DrawnKey drawnKeys[] = {
        {btnPrevious, QKeyCombination(Qt::AltModifier, Qt::Key_Left)},
        {btnNext, QKeyCombination(Qt::AltModifier, Qt::Key_Right)},
        {btnToday, QKeyCombination(Qt::AltModifier, Qt::Key_Home)},
        {btnOnThisDay, QKeyCombination(Qt::AltModifier, Qt::Key_O)},
    };
    for (const DrawnKey& k : drawnKeys) {
        const QKeySequence keys(k.keys);
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        TRbButton* button = k.button;
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled()) {
                button->Click();
            }
        });
        showKeysOn(button, button->Caption(), keys);
    }

    // Tool bar buttons: a click does nothing while they are disabled (the
    // print command stays off until printing exists).
    struct ToolKey {
        QToolButton* button;
        QKeyCombination keys;
    };
    const ToolKey toolKeys[] = {
        {Commands->btnDBSearch,
         QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F)},
        {Commands->ToolButton13, QKeyCombination(Qt::ControlModifier, Qt::Key_P)},
        {Commands->btnFind, QKeyCombination(Qt::ControlModifier, Qt::Key_F)},
        // Redo is Ctrl+Shift+Z in the entry already; Ctrl+Y is what most
        // people type.
        {Commands->btnRedo, QKeyCombination(Qt::ControlModifier, Qt::Key_Y)},
    };
    for (const ToolKey& k : toolKeys) {
        const QKeySequence keys(k.keys);
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        QToolButton* button = k.button;
        connect(shortcut, &QShortcut::activated, button, [button] { button->click(); });
        showKeysOn(button, button->objectName(), keys);
    }

    // F10 puts the focus on the tool bar, as on desktop tool bars and menu
    // bars; the arrows move along it, Enter or Space runs a command, Escape
    // returns to the entry.
    ToolBarNavigation = new ToolBarKeys(ToolBar1, [this] { return static_cast<QWidget*>(Editor); });
    auto* toolBarKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    toolBarKey->setContext(Qt::WindowShortcut);
    connect(toolBarKey, &QShortcut::activated, ToolBarNavigation,
            [this] { ToolBarNavigation->enter(); });

    // F1: the About box.
    auto* aboutKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    aboutKey->setContext(Qt::WindowShortcut);
    connect(aboutKey, &QShortcut::activated, this, guardSlot(this, &TfrmMain::showAbout));
    showKeysOn(btnAbout, btnAbout->text(), QKeySequence(Qt::Key_F1));

    // Tab: the About button, the header font button, the entry, then the
    // bottom bar from left to right. The entry keeps Tab for its text;
    // Ctrl+Tab and Ctrl+Shift+Tab leave it (see eventFilter).
    QWidget* const order[] = {btnAbout,  btnHeaderFont, Editor,      btnPrevious,  btnToday,
                              btnNext,   btnExport,     btnCalendar, btnSettings,  btnOnThisDay,
                              btnExit};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    Editor->installEventFilter(this);
}

bool TfrmMain::leaveEditorByKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    // Shift+F10 and the menu key are the spell checking's: it opens the
    // context menu at the caret with its corrections.
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (!(mods & Qt::ControlModifier) || (mods & ~(Qt::ControlModifier | Qt::ShiftModifier))) {
        return false;
    }
    if (key->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier)) {
        return focusNextPrevChild(true);
    }
    if (key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Tab) {
        return focusNextPrevChild(false);
    }
    return false;
}

}  // namespace quillmere
