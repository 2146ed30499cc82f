// Character and paragraph formats of the selection, and their way through
// the editor's RTF write and read.
#include "editor/rich_editor.h"

#include "editor/rtf/rtf.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

#include <gtest/gtest.h>

#include <ostream>

#include <functional>

namespace quillmere {
namespace {

CharStyles stylesOfCharacter(const RichEditor& editor, int position) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    return {format.fontWeight() >= QFont::DemiBold, format.fontItalic(), format.fontUnderline(),
            format.fontStrikeOut()};
}

std::string describe(const CharStyles& s) {
    return std::string(s.bold ? "B" : "-") + (s.italic ? "I" : "-") + (s.underline ? "U" : "-") +
           (s.strikeOut ? "S" : "-");
}

// "abcdef" with ab italic, cd underlined and struck out, ef plain.
void writeMixedText(RichEditor& editor) {
    editor.replaceSelection("abcdef");
    editor.setSelection(0, 2);
    editor.setSelectionStyles({false, true, false, false});
    editor.setSelection(2, 2);
    editor.setSelectionStyles({false, false, true, true});
}

struct StyleCase {
    const char* label;
    int start;
    int length;
    CharStyles read;
};

void PrintTo(const StyleCase& c, std::ostream* os) {
    *os << c.label;
}

class StylesTogetherTest : public ::testing::TestWithParam<StyleCase> {};

// The bold command: read the styles at the selection, write them back with
// bold added, all four at once over the whole selection.
TEST_P(StylesTogetherTest, BoldToggleWritesAllFourFromTheStateRead) {
    const StyleCase& c = GetParam();
    RichEditor editor;
    writeMixedText(editor);
    const CharStyles before[6] = {stylesOfCharacter(editor, 0), stylesOfCharacter(editor, 1),
                                  stylesOfCharacter(editor, 2), stylesOfCharacter(editor, 3),
                                  stylesOfCharacter(editor, 4), stylesOfCharacter(editor, 5)};
    editor.setSelection(c.start, c.length);
    CharStyles styles = editor.selectionStyles();
    ASSERT_EQ(describe(c.read), describe(styles)) << c.label;
    styles.bold = true;
    editor.setSelectionStyles(styles);
    for (int i = 0; i < 6; ++i) {
        const bool inside = i >= c.start && i < c.start + c.length;
        EXPECT_EQ(describe(inside ? styles : before[i]), describe(stylesOfCharacter(editor, i)))
            << c.label << ", character " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    MixedSelections, StylesTogetherTest,
    ::testing::Values(StyleCase{"nominal: starts italic", 0, 6, {false, true, false, false}},
                      StyleCase{
                          "nominal: italic into underlined", 1, 4, {false, true, false, false}},
                      StyleCase{"nominal: starts struck out", 2, 4, {false, false, true, true}},
                      StyleCase{"nominal: starts plain", 4, 2, {}},
                      StyleCase{"nominal: one character", 3, 1, {false, false, true, true}}));

TEST(StylesTogetherTest, EmptySelectionSetsTheInsertionFormat) {
    RichEditor editor;
    writeMixedText(editor);
    editor.setSelection(1, 0);
    const CharStyles read = editor.selectionStyles();
    EXPECT_EQ(describe({false, true, false, false}), describe(read));
    editor.setSelectionStyles({true, read.italic, read.underline, read.strikeOut});
    QTest::keyClicks(&editor, "x");
    EXPECT_EQ(describe({true, true, false, false}), describe(stylesOfCharacter(editor, 1)));
    EXPECT_EQ(describe({false, true, false, false}), describe(stylesOfCharacter(editor, 0)));
    EXPECT_EQ(describe({false, true, false, false}), describe(stylesOfCharacter(editor, 2)));
}

TEST(CharFormatTest, ColoursAndTheirAutomaticState) {
    RichEditor editor;
    editor.replaceSelection("colour words");
    editor.setSelection(0, 6);
    editor.setSelectionTextColorAutomatic();
    EXPECT_TRUE(editor.isSelectionTextColorAutomatic());
    EXPECT_EQ(editor.palette().color(QPalette::Text), editor.selectionTextColor());
    EXPECT_TRUE(editor.isSelectionBackgroundAutomatic());
    EXPECT_EQ(QColor(Qt::white), editor.selectionBackgroundColor());

    editor.setSelectionTextColor(QColor(0x12, 0x34, 0x56));
    editor.setSelectionBackgroundColor(QColor(Qt::yellow));
    EXPECT_FALSE(editor.isSelectionTextColorAutomatic());
    EXPECT_EQ(QColor(0x12, 0x34, 0x56), editor.selectionTextColor());
    EXPECT_EQ(QColor(Qt::yellow), editor.selectionBackgroundColor());

    editor.setSelection(3, 6);  // half coloured, half not
    editor.setSelectionBackgroundAutomatic();
    editor.setSelection(0, 3);
    EXPECT_EQ(QColor(Qt::yellow), editor.selectionBackgroundColor());
    editor.setSelection(3, 3);
    EXPECT_TRUE(editor.isSelectionBackgroundAutomatic());
    EXPECT_EQ(QColor(0x12, 0x34, 0x56), editor.selectionTextColor());
}

TEST(CharFormatTest, AutomaticColourIsOneUndoStep) {
    RichEditor editor;
    editor.replaceSelection("abc def");
    editor.setSelection(0, 7);
    editor.setSelectionTextColor(Qt::red);
    editor.setSelection(1, 2);
    editor.setSelectionStyles({true, false, false, false});  // splits the run
    editor.setSelection(0, 7);
    editor.setSelectionTextColorAutomatic();
    EXPECT_TRUE(editor.isSelectionTextColorAutomatic());
    editor.undo();
    EXPECT_EQ(QColor(Qt::red), editor.selectionTextColor());
    editor.setSelection(5, 1);
    EXPECT_EQ(QColor(Qt::red), editor.selectionTextColor());
}

// --- Paragraph format -------------------------------------------------------

const char kThreeParagraphs[] = "first\nsecond\nthird";

class AlignmentTest : public ::testing::TestWithParam<ParagraphAlignment> {};

TEST_P(AlignmentTest, AppliesToEveryParagraphTouched) {
    RichEditor editor;
    editor.replaceSelection(kThreeParagraphs);
    editor.setSelection(3, 5);  // from "first" into "second"
    editor.setParagraphAlignment(GetParam());
    EXPECT_EQ(GetParam(), editor.paragraphAlignment());
    editor.setSelection(7, 0);
    EXPECT_EQ(GetParam(), editor.paragraphAlignment());
    editor.setSelection(14, 0);
    EXPECT_EQ(ParagraphAlignment::Left, editor.paragraphAlignment());
}

INSTANTIATE_TEST_SUITE_P(AllFour, AlignmentTest,
                         ::testing::Values(ParagraphAlignment::Left, ParagraphAlignment::Right,
                                           ParagraphAlignment::Center,
                                           ParagraphAlignment::Justify));

TEST(ParagraphFormatTest, BulletsOnAndOff) {
    RichEditor editor;
    editor.replaceSelection(kThreeParagraphs);
    editor.setSelection(3, 5);
    editor.setParagraphBullet(true);
    EXPECT_TRUE(editor.isParagraphBullet());
    const QTextBlock first = editor.document()->firstBlock();
    ASSERT_NE(nullptr, first.textList());
    EXPECT_EQ(first.textList(), first.next().textList());
    EXPECT_EQ(nullptr, first.next().next().textList());
    EXPECT_EQ(kThreeParagraphs, editor.toPlainText());

    editor.setSelection(7, 0);
    editor.setParagraphBullet(false);
    EXPECT_FALSE(editor.isParagraphBullet());
    EXPECT_EQ(nullptr, editor.document()->firstBlock().next().textList());
    editor.setSelection(0, 0);
    EXPECT_TRUE(editor.isParagraphBullet());
}

TEST(ParagraphFormatTest, LeftOffsetInPointsIsStoredInTwips) {
    RichEditor editor;
    editor.replaceSelection(kThreeParagraphs);
    editor.setSelection(0, 8);
    editor.setParagraphLeftOffset(15);
    EXPECT_EQ(15, editor.paragraphLeftOffset());
    const QTextBlock first = editor.document()->firstBlock();
    EXPECT_EQ(300, rtf::paragraphIndent(first.blockFormat()).offsetTwips);
    EXPECT_EQ(300, rtf::paragraphIndent(first.next().blockFormat()).offsetTwips);
    EXPECT_EQ(0, rtf::paragraphIndent(first.next().next().blockFormat()).offsetTwips);
    // Bullets keep the offset; removing them leaves the offset to the caller.
    editor.setParagraphBullet(true);
    EXPECT_EQ(15, editor.paragraphLeftOffset());
}

// --- Round trip through RTF -------------------------------------------------

struct RoundTripCase {
    const char* label;
    std::function<void(RichEditor&)> apply;  // on "middle" selected
    std::function<void(RichEditor&)> check;  // on "middle" selected, after reading back
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.label;
}

const char kRoundTripText[] = "plain middle end\nsecond paragraph";
constexpr int kMiddleStart = 6;
constexpr int kMiddleLength = 6;

class RtfRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RtfRoundTripTest, AttributeSurvivesWriteAndRead) {
    const RoundTripCase& c = GetParam();
    RichEditor editor;
    editor.replaceSelection(kRoundTripText);
    editor.setSelection(kMiddleStart, kMiddleLength);
    c.apply(editor);
    const QByteArray rtf = editor.saveRtf();

    RichEditor reread;
    reread.loadEntryRtf(rtf);
    EXPECT_EQ(kRoundTripText, reread.toPlainText()) << c.label;
    reread.setSelection(kMiddleStart, kMiddleLength);
    c.check(reread);
    reread.setSelection(0, 5);  // "plain" keeps the default look
    EXPECT_EQ(describe({}), describe(reread.selectionStyles())) << c.label;
    EXPECT_EQ("Arial", reread.selectionFontName()) << c.label;
    EXPECT_EQ(11, reread.selectionFontSize()) << c.label;
    EXPECT_EQ(rtf, reread.saveRtf()) << c.label << ": writing again changes the bytes";
}

RoundTripCase styleCase(const char* label, CharStyles styles) {
    return {
        label, [styles](RichEditor& e) { e.setSelectionStyles(styles); },
        [styles](RichEditor& e) { EXPECT_EQ(describe(styles), describe(e.selectionStyles())); }};
}

RoundTripCase alignmentCase(const char* label, ParagraphAlignment alignment) {
    return {label, [alignment](RichEditor& e) { e.setParagraphAlignment(alignment); },
            [alignment](RichEditor& e) { EXPECT_EQ(alignment, e.paragraphAlignment()); }};
}

INSTANTIATE_TEST_SUITE_P(
    CharacterAttributes, RtfRoundTripTest,
    ::testing::Values(
        styleCase("bold", {true, false, false, false}),
        styleCase("italic", {false, true, false, false}),
        styleCase("underline", {false, false, true, false}),
        styleCase("strike-out", {false, false, false, true}),
        styleCase("all four", {true, true, true, true}),
        RoundTripCase{"face", [](RichEditor& e) { e.setSelectionFontName("Courier New"); },
                      [](RichEditor& e) { EXPECT_EQ("Courier New", e.selectionFontName()); }},
        RoundTripCase{"size 20", [](RichEditor& e) { e.setSelectionFontSize(20); },
                      [](RichEditor& e) { EXPECT_EQ(20, e.selectionFontSize()); }},
        RoundTripCase{"size 200", [](RichEditor& e) { e.setSelectionFontSize(200); },
                      [](RichEditor& e) { EXPECT_EQ(200, e.selectionFontSize()); }},
        RoundTripCase{"character set", [](RichEditor& e) { e.setSelectionCharset(2); },
                      [](RichEditor& e) { EXPECT_EQ(2, e.selectionCharset()); }},
        RoundTripCase{"text colour",
                      [](RichEditor& e) { e.setSelectionTextColor(QColor(0xC0, 0x10, 0x20)); },
                      [](RichEditor& e) {
                          EXPECT_FALSE(e.isSelectionTextColorAutomatic());
                          EXPECT_EQ(QColor(0xC0, 0x10, 0x20), e.selectionTextColor());
                      }},
        RoundTripCase{"automatic text colour",
                      [](RichEditor& e) { e.setSelectionTextColorAutomatic(); },
                      [](RichEditor& e) { EXPECT_TRUE(e.isSelectionTextColorAutomatic()); }},
        RoundTripCase{"background colour",
                      [](RichEditor& e) { e.setSelectionBackgroundColor(QColor(Qt::yellow)); },
                      [](RichEditor& e) {
                          EXPECT_FALSE(e.isSelectionBackgroundAutomatic());
                          EXPECT_EQ(QColor(Qt::yellow), e.selectionBackgroundColor());
                      }}));

INSTANTIATE_TEST_SUITE_P(
    ParagraphAttributes, RtfRoundTripTest,
    ::testing::Values(alignmentCase("right", ParagraphAlignment::Right),
                      alignmentCase("centre", ParagraphAlignment::Center),
                      alignmentCase("justify", ParagraphAlignment::Justify),
                      RoundTripCase{"bullet", [](RichEditor& e) { e.setParagraphBullet(true); },
                                    [](RichEditor& e) {
                                        EXPECT_TRUE(e.isParagraphBullet());
                                        e.setSelection(20, 0);
                                        EXPECT_FALSE(e.isParagraphBullet());
                                        e.setSelection(kMiddleStart, kMiddleLength);
                                    }},
                      RoundTripCase{"bullet with offset",
                                    [](RichEditor& e) {
                                        e.setParagraphLeftOffset(10);
                                        e.setParagraphBullet(true);
                                    },
                                    [](RichEditor& e) {
                                        EXPECT_TRUE(e.isParagraphBullet());
                                        EXPECT_EQ(10, e.paragraphLeftOffset());
                                    }},
                      RoundTripCase{"left offset",
                                    [](RichEditor& e) { e.setParagraphLeftOffset(15); },
                                    [](RichEditor& e) {
                                        EXPECT_EQ(15, e.paragraphLeftOffset());
                                        EXPECT_FALSE(e.isParagraphBullet());
                                    }}));

TEST(RtfRoundTripTest, DefaultFontOfTypedTextSurvives) {
    RichEditor editor;
    editor.applyDefaultFont("Courier New", 14, quint32(0x00FF0000));
    QTest::keyClicks(&editor, "typed");
    RichEditor reread;
    reread.loadEntryRtf(editor.saveRtf());
    reread.setSelection(0, 5);
    EXPECT_EQ("Courier New", reread.selectionFontName());
    EXPECT_EQ(14, reread.selectionFontSize());
    EXPECT_EQ(QColor(0, 0, 255), reread.selectionTextColor());
}

}  // namespace
}  // namespace quillmere
