// The journal tool's "convert" on files: forms chosen by extension, text in
// every script kept both ways, a failed write that leaves the old output.
#include "tools/journal/convert_file.h"

#include "editor/rtf/conversions.h"
#include "editor/rtf/rtf.h"
#include "store/errors.h"
#include "test_support.h"

#include <QDir>

#include <gtest/gtest.h>

using quillmere::FileError;
using quillmere::journaltool::convertFile;
using quillmere::rtf::entryText;
using quillmere::rtf::RtfError;

namespace {

struct ConvertCase {
    const char* in;
    QByteArray input;
    const char* out;
    QByteArray expected;
};

class ConvertFile : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertFile, ChoosesTheFormByExtension) {
    const ConvertCase& row = GetParam();
    testsupport::TempFolder folder;
    QString in = folder.write(QString::fromLatin1(row.in), row.input);
    convertFile(in, folder.file(QString::fromLatin1(row.out)));
    QByteArray output = folder.read(QString::fromLatin1(row.out));
    if (row.expected.startsWith("{\\rtf1")) {
        EXPECT_TRUE(output.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0")) << output.toStdString();
        EXPECT_EQ("A\u00e9\nB", entryText(output).toStdString());
    } else {
        EXPECT_EQ(row.expected, output);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ConvertFile,
    ::testing::Values(ConvertCase{"a.rtf", "{\\rtf1 A\\'e9\\par B}", "b.txt", "A\xc3\xa9\nB"},
                      ConvertCase{"a.txt", "A\xe9\r\nB", "b.rtf", "{\\rtf1"},
                      ConvertCase{"a.txt", "A\xc3\xa9\nB", "b.rtf", "{\\rtf1"},
                      ConvertCase{"a.TXT", "A\xe9\r\nB", "b.TXT", "A\xc3\xa9\nB"},
                      ConvertCase{"a.rtf", "{\\rtf1 A\\'e9\\par B}", "b.rtf", "{\\rtf1"}));

TEST(ConvertFileScripts, KeepsCyrillicJapaneseAndEmojiBothWays) {
    testsupport::TempFolder folder;
    const QString text =
        QString::fromUtf16(u"\u041F\u0440\u0438\u0432\u0435\u0442\n\u65E5\u8A18 \U0001F600");
    const QString in = folder.write("in.txt", text.toUtf8());
    convertFile(in, folder.file("mid.rtf"));
    EXPECT_EQ(text.toStdU16String(), entryText(folder.read("mid.rtf")).toStdU16String());
    convertFile(folder.file("mid.rtf"), folder.file("back.txt"));
    EXPECT_EQ(text.toUtf8(), folder.read("back.txt"));
}

TEST(ConvertFileScripts, FailedWriteKeepsTheOldOutput) {
    testsupport::TempFolder folder;
    const QString in = folder.write("in.txt", "new");
    // The output name is taken by a folder: the write fails and the folder
    // (with its file) stays as it was.
    QDir(folder.path()).mkpath("out.rtf");
    folder.write("out.rtf/keep", "kept");
    EXPECT_THROW(convertFile(in, folder.file("out.rtf")), FileError);
    EXPECT_EQ(QByteArray("kept"), folder.read("out.rtf/keep"));
    EXPECT_EQ(QStringList{"in.txt"} << "out.rtf",
              QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        << "no temporary file is left behind";
}

TEST(ConvertFileErrors, ReportsUnreadableInput) {
    testsupport::TempFolder folder;
    EXPECT_THROW(convertFile(folder.file("missing.rtf"), folder.file("out.rtf")), FileError);
    QString notRtf = folder.write("x.rtf", "hello");
    EXPECT_THROW(convertFile(notRtf, folder.file("out.rtf")), RtfError);
}

}  // namespace
