// `cmake --install` into a temporary prefix: exactly the expected files, the
// programs finding every library, the icons being the window's icon, the
// manual pages being ours.
#include "resources/program_icon_image.h"
#include "store/data_location.h"
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

QString sourcePath(const QString& relative) {
    return QDir(QStringLiteral(QUILLMERE_SOURCE_DIR)).filePath(relative);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Runs a program to its end; the result holds its exit code and output.
struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun runProgram(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForFinished(120000)) {
        run.err = "did not finish: " + process.errorString().toUtf8();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "desktop_tests";
        static char* argv[] = {name, nullptr};
        if (QGuiApplication::instance() == nullptr) {
            new QGuiApplication(argc, argv);
        }
        const ProgramRun install =
            runProgram(QStringLiteral(QUILLMERE_CMAKE_COMMAND),
                       {QStringLiteral("--install"), QStringLiteral(QUILLMERE_BINARY_DIR),
                        QStringLiteral("--prefix"), prefix_.path()});
        ASSERT_EQ(0, install.exitCode) << install.err.toStdString();
    }
    QString installed(const QString& relative) const {
        return QDir(prefix_.path()).filePath(relative);
    }

    testsupport::TempFolder prefix_;
};

TEST_F(InstallTest, PutsExactlyTheExpectedFilesUnderThePrefix) {
    QStringList found;
    QDirIterator it(prefix_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        found << QDir(prefix_.path()).relativeFilePath(it.next());
    }
    found.sort();
    QStringList expected =
        QString::fromUtf8(readFile(sourcePath(QStringLiteral("tests/desktop/installed_files.txt"))))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    expected.sort();
    EXPECT_EQ(expected, found);
    for (const char* program : {"bin/quillmere", "bin/quillmere-journal"}) {
        EXPECT_TRUE(QFileInfo(installed(QString::fromLatin1(program))).isExecutable()) << program;
    }
}

TEST_F(InstallTest, InstalledProgramsFindEveryLibrary) {
    for (const char* program : {"bin/quillmere", "bin/quillmere-journal"}) {
        const ProgramRun ldd =
            runProgram(QStringLiteral("ldd"), {installed(QString::fromLatin1(program))});
        ASSERT_EQ(0, ldd.exitCode) << program << ": " << ldd.err.toStdString();
        EXPECT_FALSE(ldd.out.contains("not found")) << program << ":\n" << ldd.out.toStdString();
        EXPECT_TRUE(ldd.out.contains("libQt6Core")) << program << " links Qt dynamically";
    }
}

TEST_F(InstallTest, IconsAreThePictureTheWindowShows) {
    const QString id = QString::fromLatin1(kApplicationId);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString path =
            installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id));
        QImage png(path);
        ASSERT_FALSE(png.isNull()) << path.toStdString();
        EXPECT_EQ(QSize(size, size), png.size());
        EXPECT_EQ(ProgramIconImage(size).convertToFormat(QImage::Format_ARGB32),
                  png.convertToFormat(QImage::Format_ARGB32))
            << size;
        EXPECT_TRUE(png.hasAlphaChannel()) << "transparent corners";
        EXPECT_EQ(0, qAlpha(png.pixel(0, size - 1))) << size;
    }
    // The scalable icon is the very file the program renders its icon from.
    const QByteArray svg =
        readFile(installed(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(id)));
    EXPECT_EQ(readFile(QStringLiteral(":/desktop/quillmere.svg")), svg);
    EXPECT_EQ(readFile(sourcePath(QStringLiteral("resources/desktop/quillmere.svg"))), svg);
}

TEST_F(InstallTest, ManualPagesAndChangelogAreOursCompressed) {
    const std::pair<const char*, const char*> documents[] = {
        {"share/man/man1/quillmere.1.gz", "docs/man/quillmere.1"},
        {"share/man/man1/quillmere-journal.1.gz", "docs/man/quillmere-journal.1"},
        {"share/doc/quillmere/changelog.gz", "docs/changelog"},
    };
    for (const auto& [gz, source] : documents) {
        const QStringList args{QStringLiteral("-dc"), installed(QString::fromLatin1(gz))};
        const ProgramRun gunzip = runProgram(QStringLiteral("gzip"), args);
        ASSERT_EQ(0, gunzip.exitCode) << gz << ": " << gunzip.err.toStdString();
        EXPECT_EQ(readFile(sourcePath(QString::fromLatin1(source))), gunzip.out) << gz;
    }
    EXPECT_EQ(readFile(sourcePath(QStringLiteral("docs/copyright"))),
              readFile(installed(QStringLiteral("share/doc/quillmere/copyright"))));
}

TEST_F(InstallTest, AnInstalledProgramKeepsItsDiaryInTheUsersDataFolder) {
    EXPECT_TRUE(isInstalledLayout(installed(QStringLiteral("bin"))));
}

}  // namespace
}  // namespace quillmere
