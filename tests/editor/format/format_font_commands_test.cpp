// The font, colour and header-font commands, with scripted dialogs.
#include "editor/format/format_commands.h"

#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"
#include "format_commands_fixture.h"
#include "store/errors.h"
#include "store/font_settings.h"
#include "test_support.h"

#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QTimer>

namespace quillmere::testing_commands {
namespace {

class FontCommandTest : public CommandsFixture {};

TEST_F(FontCommandTest, DialogIsLoadedWithTheSelectionsFont) {
    setText("styled words");
    editor_->setSelection(0, 6);
    editor_->setSelectionFontName("Courier New");
    editor_->setSelectionFontSize(14);
    editor_->setSelectionStyles({true, false, true, false});
    editor_->setSelectionTextColor(QColor(200, 10, 20));
    editor_->setSelectionCharset(238);
    commands_->btnFont->click();
    ASSERT_EQ(1u, fontDialogInputs_.size());
    const FontChoice& loaded = fontDialogInputs_.front();
    EXPECT_EQ("Courier New", loaded.font.family().toStdString());
    EXPECT_EQ(14, loaded.font.pointSize());
    EXPECT_TRUE(loaded.font.bold());
    EXPECT_FALSE(loaded.font.italic());
    EXPECT_TRUE(loaded.font.underline());
    EXPECT_FALSE(loaded.font.strikeOut());
    EXPECT_EQ(QColor(200, 10, 20), loaded.color);
    EXPECT_EQ(238, loaded.charset);
}

TEST_F(FontCommandTest, OkWritesFaceSizeStylesColourAndCharsetAsOneUndoStep) {
    showWindow();
    setText("some words");
    editor_->setSelection(5, 5);
    QFont chosen(QStringLiteral("Courier New"));
    chosen.setPointSize(18);
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    fontAnswer_ = FontChoice{chosen, QColor(0, 128, 0), 204};
    commands_->btnFontClick();
    editor_->setSelection(5, 5);
    EXPECT_EQ("Courier New", editor_->selectionFontName().toStdString());
    EXPECT_EQ(18, editor_->selectionFontSize());
    EXPECT_EQ((CharStyles{false, true, false, true}), editor_->selectionStyles());
    EXPECT_EQ(QColor(0, 128, 0), editor_->selectionTextColor());
    EXPECT_EQ(204, editor_->selectionCharset());
    EXPECT_TRUE(editor_->hasFocus());
    // The first word kept its font.
    editor_->setSelection(0, 4);
    EXPECT_EQ(11, editor_->selectionFontSize());
    editor_->undo();
    editor_->setSelection(5, 5);
    EXPECT_EQ(11, editor_->selectionFontSize());
    EXPECT_FALSE(editor_->selectionStyles().italic);
}

TEST_F(FontCommandTest, CancelChangesNothing) {
    setText("untouched");
    editor_->setSelection(0, 9);
    const QByteArray before = editor_->saveRtf();
    fontAnswer_.reset();
    commands_->btnFontClick();
    EXPECT_EQ(before, editor_->saveRtf());
    colorAnswer_.reset();
    commands_->btnNoteBookFillColourClick();
    commands_->btnNoteBookFontColourClick();
    EXPECT_EQ(before, editor_->saveRtf());
    EXPECT_FALSE(editor_->isModified());
}

// --- Colours -----------------------------------------------------------------

struct ColorCase {
    const char* label;
    bool highlight;  // false: text colour
    QColor chosen;   // invalid: the palette colour that means automatic
    bool automatic;
};

class ColorCommandTest : public CommandsFixture, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(ColorCommandTest, ChosenColourOrAutomaticReachesTheSelection) {
    const ColorCase& c = GetParam();
    setText("colour me");
    editor_->setSelection(0, 6);
    // Start from an explicit colour so that automatic is a change.
    if (c.highlight) {
        editor_->setSelectionBackgroundColor(QColor(1, 2, 3));
    } else {
        editor_->setSelectionTextColor(QColor(1, 2, 3));
    }
    const QPalette::ColorRole role = c.highlight ? QPalette::Base : QPalette::Text;
    colorAnswer_ = c.chosen.isValid() ? c.chosen : editor_->palette().color(role);
    if (c.highlight) {
        commands_->btnNoteBookFillColour->click();
    } else {
        commands_->btnNoteBookFontColour->click();
    }
    ASSERT_EQ(1u, colorDialogInputs_.size());
    EXPECT_EQ(QColor(1, 2, 3), colorDialogInputs_.front());  // started at the selection's
    editor_->setSelection(1, 3);
    if (c.highlight) {
        EXPECT_EQ(c.automatic, editor_->isSelectionBackgroundAutomatic());
        EXPECT_EQ(*colorAnswer_, editor_->selectionBackgroundColor());
    } else {
        EXPECT_EQ(c.automatic, editor_->isSelectionTextColorAutomatic());
        EXPECT_EQ(*colorAnswer_, editor_->selectionTextColor());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ColorCommandTest,
    ::testing::Values(ColorCase{"highlight_yellow", true, QColor(255, 255, 0), false},
                      ColorCase{"highlight_window_colour_is_none", true, QColor(), true},
                      ColorCase{"text_red", false, QColor(255, 0, 0), false},
                      ColorCase{"text_window_text_is_automatic", false, QColor(), true}),
    [](const auto& info) { return std::string(info.param.label); });

// --- Header font ---------------------------------------------------------------

// The date header as the main window makes it, with the font settings file
// written to a temporary folder.
class HeaderFontTest : public CommandsFixture {
protected:
    FormatHooks makeHooks() override {
        header_ = std::make_unique<TRbPanel>(nullptr, QStringLiteral("RbPanel1"));
        applyTitleBarStyle(*header_, 29);
        FormatHooks hooks;
        hooks.headerFont = [this] { return header_->font(); };
        hooks.setHeaderFont = [this](const QFont& f) { header_->setFont(f); };
        hooks.headerFontColor = [this] { return toQColor(header_->FontColor()); };
        hooks.setHeaderFontColor = [this](const QColor& c) {
            header_->SetFontColor(fromQColor(c));
        };
        hooks.headerCharset = [this] { return charset_; };
        hooks.setHeaderCharset = [this](int c) { charset_ = c; };
        hooks.writeFontSettings = [this] {
            ++writes_;
            if (failWrite_) {
                throw FileError("Cannot write " + path());
            }
            WriteFontSettings(path(), {header_->font().family(), charset_, skip_});
        };
        hooks.showError = [this](const QString& message) { errors_.push_back(message); };
        return hooks;
    }

    QString path() const { return folder_.file(QString::fromLatin1(kFontSettingsFileName)); }

    // What the next run's header looks like: the design's font with the
    // stored face.
    std::unique_ptr<TRbPanel> headerOfNextRun() const {
        auto next = std::make_unique<TRbPanel>(nullptr, QStringLiteral("RbPanel1"));
        applyTitleBarStyle(*next, 29);
        QFont font = next->font();
        font.setFamily(ReadFontSettings(path()).name);
        next->setFont(font);
        return next;
    }

    testsupport::TempFolder folder_;
    std::unique_ptr<TRbPanel> header_;
    int charset_ = 1;
    bool skip_ = true;
    int writes_ = 0;
    bool failWrite_ = false;
    std::vector<QString> errors_;
};

TEST_F(HeaderFontTest, DialogIsLoadedWithTheHeadersDesignFont) {
    commands_->btnHeaderFontClick();
    ASSERT_EQ(1u, fontDialogInputs_.size());
    const FontChoice& loaded = fontDialogInputs_.front();
    EXPECT_EQ("Arial", loaded.font.family().toStdString());
    EXPECT_EQ(29, loaded.font.pixelSize());
    EXPECT_TRUE(loaded.font.bold());
    EXPECT_EQ(QColor(Qt::white), loaded.color);
    EXPECT_EQ(1, loaded.charset);
    EXPECT_EQ(0, writes_);  // cancelled
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(HeaderFontTest, ChosenFontIsWrittenAtOnceAndOnlyItsFaceAndCharsetComeBack) {
    QFont chosen(QStringLiteral("Courier New"));
    chosen.setPointSize(30);
    chosen.setItalic(true);
    fontAnswer_ = FontChoice{chosen, QColor(255, 0, 0), 0};
    commands_->btnHeaderFontClick();
    // This run: the header shows everything chosen.
    EXPECT_EQ("Courier New", header_->font().family().toStdString());
    EXPECT_EQ(30, header_->font().pointSize());
    EXPECT_TRUE(header_->font().italic());
    EXPECT_EQ(QColor(255, 0, 0), toQColor(header_->FontColor()));
    EXPECT_EQ(1, writes_);
    // The file: face name, character set and the skip option.
    const QByteArray ini = folder_.read(QString::fromLatin1(kFontSettingsFileName));
    EXPECT_TRUE(ini.contains("Name=Courier New")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Charset=0")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Skip=1")) << ini.toStdString();
    const FontSettings stored = ReadFontSettings(path());
    EXPECT_EQ("Courier New", stored.name.toStdString());
    EXPECT_EQ(0, stored.charset);
    // The next run: Courier New in the design's size, style and colour.
    const auto next = headerOfNextRun();
    EXPECT_EQ("Courier New", next->font().family().toStdString());
    EXPECT_EQ(29, next->font().pixelSize());
    EXPECT_TRUE(next->font().bold());
    EXPECT_FALSE(next->font().italic());
    EXPECT_EQ(clWhite, next->FontColor());
}

TEST_F(HeaderFontTest, AFailedWriteIsReportedAndTheHeaderKeepsTheNewFont) {
    failWrite_ = true;
    fontAnswer_ = FontChoice{QFont(QStringLiteral("Courier New")), QColor(Qt::white), 1};
    commands_->btnHeaderFontClick();
    ASSERT_EQ(1u, errors_.size());
    EXPECT_EQ(("Cannot write " + path()).toStdString(), errors_.front().toStdString());
    EXPECT_EQ("Courier New", header_->font().family().toStdString());
}

// The dialogs open on the font the screen really shows: the header's design
// font asks for Arial, which is not installed here, so the dialog shows the
// family standing in for it, bold, at 22 points (29 pixels); a missing face
// must not become the dialog's "Sans Serif, Normal" and lose the bold.
struct DialogFontCase {
    const char* label;
    QFont font;
    const char* family;
    bool bold;
    bool italic;
    int points;
};

void PrintTo(const DialogFontCase& c, std::ostream* os) {
    *os << c.label;
}

QFont pixelFont(const char* family, int pixels, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont pointFont(const char* family, int points, bool bold, bool italic) {
    QFont font(QString::fromLatin1(family), points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

class DialogFontTest : public ::testing::TestWithParam<DialogFontCase> {};

TEST_P(DialogFontTest, DialogOpensOnTheFontTheScreenShows) {
    installFontSubstitutes();
    const DialogFontCase& c = GetParam();
    const QFont resolved = resolvedDialogFont(c.font);
    EXPECT_EQ(QString::fromLatin1(c.family), resolved.family()) << c.label;
    EXPECT_EQ(c.bold, resolved.bold()) << c.label;
    EXPECT_EQ(c.italic, resolved.italic()) << c.label;
    EXPECT_EQ(c.points, resolved.pointSize()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, DialogFontTest,
    ::testing::Values(DialogFontCase{"nominal: header design font", pixelFont("Arial", 29, true),
                                     kSubstituteFamily, true, false, 22},
                      DialogFontCase{"nominal: editor font", pointFont("Arial", 11, false, false),
                                     kSubstituteFamily, false, false, 11},
                      DialogFontCase{"nominal: installed face kept",
                                     pointFont("Liberation Serif", 14, true, true),
                                     "Liberation Serif", true, true, 14}),
    [](const ::testing::TestParamInfo<DialogFontCase>& info) {
        return std::to_string(info.index);
    });

// The real dialog, cancelled at once: it was showing the resolved font.
TEST(PlatformFontDialogTest, ShowsTheStandInFamilyBoldAtTheHeadersSize) {
    installFontSubstitutes();
    const FontDialogFn dialog = platformFontDialog();
    QFont shown;
    QTimer::singleShot(50, [&] {
        auto* open = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, open);
        shown = open->currentFont();
        open->reject();
    });
    FontChoice initial;
    initial.font = pixelFont("Arial", 29, true);
    EXPECT_FALSE(dialog(nullptr, initial).has_value());
    EXPECT_EQ(QString::fromLatin1(kSubstituteFamily), shown.family());
    EXPECT_TRUE(shown.bold());
    EXPECT_EQ(22, shown.pointSize());
}

}  // namespace
}  // namespace quillmere::testing_commands
