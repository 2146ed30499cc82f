// Profile files and "FontSettings.Ini".
#include "store/profile_file.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/font_settings.h"

#include "failing_files.h"
#include "test_support.h"

#include <QFile>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

struct IntegerCase {
    const char* name;
    const char* text;
    int expected;  // with a fallback of 1
};

class ProfileInteger : public ::testing::TestWithParam<IntegerCase> {};

}  // namespace

TEST_P(ProfileInteger, ReadingRule) {
    EXPECT_EQ(GetParam().expected, parseProfileInteger(QString::fromUtf8(GetParam().text), 1));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileInteger,
    ::testing::Values(IntegerCase{"decimal", "7", 7}, IntegerCase{"zero", "0", 0},
                      IntegerCase{"negative", "-3", -3}, IntegerCase{"hexZero", "0x00", 0},
                      IntegerCase{"hexUpper", "0X1F", 31},
                      IntegerCase{"hexAllOnes", "0xFFFFFFFF", -1},
                      IntegerCase{"bareHexPrefixIsNotANumber", "0x", 1},
                      IntegerCase{"badHex", "0xZZ", 1}, IntegerCase{"word", "abc", 1},
                      IntegerCase{"empty", "", 1}, IntegerCase{"blanksAround", " 12 ", 12},
                      IntegerCase{"trailingJunk", "12abc", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FontSettings, MissingFileGivesDefaults) {
    TempFolder dir;
    const FontSettings s = ReadFontSettings(dir.file("FontSettings.Ini"));
    EXPECT_EQ(QStringLiteral("Arial"), s.name);
    EXPECT_EQ(1, s.charset);
    EXPECT_FALSE(s.skip);
    EXPECT_FALSE(QFile::exists(dir.file("FontSettings.Ini")));
}

TEST(FontSettings, ValuesAsTheProfileFunctionsReadThem) {
    TempFolder dir;
    const QString path = dir.write("FontSettings.Ini",
                                   "[font]\r\nNAME = Courier New \r\ncharset=0x00\r\n"
                                   "[Settings]\r\nskip=7\r\n");
    FontSettings s = ReadFontSettings(path);
    EXPECT_EQ(QStringLiteral("Courier New"), s.name);
    EXPECT_EQ(0, s.charset);
    EXPECT_TRUE(s.skip);

    dir.write("FontSettings.Ini", "[Font]\nName=Tahoma\nCharset=abc\n[Settings]\nSkip=0\n");
    s = ReadFontSettings(path);
    EXPECT_EQ(1, s.charset);
    EXPECT_FALSE(s.skip);
}

TEST(FontSettings, WriteCreatesTheFileAndReadsBack) {
    TempFolder dir;
    const QString path = dir.file("FontSettings.Ini");
    WriteFontSettings(path, {QStringLiteral("Courier New"), 238, true});
    EXPECT_EQ(QByteArray("[Font]\nName=Courier New\nCharset=238\n[Settings]\nSkip=1\n"),
              dir.read("FontSettings.Ini"));
    const FontSettings s = ReadFontSettings(path);
    EXPECT_EQ(QStringLiteral("Courier New"), s.name);
    EXPECT_EQ(238, s.charset);
    EXPECT_TRUE(s.skip);
    WriteFontSettings(path, {QStringLiteral("Arial"), 1, false});
    EXPECT_FALSE(ReadFontSettings(path).skip);
}

// The spelling language is a key of our own: written only once chosen, so a
// diary that never chose one keeps the three keys above, byte for byte.
TEST(FontSettings, SpellingIsWrittenOnlyOnceChosen) {
    TempFolder dir;
    const QString path = dir.file("FontSettings.Ini");
    FontSettings settings{QStringLiteral("Arial"), 1, false};
    settings.spelling = QStringLiteral("de_DE");
    WriteFontSettings(path, settings);
    EXPECT_EQ(QByteArray("[Font]\nName=Arial\nCharset=1\n[Settings]\nSkip=0\nSpelling=de_DE\n"),
              dir.read("FontSettings.Ini"));
    EXPECT_EQ(QStringLiteral("de_DE"), ReadFontSettings(path).spelling);
    settings.spelling = QStringLiteral("Off");
    WriteFontSettings(path, settings);
    EXPECT_EQ(QStringLiteral("Off"), ReadFontSettings(path).spelling);
    dir.write("FontSettings.Ini", "[Settings]\nSkip=1\n");
    EXPECT_EQ(QString(), ReadFontSettings(path).spelling) << "none chosen: the locale decides";
}

TEST(ProfileFile, WritingKeepsEveryOtherLine) {
    TempFolder dir;
    const QString path = dir.write("x.ini",
                                   "; my settings\r\n[Other]\r\nKeep=yes\r\n\r\n[FONT]\r\n"
                                   "name=Old\r\nColour=red\r\n\r\n[Last]\r\nA=1\r\n");
    const ProfileFile ini(path);
    ini.writeString("Font", "Name", "New");
    ini.writeString("Font", "Charset", "2");
    ini.writeBool("Settings", "Skip", true);
    EXPECT_EQ(
        QByteArray("; my settings\r\n[Other]\r\nKeep=yes\r\n\r\n[FONT]\r\nName=New\r\n"
                   "Colour=red\r\nCharset=2\r\n\r\n[Last]\r\nA=1\r\n[Settings]\r\nSkip=1\r\n"),
        dir.read("x.ini"));
    EXPECT_EQ(QStringLiteral("yes"), ini.readString("other", "KEEP", "no"));
    EXPECT_EQ(QStringLiteral("no"), ini.readString("Other", "Missing", "no"));
    EXPECT_EQ(QStringLiteral("no"), ini.readString("Missing", "Keep", "no"));
}

TEST(ProfileFile, FailedWriteKeepsTheOldFile) {
    TempFolder dir;
    const QString path = dir.write("FontSettings.Ini", "[Font]\nName=Old\n");
    auto failing = testsupport::FailingFiles::everyFile(QStringLiteral("Permission denied"));
    ScopedFileAccess inject(&failing);
    EXPECT_THROW(WriteFontSettings(path, {}), FileError);
    EXPECT_EQ(QByteArray("[Font]\nName=Old\n"), dir.read("FontSettings.Ini"));
}

TEST(ProfileFile, SeveralValuesAreOneRewriteWithTheBytesOfOneByOne) {
    TempFolder dir;
    const QByteArray original("; mine\r\n[Main]\r\nflags=1\r\n\r\n[Other]\r\nKeep=yes\r\n");
    const QList<ProfileValue> values{{"MAIN", "Flags", "0"},
                                     {"Main", "NormPos", "1,2,3,4"},
                                     {"New", "Visible", "0"},
                                     {"new", "visible", "1"}};
    const ProfileFile oneByOne(dir.write("a.ini", original));
    for (const ProfileValue& value : values) {
        oneByOne.writeString(value.section, value.key, value.value);
    }
    ProfileFile(dir.write("b.ini", original)).writeStrings(values);
    EXPECT_EQ(dir.read("a.ini"), dir.read("b.ini"));

    const QString refused = dir.write("c.ini", original);
    testsupport::FailingFiles failing({QStringLiteral("c.ini")});
    ScopedFileAccess inject(&failing);
    EXPECT_THROW(ProfileFile(refused).writeStrings(values), FileError);
    EXPECT_EQ(1, failing.failures());
    EXPECT_EQ(original, dir.read("c.ini"));
}
