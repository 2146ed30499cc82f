#include "editor/url_links.h"
#include "editor/rich_editor.h"

#include <QCoreApplication>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
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

// A long entry: every 97th paragraph holds an address.
QString longEntry(int paragraphs) {
    QStringList lines;
    for (int i = 0; i < paragraphs; ++i) {
        lines << (i % 97 == 0 ? QStringLiteral("line %1 see www.day%1.example now").arg(i)
                              : QStringLiteral("line %1 with nothing to link at all").arg(i));
    }
    return lines.join(QLatin1Char('\n'));
}

QList<QList<QTextLayout::FormatRange>> marksOf(const QTextDocument& document) {
    QList<QList<QTextLayout::FormatRange>> marks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        marks << block.layout()->formats();
    }
    return marks;
}

TEST(UrlHighlighterTest, ALongDocumentIsDrawnInSlicesAsAWholePassWouldDrawIt) {
    // A document tells its changes once it is laid out, as the editor's is.
    QTextDocument whole;
    whole.documentLayout();
    whole.setPlainText(longEntry(6000));
    auto* wholePass = new UrlHighlighter(&whole);
    wholePass->rehighlight();

    QTextDocument sliced;
    sliced.documentLayout();
    sliced.setPlainText(longEntry(6000));
    auto* highlighter = new UrlHighlighter(&sliced);
    // Nothing is drawn before the event loop runs; an edit ahead of the
    // slices is drawn at once.
    EXPECT_TRUE(highlighter->pending());
    QTextCursor(sliced.lastBlock()).insertText(QStringLiteral("http://typed.example "));
    EXPECT_EQ(1, sliced.lastBlock().layout()->formats().size());
    QTextCursor(whole.lastBlock()).insertText(QStringLiteral("http://typed.example "));
    sliced.setModified(false);

    // Drawing is no edit: nobody is told the text changed.
    int changes = 0;
    QObject::connect(&sliced, &QTextDocument::contentsChanged, [&changes] { ++changes; });
    for (int turn = 0; turn < 100000 && highlighter->pending(); ++turn) {
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(highlighter->pending());
    EXPECT_EQ(0, changes);
    EXPECT_TRUE(marksOf(whole) == marksOf(sliced));
    EXPECT_FALSE(sliced.isModified());
    EXPECT_EQ(1, sliced.availableUndoSteps());  // the typing only
}

TEST(UrlHighlighterTest, LaterMarksReplaceTheLinkWhereTheyOverlap) {
    QTextDocument document;
    document.setPlainText(QStringLiteral("go www.x.com now"));
    UrlHighlighter highlighter(&document);
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    highlighter.setExtraMarks(
        [&](const QTextBlock&, const QString&, QList<QTextLayout::FormatRange>& marks) {
            marks.append({5, 4, wavy});
        });
    highlighter.rehighlight();
    const QList<QTextLayout::FormatRange> drawn = document.firstBlock().layout()->formats();
    ASSERT_EQ(3, drawn.size());
    EXPECT_EQ((std::pair{3, 2}), (std::pair{drawn[0].start, drawn[0].length}));
    EXPECT_EQ((std::pair{5, 4}), (std::pair{drawn[1].start, drawn[1].length}));
    EXPECT_EQ(QTextCharFormat::SpellCheckUnderline, drawn[1].format.underlineStyle());
    EXPECT_EQ((std::pair{9, 3}), (std::pair{drawn[2].start, drawn[2].length}));
    EXPECT_TRUE(drawn[2].format.fontUnderline());

    highlighter.setDocument(nullptr);
    EXPECT_TRUE(document.firstBlock().layout()->formats().isEmpty());
}

}  // namespace
}  // namespace quillmere
