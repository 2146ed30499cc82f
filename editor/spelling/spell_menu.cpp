// The spelling items of the editor's context menu, the keys that open the
// menu at the caret, and the word being typed (not marked until it is left).
#include "controls/menu_style.h"
#include "editor/spelling/spell_checking.h"
#include "editor/spelling/word_replacement.h"
#include "spelling/spell_dictionary.h"
#include "spelling/word_scanner.h"
#include "store/handler_guard.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextDocument>

namespace quillmere {

using spelling::Misspelling;

namespace {

// Keys that type or delete text: they edit the word at the caret.
bool editsText(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) {
        return true;
    }
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return (key->modifiers() & commands) == 0 && !key->text().isEmpty() &&
           key->text().at(0).isPrint();
}

bool opensMenu(const QKeyEvent* key) {
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) ||
           (key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier);
}

// An item caption shows '&' as itself, not as a mnemonic mark.
QString caption(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

}  // namespace

bool SpellChecking::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedEditor_) {
        // Events still come while the editor is destroyed (its focus going),
        // from the plain widget left of it.
        if (qobject_cast<RichEditor*>(watched) == nullptr) {
            return false;
        }
        switch (event->type()) {
            case QEvent::KeyPress: {
                const auto* key = static_cast<QKeyEvent*>(event);
                if (opensMenu(key)) {
                    if (!key->isAutoRepeat()) {
                        openMenuAtCaret();
                    }
                    return true;
                }
                if (editsText(key)) {
                    typing_ = true;
                    typedBlock_ = editor_->textCursor().blockNumber();
                } else if (key->key() != Qt::Key_Shift && key->key() != Qt::Key_Control &&
                           key->key() != Qt::Key_Alt && key->key() != Qt::Key_Meta) {
                    stopTyping();
                }
                break;
            }
            case QEvent::ContextMenu:
                if (static_cast<QContextMenuEvent*>(event)->reason() ==
                    QContextMenuEvent::Keyboard) {
                    menuPosition_ = editor_->textCursor().position();
                }
                break;
            case QEvent::FocusOut:
                stopTyping();
                break;
            default:
                break;
        }
    } else if (watched == watchedViewport_ && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        stopTyping();
        if (mouse->button() == Qt::RightButton) {
            const QPoint at = mouse->position().toPoint();
            const QPointF documentPos(at.x() + editor_->horizontalScrollBar()->value(),
                                      at.y() + editor_->verticalScrollBar()->value());
            menuPosition_ =
                editor_->document()->documentLayout()->hitTest(documentPos, Qt::ExactHit);
        }
    }
    return QObject::eventFilter(watched, event);
}

// Shift+F10 and the Menu key: the editor's menu at the caret, as the
// platform opens it for the Menu key where it does.
void SpellChecking::openMenuAtCaret() {
    const QPoint inViewport = editor_->cursorRect().center();
    const QPoint inEditor = editor_->viewport()->mapTo(editor_, inViewport);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, inEditor, editor_->mapToGlobal(inEditor));
    QCoreApplication::sendEvent(editor_, &event);
}

void SpellChecking::menuAboutToShow() {
    ++menuShowing_;
    removeMenuItems();
    const int position = menuPosition_;
    menuPosition_ = -1;
    // An entry that cannot be changed (a damaged day) offers no changes.
    if (dictionary_ == nullptr || position < 0 || editor_->isReadOnly()) {
        return;
    }
    if (const std::optional<Misspelling> word = misspellingAt(position)) {
        addMenuItems(*word);
    }
}

void SpellChecking::addMenuItems(const Misspelling& word) {
    QTextCursor range(editor_->document());
    range.setPosition(word.start);
    range.setPosition(word.start + word.length, QTextCursor::KeepAnchor);
    const QString written = range.selectedText();
    QAction* first = menu_->actions().value(0);
    const auto add = [this, first](const QString& text, const QString& hint, auto handler) {
        auto* action = new QAction(caption(text), this);
        MenuLook::setHint(action, hint);
        connect(action, &QAction::triggered, this, guardSlot(handler, ErrorDisplay::kErrorBox));
        menu_->insertAction(first, action);
        items_.append(action);
        return action;
    };
    for (const QString& suggestion : dictionary_->suggestions(word.word, kMaxSuggestions)) {
        const QString replacement = withApostrophesOf(written, suggestion);
        add(replacement, QString(), [this, word, replacement] {
            replaceWith(word, replacement);
        })->setObjectName(QStringLiteral("SpellingSuggestion"));
    }
    add(tr("Add to Dictionary"), tr("Accept this word from now on, in every entry"), [this, word] {
        addToDictionary(word.word);
    })->setObjectName(QStringLiteral("SpellingAdd"));
    add(tr("Ignore All"), tr("Accept this word until Quillmere ends"), [this, word] {
        ignoreAll(word.word);
    })->setObjectName(QStringLiteral("SpellingIgnore"));
    QAction* separator = menu_->insertSeparator(first);
    separator->setObjectName(QStringLiteral("SpellingSeparator"));
    items_.append(separator);
}

void SpellChecking::removeMenuItems() {
    for (QAction* action : std::as_const(items_)) {
        if (menu_ != nullptr) {
            menu_->removeAction(action);
        }
        if (action->parent() == this) {
            action->deleteLater();
        } else {
            delete action;
        }
    }
    items_.clear();
}

void SpellChecking::replaceWith(const Misspelling& word, const QString& replacement) {
    QTextDocument* document = editor_->document();
    QTextCursor range(document);
    range.setPosition(word.start);
    range.setPosition(word.start + word.length, QTextCursor::KeepAnchor);
    if (spelling::dictionaryForm(range.selectedText()) != word.word) {
        return;  // the text changed while the menu was open
    }
    typing_ = false;
    const int end = replaceWord(*document, word.start, word.length, replacement);
    QTextCursor caret = editor_->textCursor();
    caret.setPosition(end);
    editor_->setTextCursor(caret);
}

void SpellChecking::addToDictionary(const QString& word) {
    if (dictionary_ == nullptr) {
        return;
    }
    // Accepted for this run even when the list cannot be written.
    forgetWord(word);
    dictionary_->addToPersonal(word);
}

void SpellChecking::ignoreAll(const QString& word) {
    if (dictionary_ == nullptr) {
        return;
    }
    ignored_.insert(word);
    dictionary_->ignoreAll(word);
    forgetWord(word);
}

}  // namespace quillmere
