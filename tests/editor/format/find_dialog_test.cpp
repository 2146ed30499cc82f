// The find dialog: its options, the rule that moves it off a hit, and the
// find command over a real editor.
#include "editor/format/find_dialog.h"

#include "editor/format/format_commands.h"
#include "format_commands_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <set>

namespace quillmere::testing_commands {
namespace {

// --- Placement rule --------------------------------------------------------------

struct PlacementCase {
    const char* label;
    QRect dialog;
    QPoint hitStart;
    QPoint hitEnd;
    int screenHeight;
    std::optional<QPoint> moved;
};

class FindPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(FindPlacementTest, DialogMovesOffTheHitByTheRule) {
    const PlacementCase& c = GetParam();
    EXPECT_EQ(c.moved, findDialogPositionOffHit(c.dialog, c.hitStart, c.hitEnd, c.screenHeight));
}

// A 300 x 150 dialog at (100, 200): it covers x 100..399 and y 200..349.
const QRect kDialog(100, 200, 300, 150);

INSTANTIATE_TEST_SUITE_P(
    Rule, FindPlacementTest,
    ::testing::Values(
        PlacementCase{"nominal_not_covered_stays", kDialog, {50, 400}, {90, 400}, 1000, {}},
        PlacementCase{"nominal_start_covered_room_above",
                      kDialog,
                      {150, 300},
                      {180, 300},
                      1000,
                      QPoint(100, 300 - 20 - 150)},
        PlacementCase{
            "nominal_end_covered_20_below", kDialog, {50, 190}, {120, 190}, 1000, QPoint(100, 20)},
        PlacementCase{"nominal_no_room_above_goes_below",
                      QRect(100, 100, 300, 150),
                      {150, 150},
                      {160, 150},
                      1000,
                      QPoint(100, 190)},
        PlacementCase{"boundary_height_plus_20_equal_y_goes_below",
                      QRect(100, 100, 300, 150),
                      {150, 170},
                      {150, 170},
                      1000,
                      QPoint(100, 210)},
        PlacementCase{"boundary_bottom_reaching_screen_height_stays",
                      QRect(100, 100, 300, 150),
                      {150, 150},
                      {160, 150},
                      300,
                      {}},
        PlacementCase{"boundary_one_more_goes_above",
                      QRect(100, 160, 300, 150),
                      {150, 171},
                      {150, 171},
                      1000,
                      QPoint(100, 1)},
        PlacementCase{"robustness_no_room_anywhere_stays",
                      QRect(0, 0, 300, 700),
                      {10, 100},
                      {20, 100},
                      800,
                      {}},
        PlacementCase{"boundary_right_edge_is_outside", kDialog, {400, 300}, {400, 300}, 1000, {}},
        PlacementCase{
            "boundary_bottom_edge_probe_is_outside", kDialog, {50, 330}, {120, 330}, 1000, {}}),
    [](const auto& info) { return std::string(info.param.label); });

// --- The dialog itself -----------------------------------------------------------

TEST(FindDialogTest, OptionsRoundTripAndDirectionDownIsForward) {
    QWidget owner;
    FindDialog dialog(&owner);
    EXPECT_TRUE(dialog.options().forward);
    EXPECT_FALSE(dialog.options().matchCase);
    EXPECT_FALSE(dialog.options().wholeWord);
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(dialog.isWindow());
    for (const FindOptions& o : {FindOptions{false, true, false}, FindOptions{true, false, true},
                                 FindOptions{false, true, true}}) {
        dialog.setOptions(o);
        EXPECT_EQ(o.forward, dialog.options().forward);
        EXPECT_EQ(o.matchCase, dialog.options().matchCase);
        EXPECT_EQ(o.wholeWord, dialog.options().wholeWord);
    }
}

TEST(FindDialogTest, FindNextAsksOnlyWithAFindText) {
    QWidget owner;
    FindDialog dialog(&owner);
    QSignalSpy asked(&dialog, &FindDialog::findNextRequested);
    EXPECT_FALSE(dialog.btnFindNext->isEnabled());
    dialog.findNext();
    EXPECT_EQ(0, asked.count());
    dialog.setFindText("word");
    EXPECT_TRUE(dialog.btnFindNext->isEnabled());
    dialog.chkMatchCase->setChecked(true);
    dialog.rbUp->setChecked(true);
    dialog.btnFindNext->click();
    ASSERT_EQ(1, asked.count());
    EXPECT_EQ("word", asked.at(0).at(0).toString().toStdString());
    const auto options = asked.at(0).at(1).value<FindOptions>();
    EXPECT_FALSE(options.forward);
    EXPECT_TRUE(options.matchCase);
}

// --- The find command ----------------------------------------------------------

class FindCommandTest : public CommandsFixture {
protected:
    std::set<QWidget*> visibleWindows() const {
        std::set<QWidget*> shown;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible()) {
                shown.insert(w);
            }
        }
        return shown;
    }
};

TEST_F(FindCommandTest, SelectedTextBecomesTheFindTextAndAnEmptySelectionKeepsIt) {
    showWindow();
    setText("alpha beta alpha");
    editor_->setSelection(6, 4);
    commands_->btnFind->click();
    FindDialog* dialog = commands_->findDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ("beta", dialog->findText().toStdString());
    dialog->hide();
    editor_->setSelection(0, 0);
    commands_->btnFind->click();
    EXPECT_EQ(dialog, commands_->findDialog());  // made once, reused
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ("beta", dialog->findText().toStdString());
}

TEST_F(FindCommandTest, AHitBecomesTheSelectionAndTheEndShowsNothing) {
    showWindow();
    setText("one two one two");
    editor_->setSelection(0, 0);
    commands_->btnFind->click();
    FindDialog* dialog = commands_->findDialog();
    dialog->setFindText("two");
    dialog->findNext();
    EXPECT_EQ(4, editor_->selectionStart());
    EXPECT_EQ(3, editor_->selectionLength());
    dialog->findNext();
    EXPECT_EQ(12, editor_->selectionStart());
    const std::set<QWidget*> before = visibleWindows();
    dialog->findNext();  // nothing after the last "two"
    EXPECT_EQ(12, editor_->selectionStart());
    EXPECT_EQ(3, editor_->selectionLength());
    EXPECT_EQ(before, visibleWindows());
    // Up from there finds the first one.
    dialog->rbUp->setChecked(true);
    dialog->findNext();
    EXPECT_EQ(4, editor_->selectionStart());
}

TEST_F(FindCommandTest, MultiLineSelectionGivesItsFirstLine) {
    setText("first line\nsecond");
    editor_->setSelection(6, 8);
    commands_->btnFindClick();
    EXPECT_EQ("line", commands_->findDialog()->findText().toStdString());
    commands_->findDialog()->hide();
}

TEST_F(FindCommandTest, DialogCoveringTheHitMovesOff) {
    showWindow();
    QString text;
    for (int i = 0; i < 12; ++i) {
        text += QStringLiteral("line %1\n").arg(i);
    }
    text += QStringLiteral("target");
    setText(text);
    commands_->btnFindClick();
    FindDialog* dialog = commands_->findDialog();
    dialog->setFindText("target");
    QTextCursor at(editor_->document());
    at.setPosition(int(text.indexOf(QStringLiteral("target"))));
    const QPoint hit = editor_->viewport()->mapToGlobal(editor_->cursorRect(at).topLeft());
    // Put the dialog right over the hit.
    dialog->move(hit.x() - 10, hit.y() - 10);
    QApplication::processEvents();
    ASSERT_TRUE(dialog->frameGeometry().contains(hit));
    const QRect before = dialog->frameGeometry();
    dialog->findNext();
    ASSERT_EQ(6, editor_->selectionLength());
    const QPoint shownHit = editor_->viewport()->mapToGlobal(editor_->cursorRect(at).topLeft());
    const std::optional<QPoint> expected =
        findDialogPositionOffHit(before, shownHit, shownHit, dialog->screen()->geometry().height());
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(*expected, dialog->frameGeometry().topLeft());
    EXPECT_FALSE(dialog->frameGeometry().contains(shownHit));
    dialog->hide();
}

}  // namespace
}  // namespace quillmere::testing_commands
