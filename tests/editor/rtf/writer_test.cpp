// The writer: golden bytes, stable output, and a round trip of every
// attribute the editing commands can set.
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <gtest/gtest.h>

#include <functional>

using namespace quillmere::rtf;

namespace {

QTextCharFormat arial(double points) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{QStringLiteral("Arial")});
    format.setFontPointSize(points);
    return format;
}

// A document with one of everything, used by the golden file.
void buildShowcase(QTextDocument& doc) {
    QTextCursor cursor(&doc);
    QTextCharFormat plain = arial(11);
    cursor.insertText(QStringLiteral("Plain, "), plain);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    QTextCharFormat colours = plain;
    colours.setForeground(QColor(255, 0, 0));
    colours.setBackground(QColor(255, 255, 0));
    colours.setFontItalic(true);
    cursor.insertText(QStringLiteral(" red on yellow {braces} \\ caf\u00e9\tend"), colours);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, plain);
    cursor.insertText(QStringLiteral("Centred \u20ac \u0416 \U0001F600"), plain);
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("next line"), plain);
    QTextBlockFormat bullet;
    setParagraphIndent(bullet, {0, 200}, true);
    cursor.insertBlock(bullet, plain);
    QTextListFormat list;
    list.setStyle(QTextListFormat::ListDisc);
    list.setIndent(1);
    QTextList* bullets = cursor.createList(list);
    cursor.insertText(QStringLiteral("bullet one"), plain);
    cursor.insertBlock(bullet, plain);
    bullets->add(cursor.block());
    cursor.insertText(QStringLiteral("bullet two"), plain);
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    cursor.insertBlock(justified, plain);
    if (QTextList* list = cursor.block().textList()) {
        list->remove(cursor.block());
    }
    cursor.setBlockFormat(justified);
    QTextCharFormat other = arial(14);
    other.setFontFamilies(QStringList{QStringLiteral("Times New Roman")});
    other.setFontUnderline(true);
    other.setFontStrikeOut(true);
    cursor.insertText(QStringLiteral("Justified underlined struck"), other);
}

}  // namespace

std::vector<rtftest::NamedRtf> rtftest::writerInputs() {
    std::vector<NamedRtf> all;
    QTextDocument doc;
    buildShowcase(doc);
    all.push_back({"showcase", writeRtf(doc)});
    for (const char* name : {"showcase.rtf", "empty.rtf", "picture.rtf", "wordpad.rtf"}) {
        all.push_back({std::string("golden ") + name, golden(QString::fromLatin1(name))});
    }
    return all;
}

namespace {

TEST(RtfWriter, ShowcaseMatchesGoldenBytes) {
    QTextDocument doc;
    buildShowcase(doc);
    QByteArray rtf = rtftest::registered("writer: showcase", writeRtf(doc));
    rtftest::expectGolden(QStringLiteral("showcase.rtf"), rtf);
}

TEST(RtfWriter, EmptyDocumentMatchesGoldenBytes) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 11));
    QByteArray rtf = rtftest::registered("writer: empty", writeRtf(doc));
    rtftest::expectGolden(QStringLiteral("empty.rtf"), rtf);
}

TEST(RtfWriter, PictureMatchesGoldenBytes) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("pic:"), arial(11));
    insertPicture(cursor, rtftest::quadrantImage(2, 2));
    QByteArray rtf = rtftest::registered("writer: picture", writeRtf(doc));
    rtftest::expectGolden(QStringLiteral("picture.rtf"), rtf);
}

TEST(RtfWriter, OutputIsAsciiWithoutBom) {
    QTextDocument doc;
    buildShowcase(doc);
    QByteArray rtf = writeRtf(doc);
    ASSERT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl"));
    for (char c : rtf) {
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "non-ASCII byte in output";
    }
    EXPECT_TRUE(rtf.contains("\\uc1"));
    EXPECT_TRUE(rtf.contains("caf\\'e9"));             // code page 1252 as \'hh
    EXPECT_TRUE(rtf.contains("\\'80"));                // euro sign in 1252
    EXPECT_TRUE(rtf.contains("\\u1046?"));             // Cyrillic Zhe
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?"));  // surrogate pair, signed
    EXPECT_TRUE(rtf.contains("\\{braces\\} \\\\"));
}

TEST(RtfWriter, SameDocumentGivesSameBytesAndReadWriteIsIdentity) {
    QTextDocument doc;
    buildShowcase(doc);
    QByteArray first = writeRtf(doc);
    EXPECT_EQ(first, writeRtf(doc));
    QTextDocument again;
    readRtf(first, again);
    EXPECT_EQ(first.toStdString(), writeRtf(again).toStdString());
}

// One attribute per row: set on the word "Hello", checked after a round trip.
struct AttributeCase {
    const char* name;
    std::function<void(QTextCharFormat&, QTextBlockFormat&)> apply;
    std::function<void(const QTextCharFormat&, const QTextBlock&)> check;
    bool bullet = false;
};

const AttributeCase kAttributeCases[] = {
    {"bold", [](auto& c, auto&) { c.setFontWeight(QFont::Bold); },
     [](const auto& c, const auto&) { EXPECT_GE(c.fontWeight(), QFont::Bold); }},
    {"italic", [](auto& c, auto&) { c.setFontItalic(true); },
     [](const auto& c, const auto&) { EXPECT_TRUE(c.fontItalic()); }},
    {"underline", [](auto& c, auto&) { c.setFontUnderline(true); },
     [](const auto& c, const auto&) { EXPECT_TRUE(c.fontUnderline()); }},
    {"strike-out", [](auto& c, auto&) { c.setFontStrikeOut(true); },
     [](const auto& c, const auto&) { EXPECT_TRUE(c.fontStrikeOut()); }},
    {"all four styles",
     [](auto& c, auto&) {
         c.setFontWeight(QFont::Bold);
         c.setFontItalic(true);
         c.setFontUnderline(true);
         c.setFontStrikeOut(true);
     },
     [](const auto& c, const auto&) {
         EXPECT_TRUE(c.fontWeight() >= QFont::Bold && c.fontItalic() && c.fontUnderline() &&
                     c.fontStrikeOut());
     }},
    {"face", [](auto& c, auto&) { c.setFontFamilies(QStringList{QStringLiteral("Courier New")}); },
     [](const auto& c, const auto&) {
         EXPECT_EQ("Courier New", c.fontFamilies().toStringList().value(0).toStdString());
     }},
    {"size 7.5", [](auto& c, auto&) { c.setFontPointSize(7.5); },
     [](const auto& c, const auto&) { EXPECT_DOUBLE_EQ(7.5, c.fontPointSize()); }},
    {"size 72", [](auto& c, auto&) { c.setFontPointSize(72); },
     [](const auto& c, const auto&) { EXPECT_DOUBLE_EQ(72, c.fontPointSize()); }},
    {"text colour", [](auto& c, auto&) { c.setForeground(QColor(0x12, 0x34, 0x56)); },
     [](const auto& c, const auto&) {
         EXPECT_EQ(QColor(0x12, 0x34, 0x56), c.foreground().color());
     }},
    {"automatic text colour", [](auto&, auto&) {},
     [](const auto& c, const auto&) { EXPECT_FALSE(c.hasProperty(QTextFormat::ForegroundBrush)); }},
    {"highlight colour", [](auto& c, auto&) { c.setBackground(QColor(0, 255, 255)); },
     [](const auto& c, const auto&) { EXPECT_EQ(QColor(0, 255, 255), c.background().color()); }},
    {"automatic highlight", [](auto&, auto&) {},
     [](const auto& c, const auto&) { EXPECT_FALSE(c.hasProperty(QTextFormat::BackgroundBrush)); }},
    {"character set", [](auto& c, auto&) { c.setProperty(kCharsetProperty, 204); },
     [](const auto& c, const auto&) { EXPECT_EQ(204, c.intProperty(kCharsetProperty)); }},
    {"align right", [](auto&, auto& b) { b.setAlignment(Qt::AlignRight); },
     [](const auto&, const auto& blk) {
         EXPECT_EQ(Qt::AlignRight, blk.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
     }},
    {"align centre", [](auto&, auto& b) { b.setAlignment(Qt::AlignHCenter); },
     [](const auto&, const auto& blk) {
         EXPECT_EQ(Qt::AlignHCenter, blk.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
     }},
    {"justify", [](auto&, auto& b) { b.setAlignment(Qt::AlignJustify); },
     [](const auto&, const auto& blk) {
         EXPECT_EQ(Qt::AlignJustify, blk.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
     }},
    {"left offset 15 pt",
     [](auto&, auto& b) {
         setParagraphIndent(b, {0, 300}, false);
     },
     [](const auto&, const auto& blk) {
         EXPECT_EQ((ParagraphIndent{0, 300}), paragraphIndent(blk.blockFormat()));
     }},
    {"bullet with 10 pt offset",
     [](auto&, auto& b) {
         setParagraphIndent(b, {0, 200}, true);
     },
     [](const auto&, const auto& blk) {
         ASSERT_NE(nullptr, blk.textList());
         EXPECT_EQ(QTextListFormat::ListDisc, blk.textList()->format().style());
         EXPECT_EQ((ParagraphIndent{0, 200}), paragraphIndent(blk.blockFormat()));
     },
     true},
};

class RtfAttributeRoundTrip : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(RtfAttributeRoundTrip, SurvivesWriteAndRead) {
    const AttributeCase& row = GetParam();
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat chars = arial(11);
    QTextBlockFormat block;
    row.apply(chars, block);
    cursor.setBlockFormat(block);
    if (row.bullet) {
        cursor.createList(QTextListFormat::ListDisc);
    }
    cursor.insertText(QStringLiteral("Hello"), chars);
    QByteArray rtf = rtftest::registered(std::string("attribute: ") + row.name, writeRtf(doc));

    QTextDocument back;
    readRtf(rtf, back);
    ASSERT_EQ("Hello", back.toPlainText().toStdString());
    QTextBlock first = back.begin();
    QTextCharFormat read = first.begin().fragment().charFormat();
    row.check(read, first);
    EXPECT_EQ(rtf.toStdString(), writeRtf(back).toStdString()) << "second write differs";
}

INSTANTIATE_TEST_SUITE_P(Attributes, RtfAttributeRoundTrip, ::testing::ValuesIn(kAttributeCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

TEST(RtfWriter, BulletsAreWrittenForOldAndNewReaders) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextBlockFormat block;
    setParagraphIndent(block, {0, 200}, true);
    cursor.setBlockFormat(block);
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("item"), arial(11));
    QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains(
        "{\\pntext\\f1 \\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"));
    EXPECT_TRUE(rtf.contains("\\ls1\\ilvl0\\fi-200\\li200"));
    EXPECT_TRUE(rtf.contains(
        "{\\*\\listtable{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc23"));
    EXPECT_TRUE(
        rtf.contains("{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"));
    EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset2 Symbol;}"));
}

TEST(RtfWriter, NumberedListsKeepTheirKind) {
    const QTextListFormat::Style styles[] = {QTextListFormat::ListDecimal,
                                             QTextListFormat::ListLowerAlpha,
                                             QTextListFormat::ListUpperRoman};
    for (auto style : styles) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.createList(style);
        cursor.insertText(QStringLiteral("one"), arial(11));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("two"), arial(11));
        QByteArray rtf =
            rtftest::registered("writer: numbered " + std::to_string(style), writeRtf(doc));
        QTextDocument back;
        readRtf(rtf, back);
        ASSERT_NE(nullptr, back.lastBlock().textList());
        EXPECT_EQ(style, back.lastBlock().textList()->format().style());
        EXPECT_EQ(back.begin().textList(), back.lastBlock().textList()) << "one list, not two";
        EXPECT_EQ(rtf, writeRtf(back));
    }
}

TEST(RtfWriter, NonAnsiFontWritesUnicodeEscapes) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat russian = arial(11);
    russian.setProperty(kCharsetProperty, 204);
    cursor.insertText(QStringLiteral("\u00e9\u0416"), russian);
    QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\fcharset204"));
    EXPECT_TRUE(rtf.contains("\\u233?\\u1046?")) << rtf.toStdString();
    QTextDocument back;
    readRtf(rtf, back);
    EXPECT_EQ(QStringLiteral("\u00e9\u0416"), back.toPlainText());
}

TEST(RtfWriter, AsciiTheFontsPageReadsOtherwiseIsWrittenByItsValue) {
    // Johab (character set 130) reads the byte of a backslash as the won
    // sign; Shift-JIS (128) reads ASCII as itself.
    const struct {
        int charset;
        const char* escaped;
    } rows[] = {{130, "\\u92?"}, {128, "\\\\"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.charset);
        QTextDocument doc;
        QTextCharFormat format = arial(11);
        format.setProperty(kCharsetProperty, row.charset);
        QTextCursor(&doc).insertText(QStringLiteral("a\\b{c}~ \u20a9"), format);
        const QByteArray rtf = writeRtf(doc);
        EXPECT_TRUE(rtf.contains(row.escaped)) << rtf.toStdString();
        QTextDocument back;
        readRtf(rtf, back);
        EXPECT_EQ(QStringLiteral("a\\b{c}~ \u20a9"), back.toPlainText());
        EXPECT_EQ(rtf, writeRtf(back));
    }
}

TEST(RtfPlainText, WritesUtf8WithLf) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("caf\u00e9 \u20ac\n\u0416"));
    EXPECT_EQ(QByteArray("caf\xc3\xa9 \xe2\x82\xac\n\xd0\x96"), writePlainText(doc));
}

}  // namespace
