#include "editor/url_links.h"
#include "editor/rich_editor.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <ostream>

namespace quillmere {
namespace {

struct DetectCase {
    const char* label;
    QString text;
    QStringList links;
};

void PrintTo(const DetectCase& c, std::ostream* os) {
    *os << c.label;
}

QStringList linksOf(const QString& text) {
    QStringList links;
    for (const UrlSpan& span : detectUrls(text)) {
        links << text.mid(span.start, span.length);
    }
    return links;
}

class DetectUrlsTest : public ::testing::TestWithParam<DetectCase> {};

TEST_P(DetectUrlsTest, FindsExactlyTheAddresses) {
    const DetectCase& c = GetParam();
    EXPECT_EQ(c.links, linksOf(c.text)) << c.label;
}

const QString kObject(QChar(0xFFFC));
const QString kNoBreakSpace(QChar(0x00A0));

INSTANTIATE_TEST_SUITE_P(
    Schemes, DetectUrlsTest,
    ::testing::Values(
        DetectCase{"nominal: http", "http://a.example/x", {"http://a.example/x"}},
        DetectCase{"nominal: https inside a sentence",
                   "see https://x.org/p?q=1 now",
                   {"https://x.org/p?q=1"}},
        DetectCase{"nominal: ftp", "ftp://host/file.zip", {"ftp://host/file.zip"}},
        DetectCase{"nominal: mailto", "write mailto:me@x.org", {"mailto:me@x.org"}},
        DetectCase{"nominal: www", "www.example.com", {"www.example.com"}},
        DetectCase{"nominal: file link with % for blanks",
                   R"(file:C:\My%Notes\day%one.txt)",
                   {R"(file:C:\My%Notes\day%one.txt)"}},
        DetectCase{"nominal: letter case of the prefix",
                   "HTTP://UP.CASE Www.Mixed FILE:x",
                   {"HTTP://UP.CASE", "Www.Mixed", "FILE:x"}},
        DetectCase{"nominal: two addresses", "a http://b www.c d", {"http://b", "www.c"}},
        DetectCase{"nominal: after punctuation", "(http://a)", {"http://a)"}},
        DetectCase{"robustness: other schemes are no links", "gopher://x news:y telnet://z", {}},
        DetectCase{"robustness: prefix alone", "http: www. file: mailto:", {}},
        DetectCase{
            "nominal: straight after a letter or digit", "xhttp://a 1www.b", {"http://a", "www.b"}},
        DetectCase{"nominal: a link put right after a word",
                   R"(seefile:/home/me/a%b.txt)",
                   {R"(file:/home/me/a%b.txt)"}},
        DetectCase{"nominal: in a script written without blanks",
                   QString::fromUtf16(u"日記https://x.jp/日"),
                   {QString::fromUtf16(u"https://x.jp/日")}}));

INSTANTIATE_TEST_SUITE_P(
    Endings, DetectUrlsTest,
    ::testing::Values(
        DetectCase{"nominal: ends at a blank", R"(file:C:\My Notes\x.txt)", {R"(file:C:\My)"}},
        DetectCase{"nominal: ends at a tab", "a\thttp://b\tc", {"http://b"}},
        DetectCase{"nominal: ends at a line break",
                   QString("http://b") + QChar(0x2028) + "c",
                   {"http://b"}},
        DetectCase{
            "nominal: ends at a no-break space", "http://b" + kNoBreakSpace + "c", {"http://b"}},
        DetectCase{"nominal: ends at a picture", "http://b" + kObject + "c", {"http://b"}},
        DetectCase{"nominal: runs to the end of the text", "x www.end", {"www.end"}},
        DetectCase{"nominal: keeps trailing punctuation", "see www.x.com.", {"www.x.com."}}));

TEST(UrlHighlighterTest, DrawsLinksWithoutTouchingTheStoredFormats) {
    RichEditor editor;
    editor.replaceSelection("go www.x.com now");
    editor.setModified(false);
    const QByteArray withLinks = editor.saveRtf();

    const QTextBlock block = editor.document()->firstBlock();
    const QList<QTextLayout::FormatRange> drawn = block.layout()->formats();
    ASSERT_EQ(1, drawn.size());
    EXPECT_EQ(3, drawn[0].start);
    EXPECT_EQ(9, drawn[0].length);
    EXPECT_TRUE(drawn[0].format.fontUnderline());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        EXPECT_FALSE(it.fragment().charFormat().fontUnderline());
        EXPECT_FALSE(it.fragment().charFormat().isAnchor());
    }
    EXPECT_FALSE(editor.isModified());

    editor.setUrlDetection(false);
    EXPECT_TRUE(block.layout()->formats().isEmpty());
    EXPECT_EQ(withLinks, editor.saveRtf());
    EXPECT_FALSE(editor.isModified());
}

TEST(UrlHighlighterTest, DrawingLinksAfterALoadLeavesTheEntryUnmodified) {
    RichEditor editor;
    editor.loadContent("loaded file:C:\\a%b.txt and www.x.example");
    QCoreApplication::processEvents();  // the highlighter works late
    EXPECT_FALSE(editor.isModified());
    EXPECT_FALSE(editor.canUndo());
    EXPECT_TRUE(editor.linkAt(7).has_value());
    EXPECT_FALSE(editor.document()->firstBlock().layout()->formats().isEmpty());
}

TEST(UrlHighlighterTest, LinkAtCoversExactlyTheAddress) {
    RichEditor editor;
    editor.replaceSelection("first\ngo http://a.b now");
    const int start = int(QString("first\ngo ").size());
    EXPECT_FALSE(editor.linkAt(start - 1).has_value());
    ASSERT_TRUE(editor.linkAt(start).has_value());
    EXPECT_EQ((TextRange{start, 10}), *editor.linkAt(start + 9));
    EXPECT_FALSE(editor.linkAt(start + 10).has_value());
    editor.setSelection(start + 2, 0);
    EXPECT_TRUE(editor.isSelectionLink());
}

}  // namespace
}  // namespace quillmere
