// Repaint cost of the export window's cylinder bar and of the menu gradients.
#include "controls/color_gradient.h"
#include "controls/progress_cyl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace quillmere;

// The export bar: 246 x 41, no bevels, text "n%" in Arial 12 px bold.
std::unique_ptr<TProgressCyl> exportBar() {
    auto bar = std::make_unique<TProgressCyl>();
    bar->resize(246, 41);
    bar->setBackColor(12632256);
    const StyleValues style{255, 4, -1, 255, 255, 1, -3};
    bar->setBackStyle(style);
    bar->setForeStyle(style);
    bar->setBevelColor(clWhite);
    bar->setBevelInner(bvNone);
    bar->setBevelOuter(bvNone);
    bar->setColor(clWhite);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    bar->setFont(font);
    bar->setFontEffect(feNone);
    bar->setForeColor(33023);
    bar->setForeLineColor(128);
    bar->setTextDone(QStringLiteral("Export Complete"));
    return bar;
}

void BM_ExportBarRepaint(benchmark::State& state) {
    auto bar = exportBar();
    bar->setShowText(state.range(0) != 0);
    int position = 0;
    for (auto _ : state) {
        bar->setPosition(position);
        position = (position + 1) % 101;
        benchmark::DoNotOptimize(bar->paintBuffer().constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExportBarRepaint)->Arg(0)->Arg(1)->ArgNames({"text"});

void BM_ExportBarInvertedText(benchmark::State& state) {
    auto bar = exportBar();
    bar->setFontEffect(feInvert);
    bar->setPosition(50);
    for (auto _ : state) {
        benchmark::DoNotOptimize(bar->paintBuffer().constBits());
    }
}
BENCHMARK(BM_ExportBarInvertedText);

void BM_ExportBarVertical(benchmark::State& state) {
    auto bar = exportBar();
    bar->resize(41, 246);
    bar->setOrientation(pbVertical);
    bar->setShowText(false);
    bar->setPosition(50);
    for (auto _ : state) {
        benchmark::DoNotOptimize(bar->paintBuffer().constBits());
    }
}
BENCHMARK(BM_ExportBarVertical);

// The menu's highlighted item: 200 x 40, three colours top to bottom.
void BM_MenuHighlightGradient(benchmark::State& state) {
    QImage image(200, 40, QImage::Format_RGB32);
    QPainter painter(&image);
    const std::vector<TColor> amber{14546431, 14546431, 6214399};
    for (auto _ : state) {
        DrawColorGradient(painter, {0, 0, 200, 40}, false, amber);
    }
}
BENCHMARK(BM_MenuHighlightGradient);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
