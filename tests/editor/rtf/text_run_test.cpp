// Runs of text through the block loops of the reader: the byte scans against
// a byte-at-a-time reference at every length and offset, and text runs that
// meet every kind of byte, read by both paths (document and plain text).
#include "editor/rtf/rtf.h"
#include "editor/rtf/text_scan.h"

#include <QTextDocument>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace quillmere::rtf;

namespace {

std::size_t referenceSpecialOffset(const std::string& s, std::size_t from, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        char c = s[from + i];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') {
            return i;
        }
    }
    return size;
}

std::size_t referencePrintable(const std::string& s, std::size_t from, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        auto b = static_cast<unsigned char>(s[from + i]);
        if (b < 0x20 || b >= 0x80) {
            return i;
        }
    }
    return size;
}

// Mostly letters, with a special byte now and then, so stops fall at every
// position of a 16-byte block.
std::string randomBytes(std::mt19937& random, std::size_t n) {
    const std::string specials("\\{}\r\n\t\x01\x1f\x7f\x80\xa0\xe9\xff", 14);
    std::uniform_int_distribution<int> pick(0, 40);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::uniform_int_distribution<std::size_t> special(0, specials.size());
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += pick(random) == 0 ? specials[special(random) % specials.size()]
                               : static_cast<char>(letter(random));
    }
    return s;
}

TEST(TextScan, BlockLoopsAgreeWithByteLoopsAtEveryLengthAndOffset) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        std::string s = randomBytes(random, 96);
        for (std::size_t from = 0; from < 17; ++from) {
            for (std::size_t size = 0; from + size <= s.size(); ++size) {
                SCOPED_TRACE(testing::Message()
                             << "round " << round << " from " << from << " size " << size);
                ASSERT_EQ(referenceSpecialOffset(s, from, size),
                          specialOffset(s.data() + from, size));
                const std::size_t expected = referencePrintable(s, from, size);
                // Readable exactly to the end of the run, and on past it.
                for (std::size_t readable : {size, s.size() - from}) {
                    std::vector<char16_t> dst(size + 16, u'#');
                    std::size_t got =
                        widenPrintableAscii(s.data() + from, size, readable, dst.data());
                    ASSERT_EQ(expected, got);
                    for (std::size_t i = 0; i < got; ++i) {
                        ASSERT_EQ(static_cast<char16_t>(static_cast<unsigned char>(s[from + i])),
                                  dst[i]);
                    }
                }
            }
        }
    }
}

TEST(TextScan, StopsAtEveryByteOutsidePrintableAscii) {
    for (int b = 0; b < 256; ++b) {
        for (std::size_t at : {0u, 5u, 15u, 16u, 17u, 31u, 40u}) {
            std::string s(48, 'x');
            s[at] = static_cast<char>(b);
            std::vector<char16_t> dst(s.size() + 16);
            bool printable = b >= 0x20 && b < 0x80;
            bool special = b == '\\' || b == '{' || b == '}' || b == '\r' || b == '\n';
            EXPECT_EQ(printable ? s.size() : at,
                      widenPrintableAscii(s.data(), s.size(), s.size(), dst.data()))
                << "byte " << b << " at " << at;
            EXPECT_EQ(special ? at : s.size(), specialOffset(s.data(), s.size()))
                << "byte " << b << " at " << at;
        }
    }
}

struct RunCase {
    const char* name;
    QByteArray rtf;
    QString text;  // toPlainText of the document read
};

QByteArray longRun(const QByteArray& middle) {
    return QByteArray(37, 'a') + middle + QByteArray(29, 'b');
}

QString longText(const QString& middle) {
    return QString(37, u'a') + middle + QString(29, u'b');
}

std::vector<RunCase> runCases() {
    const QByteArray head =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Cyr;}"
        "{\\f2\\fcharset128 Jp;}}\\pard ";
    auto rtf = [&](const QByteArray& body) { return head + body + "}"; };
    std::vector<RunCase> rows = {
        {"plain long run", rtf(QByteArray(5000, 'q')), QString(5000, u'q')},
        {"run ends at the end of the input", head + longRun("end"), longText("end")},
        {"raw 1252 bytes in a run", rtf(longRun("caf\xe9 \x80 \x93x\x94")),
         longText(QString::fromUtf16(u"caf\u00e9 \u20ac \u201cx\u201d"))},
        {"raw no-break space shows as space", rtf(longRun("a\xa0z")), longText("a z")},
        {"hex escapes between runs", rtf(longRun("caf\\'e9 na\\'efve\\'a0!")),
         longText(QString::fromUtf16(u"caf\u00e9 na\u00efve !"))},
        {"escaped braces and backslash in a run", rtf(longRun("x\\{y\\}z\\\\w")),
         longText("x{y}z\\w")},
        {"line ends inside a run are dropped", rtf(longRun("one\r\ntwo\rthree\nfour")),
         longText("onetwothreefour")},
        {"control bytes are dropped, tab kept", rtf(longRun(QByteArray("a\x01\x1f\tb\x7f", 6))),
         longText(QString::fromUtf16(u"a\tb\u007f"))},
        {"nul bytes in a run are dropped", rtf(longRun(QByteArray("a\0b\0\0c", 6))),
         longText("abc")},
        {"unicode inside a run skips its fallback",
         rtf(longRun("Gr\\u252?\\u223?e \\uc2\\u8364??x")),
         longText(QString::fromUtf16(u"Gr\u00fc\u00dfe \u20acx"))},
        {"unicode fallback skip crosses into the run", rtf("\\uc3\\u1071 abcdef"),
         QString::fromUtf16(u"\u042fdef")},
        {"unicode separators break the run", rtf(longRun("x\\u8232?y\\u8233?z")),
         longText("x\ny\nz")},
        {"no-break space symbol in a run", rtf(longRun("x\\~y")), longText("x y")},
        {"hidden text inside a run", rtf(longRun("shown{\\v hidden \\'e9}again")),
         longText("shownagain")},
        {"code page changes between runs", rtf(longRun("A{\\f1 \\'c0\xc1}B")),
         longText(QString::fromUtf16(u"A\u0410\u0411B"))},
        {"double-byte page with hex pairs and ascii", rtf("{\\f2 ab\\'82\\'a0cd\x82\xa2}xy"),
         QString::fromUtf16(u"ab\u3042cd\u3044xy")},
        {"paragraphs split runs", rtf(longRun("one\\par two\\line three")),
         longText("one\ntwo\nthree")},
        {"run straight after the font table", "{\\rtf1{\\fonttbl{\\f0 A;}}" + longRun("\\'e9"),
         longText(QString::fromUtf16(u"\u00e9"))},
    };
    // A special byte at every position of the blocks of a run.
    for (int at = 0; at < 40; ++at) {
        QByteArray body = QByteArray(at, 'k') + "\\'e9" + QByteArray(40 - at, 'm');
        rows.push_back(
            {"hex at offset", rtf(body), QString(at, u'k') + QChar(0xE9) + QString(40 - at, u'm')});
    }
    return rows;
}

class TextRuns : public ::testing::TestWithParam<RunCase> {};

TEST_P(TextRuns, BothPathsGiveTheText) {
    const RunCase& row = GetParam();
    QTextDocument doc;
    readRtf(row.rtf, doc);
    EXPECT_EQ(row.text.toStdU16String(), doc.toPlainText().toStdU16String());
    EXPECT_EQ(row.text.toStdU16String(), plainTextOfRtf(row.rtf).toStdU16String());
}

INSTANTIATE_TEST_SUITE_P(Runs, TextRuns, ::testing::ValuesIn(runCases()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name + "_" + std::to_string(info.index);
});

TEST(TextRuns, TextOfATwentyDayJournalMatchesTheDocumentReader) {
    // Random words with escapes, the shape of the journal's entries.
    std::mt19937 random(11);
    const char* words[] = {"day", "caf\\'e9", "\\u8364?", "\\{", "a\\~b", "\\tab", "x\xe9y"};
    std::uniform_int_distribution<int> pick(0, std::size(words) - 1);
    for (int day = 0; day < 20; ++day) {
        QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0 ";
        for (int w = 0; w < 300; ++w) {
            rtf += words[pick(random)];
            rtf += w % 50 == 49 ? "\\par\r\n" : " ";
        }
        rtf += "}";
        QTextDocument doc;
        readRtf(rtf, doc);
        EXPECT_EQ(doc.toPlainText().toStdU16String(), plainTextOfRtf(rtf).toStdU16String())
            << "day " << day;
    }
}

}  // namespace
