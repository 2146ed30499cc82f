// What spell checking costs the user in a long entry: opening a 1 MB entry
// (until its text is drawn, and the longest stall of the event loop while
// the underlines follow), typing one character into it and paging through
// it, each with checking on and off. Checking off is the yardstick of the
// same run: the figures to read are the on/off ratios.
//
// Checking uses the system's "en_US" Hunspell dictionary (hunspell-en-us);
// Enchant's personal lists go to the run's scratch folder.
#include "editor/rich_editor.h"
#include "editor/spelling/spell_checking.h"
#include "event_loop_gap.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <ctime>
#include <memory>

namespace {

using quillmere::RichEditor;
using quillmere::SpellChecking;

constexpr int kEntryBytes = 1 << 20;

// CPU time of the calling thread: the user-interface thread's own work,
// without the spelling thread's.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Diary prose: common words, about one in forty misspelt, paragraphs of 400
// to 900 characters, every tenth word bold; a fixed seed.
QByteArray longEntry() {
    static const QStringList words =
        QStringLiteral(
            "the day was long and quiet after we walked to the harbour in the rain "
            "I wrote a letter to my sister about the garden and the new house "
            "tomorrow we will visit the market because the weather should be better "
            "she said that nothing had changed since the summer but I am not sure "
            "our neighbours came for dinner and stayed until midnight talking about books")
            .split(QLatin1Char(' '));
    static const QStringList typos = {QStringLiteral("recieve"), QStringLiteral("teh"),
                                      QStringLiteral("wierd"), QStringLiteral("becuase"),
                                      QStringLiteral("tommorow")};
    QRandomGenerator random(20240611);
    RichEditor editor;
    QString text;
    while (text.size() < kEntryBytes) {
        const int length = 400 + int(random.bounded(500));
        QString paragraph;
        while (paragraph.size() < length) {
            paragraph += random.bounded(40) == 0 ? typos.at(int(random.bounded(typos.size())))
                                                 : words.at(int(random.bounded(words.size())));
            paragraph += QLatin1Char(' ');
        }
        text += paragraph.trimmed() + QLatin1Char('\n');
    }
    editor.replaceSelection(text);
    QTextCursor bold(editor.document());
    for (int at = 0; at + 8 < text.size(); at += 97) {
        bold.setPosition(at);
        bold.setPosition(at + 6, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        bold.mergeCharFormat(format);
    }
    return editor.saveRtf();
}

const QByteArray& entry() {
    static const QByteArray bytes = longEntry();
    return bytes;
}

// An editor as the main window shows it, with checking in "en_US" or off.
struct Window {
    explicit Window(bool checking) {
        editor.resize(800, 600);
        editor.show();
        QTest::qWaitForWindowExposed(&editor);
        if (checking) {
            spelling = std::make_unique<SpellChecking>(&editor, nullptr);
            bool ready = false;
            QObject::connect(spelling.get(), &SpellChecking::languageReady, spelling.get(),
                             [&ready] { ready = true; });
            spelling->setChoice(QStringLiteral("en_US"));
            QTest::qWaitFor([&ready] { return ready; }, 30000);
        }
    }
    // Runs the event loop until the entry is laid out to its end (the text
    // edit does that in growing steps from the event loop, with or without
    // checking) and the links and underlines are all drawn, and returns the
    // longest time the loop did not come round, in milliseconds.
    double settle() {
        const quillmere::bench::EventLoopGap gap;
        QElapsedTimer clock;
        clock.start();
        const auto done = [this] {
            const QTextLayout* last = editor.document()->lastBlock().layout();
            return last != nullptr && last->lineCount() > 0 && !editor.linksPending() &&
                   (spelling == nullptr || spelling->isSettled());
        };
        while (!done() || clock.elapsed() < 50) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return gap.longestMs();
    }
    // Runs what is pending and waits, without spinning, until the
    // underline of the typed paragraph is drawn: the user-interface thread's
    // whole share of the work. Only that paragraph is looked at (the others
    // are not touched by a keystroke), so the wait costs next to nothing.
    void flush() {
        QDeadlineTimer deadline(10000);
        QCoreApplication::processEvents();
        const auto typedIn = [this] { return spelling->isSettled(editor.textCursor().block()); };
        while (spelling != nullptr && !typedIn() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        QCoreApplication::processEvents();
    }
    RichEditor editor;
    std::unique_ptr<SpellChecking> spelling;
};

// Opening the entry until its first screen is drawn.
void BM_OpenLongEntry(benchmark::State& state) {
    entry();  // made before the clock runs
    Window window(state.range(0) != 0);
    double stall = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.editor.clearAll();
        window.settle();
        state.ResumeTiming();
        window.editor.loadEntryRtf(entry());
        window.editor.viewport()->repaint();
        state.PauseTiming();
        stall = std::max(stall, window.settle());
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = stall;
    state.counters["marked_words"] =
        window.spelling ? double(window.spelling->markedRanges().size()) : 0;
}
BENCHMARK(BM_OpenLongEntry)
    ->ArgName("checking")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Types "x" (even counts) or takes it back, until its underline is drawn.
// Kept apart so that callgrind can count its instructions alone
// (--toggle-collect='*typeOne*').
[[gnu::noinline]] void typeOne(Window& window, int typed) {
    QTest::keyClick(&window.editor, typed % 2 == 0 ? Qt::Key_X : Qt::Key_Backspace);
    window.flush();
}

// One character typed in the middle of the entry, with everything it sets
// off on the user-interface thread (drawing, links, the underline of the
// paragraph), in that thread's CPU time.
void BM_KeystrokeInLongEntry(benchmark::State& state) {
    Window window(state.range(0) != 0);
    window.editor.loadEntryRtf(entry());
    window.settle();
    window.editor.setFocus();
    QTextCursor caret(window.editor.document());
    caret.setPosition(window.editor.document()->characterCount() / 2);
    caret.movePosition(QTextCursor::EndOfWord);
    window.editor.setTextCursor(caret);
    window.settle();
    int typed = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        typeOne(window, typed);
        state.SetIterationTime(threadSeconds() - start);
        ++typed;
    }
}
BENCHMARK(BM_KeystrokeInLongEntry)
    ->ArgName("checking")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);

// Paging through the whole entry once, each page drawn, and the heap it
// leaves behind: painting the underlines keeps a paragraph's glyphs only
// while they are measured, so nothing should be left (a page-by-page walk
// that kept them held about 70 MB for the 1 MB entry).
void BM_PageThroughLongEntry(benchmark::State& state) {
    Window window(state.range(0) != 0);
    window.editor.loadEntryRtf(entry());
    window.settle();
    const auto heapMb = [] { return double(mallinfo2().uordblks) / 1e6; };
    const double before = heapMb();
    QScrollBar* bar = window.editor.verticalScrollBar();
    for (auto _ : state) {
        for (int at = 0; at <= bar->maximum(); at += bar->pageStep()) {
            bar->setValue(at);
            window.editor.viewport()->repaint();
            QCoreApplication::processEvents();
        }
    }
    window.settle();
    state.counters["heap_growth_mb"] = heapMb() - before;
}
BENCHMARK(BM_PageThroughLongEntry)
    ->ArgName("checking")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir scratch;
    qputenv("ENCHANT_CONFIG_DIR", scratch.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
