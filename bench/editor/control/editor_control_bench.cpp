// How long the editor control takes for the work a user waits on: drawing
// links in a long paragraph, finding text in a long entry, and storing and
// loading an entry when the day changes.
#include "editor/entry_content.h"
#include "editor/rich_editor.h"
#include "editor/text_find.h"
#include "editor/url_links.h"

#include <QApplication>
#include <QString>

#include <benchmark/benchmark.h>

namespace {

using quillmere::RichEditor;

// A paragraph of `size` characters with an address every 200 or so.
QString paragraphWithLinks(int size) {
    QString text;
    for (int i = 0; text.size() < size; ++i) {
        text += QStringLiteral("Walked to the harbour and wrote it down, see www.site%1.example/x ")
                    .arg(i);
        text += QStringLiteral("then home again through the rain and wind of the evening. ");
    }
    text.truncate(size);
    return text;
}

// An entry of `paragraphs` paragraphs, every third word of each bold.
void writeEntry(RichEditor& editor, int paragraphs) {
    for (int p = 0; p < paragraphs; ++p) {
        const int start = editor.selectionStart();
        editor.replaceSelection(paragraphWithLinks(400) + QLatin1Char('\n'));
        editor.setSelection(start + 10, 20);
        editor.setSelectionStyles({true, false, false, false});
        editor.setSelection(editor.document()->characterCount() - 1, 0);
    }
}

void BM_DetectUrls(benchmark::State& state) {
    const QString text = paragraphWithLinks(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(quillmere::detectUrls(text));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_DetectUrls)->Arg(1 << 10)->Arg(64 << 10);

// The search window's case: case-insensitive, anywhere, and no match.
void BM_FindInTextMiss(benchmark::State& state) {
    const QString text = paragraphWithLinks(int(state.range(0)));
    const quillmere::FindOptions options{true, false, false};
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            quillmere::findInText(text, QStringLiteral("Zebra"), 0, int(text.size()), options));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_FindInTextMiss)->Arg(64 << 10)->Arg(1 << 20);

void BM_StoreEditorContent(benchmark::State& state) {
    RichEditor editor;
    writeEntry(editor, int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(quillmere::StoreEditorContent(editor));
    }
}
BENCHMARK(BM_StoreEditorContent)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_LoadEditorContent(benchmark::State& state) {
    RichEditor source;
    writeEntry(source, int(state.range(0)));
    const QByteArray blob = quillmere::StoreEditorContent(source);
    RichEditor editor;
    editor.setUrlDetection(state.range(1) != 0);
    for (auto _ : state) {
        quillmere::LoadEditorContent(editor, blob);
    }
}
BENCHMARK(BM_LoadEditorContent)
    ->Args({10, 1})
    ->Args({200, 1})
    ->Args({200, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
