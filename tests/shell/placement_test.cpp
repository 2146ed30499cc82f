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

}  // namespace
}  // namespace quillmere
