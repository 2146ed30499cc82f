// The fast plain-text path against the document reader, and the entry load
// rule with its fallbacks.
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"
#include "test_support.h"

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
}

}  // namespace
