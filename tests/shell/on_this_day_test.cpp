// The On This Day button and window in the running program: the count after
// the login, the key, and a day shown from the list with the entry being
// written stored first.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "lookback/on_this_day_window.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>

namespace quillmere {
namespace {

class OnThisDayTest : public ShellTest {
protected:
    TfrmOnThisDay& window() { return *program().onThisDay(); }
};

struct CountCase {
    const char* label;
    std::vector<std::pair<QDate, QString>> entries;
    const char* caption;
};

class OnThisDayCountTest : public OnThisDayTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(OnThisDayCountTest, ButtonCountsEarlierYearsAfterTheLoginAndOpensNothingByItself) {
    writeJournal(GetParam().entries);
    start(QDate(2024, 3, 20));
    EXPECT_EQ(GetParam().caption, main().btnOnThisDay->Caption().toStdString());
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(main().btnOnThisDay->toolTip().endsWith(QStringLiteral("(Alt+O)")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnThisDayCountTest,
    ::testing::Values(CountCase{"nominal_two_earlier_years",
                                {{QDate(2019, 3, 20), QStringLiteral("a")},
                                 {QDate(2022, 3, 20), QStringLiteral("b")},
                                 {QDate(2023, 3, 21), QStringLiteral("other day")}},
                                "On This Day (2)"},
                      CountCase{"nominal_none",
                                {{QDate(2023, 3, 21), QStringLiteral("other day")}},
                                "On This Day"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(OnThisDayTest, AltOOpensItAndEnterShowsTheDayStoringTheTextFirst) {
    writeJournal({{QDate(2019, 3, 20), QStringLiteral("spring walk")},
                  {QDate(2022, 3, 20), QStringLiteral("rainy\nsecond line\nthird")},
                  {QDate(2024, 3, 19), QStringLiteral("yesterday")}});
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("today's note"));
    QTest::keyClick(main().Editor, Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(window().isVisible());
    ASSERT_EQ(2, window().lstEarlier->count());
    EXPECT_EQ("20 March 2022 (2 years ago)\nrainy\nsecond line",
              window().lstEarlier->item(0)->text().toStdString());
    EXPECT_EQ("Days written: 3", window().lblDaysWritten->text().toStdString())
        << "the text typed today is not stored yet";
    EXPECT_EQ("Current run: 1 day", window().lblCurrentRun->text().toStdString());

    window().lstEarlier->setCurrentRow(1);
    QTest::keyClick(window().lstEarlier, Qt::Key_Return);
    EXPECT_EQ(QDate(2019, 3, 20), main().currentDate());
    EXPECT_EQ(QStringLiteral("spring walk"), main().Editor->toPlainText());
    quit();
    const auto stored = storedEntries();
    ASSERT_EQ(4u, stored.size());
    EXPECT_EQ(QDate(2024, 3, 20), stored[3].first);
    EXPECT_EQ(QStringLiteral("today's note"), stored[3].second);
}

// The window stays open after showing a day: what was stored meanwhile shows
// in its list and figures, and the list keeps the day it was opened for.
TEST_F(OnThisDayTest, StoredEntriesAreRecountedWhileTheWindowIsOpen) {
    writeJournal({{QDate(2019, 3, 20), QStringLiteral("spring walk")},
                  {QDate(2022, 3, 20), QStringLiteral("rainy")},
                  {QDate(2024, 3, 19), QStringLiteral("yesterday")}});
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("today's note"));
    QTest::keyClick(main().Editor, Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(window().isVisible());
    const auto settled = [this] {
        return QTest::qWaitFor([this] { return !window().statisticsPending(); }, 10000);
    };

    window().lstEarlier->setCurrentRow(1);
    QTest::keyClick(window().lstEarlier, Qt::Key_Return);
    ASSERT_EQ(QDate(2019, 3, 20), main().currentDate());
    ASSERT_TRUE(window().isVisible());
    ASSERT_TRUE(settled());
    EXPECT_EQ("Days written: 4", window().lblDaysWritten->text().toStdString());
    EXPECT_EQ("Words written: 6", window().lblWordsWritten->text().toStdString());
    EXPECT_EQ("Current run: 2 days", window().lblCurrentRun->text().toStdString());
    ASSERT_EQ(2, window().lstEarlier->count()) << "the list keeps 20 March 2024's years";
    EXPECT_EQ(1, window().lstEarlier->currentRow());

    // A day of the list written anew: its lines follow.
    typeIntoEditor(QStringLiteral("dawn "));
    window().lstEarlier->setCurrentRow(0);
    QTest::keyClick(window().lstEarlier, Qt::Key_Return);
    ASSERT_EQ(QDate(2022, 3, 20), main().currentDate());
    ASSERT_TRUE(settled());
    EXPECT_EQ("20 March 2019 (5 years ago)\ndawn spring walk",
              window().lstEarlier->item(1)->text().toStdString());
    EXPECT_EQ("Words written: 7", window().lblWordsWritten->text().toStdString());
    EXPECT_EQ(0, window().lstEarlier->currentRow());
}

}  // namespace
}  // namespace quillmere
