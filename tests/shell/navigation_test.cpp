#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/journal_table.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

namespace quillmere {
namespace {

QDate march(int day) {
    return QDate(2024, 3, day);
}
QDate february(int day) {
    return QDate(2024, 2, day);
}

class NavigationTest : public ShellTest {
protected:
    // Starts on `today` with skip mode as given, collecting the header
    // caption of every day SetCurrentDay is called with.
    void startOn(const QDate& today, bool skip) {
        start(today);
        program().settings()->setSkipEmptyEntries(skip);
        QObject::connect(&main(), &TfrmMain::currentDayChanged, &main(),
                         [this] { captions.push_back(main().RbPanel1->Caption()); });
    }
    QDate shown() const { return main().currentDate(); }

    std::vector<QString> captions;
};

struct SkipCase {
    const char* label;
    QDate from;
    bool next;
    QDate to;
    std::vector<const char*> captions;  // header set for each day, in order
};

class SkipSearchTest : public NavigationTest, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(SkipSearchTest, MovesToTheNearestDayWithAnEntry) {
    const SkipCase& c = GetParam();
    writeJournal({{march(1), QStringLiteral("first")}, {march(10), QStringLiteral("tenth")}});
    startOn(c.from, true);
    click(c.next ? main().btnNext : main().btnPrevious);
    EXPECT_EQ(c.to, shown()) << c.label;
    std::vector<QString> expected;
    for (const char* caption : c.captions) {
        expected.push_back(QString::fromUtf8(caption));
    }
    EXPECT_EQ(expected, captions) << c.label;
    EXPECT_EQ(DayCaption(c.to), main().RbPanel1->Caption());
}

INSTANTIATE_TEST_SUITE_P(
    Skips, SkipSearchTest,
    ::testing::Values(SkipCase{"nominal: walk back from 10 March to 1 March",
                               march(10),
                               false,
                               march(1),
                               {"09 March 2024", "08 March 2024", "07 March 2024", "06 March 2024",
                                "05 March 2024", "04 March 2024", "03 March 2024", "02 March 2024",
                                "01 March 2024", "01 March 2024"}},
                      SkipCase{"nominal: all entries earlier, latest reached at once",
                               march(20),
                               false,
                               march(10),
                               {"19 March 2024", "10 March 2024"}},
                      SkipCase{"nominal: no later entry, the next day",
                               march(20),
                               true,
                               march(21),
                               {"21 March 2024", "21 March 2024"}},
                      SkipCase{"nominal: all entries later, earliest reached at once",
                               february(20),
                               true,
                               march(1),
                               {"21 February 2024", "01 March 2024"}},
                      SkipCase{"nominal: no earlier entry, the day before",
                               february(20),
                               false,
                               february(19),
                               {"19 February 2024", "19 February 2024"}},
                      SkipCase{"nominal: the neighbour has an entry",
                               march(2),
                               false,
                               march(1),
                               {"01 March 2024", "01 March 2024"}},
                      SkipCase{
                          "nominal: walk forward between entries",
                          march(7),
                          true,
                          march(10),
                          {"08 March 2024", "09 March 2024", "10 March 2024", "10 March 2024"}}));

TEST_F(NavigationTest, HourglassIsShownDuringTheCommandAndRestoredAfterAFailure) {
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    createProgram(march(20));
    ASSERT_TRUE(startProgram());
    std::vector<Qt::CursorShape> during;
    QObject::connect(&main(), &TfrmMain::currentDayChanged, &main(), [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        during.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
    });
    click(main().btnNext);
    EXPECT_EQ(std::vector<Qt::CursorShape>{Qt::WaitCursor}, during);
    EXPECT_EQ(nullptr, QApplication::overrideCursor());
    typeIntoEditor(QStringLiteral("text"));
    click(main().btnNext);  // fails in the lookup of SaveEntry
    EXPECT_EQ(nullptr, QApplication::overrideCursor()) << "restored after the failure";
}

TEST_F(NavigationTest, EmptyJournalInSkipModeMovesOneDayAndLeavesTheEditor) {
    startOn(march(20), true);
    main().Editor->setPlainText(QStringLiteral("scratch"));
    main().Editor->setModified(false);
    click(main().btnNext);
    EXPECT_EQ(march(21), shown());
    click(main().btnPrevious);
    click(main().btnPrevious);
    EXPECT_EQ(march(19), shown());
    EXPECT_EQ(QStringLiteral("scratch"), main().Editor->toPlainText())
        << "an empty table loads nothing";
    EXPECT_TRUE(main().journal().isEmpty());
}

TEST_F(NavigationTest, PlainPreviousAndNextMoveOneDayOverEntries) {
    writeJournal({{march(1), QStringLiteral("first")}});
    startOn(march(3), false);
    click(main().btnPrevious);
    EXPECT_EQ(march(2), shown());
    EXPECT_EQ(QString(), main().Editor->toPlainText());
    click(main().btnPrevious);
    EXPECT_EQ(march(1), shown());
    EXPECT_EQ(QStringLiteral("first"), main().Editor->toPlainText());
    EXPECT_FALSE(main().Editor->isModified());
    click(main().btnNext);
    EXPECT_EQ(march(2), shown());
    EXPECT_EQ(QString(), main().Editor->toPlainText());
}

TEST_F(NavigationTest, StoringTheSameDayTwiceKeepsOneRecord) {
    startOn(march(5), false);
    typeIntoEditor(QStringLiteral("one"));
    click(main().btnNext);
    click(main().btnPrevious);
    EXPECT_EQ(QStringLiteral("one"), main().Editor->toPlainText());
    main().Editor->moveCursor(QTextCursor::End);
    typeIntoEditor(QStringLiteral(" two"));
    click(main().btnNext);
    ASSERT_EQ(1, main().journal().recordCount());
    EXPECT_EQ(march(5), dateFromDay(main().journal().dayAt(0)));
    quit();
    const auto stored = storedEntries();
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(QStringLiteral("one two"), stored[0].second);
}

TEST_F(NavigationTest, TodayWhileTodayIsShownStoresAndReloads) {
    startOn(march(20), false);
    typeIntoEditor(QStringLiteral("edited"));
    click(main().btnToday);
    EXPECT_EQ(march(20), shown());
    EXPECT_FALSE(main().Editor->isModified());
    EXPECT_EQ(QStringLiteral("edited"), main().Editor->toPlainText());
    ASSERT_EQ(1, main().journal().recordCount());
}

TEST_F(NavigationTest, EmptyDayTakesTheDefaultFontAndIsNotStoredWhenUntouched) {
    writeSettings({QString(), QStringLiteral("Liberation Serif"), 14, 255});
    writeJournal({{march(1), QStringLiteral("first")}});
    startOn(march(1), false);
    click(main().btnNext);
    const QTextCharFormat format = main().Editor->defaultCharFormat();
    EXPECT_EQ(QStringLiteral("Liberation Serif"), format.font().family());
    EXPECT_EQ(14, format.font().pointSize());
    EXPECT_EQ(QColor(255, 0, 0), format.foreground().color());
    EXPECT_FALSE(main().Editor->isModified());
    click(main().btnNext);
    click(main().btnNext);
    EXPECT_EQ(1, main().journal().recordCount()) << "untouched days are not stored";
}

TEST_F(NavigationTest, DeletedTextIsStoredAsAnEntryAndShownInTheDefaultFont) {
    writeSettings({QString(), QStringLiteral("Liberation Mono"), 9, 0});
    writeJournal({{march(1), QStringLiteral("gone")}});
    startOn(march(1), false);
    main().Editor->selectAll();
    QTest::keyClick(main().Editor, Qt::Key_Delete);
    ASSERT_TRUE(main().Editor->isModified());
    click(main().btnNext);
    click(main().btnPrevious);
    EXPECT_EQ(march(1), shown());
    EXPECT_EQ(QString(), main().Editor->toPlainText());
    EXPECT_EQ(QStringLiteral("Liberation Mono"),
              main().Editor->defaultCharFormat().font().family());
    EXPECT_FALSE(main().Editor->isModified());
    EXPECT_EQ(1, main().journal().recordCount());
}

TEST_F(NavigationTest, ShowDayStoresFirstAndAppliesNoDefaultFont) {
    writeSettings({QString(), QStringLiteral("Liberation Mono"), 30, 0});
    startOn(march(20), false);
    main().Editor->applyDefaultFont(QStringLiteral("Liberation Sans"), 11, quint32{0});
    typeIntoEditor(QStringLiteral("kept"));
    main().ShowDay(dayFromDate(march(25)));
    EXPECT_EQ(march(25), shown());
    EXPECT_EQ(1, main().journal().recordCount());
    EXPECT_EQ(QString(), main().Editor->toPlainText());
    EXPECT_NE(30, main().Editor->defaultCharFormat().font().pointSize());
}

TEST_F(NavigationTest, ClosedJournalStopsTheCommandBeforeTheDayChanges) {
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    createProgram(march(20));
    ASSERT_EQ(1u, messages_.texts(MessageKind::Error).size()) << "reading error shown";
    ASSERT_TRUE(startProgram());
    messages_.calls.clear();
    typeIntoEditor(QStringLiteral("text"));
    click(main().btnNext);
    EXPECT_EQ(march(20), shown()) << "the lookup failed before the day changed";
    ASSERT_EQ(1u, messages_.calls.size());
    EXPECT_EQ(MessageKind::Unhandled, messages_.calls[0].kind);
    EXPECT_EQ(QStringLiteral("Quillmere"), messages_.calls[0].title);
    EXPECT_EQ(QStringLiteral("tblJournal: Cannot perform this operation on a closed dataset."),
              messages_.calls[0].text);
    EXPECT_TRUE(main().Editor->isModified());
}

TEST_F(NavigationTest, ClosedJournalSkipPreviousShowsTheErrorBox) {
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    createProgram(march(20));
    ASSERT_TRUE(startProgram());
    program().settings()->setSkipEmptyEntries(true);
    messages_.calls.clear();
    click(main().btnPrevious);
    EXPECT_EQ(std::vector<QString>{QStringLiteral(
                  "tblJournal: Cannot perform this operation on a closed dataset")},
              messages_.texts(MessageKind::Error));
    EXPECT_EQ(march(19), shown());
    click(main().btnNext);
    EXPECT_EQ(march(20), shown()) << "a closed table gives the next day";
}

// The old day's text must not stay under the new date, where typing would
// store it over the damaged entry.
TEST_F(NavigationTest, DamagedEntryNamesTheNewDayAndShowsNothingOfTheOldOne) {
    writeJournal({{march(1), QStringLiteral("fine")}});
    {
        JournalTable table;
        table.OpenJournal(dataPath(QStringLiteral("Journal.cds")));
        table.StoreDay(dayFromDate(march(2)), [] { return QByteArray("\x78\x01garbage", 9); });
        table.close();
    }
    startOn(march(1), false);
    messages_.calls.clear();
    click(main().btnNext);
    EXPECT_EQ(march(2), shown());
    ASSERT_EQ(1u, messages_.calls.size());
    EXPECT_EQ(MessageKind::Unhandled, messages_.calls[0].kind);
    EXPECT_TRUE(messages_.calls[0].text.startsWith(QStringLiteral("02 March 2024: ")))
        << messages_.calls[0].text.toStdString();
    EXPECT_TRUE(main().Editor->toPlainText().isEmpty());
    EXPECT_TRUE(main().Editor->isReadOnly());
}

TEST_F(NavigationTest, HeaderShowsTheDayInItsFormat) {
    start(QDate(2024, 3, 5));
    EXPECT_EQ(QStringLiteral("05 March 2024"), main().RbPanel1->Caption());
    EXPECT_EQ(dayFromDate(QDate(2024, 3, 5)), main().CurrentDay());
}

}  // namespace
}  // namespace quillmere
