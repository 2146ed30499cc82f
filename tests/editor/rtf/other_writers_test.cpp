// RTF as other word processors write it: shapes and their text boxes, old
// drawing objects, double-byte text written as raw bytes, and list labels.
// Each row gives the text the entry shows (the editor's plain text, which
// the search reads) and the text a .txt save writes (list labels kept,
// pictures left out).
#include "editor/rtf/conversions.h"
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

#include <gtest/gtest.h>

using namespace quillmere::rtf;

namespace {

struct WriterCase {
    const char* label;
    QByteArray rtf;
    const char16_t* shown;  // toPlainText() of the document read
    const char16_t* txt;    // writePlainText(), UTF-8 decoded; nullptr: as shown
};

// A font table whose \f1 has the given character set.
QByteArray fonts(int charset) {
    return "{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil\\fcharset" + QByteArray::number(charset) +
           " Asian;}}";
}

const QByteArray kLists =
    "{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}}\\listid7}"
    "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid8}"
    "{\\list{\\listlevel\\levelnfc4{\\leveltext\\'02\\'00);}}\\listid9}"
    "{\\list{\\listlevel\\levelnfc255}\\listid10}}"
    "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}{\\listoverride\\listid8\\ls2}"
    "{\\listoverride\\listid9\\ls3}{\\listoverride\\listid10\\ls4}}";

std::vector<WriterCase> writerCases() {
    auto row = [](const char* label, const QByteArray& rtf, const char16_t* shown,
                  const char16_t* txt = nullptr) {
        return WriterCase{label, rtftest::registered(std::string("other writers: ") + label, rtf),
                          shown, txt};
    };
    return {
        // Shapes.
        row("nominal: shape properties are no text, the text box is",
            "{\\rtf1{\\shp{\\sp{\\sn fFilled}{\\sv 0}}{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 1}}"
            "{\\shptxt Box text\\par}}}Body text\\par}",
            u"Box text\nBody text\n"),
        row("nominal: shape without shpinst shows nothing",
            "{\\rtf1 a{\\shp{\\sp{\\sn fFilled}{\\sv 0}}{\\sp{\\sn wzName}{\\sv Oval 3}}}b}",
            u"ab"),
        row("nominal: text box inside a paragraph stands apart",
            "{\\rtf1 Before {\\shp{\\*\\shpinst\\shpleft0{\\shptxt\\pard In {\\b box}}}} "
            "after\\par}",
            u"Before \nIn box\n after\n"),
        row("nominal: shprslt drawing object does not repeat the text box",
            "{\\rtf1{\\shp{\\*\\shpinst{\\shptxt Once\\par}}{\\shprslt{\\*\\do\\dobxcolumn\\dptxbx"
            "{\\dptxbxtext\\pard Once\\par}\\dpx0}}}after}",
            u"Once\nafter"),
        row("nominal: shprslt picture stands for a picture shape",
            "{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip 00}}}}"
            "{\\shprslt{\\pict\\wmetafile8 00}}}b}",
            u"a\uFFFCb", u"ab"),
        row("nominal: shapes of a group each show their text",
            "{\\rtf1{\\shpgrp{\\*\\shpinst{\\sp{\\sn groupLeft}{\\sv "
            "0}}{\\shp{\\*\\shpinst{\\shptxt "
            "One\\par}}}{\\shp{\\*\\shpinst{\\shptxt Two}}}}}end}",
            u"One\nTwo\nend"),
        row("nominal: drawing object text box",
            "{\\rtf1 a\\par{\\*\\do\\dobxcolumn\\dobypara\\dptxbx{\\dptxbxtext\\pard\\plain Box "
            "words\\par}\\dpx0\\dpy0}b}",
            u"a\nBox words\nb"),
        row("nominal: Hebrew in a drawing object text box",
            "{\\rtf1\\uc1{\\*\\do\\dptxbx{\\dptxbxtext\\pard\\rtlpar{\\rtlch\\u1513?\\u1500?"
            "\\u1493?\\u1501?}\\par}}}",
            u"\u05e9\u05dc\u05d5\u05dd\n"),
        row("nominal: text box paragraph format stays in the box",
            "{\\rtf1\\qc a{\\shp{\\*\\shpinst{\\shptxt\\pard\\qr b\\par}}}c}", u"a\nb\nc"),
        row("robustness: text box never closed", "{\\rtf1 a{\\shp{\\*\\shpinst{\\shptxt box",
            u"a\nbox\n"),
        row("robustness: text box word inside the font table",
            "{\\rtf1{\\fonttbl{\\f0{\\shptxt x}Arial;}}y}", u"y"),
        row("robustness: shape properties outside any shape",
            "{\\rtf1 a{\\sp{\\sn name}{\\sv value}}{\\sn n}{\\sv v}b}", u"ab"),
        // Double-byte text with '{', '}' and '\' as raw trail bytes.
        row("nominal: Shift-JIS trail bytes { } and \\",
            "{\\rtf1" + fonts(128) +
                "\\f1 \x84\x4d\x84\x70\x84\x82\x84\x7b\x84\x75 \x84\x7d\x84\x5c end}",
            u"\u041c\u0430\u0440\u043a\u0435 \u043c\u042b end"),
        row("nominal: GBK trail bytes", "{\\rtf1" + fonts(134) + "\\f1 \x81\\\x81{\x81} end}",
            u"\u4e57\u4e84\u4e87 end"),
        row("nominal: Big5 trail bytes", "{\\rtf1" + fonts(136) + "\\f1 \xa4\\\xa4{\xa4} end}",
            u"\u4e48\u5efe\u5f13 end"),
        row("nominal: Johab trail bytes", "{\\rtf1" + fonts(130) + "\\f1 \xe0\\\xe0{\xe0} end}",
            u"\u5978\u52d8\u582a end"),
        row("nominal: a brace trail does not close the group",
            "{\\rtf1" + fonts(128) + "{\\f1\\b \x84}x} after}", u"\u043cx after"),
        row("nominal: an escape after a backslash trail",
            "{\\rtf1" + fonts(128) + "\\f1 \x84\\\\'41}", u"\u042bA"),
        row("robustness: Unified Hangul has no such trail bytes",
            "{\\rtf1" + fonts(129) + "\\f1 \x81{\\b x}y\xb0\\par z}", u"\ufffdxy\ufffd\nz"),
        row("robustness: an escaped lead takes no raw brace",
            "{\\rtf1" + fonts(128) + "\\f1 \\'84{x}y}", u"\ufffdxy"),
        row("robustness: a lead at the very end", "{\\rtf1" + fonts(128) + "\\f1 a\x84",
            u"a\ufffd"),
        row("robustness: a lead byte in a single-byte font keeps its brace",
            "{\\rtf1" + fonts(204) + "{\\f1 \x84}x}", u"\u201ex"),
        // List labels.
        row("nominal: pn bullets",
            "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}Dear\\par"
            "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-"
            "200\\li200 "
            "milk\\par{\\pntext\\f1\\'b7\\tab}eggs\\par\\pard after}",
            u"Dear\nmilk\neggs\nafter", u"Dear\n\u2022 milk\n\u2022 eggs\nafter"),
        row("nominal: pn numbers",
            "{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}one\\par"
            "{\\pntext 2.\\tab}two}",
            u"one\ntwo", u"1. one\n2. two"),
        row("nominal: pn upper roman", "{\\rtf1{\\*\\pn\\pnlvlbody\\pnucrm}a\\par b\\par c\\par d}",
            u"a\nb\nc\nd", u"I. a\nII. b\nIII. c\nIV. d"),
        row("nominal: ls bullet and number",
            "{\\rtf1" + kLists +
                "{\\listtext\\'b7\\tab}\\ls1 dot\\par\\pard{\\listtext 1.\\tab}\\ls2 one\\par"
                "{\\listtext 2.\\tab}\\ls2 two}",
            u"dot\none\ntwo", u"\u2022 dot\n1. one\n2. two"),
        row("nominal: stored listtext label a)",
            "{\\rtf1" + kLists + "{\\listtext a)\\tab}\\ls3 x\\par{\\listtext b)\\tab}\\ls3 y}",
            u"x\ny", u"a) x\nb) y"),
        row("nominal: stored pntext label (1)",
            "{\\rtf1{\\pntext (1)\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxtb (}{\\pntxta )}}x}", u"x",
            u"(1) x"),
        row("nominal: a label written in Unicode",
            "{\\rtf1\\uc1{\\pntext 1\\u9579?\\u9580?\\tab}{\\*\\pn\\pnlvlbody\\pndec}x}", u"x",
            u"1\u256b\u256c x"),
        row("nominal: numbers in right-to-left paragraphs",
            "{\\rtf1\\uc1{\\*\\pn\\pnlvlbody\\pndec}\\rtlpar\\u1513?\\u1500?\\par\\u1488?}",
            u"\u05e9\u05dc\n\u05d0", u"1. \u05e9\u05dc\n2. \u05d0"),
        row("nominal: label of a paragraph without a number is not shown",
            "{\\rtf1" + kLists + "{\\listtext x\\tab}\\ls4 y}", u"y", u"y"),
        row("robustness: a label of another shape keeps the default",
            "{\\rtf1{\\pntext 1.a.\\tab}{\\*\\pn\\pnlvlbody\\pndec}x}", u"x", u"1. x"),
        // Other constructs, as LibreOffice shows them.
        row("nominal: upr shows its Unicode part",
            "{\\rtf1\\uc1 a{\\upr{ANSI text}{\\*\\ud{\\u1046?nicode}}}b}", u"a\u0416nicodeb"),
        row("robustness: ud outside upr", "{\\rtf1 a{\\*\\ud x}b}", u"ab"),
        row("robustness: upr inside the font table",
            "{\\rtf1{\\fonttbl{\\upr{\\f0 Ansi;}{\\*\\ud{\\f0 Uni;}}}}a}", u"a"),
        row("nominal: footnote references show their number",
            "{\\rtf1 a{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Note}b{\\super\\chftn}"
            "{\\footnote Two}c}",
            u"a1b2c"),
        row("nominal: bookmarks, annotations, headers and footers show nothing",
            "{\\rtf1{\\header\\pard Head\\par}{\\footer Foot}a{\\*\\bkmkstart m}b{\\*\\bkmkend m}"
            "{\\*\\atnid JD}{\\*\\atnauthor J}\\chatn{\\*\\annotation\\pard Comment}c}",
            u"abc"),
        row("nominal: form field shows its result",
            "{\\rtf1 x{\\field{\\*\\fldinst{ FORMTEXT {\\*\\formfield{\\fftype0{\\*\\ffdeftext "
            "Default}}}}}{\\fldrslt shown}}y}",
            u"xshowny"),
        row("nominal: a picture has no text", "{\\rtf1 a{\\pict\\pngblip 00}b}", u"a\uFFFCb",
            u"ab"),
    };
}

class OtherWriters : public ::testing::TestWithParam<WriterCase> {};

TEST_P(OtherWriters, ShowTheirText) {
    const WriterCase& c = GetParam();
    QTextDocument doc;
    readRtf(c.rtf, doc);
    const std::u16string shown(c.shown);
    EXPECT_EQ(shown, doc.toPlainText().toStdU16String());
    EXPECT_EQ(shown, plainTextOfRtf(c.rtf).toStdU16String());
    const std::u16string txt = c.txt != nullptr ? std::u16string(c.txt) : shown;
    EXPECT_EQ(txt, QString::fromUtf8(writePlainText(doc)).toStdU16String());
    EXPECT_EQ(txt, entryText(c.rtf).toStdU16String()) << "the journal tool's text";
    // What the writer makes of it reads back the same.
    QTextDocument again;
    readRtf(writeRtf(doc), again);
    EXPECT_EQ(txt, QString::fromUtf8(writePlainText(again)).toStdU16String());
}

INSTANTIATE_TEST_SUITE_P(Rows, OtherWriters, ::testing::ValuesIn(writerCases()),
                         [](const auto& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.label)) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

// The x of a paragraph's first line, laid out at a fixed width.
qreal firstLineX(QTextDocument& doc, const QTextBlock& block) {
    doc.setTextWidth(600);
    doc.documentLayout()->blockBoundingRect(block);  // lays the document out
    return block.layout()->position().x() + block.layout()->lineAt(0).x();
}

// A bullet typed in the editor (a list of indent 0 placed by a 10 pt hanging
// indent) and a numbered list keep their place through a save and a reload.
TEST(OtherWritersLists, ListsSitWhereTheyWereTyped) {
    for (const auto style : {QTextListFormat::ListDisc, QTextListFormat::ListDecimal}) {
        QTextDocument typed;
        QTextCursor cursor(&typed);
        cursor.insertText(QStringLiteral("before"));
        cursor.insertBlock();
        QTextBlockFormat block;
        setParagraphIndent(block, {0, 200}, true);
        cursor.setBlockFormat(block);
        QTextListFormat list;
        list.setStyle(style);
        list.setIndent(0);
        cursor.createList(list);
        cursor.insertText(QStringLiteral("item"));
        QTextDocument loaded;
        readRtf(writeRtf(typed), loaded);
        const QTextBlock item = loaded.begin().next();
        ASSERT_NE(nullptr, item.textList());
        EXPECT_EQ(firstLineX(typed, typed.begin().next()), firstLineX(loaded, item)) << style;
        EXPECT_EQ(paragraphIndent(block), paragraphIndent(item.blockFormat()));
    }
}

// Word's nested levels keep their level through a save and a reload.
TEST(OtherWritersLists, LevelsSurviveARoundTrip) {
    const QByteArray rtf = "{\\rtf1" + kLists + "\\ls2\\ilvl0 a\\par\\ls2\\ilvl2 b}";
    QTextDocument doc;
    readRtf(rtf, doc);
    QTextDocument again;
    readRtf(writeRtf(doc), again);
    const QTextBlock b = again.begin().next();
    ASSERT_NE(nullptr, b.textList());
    EXPECT_EQ(2, b.textList()->format().intProperty(kListLevelProperty));
    EXPECT_NE(again.begin().textList(), b.textList());
}

// A numbered list without a prefix or suffix of its own is written as it
// always was, for readers of the \\pn words.
TEST(OtherWritersLists, DefaultNumbersAreWrittenAsBefore) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.createList(QTextListFormat::ListDecimal);
    cursor.insertText(QStringLiteral("one"));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(
        rtf.contains("{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnf0\\pnindent0"
                     "{\\pntxta.}}\\ls2\\ilvl0"))
        << rtf.toStdString();
}

}  // namespace
