// What the emoticon picker costs at start-up, where it is made: drawing the
// 29 pictures from the emoji font, the plain faces drawn without the font,
// and the whole window, next to an empty borderless window as the yardstick.
#include "editor/pickers/emoticon_art.h"
#include "editor/pickers/emoticons_window.h"

#include <QApplication>
#include <QDialog>

#include <benchmark/benchmark.h>

namespace {

using namespace quillmere;

void BM_DrawAllEmoticons(benchmark::State& state) {
    for (auto _ : state) {
        for (const EmoticonRow& row : EmoticonRows()) {
            benchmark::DoNotOptimize(DrawEmoticon(row));
        }
    }
}
BENCHMARK(BM_DrawAllEmoticons)->Unit(benchmark::kMillisecond);

void BM_DrawAllCircleFaces(benchmark::State& state) {
    for (auto _ : state) {
        for (const EmoticonRow& row : EmoticonRows()) {
            benchmark::DoNotOptimize(DrawCircleFace(row.geometry.size()));
        }
    }
}
BENCHMARK(BM_DrawAllCircleFaces)->Unit(benchmark::kMillisecond);

// Yardstick: the empty borderless window made at start before the picker.
void BM_MakeEmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        QDialog window(nullptr, Qt::FramelessWindowHint);
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(BM_MakeEmptyWindow)->Unit(benchmark::kMillisecond);

void BM_MakePicker(benchmark::State& state) {
    for (auto _ : state) {
        TfrmEmoticons window;
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(BM_MakePicker)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
