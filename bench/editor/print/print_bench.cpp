// How long the page loop of a printed entry takes: every page laid out for a
// 600 dpi A4 page, from the render call's returned index, with the layout kept
// between pages (as printing does) and, as a yardstick, dropped before every
// page.
#include "editor/rich_editor.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

using quillmere::FormatRange;
using quillmere::RichEditor;

constexpr int kDpi = 600;
constexpr double kDotsPerMeter = kDpi / 0.0254;

// About 60 lines a page; `pages` pages of short paragraphs.
void writeEntry(RichEditor& editor, int pages) {
    QStringList lines;
    for (int i = 0; i < pages * 60; ++i) {
        lines << QStringLiteral("Walked to the harbour and wrote it down, line %1.").arg(i);
    }
    editor.replaceSelection(lines.join(u'\n'));
}

// Runs the page loop measuring only; returns the number of pages.
int pageLoop(RichEditor& editor, const QImage& target, bool keepLayout) {
    // A4 less the printable margins, less the page rectangle's margins, in twips.
    FormatRange range{nullptr, &target, {456, 360, 11000, 16300}, {0, 0, 11400, 16600}, 0, -1};
    int pages = 0;
    int last = 0;
    do {
        if (!keepLayout) {
            editor.releaseFormatRange();
        }
        range.cpMin = last;
        last = editor.formatRange(false, range);
        ++pages;
    } while (last < editor.renderLength());
    editor.releaseFormatRange();
    return pages;
}

void BM_PrintPages(benchmark::State& state, bool keepLayout) {
    RichEditor editor;
    writeEntry(editor, static_cast<int>(state.range(0)));
    QImage target(1, 1, QImage::Format_RGB32);
    target.setDotsPerMeterX(static_cast<int>(kDotsPerMeter));
    target.setDotsPerMeterY(static_cast<int>(kDotsPerMeter));
    int pages = 0;
    for (auto _ : state) {
        pages = pageLoop(editor, target, keepLayout);
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}

void BM_PrintPagesKeepingTheLayout(benchmark::State& state) {
    BM_PrintPages(state, true);
}
void BM_PrintPagesLayingOutEachPage(benchmark::State& state) {
    BM_PrintPages(state, false);
}

BENCHMARK(BM_PrintPagesKeepingTheLayout)->Arg(3)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintPagesLayingOutEachPage)->Arg(3)->Arg(30)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
