// The program as the user meets it: the start up to the login window with an
// empty journal and with generated journals of 7,300 and 36,500 days (about
// 2 KB of RTF a day), and Next from one day to the following one, on 2 KB
// entries, on entries holding a picture of about 200 KB and on a year of
// daily 12-megapixel photographs (QUILLMERE_PHOTO_JOURNAL names one made
// earlier). Each iteration is timed by the clock of this thread, from the
// command to the window shown.
#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "generated_journals.h"
#include "photo_journals.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "store/day.h"
#include "store/journal_table.h"
#include "store/packet_preload.h"
#include "tools/journal/journal_generate.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

using namespace quillmere;

namespace {

// An entry with a photograph-like picture of about 200 KB of pixels (noise
// over a gradient, which compresses poorly, as photographs do) and a line of
// text.
QByteArray pictureEntryRtf(int seed) {
    QImage image(256, 200, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random() % 48);
            row[x] = qRgb((x + noise) & 255, (y + noise) & 255, (x + y + noise) & 255);
        }
    }
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("A day at the sea, picture below.\n"));
    rtf::insertPicture(cursor, image);
    return rtf::writeRtf(document);
}

QString pictureJournal(int days) {
    static QString made;
    if (made.isEmpty()) {
        made = bench::scratchFolder().filePath(QStringLiteral("Pictures-%1.cds").arg(days));
        JournalTable table;
        table.OpenJournal(made);
        for (int i = 0; i < days; ++i) {
            table.StoreEntry(journaltool::generatedFirstDay() + i, pictureEntryRtf(i));
        }
        table.close();
    }
    return made;
}

// A folder of its own for one start of the program, with `journal` copied in
// (none for an empty string).
std::unique_ptr<QTemporaryDir> programFolder(const QString& journal) {
    auto folder = std::make_unique<QTemporaryDir>(
        bench::scratchFolder().filePath(QStringLiteral("run-XXXXXX")));
    if (!journal.isEmpty()) {
        QFile::copy(journal, folder->filePath(QStringLiteral("Journal.cds")));
    }
    return folder;
}

std::unique_ptr<Program> makeProgram(const QTemporaryDir& folder) {
    ProgramPaths paths;
    paths.dataFolder = folder.path();
    paths.placementFile = folder.filePath(QStringLiteral("placement.INI"));
    return std::make_unique<Program>(paths);
}

// Runs the first show of the main window; `atLogin` runs once the login
// window is up, then the login is answered (passed or left).
bool startProgram(Program& program, bool pass, const std::function<void()>& atLogin) {
    TfrmLogin* login = program.login();
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, login, [&] {
        if (!login->isVisible()) {
            return;
        }
        poll.stop();
        atLogin();
        if (pass) {
            login->edtPassword->clear();
            login->btnLoginClick();
        } else {
            login->btnExitClick();
        }
    });
    poll.start();
    return program.start();
}

// From the program's first step to the login window shown. The journal is
// preloaded as the program's main() does, before anything else.
void BM_StartToLogin(benchmark::State& state) {
    const int days = int(state.range(0));
    const QString journal = days > 0 ? bench::generatedJournal(days) : QString();
    for (auto _ : state) {
        const auto folder = programFolder(journal);
        QElapsedTimer clock;
        clock.start();
        PreloadDataFile(folder->filePath(QStringLiteral("Journal.cds")));
        std::unique_ptr<Program> program = makeProgram(*folder);
        double seconds = 0;
        startProgram(*program, false, [&] {
            QCoreApplication::processEvents();  // painted
            seconds = double(clock.nsecsElapsed()) / 1e9;
        });
        state.SetIterationTime(seconds);
        program->destroyWindows();
    }
}

// Next on a journal of consecutive days: the entry shown was edited, so the
// command stores it, moves one day on, looks the day up and loads its entry;
// the time runs until the window has painted the new day.
void nextDays(benchmark::State& state, const QString& journal, int days) {
    const auto folder = programFolder(journal);
    std::unique_ptr<Program> program = makeProgram(*folder);
    TfrmMain& main = *program->main();
    const double first = journaltool::generatedFirstDay();
    main.today = [first] { return first; };
    startProgram(*program, true, [] {});
    QCoreApplication::processEvents();
    int shown = 0;
    for (auto _ : state) {
        if (shown == days - 1) {
            main.SetCurrentDay(first - 1);
            shown = -1;
        }
        main.editor()->textCursor().insertText(QStringLiteral("x"));
        QElapsedTimer clock;
        clock.start();
        main.btnNextClick();
        main.repaint();
        QCoreApplication::processEvents();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        ++shown;
    }
    // Nothing of the run is kept: the folder goes with the program.
    program->main()->journal().abandon();
    program->destroyWindows();
}

void BM_NextDay2KB(benchmark::State& state) {
    nextDays(state, bench::generatedJournal(400), 400);
}

void BM_NextDayPicture(benchmark::State& state) {
    nextDays(state, pictureJournal(40), 40);
}

// A year of daily 12-megapixel photographs: each Next reads the day's
// entry from the journal on disk and shows its photo.
void BM_NextDayPhoto(benchmark::State& state) {
    nextDays(state, bench::generatedPhotoJournal(365), 365);
}

BENCHMARK(BM_StartToLogin)
    ->Arg(0)
    ->Arg(7300)
    ->Arg(36500)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextDay2KB)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextDayPicture)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextDayPhoto)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
