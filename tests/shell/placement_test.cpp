#include "shell/placement.h"

#include <QMap>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

const QString kSection = QStringLiteral("TfrmMain");
const QSize kScreen(1280, 1024);

class MapProfile : public ProfileAccess {
public:
    bool hasKey(const QString& section, const QString& key) const override {
        return values.contains(section + QLatin1Char('/') + key);
    }
    QString readString(const QString& section, const QString& key,
                       const QString& fallback) const override {
        return values.value(section + QLatin1Char('/') + key, fallback);
    }
    void writeString(const QString& section, const QString& key, const QString& value) override {
        values[section + QLatin1Char('/') + key] = value;
        order.push_back(key);
    }
    void set(const char* key, const char* value) {
        values[kSection + QLatin1Char('/') + QString::fromLatin1(key)] = QString::fromLatin1(value);
    }
    QString get(const char* key) const {
        return values.value(kSection + QLatin1Char('/') + QString::fromLatin1(key));
    }
    QMap<QString, QString> values;
    QStringList order;
};

TEST(Placement, WritesEveryKeyInItsFormat) {
    MapProfile profile;
    PlacementRecord record;
    record.normal = QRect(QPoint(100, 0), QSize(1024, 565));
    WritePlacement(profile, kSection, record, kScreen, 96, false);
    EXPECT_EQ(QStringLiteral("0"), profile.get("FormVersion"));
    EXPECT_EQ(QStringLiteral("0"), profile.get("Flags"));
    EXPECT_EQ(QStringLiteral("1"), profile.get("ShowCmd"));
    EXPECT_EQ(QStringLiteral("96"), profile.get("PixelsPerInch"));
    EXPECT_EQ(QStringLiteral("-1,-1,-1,-1"), profile.get("MinMaxPos"));
    EXPECT_EQ(QStringLiteral("-1,-1,-1,-1"), profile.get("MinMaxPos(1280x1024)"));
    EXPECT_EQ(QStringLiteral("100,0,1124,565"), profile.get("NormPos"));
    EXPECT_EQ(QStringLiteral("100,0,1124,565"), profile.get("NormPos(1280x1024)"));
    EXPECT_EQ(QStringLiteral("0"), profile.get("Visible"));
    WritePlacement(profile, kSection, record, kScreen, 96, true);
    EXPECT_EQ(QStringLiteral("1"), profile.get("Visible"));
}

TEST(Placement, RoundTripsARecord) {
    MapProfile profile;
    PlacementRecord record;
    record.flags = 2;
    record.showCmd = 3;
    record.minPosition = QPoint(-32000, -32000);
    record.maxPosition = QPoint(-4, -4);
    record.normal = QRect(QPoint(-10, 20), QSize(800, 600));
    WritePlacement(profile, kSection, record, kScreen, 96, false);
    const auto read = ReadPlacement(profile, kSection, kScreen, 96, QRect(0, 0, 5, 5));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(2, read->flags);
    EXPECT_EQ(3, read->showCmd);
    EXPECT_EQ(QPoint(-32000, -32000), read->minPosition);
    EXPECT_EQ(QPoint(-4, -4), read->maxPosition);
    EXPECT_EQ(QRect(QPoint(-10, 20), QSize(800, 600)), read->normal);
}

TEST(Placement, NothingStoredMeansNothingRestored) {
    MapProfile profile;
    profile.set("ShowCmd", "3");
    EXPECT_FALSE(ReadPlacement(profile, kSection, kScreen, 96, QRect()).has_value());
}

TEST(Placement, DifferentPixelsPerInchIsNotRestored) {
    MapProfile profile;
    profile.set("NormPos", "1,2,3,4");
    profile.set("PixelsPerInch", "120");
    EXPECT_FALSE(ReadPlacement(profile, kSection, kScreen, 96, QRect()).has_value());
    profile.values.remove(kSection + QStringLiteral("/PixelsPerInch"));
    EXPECT_TRUE(ReadPlacement(profile, kSection, kScreen, 96, QRect()).has_value())
        << "a missing PixelsPerInch counts as equal";
}

TEST(Placement, NegativeFormVersionRestoresNothing) {
    MapProfile profile;
    profile.set("NormPos", "1,2,3,4");
    profile.set("FormVersion", "-1");
    EXPECT_FALSE(ReadPlacement(profile, kSection, kScreen, 96, QRect()).has_value());
}

TEST(Placement, ResolutionSpecificKeyWinsOverPlainKey) {
    MapProfile profile;
    profile.set("NormPos", "0,0,100,100");
    profile.set("NormPos(1280x1024)", "10,10,210,110");
    profile.set("NormPos(800x600)", "5,5,6,6");
    const auto read = ReadPlacement(profile, kSection, kScreen, 96, QRect());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(QRect(QPoint(10, 10), QSize(200, 100)), read->normal);
}

struct PartsCase {
    const char* label;
    const char* normPos;
    QRect expected;
};

class NormPosPartsTest : public ::testing::TestWithParam<PartsCase> {};

TEST_P(NormPosPartsTest, MissingOrUnreadablePartsTakeTheCurrentEdges) {
    const PartsCase& c = GetParam();
    MapProfile profile;
    profile.set("NormPos", c.normPos);
    // Current window: left 1, top 2, right 301, bottom 202.
    const auto read =
        ReadPlacement(profile, kSection, kScreen, 96, QRect(QPoint(1, 2), QSize(300, 200)));
    ASSERT_TRUE(read.has_value()) << c.label;
    EXPECT_EQ(c.expected, read->normal) << c.label;
    EXPECT_EQ(QPoint(0, 0), read->minPosition) << "missing MinMaxPos reads as 0";
}

INSTANTIATE_TEST_SUITE_P(
    Values, NormPosPartsTest,
    ::testing::Values(
        PartsCase{"nominal: commas", "10,20,110,220", QRect(QPoint(10, 20), QSize(100, 200))},
        PartsCase{"nominal: blanks", "10 20 110 220", QRect(QPoint(10, 20), QSize(100, 200))},
        PartsCase{"nominal: mixed", "10, 20,110 220", QRect(QPoint(10, 20), QSize(100, 200))},
        PartsCase{"robustness: two parts", "10,20", QRect(QPoint(10, 20), QSize(291, 182))},
        PartsCase{"robustness: garbage part", "10,x,110,220",
                  QRect(QPoint(10, 2), QSize(100, 218))},
        PartsCase{"robustness: empty", "", QRect(QPoint(1, 2), QSize(300, 200))}));

struct ShowCmdCase {
    int showCmd;
    RestoredState state;
};

class ShowCmdTest : public ::testing::TestWithParam<ShowCmdCase> {};

TEST_P(ShowCmdTest, MapsToWindowState) {
    EXPECT_EQ(GetParam().state, StateOfShowCmd(GetParam().showCmd)) << GetParam().showCmd;
}

INSTANTIATE_TEST_SUITE_P(Commands, ShowCmdTest,
                         ::testing::Values(ShowCmdCase{1, RestoredState::Normal},
                                           ShowCmdCase{5, RestoredState::Normal},
                                           ShowCmdCase{9, RestoredState::Normal},
                                           ShowCmdCase{2, RestoredState::Minimized},
                                           ShowCmdCase{6, RestoredState::Minimized},
                                           ShowCmdCase{7, RestoredState::Minimized},
                                           ShowCmdCase{3, RestoredState::Maximized},
                                           ShowCmdCase{0, RestoredState::Normal},
                                           ShowCmdCase{4, RestoredState::Normal},
                                           ShowCmdCase{-3, RestoredState::Normal}));

TEST(Placement, HexadecimalShowCmdIsRead) {
    MapProfile profile;
    profile.set("NormPos", "1,2,3,4");
    profile.set("ShowCmd", "0x3");
    const auto read = ReadPlacement(profile, kSection, kScreen, 96, QRect());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(3, read->showCmd);
}

TEST(Placement, FileIsNamedAfterTheExecutableInTheConfigFolder) {
    const QString path = PlacementFilePath(QStringLiteral("/opt/app/bin/quillmere"));
    EXPECT_TRUE(path.endsWith(QStringLiteral("/quillmere.INI"))) << path.toStdString();
}

// --- A stored rectangle and the screens there are now ------------------------------------

struct PullCase {
    const char* label;
    QRect outer;
    QRect expected;
};

class PullOntoWorkAreaTest : public ::testing::TestWithParam<PullCase> {};

TEST_P(PullOntoWorkAreaTest, LeavesTheWindowWhollyOnAWorkArea) {
    // The primary screen with a 30-pixel panel at the bottom, and a second
    // screen to its right.
    const QList<QRect> areas = {QRect(0, 0, 1280, 994), QRect(1280, 0, 1024, 768)};
    const PullCase& c = GetParam();
    EXPECT_EQ(c.expected, PullOntoWorkArea(c.outer, areas)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PullOntoWorkAreaTest,
    ::testing::Values(PullCase{"nominal: inside the primary screen", QRect(100, 0, 1026, 994),
                               QRect(100, 0, 1026, 994)},
                      PullCase{"nominal: inside the second screen", QRect(1300, 10, 900, 700),
                               QRect(1300, 10, 900, 700)},
                      PullCase{"robustness: a monitor that is gone (3000,2000,4000,2600)",
                               QRect(QPoint(3000, 2000), QSize(1000, 600)),
                               QRect(280, 394, 1000, 600)},
                      PullCase{"robustness: far off to the left and above",
                               QRect(-5000, -800, 900, 500), QRect(0, 0, 900, 500)},
                      PullCase{"robustness: partly below the panel", QRect(200, 600, 900, 500),
                               QRect(200, 494, 900, 500)},
                      PullCase{"robustness: across both screens goes where most of it is",
                               QRect(1000, 0, 900, 500), QRect(1280, 0, 900, 500)},
                      PullCase{"robustness: taller than the work area is shrunk",
                               QRect(0, 0, 1026, 1024), QRect(0, 0, 1026, 994)},
                      PullCase{"robustness: larger than every screen", QRect(-10, -10, 4000, 3000),
                               QRect(0, 0, 1280, 994)}));

TEST(Placement, PullWithoutScreensLeavesTheRectangle) {
    EXPECT_EQ(QRect(5000, 5000, 10, 10), PullOntoWorkArea(QRect(5000, 5000, 10, 10), {}));
}

// --- The normal rectangle while the window manager's frame is not known -----------------

// The frames a window manager (openbox) puts around the main window.
const QMargins kNormalFrame(1, 20, 1, 5);
const QMargins kMaximisedFrame(0, 19, 0, 0);

// A window as the window manager shows it: the client rectangle a program
// gave it, and a frame that it reports once it has one.
struct ShownWindow {
    QRect client;
    QMargins frame;  // none yet: all zero
    QRect outer() const { return client.marginsAdded(frame); }
};

// One run of the program as far as the normal rectangle goes: the stored
// rectangle is wanted before the window is mapped, the window manager
// reports its frame afterwards, and the rectangle is stored at the end.
QRect RunOnce(const QRect& stored) {
    NormalRectKeeper keeper;
    ShownWindow window{keeper.want(stored), QMargins()};
    EXPECT_FALSE(keeper.update(window.outer(), window.client, true)) << "no frame yet";
    window.frame = kNormalFrame;
    // Placed with its frame's corner where the outer corner was asked for.
    window.client.translate(kNormalFrame.left(), kNormalFrame.top());
    if (const std::optional<QRect> client = keeper.update(window.outer(), window.client, true)) {
        window.client = *client;
    }
    EXPECT_FALSE(keeper.update(window.outer(), window.client, true)) << "applied once";
    return keeper.normalOuter(window.client, window.frame);
}

TEST(NormalRect, RestartsKeepTheStoredRectangleWhenTheFrameComesLate) {
    const QRect stored(128, 0, 1026, 1024);
    QRect rect = stored;
    for (int run = 0; run < 3; ++run) {
        rect = RunOnce(rect);
        EXPECT_EQ(stored, rect) << "run " << run;
    }
}

TEST(NormalRect, FrameComingLateGivesTheOuterRectangleItsSize) {
    NormalRectKeeper keeper;
    const QRect stored(128, 0, 1026, 1024);
    EXPECT_EQ(stored, keeper.want(stored)) << "before any frame, all of it";
    const QRect mapped = stored.translated(1, 20);
    EXPECT_EQ(QRect(129, 20, 1024, 999),
              keeper.update(mapped.marginsAdded(kNormalFrame), mapped, true));
}

TEST(NormalRect, MaximisedRunStoresTheRestoredRectangleAsItWasRead) {
    NormalRectKeeper keeper;
    const QRect stored(200, 0, 904, 1024);
    const QRect given = keeper.want(stored);
    // Maximised all along: Qt keeps the given client rectangle as the
    // normal one, and the frame is the maximised one.
    const QRect maximised(0, 19, 1280, 1005);
    EXPECT_FALSE(keeper.update(maximised.marginsAdded(kMaximisedFrame), maximised, false));
    EXPECT_EQ(stored, keeper.normalOuter(given, kMaximisedFrame));
}

TEST(NormalRect, MaximisedAfterANormalStateStoresItWithTheNormalFrame) {
    NormalRectKeeper keeper;
    const QRect client(201, 20, 904, 999);
    EXPECT_FALSE(keeper.update(client.marginsAdded(kNormalFrame), client, true));
    const QRect maximised(0, 19, 1280, 1005);
    EXPECT_FALSE(keeper.update(maximised.marginsAdded(kMaximisedFrame), maximised, false));
    EXPECT_EQ(QRect(200, 0, 906, 1024), keeper.normalOuter(client, kMaximisedFrame))
        << "not the maximised frame";
}

TEST(NormalRect, LeavingAMaximisedStartFitsTheRestoredRectangleIntoTheFrame) {
    NormalRectKeeper keeper;
    const QRect stored(200, 0, 904, 1024);
    QRect client = keeper.want(stored);
    // Un-maximised: the window manager gives back the client rectangle of
    // the start, first with the maximised frame still reported.
    client.translate(0, 19);
    std::optional<QRect> again = keeper.update(client.marginsAdded(kMaximisedFrame), client, true);
    ASSERT_TRUE(again);
    client = *again;
    again = keeper.update(client.translated(1, 1).marginsAdded(kNormalFrame),
                          client.translated(1, 1), true);
    ASSERT_TRUE(again) << "the normal frame came later";
    EXPECT_EQ(stored, again->marginsAdded(kNormalFrame));
}

TEST(NormalRect, UserResizeAfterTheFrameIsKnownIsStoredAsLeft) {
    NormalRectKeeper keeper;
    QRect client = keeper.want(QRect(100, 0, 1000, 800));
    client.translate(1, 20);
    client = *keeper.update(client.marginsAdded(kNormalFrame), client, true);
    const QRect dragged(300, 200, 700, 500);
    EXPECT_FALSE(keeper.update(dragged.marginsAdded(kNormalFrame), dragged, true));
    EXPECT_FALSE(keeper.wanted()) << "given up";
    EXPECT_EQ(dragged.marginsAdded(kNormalFrame), keeper.normalOuter(dragged, kNormalFrame));
}

TEST(NormalRect, WithoutAnyFrameAMovedWindowIsStoredWhereItIs) {
    NormalRectKeeper keeper;
    const QRect given = keeper.want(QRect(100, 0, 1000, 800));
    EXPECT_EQ(QRect(100, 0, 1000, 800), keeper.normalOuter(given, QMargins()));
    const QRect moved(400, 50, 1000, 800);
    EXPECT_FALSE(keeper.update(moved, moved, true));
    EXPECT_EQ(moved, keeper.normalOuter(moved, QMargins()));
}

}  // namespace
}  // namespace quillmere
