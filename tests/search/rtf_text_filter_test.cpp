// The quick test of an entry's RTF bytes before the full match: it may only
// rule out entries whose displayed text cannot hold the needle. Tested on
// chosen cases, against the full match on many generated documents, and on
// the code pages whose bytes it treats as markup.
#include "search/core/rtf_text_filter.h"
#include "editor/rtf/codepage.h"
#include "editor/rtf/rtf.h"
#include "search/core/journal_search.h"

#include <QChar>

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

using quillmere::RtfTextFilter;
using quillmere::TextMatcher;

QByteArray doc(const QByteArray& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
           "\\viewkind4\\uc1\\pard\\f0\\fs20 " +
           body + "\\par\r\n}";
}

bool fullMatch(const QByteArray& rtf, const QString& needle) {
    return TextMatcher(needle).matches(quillmere::entryDisplayedText(rtf));
}

struct FilterCase {
    const char* label;
    QByteArray bytes;
    const char16_t* needle;
    bool mayMatch;
};

std::vector<FilterCase> filterCases() {
    return {
        {"nominal: word present", doc("We went to the harbour."), u"harbour", true},
        {"nominal: other case", doc("We went to the HARBOUR."), u"Harbour", true},
        {"nominal: word absent", doc("We went to the harbour."), u"zanzibar", false},
        {"nominal: one letter absent", doc("We went to the harbour."), u"z", false},
        {"nominal: phrase absent", doc("We went to the harbour."), u"the river", false},
        {"split by a bold group", doc("hel{\\b lo} there"), u"hello", true},
        {"split by a control word", doc("hel\\b lo\\b0  there"), u"hello", true},
        {"split by a line end", doc("hel\r\nlo there"), u"hello", true},
        {"split by a control byte", doc("hel\x01lo there"), u"hello", true},
        {"split by a byte of another page", doc("hel\xe9lo there"), u"hello", true},
        {"accented letter written as an escape", doc("caf\\'e9 au lait"), u"cafe", true},
        {"escape above ASCII elsewhere", doc("caf\\'e9 au lait"), u"zanzibar", false},
        {"escape of an ASCII letter", doc("\\'68ello"), u"hello", true},
        {"escape with one hex digit", doc("x\\'4 y"), u"zanzibar", true},
        {"unicode escape of an ASCII letter", doc("\\u104?ello"), u"hello", true},
        {"unicode escape wrapping to an ASCII letter", doc("\\u65601?xyz"), u"q", true},
        {"negative unicode escape", doc("\\u-4064?xyz"), u"q", false},
        {"unicode escape folding to ASCII, any needle", doc("\\u8490?ing"), u"zz", true},
        {"unicode escape of an accented letter", doc("\\u233?ing"), u"zz", false},
        {"KELVIN SIGN for a k", doc("\\u8490?ing"), u"king", true},
        {"byte of another page and a k", doc("caf\xe9"), u"kit", true},
        {"byte of another page and no k or s", doc("caf\xe9"), u"zanzibar", false},
        {"no-break space and a needle with a space", doc("a\\~b"), u"a b", true},
        {"no-break space, needle without a space", doc("a\\~b"), u"zanzibar", false},
        {"no-break space written as an escape", doc("a\\'a0b"), u"a b", true},
        {"escaped backslash before an apostrophe", doc("\\\\'41 text"), u"zanzibar", false},
        {"word of the font table", doc("plain words"), u"arial", true},
        {"NUL byte", doc(QByteArray("text\0more", 9)), u"zanzibar", true},
        {"not RTF", QByteArray("just some words"), u"zanzibar", true},
        {"BOM before the document", "\xEF\xBB\xBF" + doc("words"), u"zanzibar", false},
        {"empty bytes", QByteArray(), u"zanzibar", true},
        {"needle with a brace", doc("words"), u"a{b", true},
        {"needle with a letter outside ASCII", doc("words"), u"caf\u00e9", true},
        {"needle at the very end", QByteArray("{\\rtf1 0123456789abcdefghijklmnopq zanzibar"),
         u"zanzibar", true},
        {"partial needle at the very end", QByteArray("{\\rtf1 0123456789abcdefghijklmn zanzib"),
         u"zanzibar", false},
        {"double-byte trail backslash before an escape",
         "{\\rtf1{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0 \x84\\\\'51}", u"q", true},
        {"text box text",
         doc("{\\shp{\\*\\shpinst{\\sp{\\sn fFilled}{\\sv 0}}{\\shptxt Box words}}}"), u"box words",
         true},
        {"drawing object text", doc("{\\*\\do\\dptxbx{\\dptxbxtext Drawn words}}"), u"drawn", true},
    };
}

class RtfTextFilterCases : public ::testing::TestWithParam<FilterCase> {};

TEST_P(RtfTextFilterCases, RulesOutOnlyWhatCannotMatch) {
    const FilterCase& c = GetParam();
    const QString needle = QString::fromUtf16(c.needle);
    const RtfTextFilter filter(needle);
    EXPECT_EQ(c.mayMatch, filter.mayMatch(c.bytes));
    EXPECT_EQ(c.mayMatch, filter.mayMatchScalar(c.bytes));
    if (!c.mayMatch) {
        EXPECT_FALSE(fullMatch(c.bytes, needle)) << "the filter ruled out a matching entry";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfTextFilterCases, ::testing::ValuesIn(filterCases()),
                         [](const auto& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.label)) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

// Pieces of RTF that documents are generated from: text, formatting, groups
// and destinations most of the time; now and then escapes of every kind and
// bytes of other code pages.
const char* const kTextPieces[] = {
    "ka",
    "ki",
    "sk",
    "ab",
    "ba",
    "a",
    "b",
    " ",
    "  ",
    "K",
    "S",
    "A",
    "\\b ",
    "\\b0 ",
    "{\\i ",
    "}",
    "{",
    "\\par\r\n",
    "\\line ",
    "\r\n",
    "\\tab ",
    "\\-",
    "\\_",
    "\\\\",
    "\\{",
    "\\}",
    "\\f1 ",
    "\\f2 ",
    "{\\v hidden}",
    "\\v ",
    "\\v0 ",
    "\\f0 ",
    "{\\*\\x ab}",
    "\\uc0 ",
    "\\uc2 ",
    "\\emdash ",
    "\\bin2 ab",
    "\x01",
    "\x7f",
    "\\lquote ",
    "{\\fldrslt ka}",
    "{\\shp{\\sp{\\sn ka}{\\sv b}}{\\*\\shpinst{\\sp{\\sn ab}{\\sv ka}}{\\shptxt ",
    "{\\*\\do\\dptxbx{\\dptxbxtext ",
    "{\\shprslt ",
    "{\\listtext a\\tab}",
    "\\f1 \x84",
    "\x84\\",
    "\x84{",
    "\x84}",
    "\x81\\\\",
};
const char* const kEscapePieces[] = {
    "\\~",    "\\'61",    "\\'41",   "\\'e9",   "\\'a0",     "\\'82",      "\\'8a",
    "\\u97?", "\\u8490?", "\\u383?", "\\u233?", "\\u65633?", "\\u-32703?", "\\u160?",
    "\\f3 ",  "\xe9",     "\xa0",    "\x82",    "\\'",
};

QByteArray generatedDocument(std::mt19937& random) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
        "{\\f1\\fnil\\fcharset128 MS Gothic;}{\\f2\\fnil\\fcharset204 Cyr;}"
        "{\\f3\\fnil\\fcharset163 Viet;}}\\uc1\\pard ";
    std::uniform_int_distribution<int> text(0, int(std::size(kTextPieces)) - 1);
    std::uniform_int_distribution<int> escape(0, int(std::size(kEscapePieces)) - 1);
    const int count = 2 + int(random() % 30);
    for (int i = 0; i < count; ++i) {
        rtf += random() % 12 == 0 ? kEscapePieces[escape(random)] : kTextPieces[text(random)];
    }
    return rtf + "}";
}

QString madeUpNeedle(std::mt19937& random) {
    static const char16_t kLetters[] = u"abkqzABKQZ ";
    QString needle;
    for (int i = 1 + int(random() % 3); i > 0; --i) {
        needle += QChar(kLetters[random() % (std::size(kLetters) - 1)]);
    }
    return needle;
}

// Every needle cut from a document's displayed text must pass the filter,
// and no made-up needle the filter rules out may match in full.
TEST(RtfTextFilter, NeverRulesOutAMatchOfGeneratedDocuments) {
    std::mt19937 random(20101231);
    int ruledOut = 0;
    int cutNeedles = 0;
    for (int round = 0; round < 20000; ++round) {
        const QByteArray rtf = generatedDocument(random);
        const QString text = quillmere::entryDisplayedText(rtf);
        QString needle;
        if (round % 2 == 0 && !text.isEmpty()) {
            const int start = int(random() % text.size());
            needle = text.mid(start, 1 + int(random() % 5));
            needle = round % 4 == 0 ? needle.toUpper() : needle;
            ++cutNeedles;
        } else {
            needle = madeUpNeedle(random);
        }
        const RtfTextFilter filter(needle);
        const bool may = filter.mayMatch(rtf);
        ASSERT_EQ(may, filter.mayMatchScalar(rtf)) << rtf.toStdString();
        if (!may) {
            ++ruledOut;
            ASSERT_FALSE(TextMatcher(needle).matches(text))
                << "needle \"" << needle.toStdString() << "\" in " << rtf.toStdString();
        }
    }
    EXPECT_GT(cutNeedles, 5000);
    EXPECT_GT(ruledOut, 1000);  // the filter did rule entries out
}

struct ShapeSearchCase {
    const char* label;
    QByteArray rtf;
    const char16_t* needle;
    bool found;
};

// The search as the search window runs it: the filter, then the match in
// the displayed text.
TEST(RtfTextFilter, SearchFindsTextBoxesAndNeverShapeProperties) {
    const QByteArray shape =
        doc("{\\shp{\\sp{\\sn fFilled}{\\sv 0}}{\\*\\shpinst{\\sp{\\sn wzName}{\\sv Oval 3}}"
            "{\\shptxt Box text\\par}}}Body text");
    const QByteArray drawing =
        doc("a{\\*\\do\\dobxcolumn\\dptxbx{\\dptxbxtext Drawn words\\par}}b");
    const QByteArray dbcs =
        "{\\rtf1{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0 "
        "\x84\x4d\x84\x70\x84\x82\x84\x7b\x84\x75 \x84\x7d\x84\x5c end}";
    const ShapeSearchCase cases[] = {
        {"nominal: text box text", shape, u"box text", true},
        {"nominal: body after the shape", shape, u"body", true},
        {"nominal: shape property name", shape, u"ffilled", false},
        {"nominal: shape property value", shape, u"oval 3", false},
        {"nominal: property name and value run together", shape, u"ffilled0", false},
        {"nominal: drawing object text box", drawing, u"drawn words", true},
        {"nominal: double-byte text with brace and backslash trails", dbcs, u"\u043c\u044b end",
         true},
    };
    for (const ShapeSearchCase& c : cases) {
        const QString needle = QString::fromUtf16(c.needle);
        const TextMatcher matcher(needle);
        EXPECT_EQ(c.found, matcher.mayMatchEntry(c.rtf) &&
                               matcher.matches(quillmere::entryDisplayedText(c.rtf)))
            << c.label;
    }
}

// The filter reads every byte of 0x80 and above as markup: no code page may
// make an ASCII character of it, nor of an ASCII byte another one.
TEST(RtfTextFilter, CodePagesKeepAsciiApart) {
    std::set<int> pages = {437, 850, 10000};
    for (int charset = 0; charset < 256; ++charset) {
        pages.insert(quillmere::rtf::codePageOfCharset(charset, quillmere::rtf::kCodePage1252));
    }
    for (const int page : pages) {
        for (int lead = 1; lead < 256; ++lead) {
            const std::vector<int> trails =
                lead >= 0x80 ? std::vector<int>{-1, 0x20, 0x40, 0x41, 0x61, 0x7E, 0x80, 0xA1, 0xE9}
                             : std::vector<int>{-1};
            for (const int trail : trails) {
                QByteArray bytes(1, static_cast<char>(lead));
                if (trail >= 0) {
                    bytes += static_cast<char>(trail);
                }
                QString out;
                quillmere::rtf::appendDecoded(page, bytes.constData(), std::size_t(bytes.size()),
                                              out);
                for (const QChar c : out) {
                    if (c.unicode() >= 0x80) {
                        continue;
                    }
                    ASSERT_TRUE(bytes.contains(static_cast<char>(c.unicode())))
                        << "page " << page << " makes U+" << std::hex << int(c.unicode()) << " of "
                        << bytes.toHex().toStdString();
                }
            }
        }
    }
}

}  // namespace
