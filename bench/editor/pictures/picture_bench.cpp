// A 12-megapixel photograph in an entry: how long inserting it takes, the
// longest the window goes without answering while it is inserted or pasted,
// how long switching to and from its day takes, and how large the stored
// entry is, each beside the time libjpeg needs to decode the same JPEG (the
// yardstick measured in the same run). The "Emf24" cases measure the form
// every picture had before: one 24-bit bitmap inside an EMF.
//
// The photograph is made here: 4032 x 3024 pixels of smooth colour fields
// with grain, saved at quality 92, which gives a file about the size a phone
// writes.
#include "editor/entry_content.h"
#include "editor/pictures/picture_commands.h"
#include "editor/rich_editor.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"
#include "event_loop_gap.h"
#include "store/entry_codec.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

namespace {

using namespace quillmere;

constexpr int kWidth = 4032;
constexpr int kHeight = 3024;

QImage photograph() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::mt19937 random(12);
    std::normal_distribution<double> grain(0.0, 9.0);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const double u = double(x) / kWidth;
            const double v = double(y) / kHeight;
            const double r = 120 + 90 * std::sin(6 * u + 2 * v) + grain(random);
            const double g = 110 + 80 * std::cos(5 * v - 3 * u) + grain(random);
            const double b = 100 + 70 * std::sin(9 * u * v + 1) + grain(random);
            line[x] = qRgb(std::clamp(int(r), 0, 255), std::clamp(int(g), 0, 255),
                           std::clamp(int(b), 0, 255));
        }
    }
    return image;
}

struct Photo {
    QTemporaryDir folder;
    QString path;
    QByteArray jpeg;
    QByteArray entryBlob;  // the stored entry holding the photograph
    QByteArray emf24Blob;  // the same picture in the former stored form
};

Photo& photo() {
    static Photo* made = [] {
        auto* p = new Photo;
        QBuffer buffer(&p->jpeg);
        buffer.open(QIODevice::WriteOnly);
        photograph().save(&buffer, "JPEG", 92);
        p->path = QDir(p->folder.path()).filePath(QStringLiteral("IMG_0001.jpg"));
        QFile file(p->path);
        file.open(QIODevice::WriteOnly);
        file.write(p->jpeg);
        file.close();

        QTextDocument doc;
        QTextCursor cursor(&doc);
        const QImage decoded = rtf::decodeJpeg(p->jpeg);
        cursor.insertText(QStringLiteral("At the harbour. "));
        rtf::insertPicture(cursor, decoded, p->jpeg);
        p->entryBlob = EncodeEntryContent(rtf::writeRtf(doc));

        QTextDocument old;
        QTextCursor oldCursor(&old);
        oldCursor.insertText(QStringLiteral("At the harbour. "));
        QByteArray oldRtf = "{\\rtf1\\ansi At the harbour. ";
        rtf::appendPictureGroup(oldRtf, rtf::storedPictureOf(decoded));
        oldRtf += "}";
        p->emf24Blob = EncodeEntryContent(oldRtf);
        return p;
    }();
    return *made;
}

void BM_DecodeJpegWithLibjpeg(benchmark::State& state) {
    const QByteArray& jpeg = photo().jpeg;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtf::decodeJpeg(jpeg));
    }
    state.counters["jpeg_bytes"] = double(jpeg.size());
}
BENCHMARK(BM_DecodeJpegWithLibjpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

// Insert Picture from the chosen file to the picture in the editor, through
// the clipboard as the command does.
void BM_InsertPicture(benchmark::State& state) {
    RichEditor editor;
    editor.resize(800, 500);
    editor.show();
    PictureCommands commands(&editor, &editor, {}, {});
    commands.setFileDialog([](QWidget*, const FileDialogRequest&) { return photo().path; });
    for (auto _ : state) {
        editor.clearAll();
        commands.btnInsertPictureClick();
        QApplication::processEvents();
        benchmark::DoNotOptimize(editor.grab());
    }
}
BENCHMARK(BM_InsertPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

// The longest time the window did not come round to its events while
// `command` put a photograph in, up to the picture painted: the window must
// answer input every 50 ms or sooner.
double longestGapMs(RichEditor& editor, const std::function<void()>& command) {
    const bench::EventLoopGap gap;
    command();
    while (editor.hasPendingPictures()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    editor.repaint();
    return gap.longestMs();
}

// Insert Picture of the photograph's file, and a paste of it as a bitmap (a
// screenshot tool or an image viewer's copy), with the longest gap.
void BM_PhotoGoesInLongestGap(benchmark::State& state) {
    const bool pasted = state.range(0) != 0;
    RichEditor editor;
    editor.resize(800, 500);
    editor.show();
    PictureCommands commands(&editor, &editor, {}, {});
    commands.setFileDialog([](QWidget*, const FileDialogRequest&) { return photo().path; });
    const QImage bitmap = rtf::decodeJpeg(photo().jpeg);
    double longest = 0;
    for (auto _ : state) {
        editor.clearAll();
        if (pasted) {
            QApplication::clipboard()->setImage(bitmap);
        }
        longest = std::max(longest, longestGapMs(editor, [&] {
                               if (pasted) {
                                   editor.paste();
                               } else {
                                   commands.btnInsertPictureClick();
                               }
                           }));
    }
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(BM_PhotoGoesInLongestGap)
    ->ArgName("pasted")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Switching to the day (inflate, read, decode, first paint) and away from it
// to an empty day.
void switchDays(benchmark::State& state, const QByteArray& blob) {
    RichEditor editor;
    editor.resize(800, 500);
    editor.show();
    for (auto _ : state) {
        LoadEditorContent(editor, blob);
        benchmark::DoNotOptimize(editor.grab());
        editor.clearAll();
        benchmark::DoNotOptimize(editor.grab());
    }
    state.counters["stored_bytes"] = double(blob.size());
    state.counters["stored_per_jpeg_byte"] = double(blob.size()) / double(photo().jpeg.size());
}

void BM_SwitchToAndFromPhotoDay(benchmark::State& state) {
    switchDays(state, photo().entryBlob);
}
BENCHMARK(BM_SwitchToAndFromPhotoDay)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SwitchToAndFromPhotoDayEmf24(benchmark::State& state) {
    switchDays(state, photo().emf24Blob);
}
BENCHMARK(BM_SwitchToAndFromPhotoDayEmf24)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// Storing the entry when leaving a changed day.
void BM_StorePhotoEntry(benchmark::State& state) {
    RichEditor editor;
    LoadEditorContent(editor, photo().entryBlob);
    for (auto _ : state) {
        benchmark::DoNotOptimize(StoreEditorContent(editor));
    }
}
BENCHMARK(BM_StorePhotoEntry)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    photo();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
