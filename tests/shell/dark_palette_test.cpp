// The program under a dark desktop palette (Fusion's dark colours, as Breeze
// Dark gives them): the text on the windows' fixed-colour frames keeps its
// contrast, and the tool bar's checked state stands out from the white band
// and keeps its picture readable, measured on rendered pixels.
#include "shell_fixture.h"

#include "controls/contrast.h"
#include "controls/rb_panel.h"
#include "dark_palette.h"
#include "editor/format/format_commands.h"
#include "editor/pickers/char_map_window.h"
#include "editor/pickers/emoticons_window.h"
#include "export/progress_window.h"
#include "search/db_search_form.h"
#include "shell/about_box.h"
#include "shell/calendar_window.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <map>

namespace quillmere {
namespace {

QPalette darkPalette() {
    return testsupport::darkFusionPalette();
}

// The palette of the whole application for one test, put back afterwards.
class PaletteScope {
public:
    explicit PaletteScope(const QPalette& palette) : saved_(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~PaletteScope() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

// The colour most pixels of `rect` have (the background behind a text).
QColor commonest(const QImage& image, const QRect& rect) {
    std::map<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            ++counts[image.pixel(x, y) | 0xFF000000u];
        }
    }
    auto best = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        if (it->second > best->second) {
            best = it;
        }
    }
    return QColor::fromRgb(best->first);
}

// The highest contrast any pixel of `rect` has against its commonest colour:
// the core of a text's strokes against the ground it is drawn on.
double textContrast(const QImage& image, const QRect& rect) {
    const QColor ground = commonest(image, rect);
    double best = 1;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            best = std::max(best, ContrastRatio(QColor::fromRgb(image.pixel(x, y)), ground));
        }
    }
    return best;
}

// Every shown label and group box title (the login and the emoticon picker
// have none: their only text is the panels' own caption, drawn in black) of `window` with the
// contrast of its text, by object name and text.
std::map<std::string, double> textContrasts(QWidget* window) {
    const bool wasShown = window->isVisible();
    window->show();
    QApplication::processEvents();
    const QImage image = window->grab().toImage();
    std::map<std::string, double> contrasts;
    const QRect inside = image.rect();
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty()) {
            continue;
        }
        const QRect rect = QRect(label->mapTo(window, QPoint(0, 0)), label->size()) & inside;
        contrasts[(label->objectName() + QLatin1Char(':') + label->text()).toStdString()] =
            textContrast(image, rect);
    }
    for (QGroupBox* box : window->findChildren<QGroupBox*>()) {
        if (!box->isVisibleTo(window)) {
            continue;
        }
        const int titleHeight = box->fontMetrics().height() + 2;
        const QRect rect =
            QRect(box->mapTo(window, QPoint(0, 0)), QSize(box->width(), titleHeight)) & inside;
        contrasts[(box->objectName() + QLatin1Char(':') + box->title()).toStdString()] =
            textContrast(image, rect);
    }
    if (!wasShown) {
        window->hide();
    }
    return contrasts;
}

struct WindowCase {
    const char* label;
    std::function<QWidget*(Program&)> window;
};

class DarkPaletteTest : public ShellTest, public ::testing::WithParamInterface<WindowCase> {};

// Each text reads at least as well as under the light palette, and at 4.5:1
// at the least where the light palette gives that much.
TEST_P(DarkPaletteTest, TextOnTheFramesStaysReadable) {
    start();
    QWidget* window = GetParam().window(program());
    const std::map<std::string, double> light = textContrasts(window);
    ASSERT_FALSE(light.empty()) << GetParam().label;
    std::map<std::string, double> dark;
    {
        PaletteScope scope(darkPalette());
        dark = textContrasts(window);
    }
    ASSERT_EQ(light.size(), dark.size()) << GetParam().label;
    for (const auto& [text, contrast] : light) {
        EXPECT_GE(dark.at(text) + 0.05, std::min(contrast, 4.5))
            << GetParam().label << ": " << text << " light " << contrast << ", dark "
            << dark.at(text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, DarkPaletteTest,
    ::testing::Values(
        WindowCase{"nominal: main window", [](Program& p) -> QWidget* { return p.main(); }},
        WindowCase{"nominal: character map",
                   [](Program& p) -> QWidget* { return p.characterMap(); }},
        WindowCase{"nominal: calendar", [](Program& p) -> QWidget* { return p.calendar(); }},
        WindowCase{"nominal: settings", [](Program& p) -> QWidget* { return p.settings(); }},
        WindowCase{"nominal: search", [](Program& p) -> QWidget* { return p.search(); }},
        WindowCase{"nominal: export progress", [](Program& p) -> QWidget* { return p.progress(); }},
        WindowCase{"nominal: About box",
                   [](Program& p) -> QWidget* { return new AboutBox(p.main()); }}),
    [](const ::testing::TestParamInfo<WindowCase>& info) { return std::to_string(info.index); });

struct CheckedLook {
    double againstBand = 0;  // the checked button's border against the band
    double picture = 0;      // the picture's ink against the checked face
};

// Bold checked, rendered with the tool bar band around it.
CheckedLook measureCheckedBold(TfrmMain& main) {
    QToolButton* bold = main.Commands->btnBold;
    bold->setChecked(true);
    main.Editor->setFocus();  // no focus mark on the button
    QApplication::processEvents();
    const QImage band = main.RbPanel8->grab().toImage();
    const QRect button(bold->mapTo(main.RbPanel8, QPoint(0, 0)), bold->size());
    const QColor bandColour = QColor::fromRgb(
        band.pixel(main.ToolBar1->x() - 12, main.ToolBar1->y() + main.ToolBar1->height() / 2));
    const QColor border = QColor::fromRgb(band.pixel(button.left(), button.center().y()));
    const QRect face = button.adjusted(1, 1, -1, -1);
    const QColor faceColour = commonest(band, face);
    CheckedLook look;
    look.againstBand = ContrastRatio(border, bandColour);
    look.picture = textContrast(band, face);
    EXPECT_EQ(faceColour, commonest(band, face));
    return look;
}

struct PaletteCase {
    const char* label;
    bool dark;
};

class CheckedToolBarTest : public ShellTest, public ::testing::WithParamInterface<PaletteCase> {};

TEST_P(CheckedToolBarTest, KeepsAContrastOfAtLeast4Point5) {
    start();
    std::unique_ptr<PaletteScope> scope;
    if (GetParam().dark) {
        scope = std::make_unique<PaletteScope>(darkPalette());
    }
    const CheckedLook look = measureCheckedBold(main());
    EXPECT_GE(look.againstBand, 4.5) << GetParam().label;
    EXPECT_GE(look.picture, 4.5) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(Palettes, CheckedToolBarTest,
                         ::testing::Values(PaletteCase{"nominal: light palette", false},
                                           PaletteCase{"nominal: dark palette", true}),
                         [](const ::testing::TestParamInfo<PaletteCase>& info) {
                             return std::string(info.param.dark ? "Dark" : "Light");
                         });

}  // namespace
}  // namespace quillmere
