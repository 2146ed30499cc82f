// Spell checking of the entry: the marks of each paragraph, the results that
// come back from the spelling thread, and the sweeps that bring every
// paragraph up to date in slices. The context menu is in spell_menu.cpp.
#include "editor/spelling/spell_checking.h"

#include "spelling/spell_dictionary.h"
#include "spelling/word_scanner.h"

#include <QMenu>
#include <QScrollBar>
#include <QTextBlockUserData>
#include <QTextDocument>

#include <utility>

namespace quillmere {

using spelling::CheckedParagraph;
using spelling::Misspelling;

// What a paragraph shows: the marks drawn, for which text length, and
// whether they are the answer for its text or only carried over from its
// previous text until the answer comes.
struct SpellChecking::BlockState : QTextBlockUserData {
    quint64 generation = 0;
    bool waiting = false;
    int textLength = 0;
    QList<Misspelling> shown;
};

namespace {

SpellChecking::BlockState* stateOf(const QTextBlock& block) {
    return dynamic_cast<SpellChecking::BlockState*>(block.userData());
}

// The paragraph's state, made (showing nothing) when it has none yet.
SpellChecking::BlockState* ensureState(const QTextBlock& block) {
    SpellChecking::BlockState* state = stateOf(block);
    if (state == nullptr) {
        state = new SpellChecking::BlockState;
        QTextBlock(block).setUserData(state);
    }
    return state;
}

bool isWordPart(const QString& text, int i) {
    return i >= 0 && i < text.size() && (text.at(i).isLetterOrNumber() || text.at(i).isMark());
}

// True when the text still holds `mark`'s word at `start`, as a word of its
// own (a hyphen may stand beside it: marked parts of hyphenated words).
bool stillAt(const QString& text, int start, const Misspelling& mark) {
    if (start < 0 || start + mark.length > text.size()) {
        return false;
    }
    if (spelling::dictionaryForm(text.mid(start, mark.length)) != mark.word) {
        return false;
    }
    const auto boundary = [&text](int at, int beyond) {
        if (isWordPart(text, at)) {
            return false;
        }
        return !(at >= 0 && at < text.size() && spelling::isApostrophe(text.at(at)) &&
                 isWordPart(text, beyond));
    };
    return boundary(start - 1, start - 2) && boundary(start + mark.length, start + mark.length + 1);
}

// The marks a paragraph showed for its previous text that its new text
// still holds, where they were or moved by the change of length.
QList<Misspelling> carriedOver(const SpellChecking::BlockState* state, const QString& text) {
    QList<Misspelling> kept;
    if (state == nullptr) {
        return kept;
    }
    const int delta = int(text.size()) - state->textLength;
    for (const Misspelling& mark : state->shown) {
        if (stillAt(text, mark.start, mark)) {
            kept.append(mark);
        } else if (delta != 0 && stillAt(text, mark.start + delta, mark)) {
            kept.append({mark.start + delta, mark.length, mark.word});
        }
    }
    return kept;
}

}  // namespace

SpellChecking::SpellChecking(RichEditor* editor, QMenu* contextMenu, QObject* parent)
    : QObject(parent), editor_(editor), menu_(contextMenu) {
    setObjectName(QStringLiteral("SpellChecking"));
    for (QTimer* timer : {&applyTimer_, &sweepTimer_, &visibleTimer_, &requestTimer_}) {
        timer->setSingleShot(true);
    }
    applyTimer_.setInterval(0);
    sweepTimer_.setInterval(0);
    visibleTimer_.setInterval(50);
    requestTimer_.setInterval(0);
    connect(&requestTimer_, &QTimer::timeout, this, &SpellChecking::sendRequests);
    connect(&applyTimer_, &QTimer::timeout, this, &SpellChecking::applySlice);
    connect(&sweepTimer_, &QTimer::timeout, this, &SpellChecking::sweepSlice);
    connect(&visibleTimer_, &QTimer::timeout, this, &SpellChecking::askForVisible);
    connect(&worker_, &spelling::SpellWorker::languageReady, this, &SpellChecking::onLanguageReady);
    connect(&worker_, &spelling::SpellWorker::checked, this, &SpellChecking::onChecked);
    connect(editor_, &RichEditor::documentReplaced, this, &SpellChecking::connectDocument);
    connect(editor_->verticalScrollBar(), &QScrollBar::valueChanged, &visibleTimer_,
            qOverload<>(&QTimer::start));
    editor_->installEventFilter(this);
    editor_->viewport()->installEventFilter(this);
    watchedEditor_ = editor_;
    watchedViewport_ = editor_->viewport();
    if (menu_ != nullptr) {
        connect(menu_, &QMenu::aboutToShow, this, &SpellChecking::menuAboutToShow);
        connect(menu_, &QMenu::aboutToHide, this, [this] {
            // After the chosen item has run, unless the menu opened again.
            QTimer::singleShot(0, this, [this, showing = menuShowing_] {
                if (showing == menuShowing_) {
                    removeMenuItems();
                }
            });
        });
    }
    editor_->setExtraMarks([this](const QTextBlock& block, const QString& text,
                                  QList<QTextLayout::FormatRange>&) { marksFor(block, text); });
    editor_->setUnderlineMarks([](const QTextBlock& block) {
        QList<TextRange> ranges;
        if (const BlockState* state = stateOf(block)) {
            for (const Misspelling& mark : state->shown) {
                ranges.append({mark.start, mark.length});
            }
        }
        return ranges;
    });
}

SpellChecking::~SpellChecking() {
    if (auto* editor = qobject_cast<RichEditor*>(watchedEditor_.data())) {
        editor->setExtraMarks({});
        editor->setUnderlineMarks({});
    }
    removeMenuItems();
}

void SpellChecking::setChoice(const QString& stored, const QLocale& locale) {
    opening_ = true;
    dictionary_.reset();
    accepted_.clear();
    ++generation_;
    results_.clear();
    asked_.clear();
    askedUrgently_.clear();
    incoming_.clear();
    outgoing_.clear();
    worker_.setChoice(stored, locale);
    // Takes the marks of the previous dictionary away.
    startSweep();
}

QString SpellChecking::language() const {
    return dictionary_ != nullptr ? dictionary_->tag() : QString();
}

// --- Marks ---------------------------------------------------------------------

void SpellChecking::connectDocument() {
    // Another entry: what was known of the previous one's paragraphs is of
    // no more use, and its waiting paragraphs are gone.
    results_.clear();
    asked_.clear();
    askedUrgently_.clear();
    incoming_.clear();
    outgoing_.clear();
    worker_.clearQueue();
    sweepLeft_ = 0;
    sweepTimer_.stop();
    typing_ = false;
}

void SpellChecking::marksFor(const QTextBlock& block, const QString& text) {
    BlockState* state = ensureState(block);
    bool known = true;
    const QList<Misspelling> wanted = wantedMarks(block, text, state, &known);
    if (!known) {
        request(text, block.blockNumber(), block == editor_->textCursor().block());
    }
    state->generation = generation_;
    state->waiting = !known;
    state->textLength = int(text.size());
    if (state->shown != wanted) {
        state->shown = wanted;
        editor_->repaintMarks(block);
    }
}

QList<Misspelling> SpellChecking::wantedMarks(const QTextBlock& block, const QString& text,
                                              const BlockState* state, bool* known) const {
    *known = true;
    if (dictionary_ == nullptr) {
        return {};
    }
    const auto result = results_.constFind(text);
    if (result != results_.constEnd()) {
        return withoutTypedWord(block, result.value());
    }
    *known = false;
    return withoutTypedWord(block, carriedOver(state, text));
}

QList<Misspelling> SpellChecking::withoutTypedWord(const QTextBlock& block,
                                                   QList<Misspelling> marks) const {
    if (!typing_ || block.blockNumber() != typedBlock_) {
        return marks;
    }
    const int caret = editor_->textCursor().position() - block.position();
    marks.removeIf([caret](const Misspelling& mark) {
        return mark.start <= caret && caret <= mark.start + mark.length;
    });
    return marks;
}

void SpellChecking::request(const QString& text, int blockNumber, bool urgent) {
    if (dictionary_ == nullptr) {
        return;
    }
    // Another paragraph of the same text waits already: the answer is drawn
    // at the paragraph it was asked for, this one by a sweep after it.
    if (urgent) {
        if (askedUrgently_.contains(text)) {
            sweepNeeded_ = true;
            return;
        }
        askedUrgently_.insert(text);
    } else {
        if (asked_.contains(text) || askedUrgently_.contains(text)) {
            sweepNeeded_ = true;
            return;
        }
        asked_.insert(text);
        outgoing_.append({text, blockNumber});
        if (!requestTimer_.isActive()) {
            requestTimer_.start();
        }
        return;
    }
    worker_.check(text, blockNumber, urgent);
}

void SpellChecking::sendRequests() {
    worker_.checkAll(std::exchange(outgoing_, {}), false);
}

// Draws the paragraph again when what it should show differs from what it
// shows, and asks for its result when that is not known. Without `force`,
// a paragraph drawn for the current dictionary and words is left alone.
void SpellChecking::refreshBlock(const QTextBlock& block, bool force, bool urgent) {
    if (!block.isValid()) {
        return;
    }
    BlockState* state = stateOf(block);
    if (!force && state != nullptr && state->generation == generation_ && !state->waiting) {
        return;
    }
    if (state == nullptr && dictionary_ == nullptr) {
        return;
    }
    const QString text = block.text();
    bool known = true;
    const QList<Misspelling> wanted = wantedMarks(block, text, state, &known);
    if (!known) {
        request(text, block.blockNumber(), urgent);
        state = ensureState(block);
        state->generation = generation_;
        state->waiting = true;
        return;
    }
    if (state == nullptr ? !wanted.isEmpty() : wanted != state->shown) {
        editor_->refreshMarks(block);
        return;
    }
    state = ensureState(block);
    state->generation = generation_;
    state->waiting = false;
    state->textLength = int(text.size());
}

void SpellChecking::onLanguageReady(const QString& tag,
                                    std::shared_ptr<spelling::SpellDictionary> dictionary,
                                    const QString& error) {
    opening_ = false;
    dictionary_ = std::move(dictionary);
    if (dictionary_ != nullptr) {
        for (const QString& word : std::as_const(ignored_)) {
            dictionary_->ignoreAll(word);
        }
    }
    ++generation_;
    results_.clear();
    startSweep();
    emit languageReady(dictionary_ != nullptr ? tag : QString(), error);
}

void SpellChecking::onChecked(const QList<CheckedParagraph>& results) {
    for (const CheckedParagraph& result : results) {
        incoming_.push_back(result);
    }
    if (!applyTimer_.isActive()) {
        applyTimer_.start();
    }
}

// Takes results in and draws their paragraphs, for at most one slice.
void SpellChecking::applySlice() {
    QElapsedTimer clock;
    clock.start();
    const QTextDocument* document = editor_->document();
    while (!incoming_.empty() && clock.elapsed() < kSliceMilliseconds) {
        CheckedParagraph result = std::move(incoming_.front());
        incoming_.pop_front();
        asked_.remove(result.text);
        askedUrgently_.remove(result.text);
        if (!accepted_.isEmpty()) {
            result.misspellings.removeIf(
                [this](const Misspelling& mark) { return accepted_.contains(mark.word); });
        }
        results_.insert(result.text, result.misspellings);
        const QTextBlock block = document->findBlockByNumber(result.blockHint);
        if (!applyAt(block, result.text)) {
            sweepNeeded_ = true;
        }
    }
    if (!incoming_.empty()) {
        applyTimer_.start();
        return;
    }
    pruneCache();
    if (sweepNeeded_) {
        sweepNeeded_ = false;
        startSweep();
    }
}

// Draws the paragraph a result was asked for, found at its number or one
// paragraph away (one came or went above it). False when it has to be
// looked for; true also for the paragraph being typed in, which waits for
// the result of its newer text instead.
bool SpellChecking::applyAt(const QTextBlock& block, const QString& text) {
    if (!block.isValid()) {
        return false;
    }
    for (const QTextBlock& candidate : {block, block.next(), block.previous()}) {
        if (candidate.isValid() && candidate.text() == text) {
            refreshBlock(candidate);
            return true;
        }
    }
    const QString now = block.text();
    return block == editor_->textCursor().block() &&
           (asked_.contains(now) || askedUrgently_.contains(now));
}

// Looks at every paragraph, the visible ones first, in slices.
void SpellChecking::startSweep() {
    const QTextDocument* document = editor_->document();
    const auto [first, last] = visibleBlocks();
    sweepStart_ = first;
    sweepNext_ = first;
    sweepVisibleEnd_ = last;
    sweepBlockCount_ = document->blockCount();
    sweepLeft_ = sweepBlockCount_;
    sweepTimer_.start();
}

void SpellChecking::sweepSlice() {
    QElapsedTimer clock;
    clock.start();
    const QTextDocument* document = editor_->document();
    if (sweepNext_ >= document->blockCount()) {
        sweepNext_ = 0;
    }
    QTextBlock block = document->findBlockByNumber(sweepNext_);
    while (sweepLeft_ > 0 && clock.elapsed() < kSliceMilliseconds) {
        if (!block.isValid()) {
            block = document->begin();
            sweepNext_ = 0;
        }
        const bool visible = sweepNext_ >= sweepStart_ && sweepNext_ <= sweepVisibleEnd_;
        refreshBlock(block, false, visible);
        block = block.next();
        ++sweepNext_;
        --sweepLeft_;
    }
    if (sweepLeft_ > 0) {
        sweepTimer_.start();
    } else if (document->blockCount() != sweepBlockCount_) {
        // Paragraphs came or went meanwhile: some may have been passed over.
        startSweep();
    }
}

void SpellChecking::askForVisible() {
    if (dictionary_ == nullptr) {
        return;
    }
    const auto [first, last] = visibleBlocks();
    QTextBlock block = editor_->document()->findBlockByNumber(first);
    for (int number = first; block.isValid() && number <= last; ++number) {
        const BlockState* state = stateOf(block);
        if (state != nullptr && state->waiting) {
            request(block.text(), number, true);
        }
        block = block.next();
    }
}

QPair<int, int> SpellChecking::visibleBlocks() const {
    const auto [first, last] = editor_->blocksInView();
    return {first.blockNumber(), last.blockNumber()};
}

void SpellChecking::stopTyping() {
    if (!typing_) {
        return;
    }
    typing_ = false;
    refreshBlock(editor_->document()->findBlockByNumber(typedBlock_), true, true);
}

// A word added or ignored: no paragraph marks it any more.
void SpellChecking::forgetWord(const QString& word) {
    accepted_.insert(word);
    for (auto it = results_.begin(); it != results_.end(); ++it) {
        it.value().removeIf([&word](const Misspelling& mark) { return mark.word == word; });
    }
    ++generation_;
    startSweep();
}

// Results are kept per paragraph text; texts no paragraph holds any more
// (typing leaves one behind per key) are dropped now and then.
void SpellChecking::pruneCache() {
    const QTextDocument* document = editor_->document();
    if (results_.size() <= 2 * document->blockCount() + 1000) {
        return;
    }
    QSet<QString> live;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        live.insert(block.text());
    }
    results_.removeIf([&live](const auto& entry) { return !live.contains(entry.key()); });
}

bool SpellChecking::hasPendingWork() const {
    return opening_ || !incoming_.empty() || !asked_.isEmpty() || !askedUrgently_.isEmpty() ||
           sweepLeft_ > 0 || applyTimer_.isActive() || sweepTimer_.isActive() ||
           requestTimer_.isActive();
}

bool SpellChecking::isSettled(const QTextBlock& block) const {
    if (hasPendingWork() || !block.isValid()) {
        return false;
    }
    const BlockState* state = stateOf(block);
    if (dictionary_ != nullptr) {
        // An empty paragraph holds no word (and the highlighter leaves an
        // empty entry alone).
        return state == nullptr ? block.length() <= 1
                                : state->generation == generation_ && !state->waiting;
    }
    return state == nullptr || state->shown.isEmpty();
}

bool SpellChecking::isSettled() const {
    if (hasPendingWork()) {
        return false;
    }
    for (QTextBlock block = editor_->document()->begin(); block.isValid(); block = block.next()) {
        if (!isSettled(block)) {
            return false;
        }
    }
    return true;
}

QList<TextRange> SpellChecking::markedRanges() const {
    QList<TextRange> ranges;
    for (QTextBlock block = editor_->document()->begin(); block.isValid(); block = block.next()) {
        if (const BlockState* state = stateOf(block)) {
            for (const Misspelling& mark : state->shown) {
                ranges.append({block.position() + mark.start, mark.length});
            }
        }
    }
    return ranges;
}

std::optional<Misspelling> SpellChecking::misspellingAt(int position) const {
    const QTextBlock block = editor_->document()->findBlock(position);
    const BlockState* state = stateOf(block);
    if (state == nullptr) {
        return std::nullopt;
    }
    const int offset = position - block.position();
    for (const Misspelling& mark : state->shown) {
        if (mark.start <= offset && offset <= mark.start + mark.length) {
            return Misspelling{block.position() + mark.start, mark.length, mark.word};
        }
    }
    return std::nullopt;
}

}  // namespace quillmere
