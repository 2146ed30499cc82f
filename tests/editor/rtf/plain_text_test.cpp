// The fast plain-text path against the document reader, and the entry load
// rule with its fallbacks.
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"
#include "test_support.h"

#include <QImage>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace quillmere::rtf;

namespace {

TEST(PlainTextOfRtf, EqualsTheReadDocumentsTextForEveryTestInput) {
    std::vector<rtftest::NamedRtf> all = rtftest::readerInputs();
    for (auto* more : {&rtftest::writerInputs, &rtftest::pictureInputs}) {
        auto extra = more();
        all.insert(all.end(), extra.begin(), extra.end());
    }
    ASSERT_GT(all.size(), 60u);
    for (const auto& input : all) {
        SCOPED_TRACE(input.name);
        QTextDocument doc;
        readRtf(input.rtf, doc);
        EXPECT_EQ(doc.toPlainText().toStdU16String(), plainTextOfRtf(input.rtf).toStdU16String());
    }
}

struct LoadCase {
    const char* name;
    QByteArray bytes;
    QString text;  // empty with `fails`
    bool fails;
};

class LoadEntryBytes : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadEntryBytes, FollowsTheLoadRule) {
    const LoadCase& row = GetParam();
    QTextDocument doc;
    if (row.fails) {
        EXPECT_THROW_MSG(loadEntryBytes(row.bytes, doc), RtfError, "Failed to Load Stream");
        return;
    }
    loadEntryBytes(row.bytes, doc);
    EXPECT_EQ(row.text.toStdU16String(), doc.toPlainText().toStdU16String());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LoadEntryBytes,
    ::testing::Values(LoadCase{"rtf", "{\\rtf1 Hello}", "Hello", false},
                      LoadCase{"plain text", "Dear diary\r\ncaf\xe9",
                               QString::fromUtf16(u"Dear diary\ncaf\u00e9"), false},
                      LoadCase{"plain text with bare cr and lf", "a\rb\nc", "a\nb\nc", false},
                      LoadCase{"empty bytes", "", "", false},
                      LoadCase{"too deep rtf read as text", "{\\rtf1" + QByteArray(3000, '{'),
                               "{\\rtf1" + QString(3000, u'{'), false},
                      LoadCase{"binary bytes", QByteArray("\x00\x01\x02", 3), "", true},
                      LoadCase{"damaged rtf with nul",
                               QByteArray("{\\rtf1" + QByteArray(3000, '{') + QByteArray(1, '\0')),
                               "", true}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

TEST(ReadPlainText, ReportsNulBytes) {
    QTextDocument doc;
    EXPECT_THROW_MSG(readPlainText(QByteArray("ab\0c", 4), doc), RtfError,
                     "The data is not text: it holds NUL bytes.");
    // Also when the NUL is a UTF-16 character.
    EXPECT_THROW_MSG(readPlainText(QByteArray("\xFF\xFE"
                                              "a\0\0\0",
                                              6),
                                   doc),
                     RtfError, "The data is not text: it holds NUL bytes.");
}

struct EncodingCase {
    const char* name;
    QByteArray bytes;
    const char16_t* text;
};

class DecodePlainText : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(DecodePlainText, TellsUtf8FromWindowsText) {
    const EncodingCase& row = GetParam();
    EXPECT_EQ(QString::fromUtf16(row.text).toStdU16String(),
              decodePlainText(row.bytes).toStdU16String());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Encodings, DecodePlainText,
    ::testing::Values(
        EncodingCase{"nominal_ascii", "plain words", u"plain words"},
        EncodingCase{"nominal_utf8_cyrillic_japanese_emoji",
                     "\xD0\x9F\xD1\x80\xD0\xB8 \xE6\x97\xA5\xE8\xA8\x98 \xF0\x9F\x98\x80",
                     u"\u041F\u0440\u0438 \u65E5\u8A18 \U0001F600"},
        EncodingCase{"nominal_utf8_with_mark", "\xEF\xBB\xBF" "caf\xC3\xA9", u"caf\u00E9"},
        EncodingCase{"nominal_windows_1252", "caf\xE9 \x80 \x93q\x94", u"caf\u00E9 \u20AC \u201Cq\u201D"},
        EncodingCase{"nominal_utf16le_with_mark", QByteArray("\xFF\xFE" "a\0\x16\x04", 6), u"a\u0416"},
        EncodingCase{"nominal_utf16be_with_mark", QByteArray("\xFE\xFF\0a\x04\x16", 6), u"a\u0416"},
        EncodingCase{"robustness_cut_utf8_sequence_is_1252", "ab\xC3", u"ab\u00C3"},
        EncodingCase{"robustness_overlong_slash_is_1252", "\xC0\xAF", u"\u00C0\u00AF"},
        EncodingCase{"robustness_encoded_surrogate_is_1252", "\xED\xA0\x80",
                     u"\u00ED\u00A0\u20AC"},
        EncodingCase{"robustness_above_u10ffff_is_1252", "\xF4\x90\x80\x80",
                     u"\u00F4\uFFFD\u20AC\u20AC"},  // 0x90 is not in the page
        EncodingCase{"robustness_mark_then_1252", "\xEF\xBB\xBF" "caf\xE9", u"caf\u00E9"},
        EncodingCase{"robustness_empty", "", u""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ReadPlainText, EndsParagraphsAtEveryLineEnd) {
    QTextDocument doc;
    readPlainText("one\r\ntwo\rthree\nfour\n", doc);
    EXPECT_EQ(5, doc.blockCount());
    EXPECT_EQ("one\ntwo\nthree\nfour\n", doc.toPlainText().toStdString());
}

TEST(WritePlainText, RoundTripsEveryScriptAsUtf8) {
    const QString text = QString::fromUtf16(
        u"\u041F\u0440\u0438\u0432\u0435\u0442\n"
        u"\u65E5\u8A18 \U0001F600\n\ncaf\u00E9 \u20AC\n");
    QTextDocument doc;
    doc.setPlainText(text);
    const QByteArray bytes = writePlainText(doc);
    EXPECT_EQ(text.toUtf8(), bytes) << "UTF-8, LF line ends, no byte-order mark";
    QTextDocument back;
    readPlainText(bytes, back);
    EXPECT_EQ(text.toStdU16String(), back.toPlainText().toStdU16String());
}

TEST(WritePlainText, DropsPicturesAndWritesBreaksAsLineEnds) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("a\u00A0b"));
    insertPicture(cursor, QImage(4, 4, QImage::Format_RGB32));
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("c"));
    EXPECT_EQ(QByteArray("a b\nc"), writePlainText(doc));
}

}  // namespace
