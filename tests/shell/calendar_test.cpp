#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/rich_editor.h"
#include "shell/calendar_window.h"
#include "shell/main_window.h"
#include "store/journal_table.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QTableView>
#include <QTest>

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

TEST_F(CalendarTest, LayoutFollowsTheDesign) {
    createProgram();
    EXPECT_EQ(QSize(280, 274), calendar().size());
    EXPECT_TRUE(calendar().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(QRect(24, 40, 233, 163), calendar().MonthCalendar1->geometry());
    EXPECT_EQ(QCalendarWidget::ISOWeekNumbers, calendar().MonthCalendar1->verticalHeaderFormat());
    EXPECT_EQ(QRect(104, 218, 75, 25), calendar().btnOK->geometry());
    EXPECT_EQ(QStringLiteral("OK"), calendar().btnOK->Caption());
}

}  // namespace
}  // namespace quillmere
