// The tool bar: every button's name, hint and picture as the main window's
// design lists them, left to right with their separators, and its size.
#include "editor/format/format_commands.h"

#include "editor/format/image_list.h"
#include "format_commands_fixture.h"

#include <QFrame>
#include <QToolButton>

#include <algorithm>

namespace quillmere::testing_commands {
namespace {

struct ExpectedButton {
    const char* name;  // "-" for a separator
    const char* hint;
    int image;
    bool toggles;
    bool laterWork;  // disabled until its command is connected
};

// clang-format off
const ExpectedButton kExpected[] = {
    {"btnNoteBookOpen", "Import...", 26, false, true},
    {"btnNoteBookSaveAs", "Export...", 21, false, true},
    {"ToolButton13", "Print...", 13, false, true},
    {"-", "", -1, false, false},
    {"btnBold", "Bold", 4, true, false},
    {"btnItalic", "Italic", 5, true, false},
    {"btnUnderline", "Underline", 6, true, false},
    {"-", "", -1, false, false},
    {"btnLeft", "Align Left", 7, true, false},
    {"btnCenter", "Align Center", 8, true, false},
    {"btnRight", "Align Right", 9, true, false},
    {"btnJustify", "", 31, true, false},
    {"-", "", -1, false, false},
    {"btnCut", "Cut", 10, false, false},
    {"btnCopy", "Copy", 11, false, false},
    {"btnPaste", "Paste", 12, false, false},
    {"-", "", -1, false, false},
    {"btnFind", "Find Text...", 27, false, false},
    {"btnDBSearch", "Full Database Text Search...", 28, false, false},
    {"btnFont", "Font...", 15, false, false},
    {"btnBullet", "Bullets", 14, true, false},
    {"-", "", -1, false, false},
    {"btnUndo", "Undo", 17, false, false},
    {"btnRedo", "Redo", 16, false, false},
    {"-", "", -1, false, false},
    {"btnNoteBookFillColour", "Highlight Colour...", 23, false, false},
    {"btnNoteBookFontColour", "Font Colour...", 22, false, false},
    {"-", "", -1, false, false},
    {"btnInsertChar", "Insert Special Characters...", 25, false, false},
    {"btnInsertEmoticon", "Insert Emoticon...", 24, false, false},
    {"btnInsertPicture", "Insert Picture...", 29, false, true},
    {"btnInsertLink", "Insert Link...", 30, false, true},
};
// clang-format on

class ToolBarTest : public CommandsFixture {
protected:
    // The tool bar's own widgets, left to right.
    std::vector<QWidget*> widgetsLeftToRight() const {
        std::vector<QWidget*> found;
        for (QWidget* w : toolBar_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isVisible() &&
                (qobject_cast<QToolButton*>(w) != nullptr || qobject_cast<QFrame*>(w) != nullptr)) {
                found.push_back(w);
            }
        }
        std::sort(found.begin(), found.end(),
                  [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
        return found;
    }
};

class ToolButtonRowTest : public ToolBarTest, public ::testing::WithParamInterface<int> {};

TEST_P(ToolButtonRowTest, ButtonHasTheNameHintPictureAndKindOfItsRow) {
    const ExpectedButton& row = kExpected[GetParam()];
    auto* button = toolBar_->findChild<QToolButton*>(QString::fromLatin1(row.name));
    ASSERT_NE(nullptr, button) << row.name;
    EXPECT_EQ(row.hint, button->toolTip().toStdString());
    EXPECT_TRUE(button->text().isEmpty() || button->toolButtonStyle() == Qt::ToolButtonIconOnly);
    EXPECT_EQ(row.image, button->property(FormatCommands::kImageIndexProperty).toInt());
    EXPECT_TRUE(samePicture(commands_->ImageList1->image(row.image), pictureOf(button->icon())))
        << row.name;
    EXPECT_EQ(row.toggles, button->isCheckable());
    EXPECT_EQ(!row.laterWork, button->isEnabled());
    EXPECT_EQ(QSize(30, 30), button->size());
    EXPECT_TRUE(button->autoRaise());
}

// The rows that are buttons (separators are checked by the layout test).
std::vector<int> buttonRows() {
    std::vector<int> rows;
    for (int i = 0; i < int(std::size(kExpected)); ++i) {
        if (std::string(kExpected[i].name) != "-") {
            rows.push_back(i);
        }
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Rows, ToolButtonRowTest, ::testing::ValuesIn(buttonRows()),
                         [](const auto& info) { return std::string(kExpected[info.param].name); });

TEST_F(ToolBarTest, ButtonsAndEightPixelSeparatorsSitSideBySideWithin807Pixels) {
    showWindow();
    toolBar_->setFixedWidth(FormatCommands::kToolBarWidth);
    QApplication::processEvents();
    const std::vector<QWidget*> widgets = widgetsLeftToRight();
    ASSERT_EQ(std::size(kExpected), widgets.size());
    int x = widgets.front()->x();
    for (size_t i = 0; i < widgets.size(); ++i) {
        const ExpectedButton& row = kExpected[i];
        QWidget* w = widgets[i];
        EXPECT_EQ(x, w->x()) << "widget " << i;
        if (std::string(row.name) == "-") {
            EXPECT_NE(nullptr, qobject_cast<QFrame*>(w));
            EXPECT_EQ(8, w->width()) << "separator " << i;
        } else {
            EXPECT_EQ(row.name, w->objectName().toStdString());
            EXPECT_EQ(30, w->width());
        }
        x += w->width();
    }
    EXPECT_LE(x, FormatCommands::kToolBarWidth);
    // Nothing spilled into an overflow button.
    for (QToolButton* b : toolBar_->findChildren<QToolButton*>()) {
        if (b->objectName() == QLatin1String("qt_toolbar_ext_button")) {
            EXPECT_FALSE(b->isVisible());
        }
    }
}

TEST_F(ToolBarTest, ButtonPicturesFollowTheImageListBackground) {
    commands_->ImageList1->setBackgroundColor(QColor(Qt::white));
    const QImage onWhite = commands_->btnBold->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(qRgb(255, 255, 255), onWhite.pixel(0, 0) | 0xFF000000u);
    EXPECT_EQ(255, qAlpha(onWhite.pixel(0, 0)));
    commands_->EditorMouseDown(Qt::LeftButton);
    EXPECT_FALSE(commands_->ImageList1->backgroundColor().has_value());
    const QImage clear = commands_->btnBold->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(0, qAlpha(clear.pixel(0, 0)));
}

}  // namespace
}  // namespace quillmere::testing_commands
