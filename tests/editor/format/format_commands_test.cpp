// The style, alignment, bullet, clipboard, deletion and undo commands and the
// feedback that follows the selection, on a real editor and tool bar.
#include "editor/format/format_commands.h"

#include "editor/format/image_list.h"
#include "editor/rich_editor.h"
#include "format_commands_fixture.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"
#include "test_support.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

namespace quillmere::testing_commands {
namespace {

class FormatCommandsTest : public CommandsFixture {};

// --- Start state ------------------------------------------------------------

TEST_F(FormatCommandsTest, UntilTheFirstChangeEveryCommandButtonIsEnabledAndUp) {
    for (QToolButton* b :
         {commands_->btnBold, commands_->btnItalic, commands_->btnUnderline, commands_->btnLeft,
          commands_->btnCenter, commands_->btnRight, commands_->btnJustify, commands_->btnCut,
          commands_->btnCopy, commands_->btnPaste, commands_->btnFind, commands_->btnDBSearch,
          commands_->btnFont, commands_->btnBullet, commands_->btnUndo, commands_->btnRedo,
          commands_->btnNoteBookFillColour, commands_->btnNoteBookFontColour}) {
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    }
}

// --- Styles -----------------------------------------------------------------

struct StyleCase {
    const char* label;
    QToolButton* FormatCommands::*button;
    QAction* FormatCommands::*item;
    bool CharStyles::*style;
};

class StyleToggleTest : public CommandsFixture, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(StyleToggleTest, ButtonWritesTheToggledStyleAndShowsIt) {
    const StyleCase& c = GetParam();
    setText("some words");
    editor_->setSelection(0, 4);
    QToolButton* button = commands_.get()->*c.button;
    button->click();
    EXPECT_TRUE(editor_->selectionStyles().*c.style);
    EXPECT_TRUE(button->isChecked());
    // The menu's check mark follows only at the next selection change.
    QAction* item = commands_.get()->*c.item;
    EXPECT_FALSE(item->isChecked());
    editor_->setSelection(1, 2);
    EXPECT_TRUE(item->isChecked());
    editor_->setSelection(0, 4);
    button->click();
    EXPECT_FALSE(editor_->selectionStyles().*c.style);
    EXPECT_FALSE(button->isChecked());
    // The rest of the text never took the style.
    editor_->setSelection(6, 2);
    EXPECT_FALSE(editor_->selectionStyles().*c.style);
}

TEST_P(StyleToggleTest, MenuItemRunsTheSameHandler) {
    const StyleCase& c = GetParam();
    setText("menu");
    editor_->setSelection(0, 4);
    (commands_.get()->*c.item)->trigger();
    EXPECT_TRUE(editor_->selectionStyles().*c.style);
    EXPECT_TRUE((commands_.get()->*c.button)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Styles, StyleToggleTest,
                         ::testing::Values(StyleCase{"bold", &FormatCommands::btnBold,
                                                     &FormatCommands::Bold1, &CharStyles::bold},
                                           StyleCase{"italic", &FormatCommands::btnItalic,
                                                     &FormatCommands::Italic1, &CharStyles::italic},
                                           StyleCase{"underline", &FormatCommands::btnUnderline,
                                                     &FormatCommands::Underline1,
                                                     &CharStyles::underline}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(FormatCommandsTest, BoldOnAPartlyItalicSelectionMakesItWhollyItalic) {
    setText("abcdef");
    editor_->setSelection(0, 3);
    editor_->setSelectionStyles({false, true, false, false});
    editor_->setSelection(0, 6);
    ASSERT_TRUE(editor_->selectionStyles().italic);  // read at the start
    ASSERT_FALSE(formatAt(4).fontItalic());
    commands_->btnBold->click();
    for (int i = 0; i < 6; ++i) {
        EXPECT_GE(formatAt(i).fontWeight(), QFont::DemiBold) << "at " << i;
        EXPECT_TRUE(formatAt(i).fontItalic()) << "at " << i;
        EXPECT_FALSE(formatAt(i).fontUnderline()) << "at " << i;
    }
}

TEST_F(FormatCommandsTest, CtrlBInTheEditorTogglesExactlyLikeTheButton) {
    showWindow();
    // A window-wide Ctrl+B of someone else must not get the key first.
    QAction other(window_.get());
    other.setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    window_->addAction(&other);
    int otherRuns = 0;
    QObject::connect(&other, &QAction::triggered, [&otherRuns] { ++otherRuns; });

    RichEditor reference;
    FormatCommands byButton(&reference, new QToolBar(&reference), {});
    for (RichEditor* e : {editor_, &reference}) {
        e->replaceSelection("ab cd");
        e->setSelection(0, 2);
        e->setSelectionStyles({false, true, false, false});
        e->setSelection(0, 5);
    }
    for (bool expectBold : {true, false}) {
        QTest::keyClick(editor_, Qt::Key_B, Qt::ControlModifier);
        byButton.btnBold->click();
        EXPECT_EQ(expectBold, commands_->btnBold->isChecked());
        EXPECT_EQ(byButton.btnBold->isChecked(), commands_->btnBold->isChecked());
        EXPECT_EQ(reference.saveRtf(), editor_->saveRtf());
        EXPECT_EQ("ab cd", editor_->toPlainText().toStdString());
    }
    EXPECT_EQ(0, otherRuns);
}

// --- Alignment --------------------------------------------------------------

struct AlignCase {
    const char* label;
    QToolButton* FormatCommands::*button;
    ParagraphAlignment alignment;
};

class AlignmentTest : public CommandsFixture, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(AlignmentTest, OnlyTheClickedButtonIsDownAndEveryTouchedParagraphFollows) {
    const AlignCase& c = GetParam();
    setText("one\ntwo\nthree");
    editor_->setSelection(2, 4);  // touches "one" and "two"
    QToolButton* clicked = commands_.get()->*c.button;
    clicked->click();
    for (QToolButton* b :
         {commands_->btnLeft, commands_->btnCenter, commands_->btnRight, commands_->btnJustify}) {
        EXPECT_EQ(b == clicked, b->isChecked()) << b->objectName().toStdString();
    }
    for (int start : {0, 4}) {
        editor_->setSelection(start, 0);
        EXPECT_EQ(c.alignment, editor_->paragraphAlignment()) << "paragraph at " << start;
    }
    editor_->setSelection(9, 0);
    EXPECT_EQ(ParagraphAlignment::Left, editor_->paragraphAlignment());
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, AlignmentTest,
    ::testing::Values(AlignCase{"left", &FormatCommands::btnLeft, ParagraphAlignment::Left},
                      AlignCase{"centre", &FormatCommands::btnCenter, ParagraphAlignment::Center},
                      AlignCase{"right", &FormatCommands::btnRight, ParagraphAlignment::Right},
                      AlignCase{"justify", &FormatCommands::btnJustify,
                                ParagraphAlignment::Justify}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(FormatCommandsTest, JustifyTwiceStaysDownAndJustifiedAfterSwitchingTypographyOn) {
    setText("a paragraph to justify");
    editor_->setAdvancedTypography(false);
    commands_->btnJustify->click();
    EXPECT_TRUE(editor_->advancedTypography());
    commands_->btnJustify->click();
    EXPECT_TRUE(commands_->btnJustify->isChecked());
    EXPECT_EQ(ParagraphAlignment::Justify, editor_->paragraphAlignment());
    commands_->EditorSelectionChange();
    EXPECT_TRUE(commands_->btnJustify->isChecked());
    EXPECT_FALSE(commands_->btnLeft->isChecked());
}

// --- Bullets ----------------------------------------------------------------

struct BulletCase {
    const char* label;
    int offsetBefore;
    int offsetWithBullet;
};

class BulletTest : public CommandsFixture, public ::testing::WithParamInterface<BulletCase> {};

TEST_P(BulletTest, BulletKeepsAnOffsetOfTenOrMoreAndOffResetsItToZero) {
    const BulletCase& c = GetParam();
    setText("item");
    editor_->setParagraphLeftOffset(c.offsetBefore);
    commands_->btnBullet->click();
    EXPECT_TRUE(editor_->isParagraphBullet());
    EXPECT_TRUE(commands_->btnBullet->isChecked());
    EXPECT_EQ(c.offsetWithBullet, editor_->paragraphLeftOffset());
    commands_->btnBullet->click();
    EXPECT_FALSE(editor_->isParagraphBullet());
    EXPECT_FALSE(commands_->btnBullet->isChecked());
    EXPECT_EQ(0, editor_->paragraphLeftOffset());
}

INSTANTIATE_TEST_SUITE_P(Offsets, BulletTest,
                         ::testing::Values(BulletCase{"fifteen_kept", 15, 15},
                                           BulletCase{"four_raised", 4, 10},
                                           BulletCase{"zero_raised", 0, 10},
                                           BulletCase{"exactly_ten_kept", 10, 10}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- Selection feedback -----------------------------------------------------

TEST_F(FormatCommandsTest, EmptySelectionDisablesCutAndCopyButtonsButNotTheMenuItems) {
    setText("keep this");
    QApplication::clipboard()->setText("sentinel");
    editor_->setSelection(0, 4);
    EXPECT_TRUE(commands_->btnCut->isEnabled());
    EXPECT_TRUE(commands_->btnCopy->isEnabled());
    editor_->setSelection(2, 0);
    EXPECT_FALSE(commands_->btnCut->isEnabled());
    EXPECT_FALSE(commands_->btnCopy->isEnabled());
    EXPECT_TRUE(commands_->btnPaste->isEnabled());
    EXPECT_TRUE(commands_->Cut1->isEnabled());
    EXPECT_TRUE(commands_->Copy1->isEnabled());
    commands_->Cut1->trigger();
    commands_->Copy1->trigger();
    EXPECT_EQ("keep this", editor_->toPlainText().toStdString());
    EXPECT_EQ("sentinel", QApplication::clipboard()->text().toStdString());
    EXPECT_FALSE(editor_->isModified());
}

TEST_F(FormatCommandsTest, SelectionChangeShowsStylesBulletAndAlignmentOfTheSelection) {
    setText("plain\nfancy");
    editor_->setSelection(6, 5);
    editor_->setSelectionStyles({true, false, true, false});
    editor_->setParagraphAlignment(ParagraphAlignment::Right);
    editor_->setParagraphBullet(true);
    editor_->setSelection(7, 2);
    EXPECT_TRUE(commands_->btnBold->isChecked());
    EXPECT_TRUE(commands_->Bold1->isChecked());
    EXPECT_FALSE(commands_->btnItalic->isChecked());
    EXPECT_FALSE(commands_->Italic1->isChecked());
    EXPECT_TRUE(commands_->btnUnderline->isChecked());
    EXPECT_TRUE(commands_->Underline1->isChecked());
    EXPECT_TRUE(commands_->btnBullet->isChecked());
    EXPECT_TRUE(commands_->btnRight->isChecked());
    EXPECT_FALSE(commands_->btnLeft->isChecked());
    editor_->setSelection(1, 0);
    EXPECT_FALSE(commands_->btnBold->isChecked());
    EXPECT_FALSE(commands_->Bold1->isChecked());
    EXPECT_FALSE(commands_->btnBullet->isChecked());
    EXPECT_TRUE(commands_->btnLeft->isChecked());
    EXPECT_FALSE(commands_->btnRight->isChecked());
}

// --- Clipboard and deletion -------------------------------------------------

TEST_F(FormatCommandsTest, CutMovesTheSelectionToTheClipboardAndMarksModified) {
    setText("cut me here");
    editor_->setSelection(4, 3);
    commands_->btnCutClick();
    EXPECT_EQ("cut here", editor_->toPlainText().toStdString());
    EXPECT_EQ("me ", QApplication::clipboard()->text().toStdString());
    EXPECT_TRUE(editor_->isModified());
}

TEST_F(FormatCommandsTest, CopyLeavesTheTextAndTheModifiedFlag) {
    setText("copy me");
    editor_->setSelection(5, 2);
    commands_->Copy1->trigger();
    EXPECT_EQ("me", QApplication::clipboard()->text().toStdString());
    EXPECT_FALSE(editor_->isModified());
}

TEST_F(FormatCommandsTest, PasteInsertsAtTheSelectionAndMarksModified) {
    setText("[]");
    QApplication::clipboard()->setText("pasted");
    editor_->setSelection(1, 0);
    commands_->btnPaste->click();
    EXPECT_EQ("[pasted]", editor_->toPlainText().toStdString());
    EXPECT_TRUE(editor_->isModified());
}

TEST_F(FormatCommandsTest, PasteOfAnEmptyClipboardChangesNothing) {
    setText("same");
    QApplication::clipboard()->clear();
    commands_->Paste1->trigger();
    EXPECT_EQ("same", editor_->toPlainText().toStdString());
    EXPECT_FALSE(editor_->isModified());
}

TEST_F(FormatCommandsTest, SelectAllAndClearSelectionLeaveTheClipboardAlone) {
    setText("first second");
    QApplication::clipboard()->setText("sentinel");
    commands_->SelectAll1->trigger();
    EXPECT_EQ(0, editor_->selectionStart());
    EXPECT_EQ(12, editor_->selectionLength());
    editor_->setSelection(5, 7);
    commands_->ClearSelection1->trigger();
    EXPECT_EQ("first", editor_->toPlainText().toStdString());
    EXPECT_EQ("sentinel", QApplication::clipboard()->text().toStdString());
    EXPECT_TRUE(editor_->isModified());
}

TEST_F(FormatCommandsTest, ClearAllEmptiesTheEditorAndClearsTheModifiedFlag) {
    setText("gone");
    editor_->setModified(true);
    commands_->ClearAll1->trigger();
    EXPECT_TRUE(editor_->toPlainText().isEmpty());
    EXPECT_FALSE(editor_->isModified());
}

// The stored entry of a day is only replaced when the editor is modified as
// the day is left.
class ClearAllStoreTest : public CommandsFixture {
protected:
    static constexpr double kDay = 45000;

    void SetUp() override {
        CommandsFixture::SetUp();
        journal_.OpenJournal(folder_.file("Journal.cds"));
        RichEditor writer;
        writer.replaceSelection("yesterday's words");
        journal_.StoreEntry(kDay, writer.saveRtf());
        storedBefore_ = storedBlob();
        editor_->loadEntryRtf(DecodeEntryContent(storedBefore_));
        ASSERT_EQ("yesterday's words", editor_->toPlainText().toStdString());
    }

    QByteArray storedBlob() const { return journal_.entryAt(journal_.find(kDay)); }

    // What leaving the day does: store the entry when the editor is modified.
    void leaveDay() {
        if (editor_->isModified()) {
            journal_.StoreEntry(kDay, editor_->saveRtf());
            editor_->setModified(false);
        }
    }

    QString storedText() const {
        RichEditor reader;
        reader.loadEntryRtf(DecodeEntryContent(storedBlob()));
        return reader.toPlainText();
    }

    testsupport::TempFolder folder_;
    JournalTable journal_;
    QByteArray storedBefore_;
};

TEST_F(ClearAllStoreTest, ClearAllThenLeavingTheDayStoresNothing) {
    commands_->ClearAll1->trigger();
    leaveDay();
    EXPECT_EQ(1, journal_.recordCount());
    EXPECT_EQ(testsupport::hexDump(storedBefore_), testsupport::hexDump(storedBlob()));
}

TEST_F(ClearAllStoreTest, ClearAllThenOneLetterStoresTheOneLetterEntry) {
    commands_->ClearAll1->trigger();
    type("x");
    leaveDay();
    EXPECT_EQ(1, journal_.recordCount());
    EXPECT_EQ("x", storedText().toStdString());
}

// --- Undo and redo ----------------------------------------------------------

TEST_F(FormatCommandsTest, UndoAndRedoButtonsFollowTheEditorsUndoState) {
    setText("");
    editor_->clearAll();
    type("abc");
    EXPECT_TRUE(commands_->btnUndo->isEnabled());
    EXPECT_FALSE(commands_->btnRedo->isEnabled());
    commands_->btnUndo->click();
    EXPECT_TRUE(editor_->toPlainText().isEmpty());
    EXPECT_TRUE(commands_->btnRedo->isEnabled());
    EXPECT_FALSE(commands_->btnUndo->isEnabled());
    commands_->btnRedo->click();
    EXPECT_EQ("abc", editor_->toPlainText().toStdString());
    EXPECT_FALSE(commands_->btnRedo->isEnabled());
    // Redo with nothing to redo does nothing.
    commands_->btnRedoClick();
    EXPECT_EQ("abc", editor_->toPlainText().toStdString());
}

TEST_F(FormatCommandsTest, ClearAllDropsTheUndoHistory) {
    type("abc");
    commands_->ClearAll1->trigger();
    EXPECT_FALSE(commands_->btnUndo->isEnabled());
    EXPECT_FALSE(commands_->btnRedo->isEnabled());
}

TEST_F(FormatCommandsTest, SearchButtonOpensTheSearchWindowThroughItsHook) {
    commands_->btnDBSearch->click();
    EXPECT_EQ(1, searchWindowOpened_);
    FormatCommands withoutHook(editor_, new QToolBar(window_.get()), {});
    EXPECT_FALSE(withoutHook.btnDBSearch->isEnabled());
}

// The main window may own the commands as a child made after its bands, so
// the tool bar and the editor go first.
TEST(FormatCommandsLifetimeTest, WindowDestroyingItsControlsBeforeTheCommandsIsSafe) {
    for (bool commandsFirst : {false, true}) {
        auto window = std::make_unique<QWidget>();
        FormatCommands* commands = nullptr;
        if (commandsFirst) {
            // Made before the controls exist is impossible; made as a child of
            // the window before the editor band is the other order.
            auto* band = new QWidget(window.get());
            auto* bar = new QToolBar(band);
            auto* editor = new RichEditor(window.get());
            commands = new FormatCommands(editor, bar, {}, window.get());
            delete band;  // the tool bar goes while the editor lives on
            editor->replaceSelection("still typing");
            editor->selectAll();
            commands->ImageList1->setBackgroundColor(QColor(Qt::white));
            commands->EditorMouseDown(Qt::LeftButton);
        } else {
            auto* bar = new QToolBar(window.get());
            auto* editor = new RichEditor(window.get());
            commands = new FormatCommands(editor, bar, {}, window.get());
            editor->replaceSelection("text with undo");
            editor->setSelection(2, 3);
        }
        window->show();
        QApplication::processEvents();
        const QPointer<QMenu> menu = commands->PopupMenu1;
        window.reset();
        // The menu is a window of its own: it goes with the commands.
        EXPECT_TRUE(menu.isNull());
    }
}

}  // namespace
}  // namespace quillmere::testing_commands
