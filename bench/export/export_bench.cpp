// Exporting a journal of twenty years (7,300 days) through the export loop,
// beside writing the same bytes to the same file names with plain file
// writes, and with the same temporary-file-and-rename protocol written out by
// hand. Each run starts in an empty folder; creating and clearing the folder
// is not timed.
#include "export/core/book_export.h"
#include "export/core/export_core.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using quillmere::JournalTable;

constexpr int kDays = 7300;

// An entry of a few hundred to a few thousand bytes of RTF, different per day.
QByteArray entryRtf(int day) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    const int sentences = 4 + day % 29;
    for (int s = 0; s < sentences; ++s) {
        rtf += "Day " + QByteArray::number(day) + ", note " + QByteArray::number(s) +
               ": the garden, the weather and a letter from caf\\'e9 friends.\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

struct Journal {
    QTemporaryDir dataDir;
    JournalTable table;
    std::vector<QByteArray> decoded;  // in date order, for the plain loops

    Journal() {
        table.OpenJournal(dataDir.filePath("Journal.cds"));
        const double first = quillmere::dayFromDate(QDate(2000, 1, 1));
        for (int i = 0; i < kDays; ++i) {
            const QByteArray rtf = entryRtf(i);
            table.StoreEntry(first + i, rtf);
            decoded.push_back(rtf);
        }
    }
    ~Journal() { table.abandon(); }
};

Journal& journal() {
    static Journal instance;
    return instance;
}

quillmere::ExportCallbacks silentCallbacks() {
    quillmere::ExportCallbacks callbacks;
    callbacks.confirmOverwrite = [](const QString&) { return true; };
    callbacks.entryFailed = [](double, const QString& message) {
        qFatal("export failed: %s", qPrintable(message));
        return quillmere::FailureAnswer::kStop;
    };
    callbacks.advanceBar = [] {};
    callbacks.showWritten = [](int) {};
    callbacks.processEvents = [] {};
    callbacks.cancelled = [] { return false; };
    return callbacks;
}

// Runs `body(folder)` once per iteration in a fresh, empty folder.
template <typename Body>
void inFreshFolders(benchmark::State& state, Body body) {
    Journal& j = journal();
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<QTemporaryDir>();
        state.ResumeTiming();
        body(j, folder->path());
        state.PauseTiming();
        folder.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kDays);
}

void BM_ExportLoop(benchmark::State& state) {
    const quillmere::ExportCallbacks callbacks = silentCallbacks();
    inFreshFolders(state, [&](Journal& j, const QString& folder) {
        const auto summary = quillmere::ExportEntries(j.table, folder, callbacks);
        benchmark::DoNotOptimize(summary.written);
    });
}

void BM_PlainWrites(benchmark::State& state) {
    inFreshFolders(state, [](Journal& j, const QString& folder) {
        for (int i = 0; i < kDays; ++i) {
            QFile file(quillmere::EntryFilePath(folder, j.table.dayAt(i)));
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(j.decoded[static_cast<size_t>(i)]) !=
                    j.decoded[static_cast<size_t>(i)].size()) {
                qFatal("plain write failed");
            }
        }
    });
}

void BM_PlainTemporaryAndRename(benchmark::State& state) {
    inFreshFolders(state, [](Journal& j, const QString& folder) {
        for (int i = 0; i < kDays; ++i) {
            QSaveFile file(quillmere::EntryFilePath(folder, j.table.dayAt(i)));
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(j.decoded[static_cast<size_t>(i)]) !=
                    j.decoded[static_cast<size_t>(i)].size() ||
                !file.commit()) {
                qFatal("temporary-file write failed");
            }
        }
    });
}

// The same protocol without flushing each file to disk before the rename:
// what the loop would cost with a replacing write that skips the flush.
void BM_PlainTemporaryAndRenameWithoutFlush(benchmark::State& state) {
    inFreshFolders(state, [](Journal& j, const QString& folder) {
        for (int i = 0; i < kDays; ++i) {
            const QString path = quillmere::EntryFilePath(folder, j.table.dayAt(i));
            const QString temporary = path + QStringLiteral(".part");
            QFile file(temporary);
            const QByteArray& bytes = j.decoded[static_cast<size_t>(i)];
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(bytes) != bytes.size()) {
                qFatal("temporary write failed");
            }
            file.close();
            if (std::rename(QFile::encodeName(temporary).constData(),
                            QFile::encodeName(path).constData()) != 0) {
                qFatal("rename failed");
            }
        }
    });
}

// The same days as one HTML book (one file, written at the end), to be
// compared with BM_ExportLoop.
void BM_ExportHtmlBook(benchmark::State& state) {
    const quillmere::ExportCallbacks callbacks = silentCallbacks();
    inFreshFolders(state, [&](Journal& j, const QString& folder) {
        const auto summary = quillmere::ExportBook(j.table, folder + QStringLiteral("/Diary.html"),
                                                   quillmere::ExportForm::kHtml, callbacks);
        benchmark::DoNotOptimize(summary.written);
    });
}

// One year (365 days) as a PDF book: laid out on A4 pages and written.
void BM_ExportPdfYear(benchmark::State& state) {
    const quillmere::ExportCallbacks callbacks = silentCallbacks();
    const double first = quillmere::dayFromDate(QDate(2000, 1, 1));
    const quillmere::DayRange year{first, first + 364};
    Journal& j = journal();
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<QTemporaryDir>();
        state.ResumeTiming();
        const QString path = folder->filePath(QStringLiteral("Diary.pdf"));
        const auto summary =
            quillmere::ExportBook(j.table, path, quillmere::ExportForm::kPdf, callbacks, year);
        if (summary.written != 365) {
            state.SkipWithError("the PDF book did not take every day");
            return;
        }
        state.PauseTiming();
        bytes = QFileInfo(path).size();
        folder.reset();
        state.ResumeTiming();
    }
    state.counters["pdf_bytes"] = double(bytes);
}

BENCHMARK(BM_ExportLoop)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainWrites)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainTemporaryAndRename)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainTemporaryAndRenameWithoutFlush)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportHtmlBook)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportPdfYear)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

// The books read entries into documents and lay out pages: a GUI
// application (offscreen) for the fonts.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
