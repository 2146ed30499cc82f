// The real program's start, as the user meets it: from starting the
// executable to its login window appearing on an X server, with no journal
// and with generated journals of 7,300 and 36,500 days (about 2 KB of RTF a
// day) and of a year of daily photographs (argument -365, about 1 GB). Each
// start runs the installed-like executable from a folder of its own (the
// folder holds the journal) on a private Xvfb, and is timed from the
// moment the process is spawned to the X server mapping the window named
// "Login Window"; the process is then killed. QUILLMERE_START_BENCH_PROGRAM
// names another build of the program to time instead (to compare builds).
#include "generated_journals.h"
#include "photo_journals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kLoginTitle[] = "Login Window";
constexpr auto kStartLimit = std::chrono::seconds(30);

// A private X server: Xvfb picks a free display and names it once it takes
// connections.
class XServer {
public:
    XServer() {
        xvfb_.start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        const auto deadline = Clock::now() + kStartLimit;
        while (xvfb_.waitForStarted() && !number.contains('\n') && Clock::now() < deadline &&
               xvfb_.state() == QProcess::Running) {
            xvfb_.waitForReadyRead(100);
            number += xvfb_.readAllStandardOutput();
        }
        if (number.contains('\n')) {
            display_ = QByteArray(":" + number.trimmed()).toStdString();
        }
    }
    ~XServer() {
        xvfb_.terminate();
        xvfb_.waitForFinished();
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& display() const { return display_; }

private:
    QProcess xvfb_;
    std::string display_;
};

// A connection that hears about every top-level window mapped on the server.
class MapWatcher {
public:
    explicit MapWatcher(const std::string& display) {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_) != 0) {
            return;
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        ok_ = true;
    }
    ~MapWatcher() { xcb_disconnect(connection_); }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    bool ok() const { return ok_; }

    // Waits until a window with `title` is mapped; the time it was seen, or
    // nothing when `limit` passed first.
    std::optional<Clock::time_point> waitForWindow(const char* title, Clock::time_point limit) {
        while (Clock::now() < limit) {
            xcb_generic_event_t* event = xcb_poll_for_event(connection_);
            if (event == nullptr) {
                if (xcb_connection_has_error(connection_) != 0) {
                    return std::nullopt;
                }
                struct timespec pause {
                    0, 200 * 1000
                };
                nanosleep(&pause, nullptr);
                continue;
            }
            const auto seen = Clock::now();
            const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
            const xcb_window_t window =
                mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
            std::free(event);
            if (mapped && nameOf(window) == title) {
                return seen;
            }
        }
        return std::nullopt;
    }

private:
    std::string nameOf(xcb_window_t window) {
        const xcb_get_property_cookie_t cookie = xcb_get_property(
            connection_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
        std::string name;
        if (reply != nullptr) {
            name.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                        static_cast<std::size_t>(xcb_get_property_value_length(reply)));
            std::free(reply);
        }
        return name;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    bool ok_ = false;
};

// A folder with a copy of the program (which keeps its data beside itself)
// and, unless empty, `journal` as its Journal.cds.
QString programToTime() {
    const QString other = qEnvironmentVariable("QUILLMERE_START_BENCH_PROGRAM");
    return other.isEmpty() ? QStringLiteral(QUILLMERE_PROGRAM) : other;
}

std::unique_ptr<QTemporaryDir> programFolder(const QString& journal) {
    auto folder = std::make_unique<QTemporaryDir>(
        quillmere::bench::scratchFolder().filePath(QStringLiteral("run-XXXXXX")));
    const QString program = folder->filePath(QStringLiteral("quillmere"));
    QFile::copy(programToTime(), program);
    QFile::setPermissions(program, QFile::permissions(programToTime()));
    if (!journal.isEmpty()) {
        // A hard link where it can be: the program only reads the journal
        // before it is killed, and a year of photos is not copied each run.
        const QString target = folder->filePath(QStringLiteral("Journal.cds"));
        if (::link(QFile::encodeName(journal).constData(), QFile::encodeName(target).constData()) !=
            0) {
            QFile::copy(journal, target);
        }
    }
    return folder;
}

pid_t spawnProgram(const QTemporaryDir& folder, const std::string& display) {
    std::vector<std::string> settings = {
        "DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
        "XDG_CONFIG_HOME=" + folder.filePath(QStringLiteral("config")).toStdString()};
    std::vector<char*> env;
    for (std::string& s : settings) {
        env.push_back(s.data());
    }
    for (char** e = environ; *e != nullptr; ++e) {
        const bool replaced = std::strncmp(*e, "DISPLAY=", 8) == 0 ||
                              std::strncmp(*e, "QT_QPA_PLATFORM=", 16) == 0 ||
                              std::strncmp(*e, "XDG_CONFIG_HOME=", 16) == 0;
        if (!replaced) {
            env.push_back(*e);
        }
    }
    env.push_back(nullptr);
    const std::string program = folder.filePath(QStringLiteral("quillmere")).toStdString();
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, env.data()) != 0) {
        return -1;
    }
    return pid;
}

void BM_ProgramStartToLogin(benchmark::State& state) {
    // A negative argument: that many days of photographs.
    const int days = int(state.range(0));
    const QString journal = days > 0   ? quillmere::bench::generatedJournal(days)
                            : days < 0 ? quillmere::bench::generatedPhotoJournal(-days)
                                       : QString();
    XServer server;
    if (server.display().empty()) {
        state.SkipWithError("no Xvfb could be started");
        return;
    }
    MapWatcher watcher(server.display());
    if (!watcher.ok()) {
        state.SkipWithError("cannot connect to the X server");
        return;
    }
    for (auto _ : state) {
        const auto folder = programFolder(journal);
        const auto start = Clock::now();
        const pid_t pid = spawnProgram(*folder, server.display());
        if (pid < 0) {
            state.SkipWithError("the program could not be started");
            return;
        }
        const auto shown = watcher.waitForWindow(kLoginTitle, start + kStartLimit);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (!shown) {
            state.SkipWithError("the login window did not appear");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*shown - start).count());
    }
}

BENCHMARK(BM_ProgramStartToLogin)
    ->Arg(0)
    ->Arg(7300)
    ->Arg(36500)
    ->Arg(-365)
    ->UseManualTime()
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
