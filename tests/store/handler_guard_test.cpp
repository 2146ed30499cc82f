// The handler guard: whatever a handler throws is caught at its edge and
// handed to the presenter with the display the handler was entered with.
#include "store/handler_guard.h"
#include "store/errors.h"

#include "test_support.h"

#include <QObject>
#include <QTimer>

#include <new>
#include <stdexcept>
#include <vector>

using namespace quillmere;

namespace {

struct Shown {
    ErrorDisplay display;
    QString message;
    bool operator==(const Shown&) const = default;
};

// Records what the guard shows for the lifetime of the object.
class PresenterRecorder {
public:
    PresenterRecorder()
        : previous_(setErrorPresenter([this](ErrorDisplay display, const QString& message) {
              shown.push_back({display, message});
          })) {}
    ~PresenterRecorder() { setErrorPresenter(std::move(previous_)); }
    std::vector<Shown> shown;

private:
    ErrorPresenter previous_;
};

struct ThrowCase {
    const char* label;
    ErrorDisplay display;
    std::function<void()> handler;
    const char* message;
};

class GuardedHandlers : public ::testing::TestWithParam<ThrowCase> {};

}  // namespace

TEST_P(GuardedHandlers, WhatEscapesIsShownOnTheHandlersDisplay) {
    const ThrowCase& c = GetParam();
    PresenterRecorder recorder;
    EXPECT_FALSE(runGuarded(c.display, c.handler)) << c.label;
    ASSERT_EQ(1u, recorder.shown.size()) << c.label;
    EXPECT_EQ((Shown{c.display, QString::fromUtf8(c.message)}), recorder.shown[0]) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GuardedHandlers,
    ::testing::Values(
        ThrowCase{"nominal: the program's error on the default display", ErrorDisplay::kDefault,
                  [] { throw FileError(QStringLiteral("Cannot write \"/x\": Disk full")); },
                  "Cannot write \"/x\": Disk full"},
        ThrowCase{"nominal: the program's error in the error box", ErrorDisplay::kErrorBox,
                  [] { throw ZlibError(-3, QStringLiteral("data error")); }, "data error"},
        ThrowCase{"robustness: a standard exception", ErrorDisplay::kDefault,
                  [] { throw std::out_of_range("vector index"); }, "vector index"},
        ThrowCase{"robustness: memory exhausted", ErrorDisplay::kErrorBox,
                  [] { throw std::bad_alloc(); }, "std::bad_alloc"},
        ThrowCase{"robustness: not an exception class at all", ErrorDisplay::kDefault,
                  [] { throw 42; }, "Unknown error"}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(HandlerGuard, HandlerThatFinishesShowsNothing) {
    PresenterRecorder recorder;
    int runs = 0;
    EXPECT_TRUE(runGuarded([&runs] { ++runs; }));
    EXPECT_EQ(1, runs);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST(HandlerGuard, PresenterThatThrowsIsContained) {
    const ErrorPresenter previous =
        setErrorPresenter([](ErrorDisplay, const QString&) { throw std::runtime_error("no box"); });
    EXPECT_NO_THROW(runGuarded([] { throw Error(QStringLiteral("first")); }));
    setErrorPresenter(previous);
}

TEST(HandlerGuard, GuardedSlotsTakeTheSignalsArgumentsTheyNeed) {
    PresenterRecorder recorder;
    QObject sender;
    std::vector<QString> names;
    QObject::connect(&sender, &QObject::objectNameChanged, &sender,
                     guardSlot([&names](const QString& name) {
                         names.push_back(name);
                         if (name == QStringLiteral("bad")) {
                             throw Error(QStringLiteral("bad name"));
                         }
                     }));
    QObject::connect(
        &sender, &QObject::objectNameChanged, &sender,
        guardSlot([] { throw Error(QStringLiteral("no arguments")); }, ErrorDisplay::kErrorBox));
    sender.setObjectName(QStringLiteral("good"));
    sender.setObjectName(QStringLiteral("bad"));
    EXPECT_EQ((std::vector<QString>{QStringLiteral("good"), QStringLiteral("bad")}), names);
    EXPECT_EQ((std::vector<Shown>{{ErrorDisplay::kErrorBox, QStringLiteral("no arguments")},
                                  {ErrorDisplay::kDefault, QStringLiteral("bad name")},
                                  {ErrorDisplay::kErrorBox, QStringLiteral("no arguments")}}),
              recorder.shown);
}

namespace {

class Handlers : public QObject {
public:
    int calls = 0;
    void fail() {
        ++calls;
        throw Error(QStringLiteral("member failed"));
    }
    bool failWithResult(const QString&) {
        ++calls;
        throw std::length_error("too long");
    }
};

}  // namespace

TEST(HandlerGuard, GuardedMemberSlots) {
    PresenterRecorder recorder;
    Handlers handlers;
    QObject sender;
    QObject::connect(&sender, &QObject::objectNameChanged, &handlers,
                     guardSlot(&handlers, &Handlers::fail));
    QObject::connect(&sender, &QObject::objectNameChanged, &handlers,
                     guardSlot(&handlers, &Handlers::failWithResult, ErrorDisplay::kErrorBox));
    sender.setObjectName(QStringLiteral("x"));
    EXPECT_EQ(2, handlers.calls);
    EXPECT_EQ((std::vector<Shown>{{ErrorDisplay::kDefault, QStringLiteral("member failed")},
                                  {ErrorDisplay::kErrorBox, QStringLiteral("too long")}}),
              recorder.shown);
}
