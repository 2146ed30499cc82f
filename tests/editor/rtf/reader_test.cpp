// The reader: text of word-processor and rich-edit RTF, code pages, Unicode,
// destinations, formatting, lists, and damaged input.
#include "editor/rtf/interpreter.h"
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"
#include "test_support.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <gtest/gtest.h>

using namespace quillmere::rtf;

namespace {

const QByteArray kWordLists =
    "{\\*\\listtable{\\list\\listtemplateid9{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}}"
    "{\\listlevel\\levelnfc0{\\leveltext\\'02\\'01.;}}\\listid77}"
    "{\\list{\\listlevel\\levelnfc4}\\listid78}{\\list{\\listlevel\\levelnfc255}\\listid79}}"
    "{\\*\\listoverridetable{\\listoverride\\listid77\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid78\\ls2}{\\listoverride\\listid79\\ls3}}";

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text;
};

std::vector<TextCase> textCases() {
    auto r = [](const char* name, const QByteArray& rtf, const QString& text) {
        return TextCase{name, rtftest::registered(std::string("reader: ") + name, rtf), text};
    };
    return {
        r("plain", "{\\rtf1\\ansi Hello world}", "Hello world"),
        r("paragraphs", "{\\rtf1 one\\par two\\par\r\n three}", "one\ntwo\n three"),
        r("trailing par", "{\\rtf1 one\\par}", "one\n"),
        r("line tab page sect", "{\\rtf1 a\\line b\\tab c\\page d\\sect e}", "a\nb\tc\nd\ne"),
        r("escaped symbols", "{\\rtf1 \\{x\\} \\\\ 100\\~%}", "{x} \\ 100 %"),
        r("named characters",
          "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
          QString::fromUtf16(u"\u2014\u2013\u2022\u2018\u2019\u201c\u201d")),
        r("cp1252 hex", "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80\\'85}",
          QString::fromUtf16(u"caf\u00e9 \u20ac\u2026")),
        r("cp1251 by fcharset204",
          "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset204 Times;}}\\f0 "
          "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}",
          QString::fromUtf16(u"\u041f\u0440\u0438\u0432\u0435\u0442")),
        r("ansicpg1251 default",
          "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0 \\'c0\\'e1}",
          QString::fromUtf16(u"\u0410\u0431")),
        r("cp1250 by fcharset238", "{\\rtf1{\\fonttbl{\\f1\\fcharset238 Arial;}}\\f1 \\'9a\\'e8}",
          QString::fromUtf16(u"\u0161\u010d")),
        r("cp1253 greek", "{\\rtf1{\\fonttbl{\\f0\\fcharset161 A;}}\\f0 \\'e1\\'e2}",
          QString::fromUtf16(u"\u03b1\u03b2")),
        r("cp874 thai", "{\\rtf1{\\fonttbl{\\f0\\fcharset222 A;}}\\f0 \\'a1}",
          QString::fromUtf16(u"\u0e01")),
        r("cp932 double byte",
          "{\\rtf1{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0\\'93\\'fa}",
          QString::fromUtf16(u"\u3042\u65e5")),
        r("cp932 raw trail byte", "{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'83A}",
          QString::fromUtf16(u"\u30a2")),
        r("cp936 gbk", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'c4\\'e3\\'ba\\'c3}",
          QString::fromUtf16(u"\u4f60\u597d")),
        r("cp949 korean", "{\\rtf1{\\fonttbl{\\f0\\fcharset129 Batang;}}\\f0 \\'c7\\'d1}",
          QString::fromUtf16(u"\ud55c")),
        r("cp950 big5", "{\\rtf1{\\fonttbl{\\f0\\fcharset136 MingLiU;}}\\f0 \\'a4\\'a4}",
          QString::fromUtf16(u"\u4e2d")),
        r("cpg overrides charset", "{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1251 A;}}\\f0 \\'c0}",
          QString::fromUtf16(u"\u0410")),
        r("font switch mid text",
          "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\f0 \\'c0{\\f1 \\'c0}\\'c0}",
          QString::fromUtf16(u"\u00c0\u0410\u00c0")),
        r("unicode uc1", "{\\rtf1\\uc1 \\u1046?\\u1046\\'3f!}",
          QString::fromUtf16(u"\u0416\u0416!")),
        r("unicode uc2", "{\\rtf1\\uc2 \\u12354\\'82\\'a0x}", QString::fromUtf16(u"\u3042x")),
        r("unicode uc0", "{\\rtf1\\uc0 \\u1046 x}", QString::fromUtf16(u"\u0416x")),
        r("unicode skip ends at group", "{\\rtf1\\uc3 {\\u1046}ab}",
          QString::fromUtf16(u"\u0416ab")),
        r("surrogate pair", "{\\rtf1\\uc1 \\u-10179?\\u-8704?}", QString::fromUtf16(u"\U0001F600")),
        r("negative unicode", "{\\rtf1 \\u-4064?}", QString::fromUtf16(u"\uf020")),
        r("uc scoped by group", "{\\rtf1 {\\uc2 \\u1046??}\\u1046?x}",
          QString::fromUtf16(u"\u0416\u0416x")),
        r("bin in text skipped", "{\\rtf1 a\\bin3 {}\\c}", "ac"),
        r("huge bin", "{\\rtf1 a\\bin2147483647 xyz", "a"),
        r("unknown star destination", "{\\rtf1 a{\\*\\foo b{c}d}e}", "ae"),
        r("generator and info",
          "{\\rtf1{\\*\\generator Riched20 10.0;}{\\info{\\title T}{\\author A}}x}", "x"),
        r("stylesheet skipped", "{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1 Heading;}}x}", "x"),
        r("unknown word ignored", "{\\rtf1 \\frobnicate12 x\\q}", "x"),
        r("hyperlink field",
          "{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://q.example\"}}{\\fldrslt{\\ul "
          "link}}} now}",
          "see link now"),
        r("field without star", "{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 7}}}", "7"),
        r("object keeps result",
          "{\\rtf1 a{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result b}}c}",
          "abc"),
        r("table cells",
          "{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl one\\cell two\\cell\\row after}",
          "one\ntwo\nafter"),
        r("hidden text", "{\\rtf1 a{\\v hidden}b\\v c\\v0 d}", "abd"),
        r("pntext skipped",
          "{\\rtf1{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item}", "item"),
        r("listtext skipped", "{\\rtf1{\\listtext\\pard\\plain\\f3 \\'b7\\tab}\\ls1 item}", "item"),
        r("header footer footnote", "{\\rtf1{\\header h}{\\footer f}a{\\footnote n}b}", "ab"),
        r("nonshppict skipped",
          "{\\rtf1{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}}}",
          QString(QChar::ObjectReplacementCharacter)),
        r("missing closing braces", "{\\rtf1{\\b bold{\\i both", "boldboth"),
        r("bytes after the end", "{\\rtf1 a}b}c{d", "a"),
        r("truncated hex escape", "{\\rtf1 a\\'4", "a4"),
        r("backslash at end", "{\\rtf1 a\\", "a"),
        r("backslash newline is par", "{\\rtf1 a\\\nb}", "a\nb"),
        r("control characters dropped", "{\\rtf1 a\\'00\\'01\\u8232?b\\u8233?c\\u65532?d}",
          "a\nb\ncd"),
        r("leading whitespace and bom", "\xEF\xBB\xBF \r\n{\\rtf1 x}", "x"),
        r("font table without groups",
          "{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1\\fcharset204 Cyr;}\\f1 \\'c0}",
          QString::fromUtf16(u"\u0410")),
        r("deep skipped nesting",
          "{\\rtf1 a{\\*\\x" + QByteArray(5000, '{') + QByteArray(5000, '}') + "}b}", "ab"),
        r("rich edit 1 document",
          "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans "
          "Serif;}{\\f1\\froman\\fcharset2 Symbol;}}\r\n"
          "{\\colortbl\\red0\\green0\\blue0;}\r\n\\deflang1033\\pard\\plain\\f0\\fs20 Dear "
          "diary\\par\r\n"
          "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-"
          "200\\li200 milk\\par\r\n}",
          "Dear diary\nmilk\n"),
    };
}

}  // namespace

std::vector<rtftest::NamedRtf> rtftest::readerInputs() {
    std::vector<NamedRtf> all;
    for (const TextCase& row : textCases()) {
        all.push_back({row.name, row.rtf});
    }
    all.push_back({"word lists", "{\\rtf1" + kWordLists + "\\ls1 a\\par\\ls2 b\\par\\ls3 c}"});
    all.push_back({"resets", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\qc\\b B\\plain P\\par\\pard L}"});
    return all;
}

namespace {

class RtfReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, ShowsTheText) {
    const TextCase& row = GetParam();
    QTextDocument doc;
    readRtf(row.rtf, doc);
    EXPECT_EQ(row.text.toStdU16String(), doc.toPlainText().toStdU16String());
}

INSTANTIATE_TEST_SUITE_P(Inputs, RtfReaderText, ::testing::ValuesIn(textCases()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

QTextCharFormat formatAt(const QTextDocument& doc, int position) {
    QTextBlock block = doc.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        QTextFragment f = it.fragment();
        if (position >= f.position() && position < f.position() + f.length()) {
            return f.charFormat();
        }
    }
    return {};
}

TEST(RtfReader, PlainAndPardResetFormatting) {
    QByteArray rtf = rtftest::registered("reader: resets",
                                         "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 "
                                         "Courier;}}\\qc\\f1\\fs40\\b\\i B\\plain P\\par\\pard L}");
    QTextDocument doc;
    readRtf(rtf, doc);
    QTextCharFormat b = formatAt(doc, 0);
    EXPECT_GE(b.fontWeight(), QFont::Bold);
    EXPECT_TRUE(b.fontItalic());
    EXPECT_EQ("Courier", b.fontFamilies().toStringList().value(0).toStdString());
    EXPECT_DOUBLE_EQ(20, b.fontPointSize());
    QTextCharFormat p = formatAt(doc, 1);
    EXPECT_EQ(QFont::Normal, p.fontWeight());
    EXPECT_FALSE(p.fontItalic());
    EXPECT_EQ("Arial", p.fontFamilies().toStringList().value(0).toStdString())
        << "\\plain uses \\deff0";
    EXPECT_DOUBLE_EQ(12, p.fontPointSize());
    EXPECT_EQ(Qt::AlignHCenter, doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask);
    EXPECT_EQ(Qt::AlignLeft, doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask);
}

TEST(RtfReader, BackgroundFromHighlightCbAndChcbpat) {
    for (const char* word : {"\\highlight2", "\\cb2", "\\chcbpat2"}) {
        QByteArray rtf = rtftest::registered(
            std::string("reader: background ") + word,
            QByteArray(
                "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\cf1") +
                word + " x\\cf0\\highlight0 y}");
        QTextDocument doc;
        readRtf(rtf, doc);
        QTextCharFormat x = formatAt(doc, 0);
        EXPECT_EQ(QColor(255, 0, 0), x.foreground().color()) << word;
        EXPECT_EQ(QColor(0, 0, 255), x.background().color()) << word;
        QTextCharFormat y = formatAt(doc, 1);
        EXPECT_FALSE(y.hasProperty(QTextFormat::ForegroundBrush)) << word;
        EXPECT_FALSE(y.hasProperty(QTextFormat::BackgroundBrush)) << word;
    }
}

TEST(RtfReader, KeepsTheFontCharacterSet) {
    QTextDocument doc;
    readRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial CYR;}}\\f0 \\'c0}", doc);
    QTextCharFormat f = formatAt(doc, 0);
    EXPECT_EQ(204, f.intProperty(kCharsetProperty));
    EXPECT_EQ("Arial CYR", f.fontFamilies().toStringList().value(0).toStdString());
}

struct ListCase {
    const char* name;
    QByteArray rtf;
    bool listed;
    QTextListFormat::Style style;
};

class RtfReaderLists : public ::testing::TestWithParam<ListCase> {};

TEST_P(RtfReaderLists, NumberedParagraphsBecomeListItems) {
    const ListCase& row = GetParam();
    QTextDocument doc;
    readRtf(rtftest::registered(std::string("reader: list ") + row.name, row.rtf), doc);
    QTextList* list = doc.begin().textList();
    ASSERT_EQ(row.listed, list != nullptr);
    if (list) {
        EXPECT_EQ(row.style, list->format().style());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RtfReaderLists,
    ::testing::Values(
        ListCase{"pn bullet", "{\\rtf1{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}\\fi-200\\li200 a}",
                 true, QTextListFormat::ListDisc},
        ListCase{"pn decimal", "{\\rtf1{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}a}", true,
                 QTextListFormat::ListDecimal},
        ListCase{"pn upper roman", "{\\rtf1{\\*\\pn\\pnlvl3\\pnucrm}a}", true,
                 QTextListFormat::ListUpperRoman},
        ListCase{"pn continuation", "{\\rtf1{\\*\\pn\\pnlvlcont}a}", false,
                 QTextListFormat::ListDisc},
        ListCase{"ls bullet", "{\\rtf1" + kWordLists + "\\ls1 a}", true, QTextListFormat::ListDisc},
        ListCase{"ls level 1 decimal", "{\\rtf1" + kWordLists + "\\ls1\\ilvl1 a}", true,
                 QTextListFormat::ListDecimal},
        ListCase{"ls lower letter", "{\\rtf1" + kWordLists + "\\ls2 a}", true,
                 QTextListFormat::ListLowerAlpha},
        ListCase{"ls without number", "{\\rtf1" + kWordLists + "\\ls3 a}", false,
                 QTextListFormat::ListDisc},
        ListCase{"ls unknown override", "{\\rtf1\\ls9 a}", true, QTextListFormat::ListDisc},
        ListCase{"pard ends list", "{\\rtf1{\\*\\pn\\pnlvlblt}\\pard a}", false,
                 QTextListFormat::ListDisc}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

TEST(RtfReader, IndentFromLiAndFi) {
    QTextDocument doc;
    readRtf("{\\rtf1\\fi-300\\li500 a\\par\\pard\\li720 b}", doc);
    EXPECT_EQ((ParagraphIndent{200, 300}), paragraphIndent(doc.begin().blockFormat()));
    EXPECT_EQ((ParagraphIndent{720, 0}), paragraphIndent(doc.lastBlock().blockFormat()));
}

TEST(RtfReader, ListEndsAtAParagraphOutsideIt) {
    QTextDocument doc;
    readRtf("{\\rtf1{\\*\\pn\\pnlvlblt}a\\par b\\par\\pard c\\par{\\*\\pn\\pnlvlblt}d}", doc);
    QTextBlock a = doc.begin(), b = a.next(), c = b.next(), d = c.next();
    ASSERT_NE(nullptr, a.textList());
    EXPECT_EQ(a.textList(), b.textList());
    EXPECT_EQ(nullptr, c.textList());
    ASSERT_NE(nullptr, d.textList());
    EXPECT_NE(a.textList(), d.textList());
}

struct ErrorCase {
    const char* name;
    QByteArray bytes;
    const char* message;
};

class RtfReaderErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RtfReaderErrors, ReportsAClearErrorAndLeavesTheDocumentEmpty) {
    const ErrorCase& row = GetParam();
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("previous"));
    EXPECT_THROW_MSG(readRtf(row.bytes, doc), RtfError, row.message);
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_THROW_MSG(plainTextOfRtf(row.bytes), RtfError, row.message);
}

const char* const kNotRtf = "The text is not in RTF format: it does not start with {\\rtf.";
const char* const kTooDeep = "The RTF is damaged: its groups are nested more than 2000 deep.";

INSTANTIATE_TEST_SUITE_P(
    Damaged, RtfReaderErrors,
    ::testing::Values(
        ErrorCase{"empty", "", kNotRtf}, ErrorCase{"plain text", "Dear diary", kNotRtf},
        ErrorCase{"brace only", "{", kNotRtf}, ErrorCase{"case differs", "{\\RTF1 x}", kNotRtf},
        ErrorCase{"deep nesting",
                  "{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}",
                  kTooDeep},
        ErrorCase{"unclosed deep nesting", "{\\rtf1 " + QByteArray(100000, '{'), kTooDeep}));

TEST(RtfReader, NestingJustUnderTheCapReads) {
    QByteArray rtf = "{\\rtf1 " + QByteArray(kMaxGroupDepth - 1, '{') + "x" +
                     QByteArray(kMaxGroupDepth - 1, '}') + "}";
    QTextDocument doc;
    readRtf(rtftest::registered("reader: nesting at cap", rtf), doc);
    EXPECT_EQ("x", doc.toPlainText().toStdString());
}

TEST(RtfReader, ReplacesPreviousContentAndKeepsUndoSetting) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old\nlines"));
    readRtf("{\\rtf1 new}", doc);
    EXPECT_EQ("new", doc.toPlainText().toStdString());
    EXPECT_TRUE(doc.isUndoRedoEnabled());
    EXPECT_FALSE(doc.isUndoAvailable());
}

}  // namespace
