#include "shell/message_boxes.h"

#include "message_recorder.h"
#include "shell/application.h"
#include "store/errors.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace quillmere {
namespace {

struct FullStopCase {
    const char* label;
    const char* message;
    const char* shown;
};

class UnhandledErrorTextTest : public ::testing::TestWithParam<FullStopCase> {};

TEST_P(UnhandledErrorTextTest, AddsFullStopOnlyAfterCharactersSortingAboveIt) {
    const FullStopCase& c = GetParam();
    EXPECT_EQ(QString::fromUtf8(c.shown), UnhandledErrorText(QString::fromUtf8(c.message)))
        << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, UnhandledErrorTextTest,
    ::testing::Values(
        FullStopCase{"nominal: letter gets a stop", "data error", "data error."},
        FullStopCase{"nominal: existing stop kept", "Invalid Password.", "Invalid Password."},
        FullStopCase{"robustness: empty stays empty", "", ""},
        FullStopCase{"nominal: '!' sorts below '.'", "Stop!", "Stop!"},
        FullStopCase{"nominal: ',' sorts below '.'", "a,", "a,"},
        FullStopCase{"nominal: '-' sorts below '.'", "a-", "a-"},
        FullStopCase{"nominal: blank sorts below '.'", "a ", "a "},
        FullStopCase{"nominal: '/' sorts above '.'", "C:/", "C:/."},
        FullStopCase{"nominal: digit sorts above '.'", "code 7", "code 7."},
        FullStopCase{"nominal: ')' sorts below '.'", "(x)", "(x)"},
        FullStopCase{"nominal: non-ASCII sorts above", "caf\xc3\xa9", "caf\xc3\xa9."}));

TEST(MessageBoxes, ThreeBoxesCarryTheirTitlesAndKinds) {
    MessageRecorder recorder;
    ShowErrorBox(nullptr, QStringLiteral("disk full"));
    ShowInformationBox(nullptr, QStringLiteral("Invalid Password."));
    ShowConfirmBox(nullptr, QStringLiteral("Really?"));
    ASSERT_EQ(3u, recorder.calls.size());
    EXPECT_EQ(MessageKind::Error, recorder.calls[0].kind);
    EXPECT_EQ(QStringLiteral("Error"), recorder.calls[0].title);
    EXPECT_EQ(QStringLiteral("disk full"), recorder.calls[0].text);
    EXPECT_EQ(MessageKind::Information, recorder.calls[1].kind);
    EXPECT_EQ(QStringLiteral("Information"), recorder.calls[1].title);
    EXPECT_EQ(MessageKind::Confirmation, recorder.calls[2].kind);
    EXPECT_EQ(QStringLiteral("Confirm"), recorder.calls[2].title);
}

TEST(MessageBoxes, ConfirmationReturnsTheScriptedAnswer) {
    MessageRecorder recorder;
    recorder.answers = {true, false};
    EXPECT_TRUE(ShowConfirmBox(nullptr, QStringLiteral("one")));
    EXPECT_FALSE(ShowConfirmBox(nullptr, QStringLiteral("two")));
}

TEST(MessageBoxes, NestedHooksRestoreTheOuterOne) {
    MessageRecorder outer;
    {
        MessageRecorder inner;
        ShowErrorBox(nullptr, QStringLiteral("inner"));
        EXPECT_EQ(1u, inner.calls.size());
    }
    ShowErrorBox(nullptr, QStringLiteral("outer"));
    ASSERT_EQ(1u, outer.calls.size());
    EXPECT_EQ(QStringLiteral("outer"), outer.calls[0].text);
}

// An object whose event handler fails, as a window handler would.
class FailingObject : public QObject {
public:
    bool standard = false;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            if (standard) {
                throw std::runtime_error("out of range");
            }
            throw Error(
                QStringLiteral("tblJournal: Cannot perform this operation on a closed dataset"));
        }
        return QObject::event(e);
    }
};

TEST(DefaultErrorDisplay, ErrorEscapingAHandlerIsShownWithTheApplicationTitle) {
    MessageRecorder recorder;
    FailingObject object;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    ASSERT_EQ(1u, recorder.calls.size());
    EXPECT_EQ(MessageKind::Unhandled, recorder.calls[0].kind);
    EXPECT_EQ(QStringLiteral("Quillmere"), recorder.calls[0].title);
    EXPECT_EQ(QStringLiteral("tblJournal: Cannot perform this operation on a closed dataset."),
              recorder.calls[0].text);
}

TEST(DefaultErrorDisplay, StandardExceptionIsShownToo) {
    MessageRecorder recorder;
    FailingObject object;
    object.standard = true;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    ASSERT_EQ(1u, recorder.calls.size());
    EXPECT_EQ(QStringLiteral("out of range."), recorder.calls[0].text);
}

TEST(DefaultErrorDisplay, ButtonHandlerErrorIsShownAndTheButtonStaysUsable) {
    MessageRecorder recorder;
    QPushButton button(QStringLiteral("Next"));
    button.resize(75, 25);
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, &button, [&clicks] {
        ++clicks;
        throw Error(QStringLiteral("data error"));
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(2, clicks);
    ASSERT_EQ(2u, recorder.calls.size());
    EXPECT_EQ(QStringLiteral("data error."), recorder.calls[1].text);
}

}  // namespace
}  // namespace quillmere
