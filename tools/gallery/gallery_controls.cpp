// The gallery's section for the fills, the context menu look and the
// cylinder progress bar with some of its presets.
#include "tools/gallery/gallery_window.h"

#include "controls/color_gradient.h"
#include "controls/menu_style.h"
#include "controls/pro_effect.h"
#include "controls/progress_cyl.h"
#include "controls/rb_fonts.h"

#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>

namespace quillmere {

namespace {

// A strip filled with DrawColorGradient.
class GradientStrip : public QWidget {
public:
    GradientStrip(QWidget* parent, bool horizontal, std::vector<TColor> colors)
        : QWidget(parent), horizontal_(horizontal), colors_(std::move(colors)) {
        setFixedSize(horizontal ? 240 : 40, horizontal ? 30 : 90);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        try {
            DrawColorGradient(painter, FillRect::fromQRect(rect()), horizontal_, colors_);
        } catch (const GradientError&) {
            painter.fillRect(rect(), Qt::red);
        }
    }

private:
    bool horizontal_;
    std::vector<TColor> colors_;
};

QLabel* menuPicture(QWidget* parent) {
    QMenu menu;
    MenuLook::apply(&menu);
    MenuLook::addSection(&menu, QStringLiteral("Text Selection"));
    QAction* cut = menu.addAction(QStringLiteral("Cu&t"));
    MenuLook::setHint(cut, QStringLiteral("Cut the selection to the clipboard"));
    QAction* copy = menu.addAction(QStringLiteral("&Copy"));
    MenuLook::setHint(copy, QStringLiteral("Copy the selection"));
    QAction* paste = menu.addAction(QStringLiteral("&Paste"));
    paste->setEnabled(false);
    MenuLook::setHint(paste, QStringLiteral("Nothing to paste"));
    QAction* wrap = menu.addAction(QStringLiteral("Word &wrap"));
    wrap->setCheckable(true);
    wrap->setChecked(true);
    menu.setActiveAction(copy);
    menu.adjustSize();
    auto* label = new QLabel(parent);
    label->setPixmap(menu.grab());
    return label;
}

TProgressCyl* bar(QWidget* parent, TProEffect effect, int position) {
    auto* progress = new TProgressCyl(parent);
    progress->setProEffect(effect);
    progress->setPosition(position);
    progress->setFixedSize(200, 22);
    return progress;
}

}  // namespace

QWidget* buildEffectsSection(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* label = new QLabel(QStringLiteral("Fills, menu look and progress bar presets"), box);
    label->setFont(designFont(QStringLiteral("Arial"), 12, true));
    grid->addWidget(label, 0, 0, 1, 4);
    grid->addWidget(new GradientStrip(box, true, {0x0000FF, 0x00FF00, 0xFF0000}), 1, 0);
    grid->addWidget(new GradientStrip(box, true, {16777215, 13745839}), 2, 0);
    grid->addWidget(new GradientStrip(box, false, {13665296, 16758897, 40704}), 1, 1, 3, 1);
    grid->addWidget(menuPicture(box), 1, 2, 6, 1);
    const TProEffect effects[] = {demoSystem,  demoMetal,    peGlassBlue, peSystem8,
                                  peMetalGold, peMetalGreen, peStdRed,    peUpLoad2};
    int row = 1;
    for (TProEffect effect : effects) {
        grid->addWidget(bar(box, effect, 15 + 10 * row), row, 3);
        ++row;
    }
    return box;
}

}  // namespace quillmere
