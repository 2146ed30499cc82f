// The pieces the interpreter is built from, each on its own: the control
// word look-up, the text run and pending bytes, the colour table and the
// \pict reader. The reader tests cover them again through whole documents.
#include "editor/rtf/colour_table.h"
#include "editor/rtf/control_words.h"
#include "editor/rtf/font_table.h"
#include "editor/rtf/pict_reader.h"
#include "editor/rtf/text_run.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmere::rtf;

namespace {

struct LookupCase {
    const char* label;
    std::string name;
    Word id;
};

TEST(ControlWords, LooksUpNamesAndTheirSpellings) {
    const LookupCase cases[] = {
        {"nominal: par", "par", kPar},
        {"nominal: one letter", "b", kB},
        {"nominal: u and uc differ", "uc", kUc},
        {"nominal: longest known name", "listoverridetable", kListoverridetable},
        {"nominal: underline style", "uldb", kUl},
        {"nominal: second spelling", "levelnfcn", kLevelnfc},
        {"nominal: picture type", "pngblip", kBlip},
        {"nominal: skipped destination", "stylesheet", kSkip},
        {"nominal: name with capital", "mmathPr", kSkip},
        {"robustness: unknown word", "lang", kUnknown},
        {"robustness: prefix of a name", "pa", kUnknown},
        {"robustness: name with more letters", "pard1", kUnknown},
        {"robustness: case matters", "PAR", kUnknown},
        {"robustness: empty", "", kUnknown},
        {"robustness: exactly a key long", std::string(kKeyBytes, 'x'), kUnknown},
        {"robustness: longer than a key", "listoverridetable" + std::string(kKeyBytes, 'x'),
         kUnknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup(c.name), c.id) << c.label;
    }
}

TEST(ControlWords, ContentWordsStandForTheirCharacters) {
    const std::pair<const char*, char16_t> cases[] = {
        {"tab", u'\t'},        {"emdash", 0x2014},
        {"endash", 0x2013},    {"emspace", 0x2003},
        {"enspace", 0x2002},   {"qmspace", 0x2005},
        {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019},    {"ldblquote", 0x201C},
        {"rdblquote", 0x201D}, {"zwj", 0x200D},
        {"zwnj", 0x200C},      {"ltrmark", 0x200E},
        {"rtlmark", 0x200F},   {"zwbo", 0x200B},
        {"zwnbo", 0xFEFF},     {"par", 0},
        {"line", 0},           {"b", 0},
    };
    for (const auto& [name, c] : cases) {
        EXPECT_EQ(charOfWord(lookup(name)), c) << name;
    }
    EXPECT_EQ(charOfWord(kUnknown), 0);
}

const ByteTable& table1252() {
    const ByteTable* table = byteTable(kCodePage1252);
    EXPECT_NE(table, nullptr);
    return *table;
}

TEST(TextRun, DecodesBytesAndStopsAfterASeparator) {
    ByteTable table = table1252();
    table[0x01] = kParagraphSeparator;  // a page where a byte means a new paragraph
    const std::string input = std::string("caf\xE9\x02 ok\x01tail") + std::string(16, '\0');
    std::string_view bytes(input.data(), input.size() - 16);
    TextRun run;
    std::size_t i = 0;
    EXPECT_EQ(run.appendBytes(table, bytes, input.size(), i), kParagraphSeparator);
    EXPECT_EQ(i, 9u);                                       // just past the separator
    EXPECT_EQ(run.view(), QStringLiteral("caf\u00E9 ok"));  // the control byte is dropped
    EXPECT_EQ(run.appendBytes(table, bytes, input.size(), i), 0);
    EXPECT_EQ(i, bytes.size());
    EXPECT_EQ(run.view(), QStringLiteral("caf\u00E9 oktail"));
    EXPECT_FALSE(run.mayHoldNoBreakSpace());
}

TEST(TextRun, GrowsWithoutLosingTextAndKeepsTheNoBreakSpaceFlag) {
    TextRun run;
    QString expected;
    for (int i = 0; i < 5000; ++i) {
        char16_t c = static_cast<char16_t>(u'a' + i % 26);
        run.append(c);
        expected.append(QChar(c));
    }
    const char16_t nbsp[] = {u'x', 0x00A0};
    run.append(nbsp, 2, true);
    expected += QStringLiteral("x\u00A0");
    EXPECT_EQ(run.view(), expected);
    EXPECT_TRUE(run.mayHoldNoBreakSpace());
    run.clear();
    EXPECT_TRUE(run.empty());
    EXPECT_FALSE(run.mayHoldNoBreakSpace());
    run.append(u'z');
    EXPECT_EQ(run.view(), QStringLiteral("z"));
}

TEST(TextRun, CleanCharacters) {
    const std::pair<char16_t, bool> cases[] = {
        {u'a', true},
        {u'\t', true},
        {0x00A0, true},
        {0x0001, false},
        {u'\n', false},
        {kLineSeparator, false},
        {kParagraphSeparator, false},
        {0xFFFC, false},
        {0xFDD0, false},
        {0xFDD1, false},
        {0xFFFD, true},
        {0x2027, true},
    };
    for (const auto& [c, clean] : cases) {
        EXPECT_EQ(isClean(c), clean) << static_cast<int>(c);
        EXPECT_EQ(allClean(&c, 1), clean) << static_cast<int>(c);
    }
}

TEST(PendingBytes, KeepsALastingRunAndCopiesEverythingElse) {
    std::string input = "\x82\xA0";  // one Shift-JIS character split over two pieces
    char single = '\xA0';
    PendingBytes pending;
    EXPECT_TRUE(pending.empty());
    pending.add(std::string_view(input.data(), 1), 932, true);
    pending.add(std::string_view(&single, 1), 932, false);
    single = 'x';  // a copied byte no longer depends on its source
    EXPECT_FALSE(pending.empty());
    EXPECT_EQ(pending.codePage(), 932);
    EXPECT_EQ(pending.decode(), QStringLiteral("\u3042"));
    EXPECT_TRUE(pending.empty());
    pending.add("ab", 1252, true);
    EXPECT_EQ(pending.decode(), QStringLiteral("ab"));
}

TEST(ColourTable, EntriesEndAtSemicolonsAndAutomaticHasNoColour) {
    ColourTable table;
    table.begin();
    table.text(";");  // the automatic colour
    table.word(kRed, 300);
    table.word(kGreen, -5);
    table.word(kBlue, 128);
    table.text(" ;");
    table.word(kBlue, 9);
    table.text(";;");
    EXPECT_EQ(table.colour(0), std::nullopt);
    EXPECT_EQ(table.colour(1), qRgb(255, 0, 128));
    EXPECT_EQ(table.colour(2), qRgb(0, 0, 9));
    EXPECT_EQ(table.colour(3), std::nullopt);  // an entry without colour words
    EXPECT_EQ(table.colour(4), std::nullopt);
    EXPECT_EQ(table.colour(-1), std::nullopt);
    table.begin();
    EXPECT_EQ(table.colour(1), std::nullopt);  // a second table replaces the first
}

TEST(FontTable, EntriesAndTheirCodePages) {
    FontTable fonts;
    fonts.begin();
    fonts.word(kF, 0);
    fonts.nameText(QStringLiteral("Arial;"));
    fonts.word(kF, 1);
    fonts.word(kFcharset, 161);  // Greek
    fonts.nameText(QStringLiteral(" Greek\u0001 Font"));
    fonts.word(kF, 2);  // the last entry ended by the next \f
    fonts.word(kCpg, 932);
    fonts.nameChar(QChar(0x3042));
    fonts.endEntry();
    ASSERT_NE(fonts.font(1), nullptr);
    EXPECT_EQ(fonts.font(1)->name, QStringLiteral("Greek Font"));
    EXPECT_EQ(fonts.font(-1)->name, QStringLiteral("Arial"));
    EXPECT_EQ(fonts.font(2)->name, QStringLiteral("\u3042"));
    EXPECT_EQ(fonts.font(7), nullptr);
    const ByteTable* table = nullptr;
    const DoubleByteTable* pairs = nullptr;
    EXPECT_EQ(fonts.codePage(1, &table, &pairs), 1253);
    EXPECT_NE(table, nullptr);
    EXPECT_EQ(pairs, nullptr);
    EXPECT_EQ(fonts.codePage(2, &table, &pairs), 932);
    EXPECT_EQ(table, nullptr);  // a double-byte page is read in pairs
    EXPECT_NE(pairs, nullptr);
    EXPECT_EQ(fonts.codePage(7, &table, &pairs), 1252);
    fonts.setAnsiCodePage(1251);  // the cached answer follows the document's page
    EXPECT_EQ(fonts.codePage(7, &table, &pairs), 1251);
    fonts.setDefaultFont(1);
    EXPECT_EQ(fonts.codePage(-1, &table, &pairs), 1253);
}

TEST(PictReader, HexAcrossPiecesAndBlocks) {
    PictReader reader;
    reader.begin();
    EXPECT_TRUE(reader.active());
    reader.word(kBlip, "pngblip", false, 0);
    reader.word(kPicw, "picw", true, 16);
    reader.word(kUnknown, "bliptag", true, -3);
    reader.word(kBlip, "emfblip", false, 0);  // the first type counts
    QByteArray expected;
    std::string hex;
    for (int i = 0; i < 1500; ++i) {
        expected.append(static_cast<char>(i * 7));
        char digits[3];
        std::snprintf(digits, sizeof digits, i % 2 ? "%02X" : "%02x", (i * 7) & 0xFF);
        hex += digits;
        hex += i % 37 == 0 ? "\r\n" : "";
    }
    for (std::size_t at = 0; at < hex.size(); at += 333) {  // pieces split inside bytes
        reader.hexText(std::string_view(hex).substr(at, 333));
    }
    reader.byte(0xAB);
    reader.hexText("c");  // an odd last digit is dropped
    PictureData picture = reader.take();
    expected.append('\xAB');
    EXPECT_FALSE(reader.active());
    EXPECT_EQ(picture.kind, QStringLiteral("pngblip"));
    EXPECT_EQ(picture.header, QStringLiteral("\\pngblip\\picw16\\bliptag-3\\emfblip"));
    EXPECT_EQ(picture.picw, 16);
    EXPECT_EQ(picture.data, expected);
    reader.begin();
    reader.hexText("1");
    reader.binary("\x01\x02");  // raw data drops a half-read digit
    reader.hexText("34");
    EXPECT_EQ(reader.take().data, QByteArray("\x01\x02\x34"));
}

}  // namespace
