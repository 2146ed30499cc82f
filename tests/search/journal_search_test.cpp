// The search core: which entries match, the day range, the order of the days
// found, stopping and damaged entries.
#include "search_fixture.h"

#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "editor/text_find.h"
#include "search/core/journal_search.h"
#include "store/entry_codec.h"

#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using quillmere::SearchEnd;
using quillmere::SearchRange;
using searchtest::kBaseDay;
using searchtest::rtfOf;
using searchtest::TestJournal;

// --- Matching ---------------------------------------------------------------

struct MatchCase {
    const char* label;
    QByteArray entry;  // decoded bytes as stored
    const char* needle;
    bool matches;
};

std::vector<MatchCase> matchCases() {
    return {
        {"nominal: exact word", rtfOf("We went to the harbour."), "harbour", true},
        {"nominal: lower case finds capitals", rtfOf("A day at the SEASIDE"), "seaside", true},
        {"nominal: upper case finds lower case", rtfOf("a day at the seaside"), "SEASIDE", true},
        {"nominal: inside a longer word", rtfOf("Unbelievable weather"), "believ", true},
        {"nominal: mixed case inside a word", rtfOf("MountainEering"), "taineer", true},
        {"nominal: text with blanks", rtfOf("met Anna at noon"), "anna at", true},
        {"nominal: second paragraph", rtfOf("first line\nsecond line"), "second", true},
        {"nominal: escaped braces are text", rtfOf("a {brace}"), "{brace}", true},
        {"nominal: accented letter by escape",
         "{\\rtf1\\ansi\\ansicpg1252 Caf\\'e9 cr\\'e8me\\par}", "CAFÉ CRÈME", true},
        {"nominal: unicode escape", "{\\rtf1\\ansi\\uc1 Stra\\u223?e\\par}", "straße", true},
        {"robustness: font name only in the font table", rtfOf("plain words"), "tahoma", false},
        {"robustness: second font name", rtfOf("plain words"), "courier", false},
        {"robustness: colour table words", rtfOf("plain words"), "red255", false},
        {"robustness: control word", rtfOf("plain words"), "ansicpg", false},
        {"robustness: no match across paragraphs", rtfOf("end of one\nstart"), "one start", false},
        {"robustness: absent text", rtfOf("nothing to see"), "zebra", false},
        {"robustness: empty document", "{\\rtf1\\ansi\\par}", "a", false},
        {"robustness: empty needle", rtfOf("anything"), "", false},
        {"robustness: hidden field instruction is not shown",
         "{\\rtf1\\ansi {\\field{\\*\\fldinst HYPERLINK secretword}{\\fldrslt shown}}\\par}",
         "secretword", false},
        {"nominal: plain text fallback", "no rtf here, just Plain Text", "plain text", true},
        {"robustness: plain text fallback without the word", "just text", "rtf", false},
    };
}

class EntryMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(EntryMatchTest, MatchesOnlyDisplayedTextWithoutRegardToCase) {
    const MatchCase& c = GetParam();
    const QString needle = QString::fromUtf8(c.needle);
    EXPECT_EQ(c.matches, quillmere::entryMatches(quillmere::EncodeEntryContent(c.entry), needle))
        << c.label;
}

// The fast path must decide exactly as loading the entry into the hidden
// editor and using the editor's own find (forward, from 0, over the whole
// text, neither whole word nor match case).
TEST_P(EntryMatchTest, AgreesWithTheEditorsLoadAndFind) {
    const MatchCase& c = GetParam();
    const QString needle = QString::fromUtf8(c.needle);
    quillmere::RichEditor editor;
    editor.loadEntryRtf(c.entry);
    const QString shown = editor.toPlainText();
    EXPECT_EQ(shown, quillmere::entryDisplayedText(c.entry)) << c.label;
    const quillmere::FindOptions options{true, false, false};
    const bool editorFinds = editor.findText(needle, 0, int(shown.size()), options) >= 0;
    EXPECT_EQ(editorFinds, quillmere::textMatches(shown, needle)) << c.label;
    EXPECT_EQ(editorFinds, c.matches) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, EntryMatchTest, ::testing::ValuesIn(matchCases()));

// Entries written by the program's own editor: formatting, fonts and colours
// around the text.
TEST(EntryMatchTest, EntriesWrittenByTheEditorMatchTheirShownTextOnly) {
    quillmere::RichEditor editor;
    editor.applyDefaultFont(QStringLiteral("Georgia"), 14, QColor(Qt::darkGreen));
    editor.setPlainText(QStringLiteral("Walked along the Riverbank\nthen home"));
    editor.setSelection(0, 6);
    editor.setSelectionStyles({true, true, false, false});
    editor.setSelectionFontName(QStringLiteral("Impact"));
    const QByteArray rtf = editor.saveRtf();
    const QByteArray blob = quillmere::EncodeEntryContent(rtf);
    EXPECT_TRUE(quillmere::entryMatches(blob, QStringLiteral("RIVERBANK")));
    EXPECT_TRUE(quillmere::entryMatches(blob, QStringLiteral("alked")));
    EXPECT_FALSE(quillmere::entryMatches(blob, QStringLiteral("impact")));
    EXPECT_FALSE(quillmere::entryMatches(blob, QStringLiteral("georgia")));
    EXPECT_EQ(editor.toPlainText(), quillmere::entryDisplayedText(rtf));
}

TEST(EntryMatchTest, AStoredEmptyEntryNeverMatches) {
    quillmere::RichEditor editor;
    const QByteArray blob = quillmere::EncodeEntryContent(editor.saveRtf());
    for (const char* needle : {"a", " ", "\\", "rtf", "par"}) {
        EXPECT_FALSE(quillmere::entryMatches(blob, QString::fromLatin1(needle))) << needle;
    }
}

TEST(EntryMatchTest, ABlankBlobHasNoTextAndIsNoError) {
    EXPECT_FALSE(quillmere::entryMatches(QByteArray(), QStringLiteral("a")));
}

struct DamageCase {
    const char* label;
    QByteArray blob;
    const char* message;
};

class EntryDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(EntryDamageTest, ReportsTheDecodingError) {
    const DamageCase& c = GetParam();
    EXPECT_THROW_MSG(quillmere::entryMatches(c.blob, QStringLiteral("x")), quillmere::Error,
                     c.message);
}

QByteArray truncatedBlob() {
    const QByteArray blob = quillmere::EncodeEntryContent(rtfOf("a longer entry to cut short"));
    return blob.left(blob.size() / 2);
}

QByteArray flippedBlob() {
    QByteArray blob = quillmere::EncodeEntryContent(rtfOf("an entry whose data gets damaged"));
    blob[blob.size() - 2] = char(blob[blob.size() - 2] ^ 0x5A);  // inside the Adler-32
    return blob;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryDamageTest,
    ::testing::Values(DamageCase{"robustness: not zlib", QByteArray("garbage!"), "data error"},
                      DamageCase{"robustness: truncated", truncatedBlob(), "buffer error"},
                      DamageCase{"robustness: checksum", flippedBlob(), "data error"},
                      DamageCase{"robustness: NUL bytes are neither RTF nor text",
                                 quillmere::EncodeEntryContent(QByteArray("\0\1\2", 3)),
                                 "Failed to Load Stream"}));

// --- The prepared matcher -------------------------------------------------

struct FoldCase {
    const char* label;
    const char16_t* text;
    const char16_t* needle;
};

class TextMatcherTest : public ::testing::TestWithParam<FoldCase> {};

// The prepared matcher must answer exactly as QString::contains without
// regard to case, also for letters whose folding is not their ASCII pair.
TEST_P(TextMatcherTest, AgreesWithContainsWithoutCase) {
    const QString text = QString::fromUtf16(GetParam().text);
    const QString needle = QString::fromUtf16(GetParam().needle);
    EXPECT_EQ(text.contains(needle, Qt::CaseInsensitive) && !needle.isEmpty(),
              quillmere::TextMatcher(needle).matches(text))
        << GetParam().label;
    EXPECT_EQ(quillmere::textMatches(text, needle), quillmere::TextMatcher(needle).matches(text))
        << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextMatcherTest,
    ::testing::Values(
        FoldCase{"nominal: ascii", u"Harbour View", u"VIEW"},
        FoldCase{"nominal: at the very start", u"Zebra", u"zeb"},
        FoldCase{"nominal: at the very end", u"a zebra", u"BRA"},
        FoldCase{"nominal: needle equals text", u"abc", u"ABC"},
        FoldCase{"robustness: needle longer than text", u"ab", u"abc"},
        FoldCase{"robustness: first letter often, match late", u"eeeeeeeeeeeeeeeeeeeEXAM", u"exam"},
        FoldCase{"robustness: repeated prefix", u"aaab", u"aab"},
        FoldCase{"robustness: both cases of the first letter", u"xY Xy xz", u"XZ"},
        FoldCase{"nominal: Kelvin sign folds to k", u"5 \u212A", u"k"},
        FoldCase{"nominal: k finds the Kelvin sign inside a word", u"o\u212Aay", u"OKAY"},
        FoldCase{"nominal: long s folds to s", u"\u017Fun", u"SUN"},
        FoldCase{"nominal: final sigma folds to sigma", u"\u03BB\u03CC\u03B3\u03BF\u03C2",
                 u"\u039F\u03A3"},
        FoldCase{"nominal: capital sharp s folds to sharp s", u"Stra\u1E9Ee", u"stra\u00DFe"},
        FoldCase{"robustness: sharp s does not equal ss", u"Strasse", u"stra\u00DFe"},
        FoldCase{"nominal: accented capitals", u"CAF\u00C9 CR\u00C8ME", u"caf\u00e9"},
        FoldCase{"robustness: dotted capital I", u"\u0130stanbul", u"istanbul"},
        FoldCase{"robustness: dotless i", u"\u0131stanbul", u"ISTANBUL"},
        FoldCase{"nominal: needle starting with a surrogate pair", u"x\U00010400y", u"\U00010428Y"},
        FoldCase{"robustness: surrogate in the text only", u"\U0001F600 smile", u"SMILE"},
        FoldCase{"robustness: empty text", u"", u"a"},
        FoldCase{"robustness: empty needle", u"abc", u""}));

// Random texts over an alphabet rich in special foldings, and needles cut
// from them with their case changed, or made up.
TEST(TextMatcherTest, AgreesWithContainsOnRandomTexts) {
    const QString alphabet = QString::fromUtf16(
        u"aAbBkKsS \u212A\u017F\u00DF\u1E9E\u03C3\u03C2\u03A3\u0130\u0131iI\u00E9\u00C9");
    std::mt19937 random(20100615);
    std::uniform_int_distribution<int> letter(0, int(alphabet.size()) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    int agreed = 0;
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int i = length(random) * 3; i > 0; --i) {
            text += alphabet[letter(random)];
        }
        QString needle;
        if (round % 2 == 0 && !text.isEmpty()) {
            const int start = int(random() % text.size());
            needle = text.mid(start, 1 + int(random() % 4));
            needle = round % 4 == 0 ? needle.toUpper() : needle.toLower();
        } else {
            for (int i = 1 + length(random) % 4; i > 0; --i) {
                needle += alphabet[letter(random)];
            }
        }
        const bool expected = !needle.isEmpty() && text.contains(needle, Qt::CaseInsensitive);
        ASSERT_EQ(expected, quillmere::TextMatcher(needle).matches(text))
            << "text \"" << text.toStdString() << "\" needle \"" << needle.toStdString() << "\"";
        agreed += expected ? 1 : 0;
    }
    EXPECT_GT(agreed, 500);  // the rounds found matches often enough to mean something
}

// --- Scanning the journal -----------------------------------------------------

std::vector<double> days(std::initializer_list<double> offsets) {
    std::vector<double> out;
    for (double offset : offsets) {
        out.push_back(kBaseDay + offset);
    }
    return out;
}

struct RangeCase {
    const char* label;
    double from;  // offsets from kBaseDay
    double to;
    std::vector<double> found;
};

class ScanRangeTest : public ::testing::TestWithParam<RangeCase> {
protected:
    // Entries on days -2 .. 2, all containing "walk", stored out of order.
    void SetUp() override {
        for (int offset : {2, -1, 0, -2, 1}) {
            journal_.addText(kBaseDay + offset, QStringLiteral("A Walk on day %1").arg(offset));
        }
    }
    TestJournal journal_;
};

TEST_P(ScanRangeTest, FindsTheDaysOfTheInclusiveRangeInDateOrder) {
    const RangeCase& c = GetParam();
    const auto result = quillmere::searchJournal(journal_.table(), QStringLiteral("walk"),
                                                 SearchRange{kBaseDay + c.from, kBaseDay + c.to});
    EXPECT_EQ(SearchEnd::kCompleted, result.end) << c.label;
    EXPECT_EQ(c.found, result.days) << c.label;
    EXPECT_EQ(5, result.visited) << c.label;
    EXPECT_EQ(int(c.found.size()), result.decoded) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanRangeTest,
    ::testing::Values(RangeCase{"nominal: one day", 0, 0, days({0})},
                      RangeCase{"nominal: both bounds inclusive", -1, 1, days({-1, 0, 1})},
                      RangeCase{"nominal: everything", -10, 10, days({-2, -1, 0, 1, 2})},
                      RangeCase{"nominal: first day only", -2, -2, days({-2})},
                      RangeCase{"nominal: last day only", 2, 2, days({2})},
                      RangeCase{"robustness: From after To", 1, -1, {}},
                      RangeCase{"robustness: range before every entry", -9, -3, {}},
                      RangeCase{"robustness: range after every entry", 3, 9, {}},
                      RangeCase{"robustness: a moment before the day", -0.001, -0.001, {}}));

TEST(ScanTest, EmptyJournalAndEmptyTextFindNothing) {
    TestJournal journal;
    auto result =
        quillmere::searchJournal(journal.table(), QStringLiteral("a"), SearchRange{0, 1e6});
    EXPECT_TRUE(result.days.empty());
    EXPECT_EQ(0, result.visited);
    journal.addText(kBaseDay, QStringLiteral("a"));
    result = quillmere::searchJournal(journal.table(), QString(), SearchRange{0, 1e6});
    EXPECT_TRUE(result.days.empty());
    EXPECT_EQ(0, result.visited);
}

// One damaged entry must not hide the days after it: the scan passes over
// it, goes on, and names it afterwards.
TEST(ScanTest, ADamagedEntryIsPassedOverAndNamedAfterTheScan) {
    TestJournal journal;
    journal.addText(kBaseDay, QStringLiteral("found one"));
    journal.addText(kBaseDay + 1, QStringLiteral("found two"));
    journal.addRawBlob(kBaseDay + 2, QByteArray("not a zlib stream"));
    journal.addText(kBaseDay + 3, QStringLiteral("found three"));
    journal.addRawBlob(kBaseDay + 4, quillmere::EncodeEntryContent(QByteArray("\0\1\2", 3)));
    const auto result = quillmere::searchJournal(journal.table(), QStringLiteral("found"),
                                                 SearchRange{kBaseDay, kBaseDay + 4});
    EXPECT_EQ(SearchEnd::kCompleted, result.end);
    EXPECT_EQ(days({0, 1, 3}), result.days);
    EXPECT_EQ((std::vector<quillmere::UnreadableEntry>{
                  {kBaseDay + 2, QStringLiteral("data error")},
                  {kBaseDay + 4, QStringLiteral("Failed to Load Stream")}}),
              result.unreadable);
    EXPECT_EQ(5, result.visited);
    EXPECT_EQ(QStringLiteral("Could not read: 17 June 2010, 19 June 2010"),
              quillmere::UnreadableDaysText(result.unreadable));
}

TEST(ScanTest, ManyUnreadableDaysAreSummedUp) {
    std::vector<quillmere::UnreadableEntry> unreadable;
    for (int i = 0; i < 4; ++i) {
        unreadable.push_back({kBaseDay + i, QStringLiteral("data error")});
    }
    EXPECT_EQ(QStringLiteral("Could not read: 15 June 2010, 16 June 2010, and 2 more"),
              quillmere::UnreadableDaysText(unreadable, 2));
    EXPECT_EQ(QString(), quillmere::UnreadableDaysText({}));
}

TEST(ScanTest, ADamagedEntryOutsideTheRangeIsNeverDecoded) {
    TestJournal journal;
    journal.addRawBlob(kBaseDay - 1, QByteArray("not a zlib stream"));
    journal.addText(kBaseDay, QStringLiteral("found"));
    const auto result = quillmere::searchJournal(journal.table(), QStringLiteral("found"),
                                                 SearchRange{kBaseDay, kBaseDay});
    EXPECT_EQ(SearchEnd::kCompleted, result.end);
    EXPECT_EQ(days({0}), result.days);
    EXPECT_EQ(1, result.decoded);
}

struct StopCase {
    const char* label;
    int stopAfter;        // the poll answers false on this call (1-based)
    double resumeOffset;  // From date the scan reports
    int found;
};

class ScanStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(ScanStopTest, StopsAfterTheRecordAndNamesTheFirstNotExamined) {
    const StopCase& c = GetParam();
    TestJournal journal;
    for (int offset = 0; offset < 5; ++offset) {
        journal.addText(kBaseDay + offset * 2, QStringLiteral("entry"));
    }
    int calls = 0;
    const auto result =
        quillmere::searchJournal(journal.table(), QStringLiteral("entry"), SearchRange{0, 1e6},
                                 [&] { return ++calls < c.stopAfter; });
    EXPECT_EQ(SearchEnd::kStopped, result.end) << c.label;
    EXPECT_EQ(kBaseDay + c.resumeOffset, result.resumeDay) << c.label;
    EXPECT_EQ(c.found, int(result.days.size())) << c.label;
    EXPECT_EQ(c.stopAfter, calls) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, ScanStopTest,
                         ::testing::Values(StopCase{"nominal: after the first record", 1, 2, 1},
                                           StopCase{"nominal: in the middle", 3, 6, 3},
                                           StopCase{"nominal: after the last record the last day",
                                                    5, 8, 5}));

TEST(ScanTest, ThePollRunsAfterEveryRecordInsideAndOutsideTheRange) {
    TestJournal journal;
    for (int offset = 0; offset < 6; ++offset) {
        journal.addText(kBaseDay + offset, QStringLiteral("x"));
    }
    int calls = 0;
    const auto result =
        quillmere::searchJournal(journal.table(), QStringLiteral("x"),
                                 SearchRange{kBaseDay + 2, kBaseDay + 3}, [&] { return ++calls; });
    EXPECT_EQ(6, calls);
    EXPECT_EQ(2, result.decoded);
}

TEST(InputPacerTest, RunsTheHandlerOnlyAfterTheInterval) {
    quillmere::InputPacer never(1000000);
    int runs = 0;
    for (int i = 0; i < 1000; ++i) {
        never.step([&] { ++runs; });
    }
    EXPECT_EQ(0, runs);
    quillmere::InputPacer always(0);
    for (int i = 0; i < 10; ++i) {
        always.step([&] { ++runs; });
    }
    EXPECT_EQ(10, runs);
    always.finish();
    EXPECT_GE(always.longestStretchMs(), 0.0);
}

}  // namespace
