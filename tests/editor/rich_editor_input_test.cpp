// Mouse and keyboard on the editor: link clicks, the hand cursor over links,
// the tab key.
#include "editor/rich_editor.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <ostream>

namespace quillmere {
namespace {

const QString kText = QStringLiteral("go http://a.example/x and www.b.example end");
const QString kFirstLink = QStringLiteral("http://a.example/x");
const QString kSecondLink = QStringLiteral("www.b.example");

class EditorInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor_.resize(600, 200);
        editor_.replaceSelection(kText);
        editor_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor_));
    }

    // The middle of the character at `position`, in viewport coordinates.
    QPoint pointOf(int position) const {
        QTextCursor before(editor_.document());
        before.setPosition(position);
        QTextCursor after(editor_.document());
        after.setPosition(position + 1);
        const QRect left = editor_.cursorRect(before);
        const QRect right = editor_.cursorRect(after);
        return QPoint((left.left() + right.left()) / 2, left.center().y());
    }
    QPoint pointOf(const QString& word, int offset = 1) const {
        return pointOf(int(kText.indexOf(word)) + offset);
    }

    void click(Qt::MouseButton button, QPoint press, QPoint release) {
        QTest::mousePress(editor_.viewport(), button, Qt::NoModifier, press);
        QTest::mouseRelease(editor_.viewport(), button, Qt::NoModifier, release);
    }

    RichEditor editor_;
};

struct ClickCase {
    const char* label;
    Qt::MouseButton button;
    const char* pressOn;    // text whose second character is pressed
    const char* releaseOn;  // text whose second character is released on
    QString reported;       // empty: no report
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.label;
}

class LinkClickTest : public EditorInputTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(LinkClickTest, ReportsOnlyPressAndReleaseOnTheSameLink) {
    const ClickCase& c = GetParam();
    QSignalSpy clicked(&editor_, &RichEditor::urlClicked);
    click(c.button, pointOf(c.pressOn), pointOf(c.releaseOn));
    if (c.reported.isEmpty()) {
        EXPECT_EQ(0, clicked.count()) << c.label;
    } else {
        ASSERT_EQ(1, clicked.count()) << c.label;
        EXPECT_EQ(c.reported, clicked.at(0).at(0).toString()) << c.label;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, LinkClickTest,
    ::testing::Values(
        ClickCase{"nominal: left click", Qt::LeftButton, "http", "http", kFirstLink},
        ClickCase{"nominal: right click", Qt::RightButton, "http", "http", kFirstLink},
        ClickCase{"nominal: press and release at both ends of a link", Qt::LeftButton, "http",
                  "example/x", kFirstLink},
        ClickCase{"nominal: www link", Qt::LeftButton, "www", "www", kSecondLink},
        ClickCase{"robustness: released on plain text", Qt::LeftButton, "http", "and", ""},
        ClickCase{"robustness: pressed on plain text", Qt::LeftButton, "and", "http", ""},
        ClickCase{"robustness: from one link to another", Qt::LeftButton, "http", "www", ""},
        ClickCase{"robustness: middle button", Qt::MiddleButton, "http", "http", ""},
        ClickCase{"robustness: plain text only", Qt::LeftButton, "go", "go", ""}));

TEST_F(EditorInputTest, ClickOnLinkChangesNoText) {
    editor_.setModified(false);
    click(Qt::LeftButton, pointOf("www"), pointOf("www"));
    EXPECT_EQ(kText, editor_.toPlainText());
    EXPECT_FALSE(editor_.isModified());
}

TEST_F(EditorInputTest, ReportsEveryMousePress) {
    QSignalSpy pressed(&editor_, &RichEditor::mousePressed);
    click(Qt::RightButton, pointOf("and"), pointOf("and"));
    click(Qt::LeftButton, pointOf("go"), pointOf("go"));
    ASSERT_EQ(2, pressed.count());
    EXPECT_EQ(Qt::RightButton, pressed.at(0).at(0).value<Qt::MouseButton>());
    EXPECT_EQ(Qt::LeftButton, pressed.at(1).at(0).value<Qt::MouseButton>());
}

TEST_F(EditorInputTest, RightClickOnALinkOpensItInsteadOfTheMenu) {
    QSignalSpy pressed(&editor_, &RichEditor::mousePressed);
    QSignalSpy clicked(&editor_, &RichEditor::urlClicked);
    click(Qt::RightButton, pointOf("http"), pointOf("http"));
    EXPECT_EQ(0, pressed.count());
    ASSERT_EQ(1, clicked.count());
    EXPECT_EQ(kFirstLink, clicked.at(0).at(0).toString());
    // Elsewhere the right button still asks for the menu.
    click(Qt::RightButton, pointOf("and"), pointOf("and"));
    ASSERT_EQ(1, pressed.count());
    EXPECT_EQ(Qt::RightButton, pressed.at(0).at(0).value<Qt::MouseButton>());
    EXPECT_EQ(1, clicked.count());
}

TEST_F(EditorInputTest, HandCursorOverLinksOnly) {
    QTest::mouseMove(editor_.viewport(), pointOf("http"));
    EXPECT_EQ(Qt::PointingHandCursor, editor_.viewport()->cursor().shape());
    QTest::mouseMove(editor_.viewport(), pointOf("and"));
    EXPECT_EQ(Qt::IBeamCursor, editor_.viewport()->cursor().shape());
    QTest::mouseMove(editor_.viewport(), pointOf("www"));
    EXPECT_EQ(Qt::PointingHandCursor, editor_.viewport()->cursor().shape());
}

TEST_F(EditorInputTest, TabKeyTypesATab) {
    editor_.setFocus();
    editor_.moveCaretToStart();
    QTest::keyClick(&editor_, Qt::Key_Tab);
    EXPECT_EQ("\t" + kText, editor_.toPlainText());
    EXPECT_TRUE(editor_.isModified());
}

}  // namespace
}  // namespace quillmere
