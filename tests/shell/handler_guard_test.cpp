// Handlers that throw: the error is shown as the design says and never
// travels through Qt's event code (the application's last-resort catch logs
// every exception that does, and that log must stay empty).
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "shell/main_window.h"
#include "store/errors.h"
#include "store/handler_guard.h"

#include <QMenu>
#include <QTest>

#include <new>

namespace quillmere {
namespace {

// Collects what the application logs as critical while it lives.
class CriticalLog {
public:
    CriticalLog() { previous_ = qInstallMessageHandler(&CriticalLog::record); }
    ~CriticalLog() { qInstallMessageHandler(previous_); }
    static std::vector<QString>& lines() {
        static std::vector<QString> instance;
        return instance;
    }

private:
    static void record(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg) {
            lines().push_back(message);
        }
    }
    QtMessageHandler previous_ = nullptr;
};

class HandlerGuardTest : public ShellTest {
protected:
    HandlerGuardTest() { CriticalLog::lines().clear(); }
    CriticalLog log_;
};

TEST_F(HandlerGuardTest, ThrowingDayButtonShowsItsMessageOnTheDefaultDisplay) {
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    createProgram(QDate(2024, 3, 20));
    ASSERT_TRUE(startProgram());
    messages_.calls.clear();
    // Storing the typed text needs the journal, which could not be read.
    typeIntoEditor(QStringLiteral("text"));
    click(main().btnNext);
    click(main().btnToday);
    ASSERT_EQ(2u, messages_.calls.size());
    for (const MessageRequest& call : messages_.calls) {
        EXPECT_EQ(MessageKind::Unhandled, call.kind);
        EXPECT_EQ(QStringLiteral("tblJournal: Cannot perform this operation on a closed dataset."),
                  call.text);
    }
    EXPECT_TRUE(CriticalLog::lines().empty()) << CriticalLog::lines().front().toStdString();
}

TEST_F(HandlerGuardTest, ThrowingDrawnButtonStaysUsable) {
    TRbButton button(nullptr, QStringLiteral("Fail"));
    button.show();
    int clicks = 0;
    QObject::connect(&button, &TRbButton::OnClick, &button, guardSlot([&clicks] {
        if (++clicks == 1) {
            throw std::bad_alloc();
        }
        throw Error(QStringLiteral("Disk full!"));
    }));
    click(&button);
    click(&button);
    EXPECT_EQ(2, clicks);
    ASSERT_EQ(2u, messages_.calls.size());
    EXPECT_EQ(QStringLiteral("std::bad_alloc."), messages_.calls[0].text);
    EXPECT_EQ(QStringLiteral("Disk full!"), messages_.calls[1].text) << "no stop after '!'";
    EXPECT_EQ(QStringLiteral("Quillmere"), messages_.calls[1].title);
    EXPECT_TRUE(CriticalLog::lines().empty());
}

struct MenuCase {
    const char* label;
    ErrorDisplay display;
    MessageKind kind;
    const char* title;
    const char* text;
};

class ThrowingMenuAction : public HandlerGuardTest,
                           public ::testing::WithParamInterface<MenuCase> {};

TEST_P(ThrowingMenuAction, ChosenFromTheMenuShowsItsMessage) {
    const MenuCase& c = GetParam();
    QMenu menu;
    QAction* action = menu.addAction(QStringLiteral("&Paste"));
    int runs = 0;
    QObject::connect(
        action, &QAction::triggered, &menu,
        guardSlot(
            [&runs] {
                ++runs;
                throw Error(QStringLiteral("Cannot open \"/tmp/x.rtf\": No such file"));
            },
            c.display));
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    menu.setActiveAction(action);
    QTest::keyClick(&menu, Qt::Key_Return);
    EXPECT_EQ(1, runs) << c.label;
    ASSERT_EQ(1u, messages_.calls.size()) << c.label;
    EXPECT_EQ(c.kind, messages_.calls[0].kind);
    EXPECT_EQ(QString::fromUtf8(c.title), messages_.calls[0].title);
    EXPECT_EQ(QString::fromUtf8(c.text), messages_.calls[0].text);
    EXPECT_TRUE(CriticalLog::lines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Displays, ThrowingMenuAction,
    ::testing::Values(MenuCase{"nominal: the default error display", ErrorDisplay::kDefault,
                               MessageKind::Unhandled, "Quillmere",
                               "Cannot open \"/tmp/x.rtf\": No such file."},
                      MenuCase{"nominal: the error box", ErrorDisplay::kErrorBox,
                               MessageKind::Error, "Error",
                               "Cannot open \"/tmp/x.rtf\": No such file"}),
    [](const auto& info) { return std::to_string(info.index); });

// The last resort: an event override that lets an exception out is still
// shown, and logged as the fault it is.
class UnguardedObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            throw Error(QStringLiteral("escaped"));
        }
        return QObject::event(e);
    }
};

TEST_F(HandlerGuardTest, LastResortShowsAndLogs) {
    UnguardedObject object;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    ASSERT_EQ(1u, messages_.calls.size());
    EXPECT_EQ(QStringLiteral("escaped."), messages_.calls[0].text);
    ASSERT_EQ(1u, CriticalLog::lines().size());
    EXPECT_EQ(QStringLiteral("an exception escaped an unguarded handler through Qt: escaped"),
              CriticalLog::lines()[0]);
}

}  // namespace
}  // namespace quillmere
