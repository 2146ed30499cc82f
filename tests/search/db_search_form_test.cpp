// The search window: showing, searching, stopping, errors, the result list and
// the double-click, through a recording stand-in for the main window.
#include "search_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/rich_editor.h"
#include "search/core/journal_search.h"
#include "search/date_field.h"
#include "search/db_search_form.h"
#include "search/result_list.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using quillmere::TfrmDBSearch;
using searchtest::FakeHost;
using searchtest::kBaseDay;
using searchtest::TestJournal;

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<TfrmDBSearch>(host); }

    void showForm() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void search(const QString& text) {
        form->edtText->setText(text);
        form->btnSearchClick();
    }

    void setRange(double from, double to) {
        form->DateEdit1->setDay(from);
        form->DateEdit2->setDay(to);
    }

    std::vector<double> results() const {
        std::vector<double> out;
        if (form->ResultList) {
            for (int i = 0; i < form->ResultList->Count(); ++i) {
                out.push_back(form->ResultList->GetDate(i));
            }
        }
        return out;
    }

    QStringList items() const {
        QStringList out;
        for (int i = 0; i < form->ListBox1->count(); ++i) {
            out << form->ListBox1->item(i)->text();
        }
        return out;
    }

    // The list shows exactly the days of ResultList.
    void expectListMatchesResults() const {
        QStringList expected;
        for (double day : results()) {
            expected << TfrmDBSearch::formatResultDay(day);
        }
        EXPECT_EQ(expected, items());
    }

    void expectIdle() const {
        EXPECT_FALSE(form->isSearching());
        EXPECT_TRUE(form->btnSearch->isEnabled());
        EXPECT_FALSE(form->btnStop->isEnabled());
        EXPECT_TRUE(form->btnClose->isEnabled());
        EXPECT_FALSE(form->StopRequested);
    }

    TestJournal journal;
    FakeHost host{journal.table()};
    std::unique_ptr<TfrmDBSearch> form;
};

// --- The window -------------------------------------------------------------

struct GeometryCase {
    const char* name;
    QRect geometry;
};

class SearchWindowLayoutTest : public SearchWindowTest,
                               public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(SearchWindowLayoutTest, PlacesEachControl) {
    const QWidget* control = form->findChild<QWidget*>(QString::fromLatin1(GetParam().name));
    ASSERT_NE(nullptr, control) << GetParam().name;
    EXPECT_EQ(GetParam().geometry, control->geometry()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Controls, SearchWindowLayoutTest,
                         ::testing::Values(GeometryCase{"RbPanel8", {0, 0, 307, 445}},
                                           GeometryCase{"GroupBox1", {24, 40, 257, 193}},
                                           GeometryCase{"DateEdit1", {112, 24, 129, 21}},
                                           GeometryCase{"DateEdit2", {112, 56, 129, 21}},
                                           GeometryCase{"edtText", {16, 112, 225, 24}},
                                           GeometryCase{"btnSearch", {16, 152, 81, 33}},
                                           GeometryCase{"btnStop", {160, 152, 80, 33}},
                                           GeometryCase{"GroupBox2", {24, 240, 257, 145}},
                                           GeometryCase{"ListBox1", {16, 24, 225, 105}},
                                           GeometryCase{"btnClose", {205, 400, 75, 25}},
                                           GeometryCase{"tmpEditor", {24, 392, 150, 25}}));

TEST_F(SearchWindowTest, IsANonModalFixedDialogOwnedByTheMainWindow) {
    EXPECT_EQ(QStringLiteral("Full Database Text Search"), form->windowTitle());
    EXPECT_EQ(QSize(307, 445), form->size());
    EXPECT_EQ(QSize(307, 445), form->minimumSize());
    EXPECT_EQ(QSize(307, 445), form->maximumSize());
    EXPECT_EQ(host.mainWindow(), form->parentWidget());
    EXPECT_TRUE(form->isWindow());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(QStringLiteral("Database Text Search"), form->RbPanel8->Caption());
    EXPECT_EQ(QStringLiteral("Text Search Criteria"), form->GroupBox1->title());
    EXPECT_EQ(QStringLiteral("Results"), form->GroupBox2->title());
    EXPECT_EQ(QStringLiteral("From Date"), form->Label1->text());
    EXPECT_EQ(QStringLiteral("To Date"), form->Label2->text());
    EXPECT_EQ(QStringLiteral("Text to search for"), form->Label3->text());
    EXPECT_EQ(QStringLiteral("Search"), form->btnSearch->Caption());
    EXPECT_EQ(QStringLiteral("Stop"), form->btnStop->Caption());
    EXPECT_EQ(QStringLiteral("Close"), form->btnClose->Caption());
    EXPECT_EQ(QStringLiteral("Double-Click to view journal entry"), form->ListBox1->toolTip());
    EXPECT_TRUE(form->DateEdit1->calendarPopup());
    EXPECT_FALSE(form->tmpEditor->isVisibleTo(form.get()));
}

TEST_F(SearchWindowTest, ShowingCentresOnTheMainWindowAndResets) {
    host.mainWindow()->show();
    showForm();
    const QPoint centre = form->frameGeometry().center();
    const QPoint ownerCentre = host.mainWindow()->frameGeometry().center();
    EXPECT_LE((centre - ownerCentre).manhattanLength(), 2);
    EXPECT_EQ(quillmere::today(), form->DateEdit1->day());
    EXPECT_EQ(quillmere::today(), form->DateEdit2->day());
    EXPECT_TRUE(form->edtText->text().isEmpty());
    EXPECT_EQ(0, form->ListBox1->count());
    EXPECT_FALSE(form->ResultList);
    expectIdle();
    EXPECT_EQ(form->edtText, form->focusWidget());
}

TEST_F(SearchWindowTest, KeyboardOrderRunsThroughTheCriteria) {
    showForm();
    const std::vector<QWidget*> order = {form->DateEdit1, form->DateEdit2, form->edtText,
                                         form->btnSearch, form->btnStop};
    // The focus chain from DateEdit1, each inner editor counted as its field.
    std::vector<QWidget*> chain;
    QWidget* widget = form->DateEdit1;
    for (int step = 0; step < 200 && chain.size() < order.size(); ++step) {
        for (QWidget* control : order) {
            if ((widget == control || control->isAncestorOf(widget)) &&
                (chain.empty() || chain.back() != control)) {
                chain.push_back(control);
            }
        }
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(order, chain);
}

// --- Searching --------------------------------------------------------------

TEST_F(SearchWindowTest, DefaultsSearchOnlyToday) {
    const double today = quillmere::today();
    for (int offset : {-1, 0, 1}) {
        journal.addText(today + offset, QStringLiteral("a note"));
    }
    showForm();
    search(QStringLiteral("note"));
    EXPECT_EQ(std::vector<double>{today}, results());
    expectListMatchesResults();
    EXPECT_EQ(0, form->ListBox1->currentRow());
    EXPECT_TRUE(form->ListBox1->item(0)->isSelected());
    EXPECT_EQ(form->ListBox1, form->focusWidget());
    expectIdle();
    EXPECT_EQ((std::vector<bool>{false, true}), host.commandSwitches);
}

struct WindowRangeCase {
    const char* label;
    double from;
    double to;
    std::vector<double> offsets;
};

class SearchWindowRangeTest : public SearchWindowTest,
                              public ::testing::WithParamInterface<WindowRangeCase> {};

TEST_P(SearchWindowRangeTest, ListsTheDaysOfTheRange) {
    const WindowRangeCase& c = GetParam();
    for (int offset = -3; offset <= 3; ++offset) {
        journal.addText(kBaseDay + offset, QStringLiteral("Holiday in PORTUGAL"));
    }
    showForm();
    setRange(kBaseDay + c.from, kBaseDay + c.to);
    search(QStringLiteral("tug"));
    std::vector<double> expected;
    for (double offset : c.offsets) {
        expected.push_back(kBaseDay + offset);
    }
    EXPECT_EQ(expected, results()) << c.label;
    ASSERT_TRUE(form->ResultList) << c.label;
    expectListMatchesResults();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchWindowRangeTest,
    ::testing::Values(WindowRangeCase{"nominal: both bounds inclusive", -1, 1, {-1, 0, 1}},
                      WindowRangeCase{"nominal: one day", 3, 3, {3}},
                      WindowRangeCase{"robustness: From after To", 2, -2, {}},
                      WindowRangeCase{"robustness: no entry in range", 10, 20, {}}));

TEST_F(SearchWindowTest, NothingHappensOnAnEmptyJournalOrForEmptyText) {
    showForm();
    search(QStringLiteral("x"));
    EXPECT_FALSE(form->ResultList);
    journal.addText(quillmere::today(), QStringLiteral("x"));
    search(QString());
    EXPECT_FALSE(form->ResultList);
    EXPECT_TRUE(host.commandSwitches.empty());
    EXPECT_TRUE(host.errors.isEmpty());
}

TEST_F(SearchWindowTest, EnterInTheSearchTextSearches) {
    journal.addText(quillmere::today(), QStringLiteral("Birthday CAKE"));
    showForm();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        form->ResultList.reset();
        form->edtText->setText(QStringLiteral("cake"));
        QTest::keyClick(form->edtText, key);
        EXPECT_EQ(std::vector<double>{quillmere::today()}, results()) << key;
    }
    QTest::keyClick(form->edtText, Qt::Key_A);
    EXPECT_EQ(QStringLiteral("cakea"), form->edtText->text());
}

TEST_F(SearchWindowTest, TheSearchButtonSearches) {
    journal.addText(quillmere::today(), QStringLiteral("found"));
    showForm();
    form->edtText->setText(QStringLiteral("FOUND"));
    QTest::mouseClick(form->btnSearch, Qt::LeftButton);
    EXPECT_EQ(std::vector<double>{quillmere::today()}, results());
}

TEST_F(SearchWindowTest, ASecondSearchReplacesTheFirst) {
    for (int offset = 0; offset < 6; ++offset) {
        journal.addText(kBaseDay + offset,
                        offset % 2 ? QStringLiteral("odd") : QStringLiteral("even"));
    }
    showForm();
    setRange(kBaseDay, kBaseDay + 5);
    search(QStringLiteral("even"));
    EXPECT_EQ((std::vector<double>{kBaseDay, kBaseDay + 2, kBaseDay + 4}), results());
    search(QStringLiteral("ODD"));
    EXPECT_EQ((std::vector<double>{kBaseDay + 1, kBaseDay + 3, kBaseDay + 5}), results());
    expectListMatchesResults();
}

TEST_F(SearchWindowTest, UnsavedEditorTextIsNotSearched) {
    journal.addText(quillmere::today(), QStringLiteral("what was stored"));
    host.currentDay = quillmere::today();
    host.editorText = QStringLiteral("zebra crossing");
    host.editorModified = true;
    showForm();
    search(QStringLiteral("zebra"));
    EXPECT_TRUE(results().empty());
    EXPECT_TRUE(host.editorModified);
    EXPECT_EQ(1, journal.table().recordCount());
    search(QStringLiteral("stored"));
    EXPECT_EQ(std::vector<double>{quillmere::today()}, results());
}

// --- Date fields ------------------------------------------------------------

TEST_F(SearchWindowTest, ChangingEitherDateMovesTheFocusToTheSearchText) {
    showForm();
    for (quillmere::TDateField* field : {form->DateEdit1, form->DateEdit2}) {
        for (int step = 0; step < 2; ++step) {
            // Tab into the field, as the user does: its first part is selected.
            field->setFocus(Qt::TabFocusReason);
            ASSERT_EQ(field, form->focusWidget());
            if (step == 0) {
                field->setDay(kBaseDay + 7);
            } else {
                // A whole date typed over the field's text, to its last digit.
                const QString typed = field->locale().toString(quillmere::dateFromDay(kBaseDay + 9),
                                                               field->displayFormat());
                QTest::keyClicks(field, typed);
            }
            EXPECT_EQ(form->edtText, form->focusWidget()) << field->objectName().toStdString();
        }
    }
    EXPECT_EQ(kBaseDay + 9, form->DateEdit1->day());
}

// Typing a date digit by digit, separators included, keeps the focus in the
// field until the date is whole; the first digit used to send it to the
// search text.
TEST_F(SearchWindowTest, ATypedDateKeepsTheFocusUntilItIsWhole) {
    showForm();
    quillmere::TDateField* field = form->DateEdit1;
    const QString typed =
        field->locale().toString(quillmere::dateFromDay(kBaseDay + 3), field->displayFormat());
    field->setFocus(Qt::TabFocusReason);
    for (qsizetype i = 0; i + 1 < typed.size(); ++i) {
        QTest::keyClick(field, typed.at(i).toLatin1());
        ASSERT_EQ(field, form->focusWidget()) << "after typing " << typed.left(i + 1).toStdString();
    }
    QTest::keyClick(field, typed.back().toLatin1());
    EXPECT_EQ(form->edtText, form->focusWidget());
    EXPECT_EQ(kBaseDay + 3, field->day());
}

struct CompleteDateCase {
    const char* label;
    const char* text;
    const char* format;
    bool complete;
};

class CompleteDateTest : public ::testing::TestWithParam<CompleteDateCase> {};

TEST_P(CompleteDateTest, OnlyAWholeDateIsComplete) {
    const CompleteDateCase& c = GetParam();
    EXPECT_EQ(c.complete,
              quillmere::TDateField::isCompleteDate(QString::fromLatin1(c.text),
                                                    QString::fromLatin1(c.format), QLocale::c()))
        << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompleteDateTest,
    ::testing::Values(
        CompleteDateCase{"nominal: month, day, year", "3/20/2024", "M/d/yyyy", true},
        CompleteDateCase{"nominal: padded day first", "05/03/2026", "dd/MM/yyyy", true},
        CompleteDateCase{"robustness: year begun", "3/20/2", "M/d/yyyy", false},
        CompleteDateCase{"robustness: year of three digits", "3/20/202", "M/d/yyyy", false},
        CompleteDateCase{"robustness: day not padded", "5/03/2026", "dd/MM/yyyy", false},
        CompleteDateCase{"robustness: no such day", "2/30/2024", "M/d/yyyy", false},
        CompleteDateCase{"robustness: empty", "", "M/d/yyyy", false}));

// How the user can leave a date field without a valid date: deleting part of
// it, or all of it.
struct DateTextCase {
    const char* label;
    std::function<void(quillmere::TDateField&)> edit;
};

class DateFieldTextTest : public ::testing::TestWithParam<DateTextCase> {};

TEST_P(DateFieldTextTest, EmptyOrInvalidTextReadsAsToday) {
    quillmere::TDateField field;
    field.show();
    field.setDay(kBaseDay);
    field.setFocus();
    GetParam().edit(field);
    EXPECT_NE(kBaseDay, field.day()) << GetParam().label;
    EXPECT_EQ(quillmere::today(), field.day()) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateFieldTextTest,
    ::testing::Values(DateTextCase{"robustness: year deleted",
                                   [](quillmere::TDateField& f) {
                                       QTest::keyClick(&f, Qt::Key_End);
                                       for (int i = 0; i < 4; ++i) {
                                           QTest::keyClick(&f, Qt::Key_Backspace);
                                       }
                                   }},
                      DateTextCase{"robustness: text emptied",
                                   [](quillmere::TDateField& f) { f.setShownText(QString()); }}));

TEST(DateFieldTest, ReadsTheDayItShows) {
    quillmere::TDateField field;
    for (double day : {kBaseDay, kBaseDay + 400, 2.0, 2958465.0}) {
        field.setDay(day);
        EXPECT_EQ(day, field.day()) << day;
    }
    field.setDay(kBaseDay + 0.75);
    EXPECT_EQ(kBaseDay, field.day());
}

// --- Stop -------------------------------------------------------------------

// Runs `onTick` on every pass of the event loop, as input arriving during a
// scan would.
class EventLoopTicker : public QObject {
public:
    explicit EventLoopTicker(std::function<void(int)> onTick) : onTick_(std::move(onTick)) {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] { onTick_(++ticks_); });
        timer_.start();
    }
    void stop() { timer_.stop(); }
    int ticks() const { return ticks_; }

private:
    std::function<void(int)> onTick_;
    QTimer timer_;
    int ticks_ = 0;
};

class SearchWindowStopTest : public SearchWindowTest {
protected:
    static constexpr int kDays = 400;
    void SetUp() override {
        SearchWindowTest::SetUp();
        for (int offset = 0; offset < kDays; ++offset) {
            journal.addText(kBaseDay + offset,
                            QStringLiteral("Entry number %1, nothing new").arg(offset));
        }
        showForm();
        setRange(kBaseDay, kBaseDay + kDays - 1);
        form->setInputIntervalMs(0);  // handle input after every record
    }
};

TEST_F(SearchWindowStopTest, StopEndsTheScanAndMovesTheFromDate) {
    bool sawSearching = false;
    EventLoopTicker ticker([&](int tick) {
        if (tick == 40 && form->isSearching()) {
            sawSearching = true;
            EXPECT_TRUE(form->btnStop->isEnabled());
            EXPECT_FALSE(form->btnSearch->isEnabled());
            QTest::mouseClick(form->btnStop, Qt::LeftButton);
            EXPECT_TRUE(form->StopRequested);
            EXPECT_TRUE(form->btnSearch->isEnabled());
            EXPECT_FALSE(form->btnStop->isEnabled());
        }
    });
    search(QStringLiteral("NOTHING NEW"));
    ticker.stop();
    ASSERT_TRUE(sawSearching);
    const int found = int(results().size());
    EXPECT_GT(found, 0);
    EXPECT_LT(found, kDays);
    // Every entry matches, so the days found are the records examined; the
    // From date names the first one not examined.
    EXPECT_EQ(kBaseDay + found, form->DateEdit1->day());
    EXPECT_EQ(kBaseDay + kDays - 1, form->DateEdit2->day());
    expectListMatchesResults();
    expectIdle();
    EXPECT_EQ((std::vector<bool>{false, true}), host.commandSwitches);

    // A new search over the same To date examines the rest of the range.
    search(QStringLiteral("nothing new"));
    const std::vector<double> rest = results();
    ASSERT_EQ(std::size_t(kDays - found), rest.size());
    EXPECT_EQ(kBaseDay + found, rest.front());
    EXPECT_EQ(kBaseDay + kDays - 1, rest.back());
}

TEST_F(SearchWindowStopTest, CloseEnterAndTheListDoNotActDuringAScan) {
    // A previous search leaves a result to double-click on.
    search(QStringLiteral("number 3,"));
    ASSERT_EQ(std::vector<double>{kBaseDay + 3}, results());
    host.commandSwitches.clear();
    int checks = 0;
    EventLoopTicker ticker([&](int tick) {
        if (tick != 20 || !form->isSearching()) {
            return;
        }
        ++checks;
        EXPECT_FALSE(form->btnClose->isEnabled());
        EXPECT_EQ(std::vector<bool>{false}, host.commandSwitches);
        form->btnCloseClick();
        QTest::mouseClick(form->btnClose, Qt::LeftButton);
        form->close();  // the title-bar close box
        EXPECT_TRUE(form->isVisible());
        form->edtTextKeyDown(13);  // would start a second scan inside this one
        form->ListBox1DblClick();
        EXPECT_TRUE(host.shownDays.empty());
        form->btnStopClick();
    });
    search(QStringLiteral("Entry"));
    ticker.stop();
    EXPECT_EQ(1, checks);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->ResultList);
    EXPECT_EQ((std::vector<bool>{false, true}), host.commandSwitches);
    expectIdle();
}

TEST_F(SearchWindowStopTest, TheDefaultIntervalStillHandlesInput) {
    form->setInputIntervalMs(quillmere::kSearchInputIntervalMs);
    int ticks = 0;
    EventLoopTicker ticker([&](int) { ++ticks; });
    search(QStringLiteral("Entry"));
    ticker.stop();
    EXPECT_GE(ticks, 2);  // before the scan and after it, at least
    EXPECT_EQ(std::size_t(kDays), results().size());
    EXPECT_GE(form->lastLongestInputGapMs(), 0.0);
}

// --- Errors -----------------------------------------------------------------

// A damaged entry no longer ends the search: the days after it are found
// too, and an information box names the damaged days once the list shows.
TEST_F(SearchWindowTest, ADamagedEntryIsPassedOverAndNamedAfterTheResults) {
    for (int offset = 0; offset < 6; ++offset) {
        if (offset == 3) {
            journal.addRawBlob(kBaseDay + offset, QByteArray("\x78\x01 damaged blob"));
        } else {
            journal.addText(kBaseDay + offset, QStringLiteral("found %1").arg(offset));
        }
    }
    showForm();
    setRange(kBaseDay, kBaseDay + 5);
    search(QStringLiteral("nothing"));  // an earlier list, to be replaced
    const QString told = QStringLiteral(
        "Could not read: 18 June 2010\n\nThis entry is damaged and its text could not be "
        "searched; every other day was searched.");
    ASSERT_EQ(QStringList{told}, host.informations);
    host.informations.clear();
    int listedWhenTold = -1;
    host.onInformation = [&] { listedWhenTold = form->ListBox1->count(); };
    setRange(kBaseDay + 1, kBaseDay + 5);
    search(QStringLiteral("FOUND"));
    EXPECT_EQ(QStringList{told}, host.informations);
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_EQ((std::vector<double>{kBaseDay + 1, kBaseDay + 2, kBaseDay + 4, kBaseDay + 5}),
              results());
    expectListMatchesResults();
    expectIdle();
    EXPECT_EQ(kBaseDay + 1, form->DateEdit1->day());
    EXPECT_EQ((std::vector<bool>{false, true, false, true}), host.commandSwitches);
    EXPECT_EQ(4, listedWhenTold) << "the days found are listed before the box";
}

// --- Result list ------------------------------------------------------------

class SearchWindowResultsTest : public SearchWindowTest {
protected:
    void SetUp() override {
        SearchWindowTest::SetUp();
        for (int offset : {0, 5, 9, 12}) {
            journal.addText(kBaseDay + offset, QStringLiteral("Swimming %1").arg(offset));
        }
        journal.addText(kBaseDay + 20, QStringLiteral("Nothing"));
        showForm();
        setRange(kBaseDay, kBaseDay + 30);
        search(QStringLiteral("swim"));
        ASSERT_EQ(4u, results().size());
    }

    void doubleClickItem(int row) {
        const QRect rect = form->ListBox1->visualItemRect(form->ListBox1->item(row));
        QTest::mouseDClick(form->ListBox1->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(SearchWindowResultsTest, ItemsAreTheDaysInAscendingOrder) {
    EXPECT_EQ((QStringList{"15 June 2010", "20 June 2010", "24 June 2010", "27 June 2010"}),
              items());
}

TEST_F(SearchWindowResultsTest, DoubleClickStoresUnsavedTextThenShowsTheClickedDay) {
    const double shownBefore = kBaseDay + 100;
    host.currentDay = shownBefore;
    host.editorText = QStringLiteral("typed but not saved");
    host.editorModified = true;
    doubleClickItem(2);
    EXPECT_EQ(std::vector<double>{kBaseDay + 9}, host.shownDays);
    EXPECT_EQ(kBaseDay + 9, host.currentDay);
    EXPECT_TRUE(host.editorText.startsWith(QStringLiteral("Swimming 9")))
        << host.editorText.toStdString();
    // The unsaved text went to the day the main window showed, not the clicked one.
    const int stored = journal.table().find(shownBefore);
    ASSERT_GE(stored, 0);
    EXPECT_TRUE(quillmere::entryMatches(journal.table().entryAt(stored),
                                        QStringLiteral("typed but not saved")));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(host.errors.isEmpty());
}

struct ChooseKeyCase {
    const char* label;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool opens;
};

class ChooseByKeyTest : public SearchWindowResultsTest,
                        public ::testing::WithParamInterface<ChooseKeyCase> {};

// The keyboard's double-click: the search leaves the focus on the list with
// the first day selected; Down, then the key, shows the second day.
TEST_P(ChooseByKeyTest, EnterOrSpaceShowsTheSelectedDay) {
    const ChooseKeyCase& c = GetParam();
    ASSERT_EQ(form->ListBox1, form->focusWidget());
    QTest::keyClick(form->ListBox1, Qt::Key_Down);
    QTest::keyClick(form->ListBox1, c.key, c.modifiers);
    if (c.opens) {
        EXPECT_EQ(std::vector<double>{kBaseDay + 5}, host.shownDays) << c.label;
    } else {
        EXPECT_TRUE(host.shownDays.empty()) << c.label;
    }
    EXPECT_TRUE(form->isVisible()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ChooseByKeyTest,
    ::testing::Values(
        ChooseKeyCase{"nominal: Enter", Qt::Key_Return, Qt::NoModifier, true},
        ChooseKeyCase{"nominal: keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
        ChooseKeyCase{"nominal: Space", Qt::Key_Space, Qt::NoModifier, true},
        ChooseKeyCase{"robustness: Ctrl+Space", Qt::Key_Space, Qt::ControlModifier, false}));

TEST_F(SearchWindowResultsTest, TheCountIsToldToScreenReaders) {
    EXPECT_EQ(QStringLiteral("4 days found"), form->lastStatus());
    EXPECT_EQ(QStringLiteral("4 days found"), form->ListBox1->accessibleDescription());
    search(QStringLiteral("no such text"));
    EXPECT_EQ(QStringLiteral("No day found"), form->lastStatus());
    EXPECT_EQ(QStringLiteral("No day found"), form->focusWidget()->accessibleDescription());
}

TEST_F(SearchWindowResultsTest, DoubleClickWithoutSelectionOrResultsDoesNothing) {
    form->ListBox1->clearSelection();
    form->ListBox1->setCurrentRow(-1);
    form->ListBox1DblClick();
    EXPECT_TRUE(host.shownDays.empty());
    // After Close the list has no ResultList; the items are gone on the next show.
    form->ListBox1->setCurrentRow(1);
    form->ResultList.reset();
    form->ListBox1DblClick();
    EXPECT_TRUE(host.shownDays.empty());
    EXPECT_TRUE(host.errors.isEmpty());
}

TEST_F(SearchWindowResultsTest, AnErrorWhileShowingADayGoesToTheErrorBox) {
    struct FailingHost : FakeHost {
        using FakeHost::FakeHost;
        void ShowDay(double) override {
            throw quillmere::Error(QStringLiteral("tblJournal: boom"));
        }
    } failing{journal.table()};
    TfrmDBSearch other(failing);
    other.show();
    other.edtText->setText(QStringLiteral("swim"));
    other.DateEdit1->setDay(kBaseDay);
    other.DateEdit2->setDay(kBaseDay + 30);
    other.btnSearchClick();
    other.ListBox1DblClick();
    EXPECT_EQ(QStringList{QStringLiteral("tblJournal: boom")}, failing.errors);
}

TEST_F(SearchWindowResultsTest, CloseDiscardsTheResultsAndHides) {
    QTest::mouseClick(form->btnClose, Qt::LeftButton);
    EXPECT_FALSE(form->ResultList);
    EXPECT_FALSE(form->isVisible());
    showForm();
    EXPECT_EQ(0, form->ListBox1->count());
}

TEST_F(SearchWindowResultsTest, TheCloseBoxHidesButKeepsTheResults) {
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(4u, results().size());
    showForm();
    EXPECT_EQ(0, form->ListBox1->count());
    EXPECT_EQ(4u, results().size());
    EXPECT_EQ(quillmere::today(), form->DateEdit1->day());
}

TEST_F(SearchWindowResultsTest, TheSelectedItemIsDrawnWithTheGradientOnTheScreen) {
    host.image = QImage();
    form->ListBox1->setCurrentRow(0);
    form->ListBox1->clearFocus();
    form->edtText->setFocus();
    const QImage shot = form->ListBox1->viewport()->grab().toImage();
    EXPECT_PIXEL(shot, 200, 1, "#FFF5DD");
    EXPECT_PIXEL(shot, 200, 24, "#FFD25E");
    EXPECT_PIXEL(shot, 100, 0, "#C5C5C5");
    EXPECT_PIXEL(shot, 200, 26, "#FFFFFF");  // the second, unselected item
    EXPECT_PIXEL(shot, 200, 49, "#FFFFFF");
}

}  // namespace
