// The real program as a separate process on its own X display: text typed
// and then killed with SIGKILL is there at the next start, the user is told,
// and the killed run did not touch "Journal.cds". Ending it with SIGTERM
// writes the data files as Exit does.
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"
#include "store/recovery_log.h"

#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <functional>

using namespace quillmere;

namespace {

constexpr int kStepTimeoutMs = 90000;
const QByteArray kTyped = "kept after a kill";

bool waitFor(const std::function<bool()>& condition, int timeoutMs = kStepTimeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

class ProgramOnXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        xvfbPath_ = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        xdotoolPath_ = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xvfbPath_.isEmpty() || xdotoolPath_.isEmpty()) {
            GTEST_SKIP() << "needs Xvfb and xdotool (scripts/setup.sh installs them)";
        }
        // The program keeps its data beside its executable: a copy of it in
        // the temporary folder keeps the test's data there.
        program_ = folder_.file(QStringLiteral("quillmere"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLMERE_PROGRAM), program_));
        startXvfb();
    }

    void TearDown() override {
        if (app_.state() != QProcess::NotRunning) {
            app_.kill();
            app_.waitForFinished();
        }
        if (xvfb_.state() != QProcess::NotRunning) {
            xvfb_.terminate();
            xvfb_.waitForFinished();
        }
    }

    // Xvfb picks a free display itself and writes its number to standard
    // output once it accepts connections (-displayfd), so no other server's
    // display is taken and the program never connects too early.
    void startXvfb() {
        xvfb_.start(xvfbPath_,
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        const auto numberWritten = [&] {
            xvfb_.waitForReadyRead(100);
            number += xvfb_.readAllStandardOutput();
            return number.contains('\n') || xvfb_.state() != QProcess::Running;
        };
        const bool ready = xvfb_.waitForStarted() && waitFor(numberWritten, 20000);
        if (ready && xvfb_.state() == QProcess::Running && !number.trimmed().isEmpty()) {
            display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
            // A client must really get through before the program is started.
            const bool answers = waitFor(
                [&] {
                    return xdotool({QStringLiteral("getmouselocation")})
                        .startsWith(QLatin1String("x:"));
                },
                20000);
            ASSERT_TRUE(answers) << "Xvfb on " << display_.toStdString() << " takes no client";
            return;
        }
        xvfb_.kill();
        xvfb_.waitForFinished();
        FAIL() << "no X display could be started";
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // The window placement file goes to the configuration folder.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder_.file(QStringLiteral("config")));
        return env;
    }

    // Starts the program. Under the sanitizers its first connection to a
    // freshly started X server is now and then refused ("could not connect to
    // display"), although the server takes other clients; a start that ends
    // within a moment is tried again, three times at most.
    void startProgram() {
        app_.setProcessEnvironment(environment());
        app_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        for (int attempt = 0; attempt < 3; ++attempt) {
            app_.start(program_, {});
            ASSERT_TRUE(app_.waitForStarted());
            if (!app_.waitForFinished(1500)) {
                return;  // still running: it is up
            }
        }
        FAIL() << "the program ended at every start";
    }

    // Runs xdotool; its standard output.
    QString xdotool(const QStringList& arguments) {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(xdotoolPath_, arguments);
        tool.waitForFinished(kStepTimeoutMs);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    // The first window whose title matches `pattern`, waiting for it.
    QString windowNamed(const QString& pattern) {
        QString id;
        waitFor([&] {
            id = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"), pattern})
                     .section(QLatin1Char('\n'), 0, 0);
            return !id.isEmpty() || app_.waitForFinished(0);
        });
        return id;
    }

    // Answers the login window (no password is set) and waits for the main
    // window; its id.
    QString logIn() {
        const QString login = windowNamed(QStringLiteral("^Login Window"));
        if (login.isEmpty()) {
            return QString();
        }
        pressReturnIn(login);
        return windowNamed(QStringLiteral("Velmora Durazu"));
    }

    void pressReturnIn(const QString& window) {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    }

    void typeInto(const QString& window, const QByteArray& text) {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                 QString::fromLatin1(text)});
    }

    // A draft of today holding the text is on disk.
    bool draftOnDisk() const {
        QFile file(folder_.file(kRecoveryFileName));
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        for (const RecoveryRecord& r : DecodeRecoveryLog(file.readAll()).records) {
            if (r.kind == RecoveryKind::kDraft && r.day == today_ &&
                DecodeEntryContent(r.content).contains(kTyped)) {
                return true;
            }
        }
        return false;
    }

    testsupport::TempFolder folder_;
    QString xvfbPath_, xdotoolPath_, program_, display_;
    QProcess xvfb_, app_;
    const double today_ = dayFromDate(QDate::currentDate());
};

TEST_F(ProgramOnXvfb, TextTypedBeforeAKillIsThereAtTheNextStartAndTheUserIsTold) {
    // Yesterday's entry from an earlier normal end.
    {
        JournalTable table;
        table.OpenJournal(folder_.file(QStringLiteral("Journal.cds")));
        table.StoreEntry(today_ - 1, "{\\rtf1 yesterday}");
        table.close();
    }
    const QByteArray before = folder_.read(QStringLiteral("Journal.cds"));

    startProgram();
    const QString main = logIn();
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    typeInto(main, kTyped);
    ASSERT_TRUE(waitFor([&] { return draftOnDisk(); })) << "no draft reached the disk";
    app_.kill();  // SIGKILL
    app_.waitForFinished();
    EXPECT_EQ(before, folder_.read(QStringLiteral("Journal.cds")))
        << "the killed run left the journal file alone";

    startProgram();
    const QString login = windowNamed(QStringLiteral("^Login Window"));
    ASSERT_FALSE(login.isEmpty());
    pressReturnIn(login);
    const QString told = windowNamed(QStringLiteral("^Information"));
    ASSERT_FALSE(told.isEmpty()) << "the user was not told what was recovered";
    pressReturnIn(told);
    ASSERT_FALSE(windowNamed(QStringLiteral("Velmora Durazu")).isEmpty());
    // A logout's SIGTERM ends it as Exit does: the files are written.
    ::kill(static_cast<pid_t>(app_.processId()), SIGTERM);
    ASSERT_TRUE(app_.waitForFinished(kStepTimeoutMs));
    EXPECT_EQ(QProcess::NormalExit, app_.exitStatus());

    JournalTable table;
    table.OpenJournal(folder_.file(QStringLiteral("Journal.cds")));
    ASSERT_EQ(2, table.recordCount());
    EXPECT_EQ(today_, table.dayAt(1));
    EXPECT_TRUE(DecodeEntryContent(table.entryAt(1)).contains(kTyped));
    table.abandon();
    EXPECT_FALSE(QFileInfo::exists(folder_.file(kRecoveryFileName)));
    EXPECT_EQ(before, folder_.read(QStringLiteral("Journal.cds.bak")));
}

TEST_F(ProgramOnXvfb, SecondCopyOnTheSameFolderIsRefusedAndTouchesNothing) {
    startProgram();
    ASSERT_FALSE(logIn().isEmpty());
    const QStringList before = QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden);
    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(program_, {});
    ASSERT_TRUE(second.waitForStarted());
    QString told;
    waitFor([&] {
        told = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--pid"), QString::number(second.processId()),
                        QStringLiteral("--name"), QStringLiteral("^Information")});
        return !told.isEmpty();
    });
    ASSERT_FALSE(told.isEmpty()) << "the second copy did not say why it ends";
    pressReturnIn(told);
    ASSERT_TRUE(second.waitForFinished(kStepTimeoutMs));
    EXPECT_EQ(0, second.exitCode());
    EXPECT_EQ(before, QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden));
    EXPECT_EQ(QProcess::Running, app_.state()) << "the first copy runs on";
}

}  // namespace
