#include "shell/message_boxes.h"

#include "message_recorder.h"
#include "shell/application.h"
#include "store/errors.h"
#include "store/handler_guard.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

// --- Boxes with buttons of their own ---------------------------------------------

struct ClearOfCase {
    const char* label;
    QRect avoid;
    QSize size;
    QPoint expected;
};

void PrintTo(const ClearOfCase& c, std::ostream* os) {
    *os << c.label;
}

class PositionClearOfTest : public ::testing::TestWithParam<ClearOfCase> {};

TEST_P(PositionClearOfTest, PlacesTheBoxBesideTheWindowAndOnTheScreen) {
    const ClearOfCase& c = GetParam();
    const QRect screen(0, 0, 1280, 1024);
    const QPoint at = PositionClearOf(c.avoid, c.size, screen);
    EXPECT_EQ(c.expected, at) << c.label;
    const QRect box(at, c.size);
    EXPECT_TRUE(screen.contains(box)) << c.label;
    if (QString::fromLatin1(c.label).startsWith(QLatin1String("nominal"))) {
        EXPECT_FALSE(box.intersects(c.avoid)) << c.label;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, PositionClearOfTest,
    ::testing::Values(
        // A 400 x 200 progress window in the middle: the box goes 8 pixels
        // below it, centred under it.
        ClearOfCase{"nominal: below", QRect(440, 412, 400, 200), QSize(300, 120), QPoint(489, 620)},
        ClearOfCase{"nominal: above when the bottom is too near", QRect(440, 850, 400, 150),
                    QSize(300, 120), QPoint(489, 722)},
        ClearOfCase{"nominal: right when the window fills the height", QRect(100, 0, 400, 1024),
                    QSize(300, 120), QPoint(508, 451)},
        ClearOfCase{"nominal: left when there is no room to the right", QRect(900, 0, 380, 1024),
                    QSize(300, 120), QPoint(592, 451)},
        ClearOfCase{"nominal: kept on the screen at the left edge", QRect(0, 100, 100, 100),
                    QSize(300, 120), QPoint(0, 208)},
        ClearOfCase{"robustness: no room anywhere: below, kept on the screen",
                    QRect(0, 0, 1280, 1024), QSize(300, 120), QPoint(489, 904)}),
    [](const ::testing::TestParamInfo<ClearOfCase>& info) { return std::to_string(info.index); });

TEST(MessageBoxes, ChoiceBoxHookGetsTheQuestionAndTheButtons) {
    MessageRequest seen{MessageKind::Error, {}, {}};
    QStringList buttons;
    ScopedChoiceHook hook([&](const MessageRequest& request, const QStringList& captions) {
        seen = request;
        buttons = captions;
        return 3;
    });
    EXPECT_EQ(3, ShowChoiceBox(nullptr, QStringLiteral("Overwrite?"),
                               {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("All"),
                                QStringLiteral("None"), QStringLiteral("Cancel")}));
    EXPECT_EQ(MessageKind::Confirmation, seen.kind);
    EXPECT_EQ(QStringLiteral("Confirm"), seen.title);
    EXPECT_EQ(QStringLiteral("Overwrite?"), seen.text);
    EXPECT_EQ(5, buttons.size());
}

TEST(MessageBoxes, ChoiceBoxFallsBackToTheYesNoHook) {
    for (const bool yes : {true, false}) {
        QStringList texts;
        ScopedMessageHook hook([&](const MessageRequest& request) {
            texts << request.text;
            return yes;
        });
        EXPECT_EQ(yes ? 0 : 1, ShowChoiceBox(nullptr, QStringLiteral("Overwrite?"),
                                             {QStringLiteral("Yes"), QStringLiteral("No"),
                                              QStringLiteral("Cancel")}));
        EXPECT_EQ(QStringList{QStringLiteral("Overwrite?")}, texts);
    }
}

// The real box: its buttons in order, placed clear of the window it must not
// cover; a click answers with the button's index and Escape with the last.
TEST(MessageBoxes, RealChoiceBoxStaysClearOfTheWindowAndReportsTheButton) {
    QWidget progress;
    progress.setWindowTitle(QStringLiteral("Exporting"));
    progress.setGeometry(400, 350, 400, 200);
    progress.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
    const QStringList captions = {QStringLiteral("Yes"), QStringLiteral("No"),
                                  QStringLiteral("Yes to All"), QStringLiteral("No to All"),
                                  QStringLiteral("Cancel")};
    for (const auto& row :
         {std::pair<QString, int>{"No to All", 3}, std::pair<QString, int>{"<Escape>", 4}}) {
        const QString press = row.first;
        const int expected = row.second;
        QRect boxRect;
        QStringList shownCaptions;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(nullptr, box);
            boxRect = box->frameGeometry();
            for (QAbstractButton* button : box->buttons()) {
                shownCaptions << button->text();
            }
            if (press == QLatin1String("<Escape>")) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == press) {
                    button->click();
                }
            }
        });
        EXPECT_EQ(expected, ShowChoiceBox(nullptr, QStringLiteral("Overwrite existing file x?"),
                                          captions, &progress));
        shownCaptions.sort();
        QStringList sorted = captions;
        sorted.sort();
        EXPECT_EQ(sorted, shownCaptions);
        EXPECT_FALSE(boxRect.intersects(progress.frameGeometry())) << press.toStdString();
    }
}

// The export's error box after a failed entry: an error box with its own
// buttons, kept clear of the progress window (which stays on top and would
// hide it); Escape and its close answer with the last button.
TEST(MessageBoxes, RealErrorChoiceBoxIsAnErrorBoxClearOfTheWindow) {
    QWidget progress;
    progress.setGeometry(400, 350, 300, 200);
    progress.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
    QRect boxRect;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, box);
        boxRect = box->frameGeometry();
        title = box->windowTitle();
        icon = box->icon();
        box->close();
    });
    EXPECT_EQ(2, ShowErrorChoiceBox(nullptr, QStringLiteral("15 June 2010: data error"),
                                    {QStringLiteral("Continue"), QStringLiteral("Go"),
                                     QStringLiteral("Stop Export")},
                                    &progress));
    EXPECT_EQ(QStringLiteral("Error"), title);
    EXPECT_EQ(QMessageBox::Critical, icon);
    EXPECT_FALSE(boxRect.intersects(progress.frameGeometry()));
}

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
    QObject::connect(&button, &QPushButton::clicked, &button, guardSlot([&clicks] {
        ++clicks;
        throw Error(QStringLiteral("data error"));
    }));
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(2, clicks);
    ASSERT_EQ(2u, recorder.calls.size());
    EXPECT_EQ(QStringLiteral("data error."), recorder.calls[1].text);
}

}  // namespace
}  // namespace quillmere
