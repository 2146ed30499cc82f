#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "shell/calendar_window.h"
#include "shell/dialog_frame.h"
#include "shell/main_window.h"
#include "store/journal_table.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QCalendarWidget>
#include <QTableView>
#include <QTest>
#include <QTextCharFormat>

namespace quillmere {
namespace {

class CalendarTest : public ShellTest {
protected:
    TfrmCalendar& calendar() { return *program().calendar(); }

    // The grid cell of a day of the shown month (days 8 to 20 appear once).
    QPoint cellOf(int day) {
        auto* view = calendar().MonthCalendar1->findChild<QTableView*>();
        QAbstractItemModel* model = view->model();
        for (int row = 1; row < model->rowCount(); ++row) {
            for (int column = 1; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                if (model->data(index).toInt() == day) {
                    return view->visualRect(index).center();
                }
            }
        }
        ADD_FAILURE() << "no cell for day " << day;
        return {};
    }
    QWidget* grid() { return calendar().MonthCalendar1->findChild<QTableView*>()->viewport(); }
};

TEST_F(CalendarTest, OpensOnTheDayShownWithOkDisabledUntilAClick) {
    start(QDate(2024, 3, 20));
    whileModal(
        &calendar(), [&] { click(main().btnCalendar); },
        [&] {
            EXPECT_EQ(QDate(2024, 3, 20), calendar().selectedDate());
            EXPECT_FALSE(calendar().btnOK->isEnabled());
            QTest::mouseClick(grid(), Qt::LeftButton, Qt::NoModifier, cellOf(12));
            EXPECT_TRUE(calendar().btnOK->isEnabled());
            click(calendar().btnOK);
        });
    EXPECT_EQ(QDate(2024, 3, 12), main().currentDate());
}

TEST_F(CalendarTest, DoubleClickClosesAtOnceWithThatDay) {
    start(QDate(2024, 3, 20));
    whileModal(
        &calendar(), [&] { click(main().btnCalendar); },
        [&] {
            const QPoint cell = cellOf(15);
            QTest::mouseClick(grid(), Qt::LeftButton, Qt::NoModifier, cell);
            QTest::mouseDClick(grid(), Qt::LeftButton, Qt::NoModifier, cell);
            EXPECT_FALSE(calendar().isVisible());
        });
    EXPECT_EQ(QDate(2024, 3, 15), main().currentDate());
}

TEST_F(CalendarTest, ClosingWithoutAPickStoresAndReloadsTheSameDay) {
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("note"));
    whileModal(
        &calendar(), [&] { click(main().btnCalendar); }, [&] { calendar().done(0); });
    EXPECT_EQ(QDate(2024, 3, 20), main().currentDate());
    EXPECT_FALSE(main().Editor->isModified());
    EXPECT_EQ(1, main().journal().recordCount());
    EXPECT_EQ(QStringLiteral("note"), main().Editor->toPlainText());
}

TEST_F(CalendarTest, EachOpeningStartsFromTheDayShownWithOkDisabled) {
    start(QDate(2024, 3, 20));
    whileModal(
        &calendar(), [&] { click(main().btnCalendar); },
        [&] {
            QTest::mouseClick(grid(), Qt::LeftButton, Qt::NoModifier, cellOf(9));
            click(calendar().btnOK);
        });
    click(main().btnNext);
    whileModal(
        &calendar(), [&] { click(main().btnCalendar); },
        [&] {
            EXPECT_EQ(QDate(2024, 3, 10), calendar().selectedDate());
            EXPECT_FALSE(calendar().btnOK->isEnabled());
            calendar().done(0);
        });
}

// The days of the month shown that are drawn bold and told "has an entry".
std::vector<int> markedDays(QCalendarWidget* calendar) {
    std::vector<int> days;
    const QDate first(calendar->yearShown(), calendar->monthShown(), 1);
    for (QDate d = first; d.month() == first.month(); d = d.addDays(1)) {
        const QTextCharFormat format = calendar->dateTextFormat(d);
        if (format.fontWeight() == QFont::Bold) {
            EXPECT_EQ(QStringLiteral("has an entry"), format.toolTip());
            days.push_back(d.day());
        }
    }
    return days;
}

TEST_F(CalendarTest, DaysWithEntriesAreMarkedAndFollowTheMonthShown) {
    writeJournal({{QDate(2024, 2, 29), QStringLiteral("leap")},
                  {QDate(2024, 3, 1), QStringLiteral("first")},
                  {QDate(2024, 3, 31), QStringLiteral("last")}});
    start(QDate(2024, 3, 20));
    whileModal(
        &calendar(), [&] { click(main().btnCalendar); },
        [&] {
            QCalendarWidget* month = calendar().MonthCalendar1;
            EXPECT_EQ(std::vector<int>({1, 31}), markedDays(month)) << "nominal: March";
            month->showNextMonth();
            EXPECT_EQ(std::vector<int>{}, markedDays(month)) << "nominal: April, no entries";
            month->setCurrentPage(2024, 2);
            EXPECT_EQ(std::vector<int>{29}, markedDays(month)) << "nominal: back to February";
            EXPECT_EQ(QTextCharFormat(), month->dateTextFormat(QDate(2024, 3, 1)))
                << "a neighbouring month's day keeps its plain look";
            calendar().done(0);
        });
}

// What a screen reader is given while the keys move through the days: the
// focused cell's name and the day table's description. (The change events
// reach only a running accessibility bridge, which the offscreen platform
// does not have.)
TEST_F(CalendarTest, ScreenReaderHearsHasAnEntryAsTheKeysMoveOntoAMarkedDay) {
    writeJournal({{QDate(2024, 3, 19), QStringLiteral("yesterday")},
                  {QDate(2024, 3, 1), QStringLiteral("first")}});
    start(QDate(2024, 3, 20));
    struct Step {
        const char* label;
        Qt::Key key;
        const char* cellName;
        const char* description;
    };
    const Step steps[] = {
        {"nominal: onto a marked day", Qt::Key_Left, "19", "has an entry"},
        {"nominal: onto a day without", Qt::Key_Left, "18", ""},
        {"nominal: back onto the marked day", Qt::Key_Right, "19", "has an entry"},
        {"nominal: a week on, no entry", Qt::Key_Down, "26", ""},
    };
    QDate chosen;
    whileModal(
        &calendar(), [&] { click(main().btnCalendar); },
        [&] {
            QCalendarWidget* month = calendar().MonthCalendar1;
            auto* view = month->findChild<QTableView*>();
            QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
            ASSERT_NE(nullptr, table);
            EXPECT_EQ(QAccessible::Table, table->role());
            EXPECT_EQ(QString(), table->text(QAccessible::Description)) << "20 March: no entry";
            view->setFocus();
            for (const Step& step : steps) {
                QTest::keyClick(view, step.key);
                QAccessibleInterface* cell = table->focusChild();
                ASSERT_NE(nullptr, cell) << step.label;
                EXPECT_EQ(step.cellName, cell->text(QAccessible::Name).toStdString()) << step.label;
                EXPECT_EQ(step.description, table->text(QAccessible::Description).toStdString())
                    << step.label;
                EXPECT_EQ(step.description, QAccessible::queryAccessibleInterface(month)
                                                ->text(QAccessible::Description)
                                                .toStdString())
                    << step.label;
            }
            // The keys still pick the day.
            QTest::keyClick(view, Qt::Key_Return);
            chosen = calendar().selectedDate();
        });
    EXPECT_FALSE(calendar().isVisible());
    EXPECT_EQ(QDate(2024, 3, 26), chosen);
}

TEST_F(CalendarTest, LayoutFollowsTheDesign) {
    createProgram();
    EXPECT_EQ(QSize(280, 274), calendar().size());
    EXPECT_TRUE(calendar().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(QRect(24, 40, 233, 163), calendar().MonthCalendar1->geometry());
    EXPECT_EQ(QCalendarWidget::ISOWeekNumbers, calendar().MonthCalendar1->verticalHeaderFormat());
    EXPECT_EQ(QRect(104, 218, 75, 25), calendar().btnOK->geometry());
    EXPECT_EQ(QStringLiteral("OK"), calendar().btnOK->Caption());
}

struct CentreCase {
    const char* label;
    QRect frame;
    QRect client;
    QPoint expected;
};

class CentreTest : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentreTest, DialogGoesToTheSamePlaceEveryTime) {
    // The main window's outer rectangle.
    const QRect main(149, 0, 1004, 1024);
    const CentreCase& c = GetParam();
    EXPECT_EQ(c.expected, CentredTopLeft(main, c.frame, c.client)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CentreTest,
    ::testing::Values(CentreCase{"nominal: frameless settings window", QRect(0, 0, 231, 405),
                                 QRect(0, 0, 231, 405), QPoint(535, 309)},
                      CentreCase{"nominal: a window with a frame", QRect(0, 0, 282, 299),
                                 QRect(1, 20, 280, 274), QPoint(510, 362)},
                      CentreCase{"robustness: stale 1 x 1 frame after the first closing",
                                 QRect(535, 309, 1, 1), QRect(535, 309, 231, 405),
                                 QPoint(535, 309)}));

}  // namespace
}  // namespace quillmere
