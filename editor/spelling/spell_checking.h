// Spell checking as you type in the entry editor: misspelt words get the red
// wavy spell-check underline, and the editor's context menu offers
// corrections over them.
//
// The underline is one of the editor's display-only underlines, painted over
// the laid-out text (RichEditor::setUnderlineMarks), so the stored RTF, the
// clipboard, printing and the export never carry it, and a paragraph laid
// out again while typing costs what it costs without checking. Checking happens on the spelling
// thread (spelling/spell_worker.h): a paragraph formatted for the screen whose result is not known
// yet keeps the marks it had (those of words it still holds) and is handed to the thread, the one
// being typed in and the visible ones first; results come back in batches and are drawn in slices
// of at most kSliceMilliseconds, so a long entry opens and scrolls as fast as without checking.
// Results are remembered per paragraph text. The word being typed is not marked until the caret
// leaves it.
//
// The context menu: when the editor's menu opens over a misspelt word (at
// the mouse for a right click, at the caret for the Menu key and
// Shift+F10, which open the menu at the caret), up to five suggestions come
// first, then "Add to Dictionary" (Enchant's personal word list, kept across
// runs) and "Ignore All" (until the program ends), and a separator; the
// editor's own items follow unchanged. A suggestion replaces the word as one
// undo step and keeps its formatting.
#pragma once

#include "editor/rich_editor.h"
#include "spelling/paragraph_check.h"
#include "spelling/spell_worker.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTextBlock>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace quillmere {

namespace spelling {
class SpellDictionary;
}

class SpellChecking : public QObject {
    Q_OBJECT
public:
    // Checks `editor`'s text and adds the spelling items to `contextMenu`,
    // the editor's menu that its owner shows. Both must outlive this object.
    // Checking starts off (see setChoice).
    SpellChecking(RichEditor* editor, QMenu* contextMenu, QObject* parent = nullptr);
    ~SpellChecking() override;

    // Longest piece of drawing work done at once on the user's thread.
    static constexpr int kSliceMilliseconds = 8;
    // Suggestions offered at most.
    static constexpr int kMaxSuggestions = 5;

    // Checks in the language the stored choice names (see
    // spelling::effectiveDictionary: "Off", a tag, or empty for the
    // locale's; the default locale is the user's). The dictionary opens on the spelling thread;
    // marks go away at once and come back in the new language when it is open. languageReady
    // follows. Never throws.
    void setChoice(const QString& stored, const QLocale& locale = QLocale());

    // The dictionary in use ("en_US"), empty while checking is off or none
    // could be opened.
    QString language() const;

    // True when every paragraph is checked and drawn (nothing waits on the
    // spelling thread or to be drawn). For tests and benchmarks.
    bool isSettled() const;
    // True when nothing waits on the spelling thread or to be drawn and the
    // paragraph `block` is drawn for its text: isSettled for one paragraph,
    // without walking the others. For benchmarks.
    bool isSettled(const QTextBlock& block) const;

    // The misspelt words drawn now, in document positions, in text order.
    QList<TextRange> markedRanges() const;

    // The misspelt word drawn at document position `position` (its end
    // included), if any, with its start in document positions.
    std::optional<spelling::Misspelling> misspellingAt(int position) const;

    // The spelling items the menu showed last (empty when it opened over no
    // misspelt word): the suggestions, "Add to Dictionary", "Ignore All",
    // the separator.
    QList<QAction*> menuItems() const { return items_; }

    // What a paragraph shows (kept with the paragraph in the document).
    struct BlockState;

signals:
    // The dictionary of the last setChoice is open (`tag`), or checking is
    // off (`tag` empty; `error` says why when a dictionary failed to open).
    void languageReady(const QString& tag, const QString& error);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Marks (spell_checking.cpp).
    void connectDocument();
    void marksFor(const QTextBlock& block, const QString& text);
    QList<spelling::Misspelling> wantedMarks(const QTextBlock& block, const QString& text,
                                             const BlockState* state, bool* known) const;
    QList<spelling::Misspelling> withoutTypedWord(const QTextBlock& block,
                                                  QList<spelling::Misspelling> marks) const;
    void request(const QString& text, int blockNumber, bool urgent);
    void sendRequests();
    void refreshBlock(const QTextBlock& block, bool force = false, bool urgent = false);
    void onLanguageReady(const QString& tag, std::shared_ptr<spelling::SpellDictionary> dictionary,
                         const QString& error);
    void onChecked(const QList<spelling::CheckedParagraph>& results);
    void applySlice();
    bool applyAt(const QTextBlock& block, const QString& text);
    void startSweep();
    void sweepSlice();
    void askForVisible();
    void stopTyping();
    void forgetWord(const QString& word);
    void pruneCache();
    QPair<int, int> visibleBlocks() const;
    bool hasPendingWork() const;

    // The context menu (spell_menu.cpp).
    void menuAboutToShow();
    void removeMenuItems();
    void addMenuItems(const spelling::Misspelling& word);
    void openMenuAtCaret();
    void replaceWith(const spelling::Misspelling& word, const QString& replacement);
    void addToDictionary(const QString& word);
    void ignoreAll(const QString& word);

    // Tracked: the checking may be the editor's child and outlive its body.
    QPointer<RichEditor> editor_;
    QPointer<QMenu> menu_;
    // The editor as an object: while it is destroyed (its children, this
    // one among them, go with it) it is no editor any more, and only this
    // pointer may be looked at.
    QPointer<QObject> watchedEditor_;
    // The filtered viewport, only compared with.
    const QObject* watchedViewport_ = nullptr;
    spelling::SpellWorker worker_;
    std::shared_ptr<spelling::SpellDictionary> dictionary_;
    bool opening_ = false;
    // Bumped whenever what a paragraph should show may have changed (a new
    // dictionary, a word added or ignored); paragraphs drawn for an older
    // one are looked at again.
    quint64 generation_ = 1;
    QHash<QString, QList<spelling::Misspelling>> results_;
    QSet<QString> asked_;
    QSet<QString> askedUrgently_;
    // Words ignored this run (given to every dictionary opened), and the
    // words added or ignored since the dictionary opened (results checked
    // before that never mark them).
    QSet<QString> ignored_;
    QSet<QString> accepted_;
    std::deque<spelling::CheckedParagraph> incoming_;
    // Paragraphs asked for (not urgently) that go to the thread together
    // when the event loop comes round: opening an entry asks for all of them.
    QList<spelling::SpellWorker::Paragraph> outgoing_;
    QTimer requestTimer_;
    QTimer applyTimer_;
    QTimer sweepTimer_;
    QTimer visibleTimer_;
    bool sweepNeeded_ = false;
    int sweepStart_ = 0;
    int sweepNext_ = 0;
    int sweepLeft_ = 0;
    int sweepVisibleEnd_ = -1;
    int sweepBlockCount_ = 0;
    // The word being typed: a key that types or deletes text was pressed and
    // the caret has not been moved otherwise since.
    bool typing_ = false;
    int typedBlock_ = -1;
    // Where the menu looks for a misspelt word: the mouse's document
    // position of the last right press, or the caret.
    int menuPosition_ = -1;
    quint64 menuShowing_ = 0;
    QList<QAction*> items_;
};

}  // namespace quillmere
