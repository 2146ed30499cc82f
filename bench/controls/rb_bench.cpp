// Cost of painting and rebuilding the drawn panels and of painting a button.
// A paint only copies the cached frame and draws the caption; the gradient and
// the smoothing run only in RebuildBackground.
#include "controls/rb_button.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace quillmere;

std::unique_ptr<TRbPanel> titleBar(int width) {
    auto panel = std::make_unique<TRbPanel>(nullptr, "RbPanel1");
    applyTitleBarStyle(*panel);
    panel->SetCaption("09 December 2026");
    panel->resize(width, kBarHeight);
    panel->RebuildBackground();
    return panel;
}

std::unique_ptr<TRbPanel> contentFrame(int width, int height) {
    auto panel = std::make_unique<TRbPanel>(nullptr, "RbPanel5");
    applyContentFrameStyle(*panel);
    panel->SetCaption("Search");
    panel->resize(width, height);
    panel->RebuildBackground();
    return panel;
}

void BM_TitleBarPaint(benchmark::State& state) {
    auto panel = titleBar(1024);
    QImage target(panel->size(), QImage::Format_RGB32);
    panel->render(&target);  // delivers the pending resize of a hidden panel
    const int rebuilds = panel->RebuildCount();
    for (auto _ : state) {
        panel->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    if (panel->RebuildCount() != rebuilds) {
        state.SkipWithError("a paint rebuilt the background");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TitleBarPaint);

void BM_ContentFramePaint(benchmark::State& state) {
    auto panel = contentFrame(1024, 476);
    QImage target(panel->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        panel->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ContentFramePaint);

void BM_TitleBarRebuild(benchmark::State& state) {
    auto panel = titleBar(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        panel->RebuildBackground();
        benchmark::DoNotOptimize(panel->Background().constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * kBarHeight);
}
BENCHMARK(BM_TitleBarRebuild)->Arg(1024);

void BM_ContentFrameRebuild(benchmark::State& state) {
    auto panel = contentFrame(1024, 476);
    for (auto _ : state) {
        panel->RebuildBackground();
        benchmark::DoNotOptimize(panel->Background().constBits());
    }
}
BENCHMARK(BM_ContentFrameRebuild)->Unit(benchmark::kMillisecond);

void BM_ButtonPaint(benchmark::State& state) {
    TRbButton button(nullptr, "btnNext");
    button.SetGlyph(materialGlyph(QStringLiteral("arrow_forward"), 16, clBlack));
    button.SetLayout(blGlyphRight);
    QImage target(button.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        button.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ButtonPaint);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
