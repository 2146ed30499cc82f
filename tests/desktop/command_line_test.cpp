// The built programs asked for --help and --version in a terminal without a
// display: the text on standard output, exit 0, nothing written anywhere;
// output that cannot be written and wrong usage are failures.
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

struct OptionCase {
    const char* label;
    const char* program;  // QUILLMERE_PROGRAM or QUILLMERE_JOURNAL_TOOL
    QStringList args;
    const char* stdoutFile;  // standard output goes here; nullptr: captured
    int code;
    const char* outStart;  // what standard output begins with
    const char* err;       // standard error, exactly
};

class InformationOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(InformationOptions, AnswerWithoutADisplay) {
    const OptionCase& c = GetParam();
    testsupport::TempFolder home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // Set and empty: Qt would take the desktop's platform, and find none.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QString());
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.file(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.file(QStringLiteral("config")));
    // The English texts, whatever language the machine running the tests speaks.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANGUAGE"));
    QProcess process;
    process.setProcessEnvironment(env);
    if (c.stdoutFile != nullptr) {
        process.setStandardOutputFile(QString::fromLatin1(c.stdoutFile));
    }
    process.start(QString::fromLatin1(c.program), c.args);
    ASSERT_TRUE(process.waitForFinished(60000)) << c.label;
    ASSERT_EQ(QProcess::NormalExit, process.exitStatus()) << c.label;
    const QByteArray out = process.readAllStandardOutput();
    const QByteArray err = process.readAllStandardError();
    EXPECT_EQ(c.code, process.exitCode()) << c.label << "\n" << err.toStdString();
    EXPECT_TRUE(out.startsWith(c.outStart)) << c.label << ":\n" << out.toStdString();
    if (*c.outStart == '\0') {
        EXPECT_TRUE(out.isEmpty()) << c.label << ":\n" << out.toStdString();
    }
    EXPECT_EQ(QByteArray(c.err), err) << c.label;
    // Answering an option neither reads nor makes a diary folder.
    QDirIterator written(home.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
    EXPECT_FALSE(written.hasNext()) << c.label << ": wrote " << written.next().toStdString();
}

constexpr char kProgram[] = QUILLMERE_PROGRAM;
constexpr char kTool[] = QUILLMERE_JOURNAL_TOOL;
constexpr char kToolUsage[] = "usage: quillmere-journal [--password-file FILE] COMMAND ARGS...\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, InformationOptions,
    ::testing::Values(
        OptionCase{"nominal: quillmere --help",
                   kProgram,
                   {"--help"},
                   nullptr,
                   0,
                   "Usage: quillmere [--help | --version]\n\nQuillmere is a private diary",
                   ""},
        OptionCase{"nominal: quillmere --version",
                   kProgram,
                   {"--version"},
                   nullptr,
                   0,
                   "quillmere " QUILLMERE_VERSION "\nCopyright (C) 2026 Velmora Durazu\n"
                   "License GPL-3.0-or-later",
                   ""},
        OptionCase{"nominal: quillmere --version after an ignored argument",
                   kProgram,
                   {"notes.rtf", "--version"},
                   nullptr,
                   0,
                   "quillmere " QUILLMERE_VERSION "\n",
                   ""},
        OptionCase{
            "nominal: quillmere-journal --help", kTool, {"--help"}, nullptr, 0, kToolUsage, ""},
        OptionCase{"nominal: quillmere-journal -h", kTool, {"-h"}, nullptr, 0, kToolUsage, ""},
        OptionCase{"nominal: quillmere-journal help, as a command",
                   kTool,
                   {"help"},
                   nullptr,
                   0,
                   kToolUsage,
                   ""},
        OptionCase{"nominal: quillmere-journal --version",
                   kTool,
                   {"--version"},
                   nullptr,
                   0,
                   "quillmere-journal (Quillmere) " QUILLMERE_VERSION "\nCopyright (C) 2026 ",
                   ""},
        OptionCase{"robustness: quillmere --help onto a full disk",
                   kProgram,
                   {"--help"},
                   "/dev/full",
                   1,
                   "",
                   "quillmere: cannot write to standard output: No space left on device\n"},
        OptionCase{"robustness: quillmere-journal --help onto a full disk",
                   kTool,
                   {"--help"},
                   "/dev/full",
                   1,
                   "",
                   "quillmere-journal: cannot write to standard output: No space left on "
                   "device\n"},
        OptionCase{"robustness: quillmere-journal --version onto a full disk",
                   kTool,
                   {"--version"},
                   "/dev/full",
                   1,
                   "",
                   "quillmere-journal: cannot write to standard output: No space left on "
                   "device\n"}),
    [](const auto& info) { return testsupport::labelTestName(info.param.label); });

}  // namespace
