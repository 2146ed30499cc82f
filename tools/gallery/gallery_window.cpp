#include "tools/gallery/gallery_window.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace quillmere {

namespace {

constexpr TColor kBarButtonColor = 4827907;  // #03AB49

TRbPanel* smallPanel(QWidget* parent, const QString& caption) {
    auto* panel = new TRbPanel(parent);
    panel->SetCaption(caption);
    panel->setFixedSize(150, 70);
    return panel;
}

TRbButton* programButton(QWidget* parent, const QString& caption, const QString& icon, TColor color,
                         TButtonLayout layout = blGlyphLeft) {
    auto* button = new TRbButton(parent);
    button->SetCaption(caption);
    button->SetColor(color);
    button->SetShowFocusRect(false);
    button->SetGradientBorder(false);
    button->SetTextShadow(false);
    button->SetLayout(layout);
    if (!icon.isEmpty()) {
        button->SetGlyph(materialGlyph(icon, 16, clBlack));
    }
    button->setFixedSize(75, 25);
    return button;
}

QLabel* note(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setFont(designFont(QStringLiteral("Arial"), 12, true));
    return label;
}

}  // namespace

GalleryWindow::GalleryWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Quillmere gallery"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* title = new TRbPanel(this, QStringLiteral("RbPanel1"));
    applyTitleBarStyle(*title);
    title->SetCaption(QStringLiteral("09 December 2026"));
    layout->addWidget(title);

    auto* frame = new TRbPanel(this, QStringLiteral("RbPanel5"));
    applyContentFrameStyle(*frame);
    frame->SetCaption(QStringLiteral("Drawn controls"));
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(12, 26, 12, 12);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    grid->addWidget(buildPanels(), 0, 0, 1, 2);
    grid->addWidget(buildGradients(), 1, 0, 1, 2);
    grid->addWidget(buildButtons(), 2, 0);
    grid->addWidget(buildCheckBoxes(), 2, 1);
    grid->addWidget(buildEffectsSection(frame), 3, 0, 1, 2);
    layout->addWidget(frame, 1);

    layout->addWidget(buildButtonBar());
    resize(1024, 900);
}

QWidget* GalleryWindow::buildPanels() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->addWidget(note(box, QStringLiteral("Caption positions (default panel)")), 0, 0, 1, 6);
    const QStringList names = {"cpGroupBox",     "cpTopLeft",      "cpTopCenter",   "cpTopRight",
                               "cpMiddleLeft",   "cpMiddleCenter", "cpMiddleRight", "cpBottomLeft",
                               "cpBottomCenter", "cpBottomRight"};
    for (int i = 0; i < names.size(); ++i) {
        TRbPanel* panel = smallPanel(box, names[i]);
        panel->SetCaptionPosition(static_cast<TRbCaptionPos>(i));
        if (i == 0) {
            panel->SetOuterColor(clWhite);
        }
        grid->addWidget(panel, 1 + i / 6, i % 6);
    }
    auto* corner40 = smallPanel(box, QStringLiteral("Frame, corner 40"));
    applyContentFrameStyle(*corner40, 40);
    corner40->setFixedSize(150, 70);
    grid->addWidget(corner40, 2, 4);
    auto* strip = smallPanel(box, QStringLiteral("Strip, border 3"));
    applyContentFrameStyle(*strip, 25, 3);
    strip->setFixedSize(150, 70);
    grid->addWidget(strip, 2, 5);
    return box;
}

QWidget* GalleryWindow::buildGradients() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->addWidget(note(box, QStringLiteral("Gradient types (title bar colours)")), 0, 0, 1, 7);
    const QStringList names = {"gtHorizontal", "gtVertical",   "gtFromTopLeft", "gtFromTopRight",
                               "gtRadial",     "gtDoubleHorz", "gtDoubleVert"};
    for (int i = 0; i < names.size(); ++i) {
        auto* panel = new TRbPanel(box);
        applyTitleBarStyle(*panel, 12);
        panel->SetGradientType(static_cast<TGradientType>(i));
        panel->SetCaption(names[i]);
        panel->setFixedSize(124, 45);
        grid->addWidget(panel, 1, i);
    }
    auto* bar = new TRbPanel(box);
    applyButtonBarStyle(*bar);
    bar->setFixedWidth(124);
    grid->addWidget(bar, 2, 0);
    auto* rounded = new TRbPanel(box);
    rounded->SetAntialiased(false);
    rounded->SetGradient(true);
    rounded->SetCornerWidth(16);
    rounded->SetGradientType(gtVertical);
    rounded->SetOuterColor(clWhite);
    rounded->SetCaption(QStringLiteral("Rounded gradient"));
    rounded->SetCaptionPosition(cpMiddleCenter);
    rounded->setFixedSize(124, 45);
    grid->addWidget(rounded, 2, 1);
    auto* disabled = smallPanel(box, QStringLiteral("Disabled caption"));
    disabled->SetCaptionPosition(cpMiddleCenter);
    disabled->setFixedSize(124, 45);
    disabled->setEnabled(false);
    grid->addWidget(disabled, 2, 2);
    return box;
}

QWidget* GalleryWindow::buildButtons() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(note(box, QStringLiteral("Buttons: normal, hover, half, pressed, disabled")), 0,
                    0, 1, 5);
    auto* normal = programButton(box, QStringLiteral("Save"), QStringLiteral("save"), clWhite);
    hovered_ = programButton(box, QStringLiteral("Hover"), QStringLiteral("search"), clWhite);
    halfway_ = programButton(box, QStringLiteral("Half"), QString(), clWhite);
    pressed_ = programButton(box, QStringLiteral("Pressed"), QString(), clWhite);
    auto* disabled = programButton(box, QStringLiteral("Print"), QStringLiteral("print"), clWhite);
    disabled->setEnabled(false);
    const QList<TRbButton*> row = {normal, hovered_, halfway_, pressed_, disabled};
    for (int i = 0; i < row.size(); ++i) {
        grid->addWidget(row[i], 1, i);
    }
    auto* bold =
        programButton(box, QStringLiteral("Search"), QStringLiteral("find_in_page"), clWhite);
    bold->setFont(designFont(QStringLiteral("Arial"), 13, true));
    bold->setFixedSize(100, 30);
    grid->addWidget(bold, 2, 0, 1, 2);
    auto* focused = programButton(box, QStringLiteral("Focus"), QString(), clWhite);
    focused->SetShowFocusRect(true);
    focused->setObjectName(QStringLiteral("focusButton"));
    grid->addWidget(focused, 2, 2);
    auto* hot = programButton(box, QStringLiteral("HotTrack"), QString(), clWhite);
    hot->SetHotTrack(true);
    hot->setObjectName(QStringLiteral("hotButton"));
    grid->addWidget(hot, 2, 3);
    for (int i = 0; i < 3; ++i) {
        auto* toggle =
            programButton(box, QStringLiteral("Group %1").arg(i + 1), QString(), clWhite);
        toggle->SetGroupIndex(1);
        grid->addWidget(toggle, 3, i);
        if (i == 1) {
            toggle->Click();
            down_ = toggle;
        }
    }
    auto* top =
        programButton(box, QStringLiteral("Top"), QStringLiteral("home"), clWhite, blGlyphTop);
    top->setFixedSize(75, 44);
    grid->addWidget(top, 3, 3);
    auto* bottom = programButton(box, QStringLiteral("Bottom"), QStringLiteral("home"), clWhite,
                                 blGlyphBottom);
    bottom->setFixedSize(75, 44);
    grid->addWidget(bottom, 3, 4);
    return box;
}

QWidget* GalleryWindow::buildCheckBoxes() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(note(box, QStringLiteral("Check boxes")));
    const QStringList captions = {"Skip empty entries", "Checked", "Disabled and checked",
                                  "Border lines top and bottom"};
    for (int i = 0; i < captions.size(); ++i) {
        auto* check = new TRbCheckBox(box);
        check->SetCaption(captions[i]);
        check->setFont(designFont(QStringLiteral("Arial"), 13));
        check->SetColor(clWhite);
        check->setFixedSize(220, 17);
        check->SetChecked(i > 0);
        check->setEnabled(i != 2);
        if (i == 3) {
            check->SetBorderLines(blTop | blBottom);
            check->setFixedSize(220, 21);
        }
        layout->addWidget(check);
    }
    layout->addStretch(1);
    return box;
}

QWidget* GalleryWindow::buildButtonBar() {
    auto* bar = new TRbPanel(this, QStringLiteral("RbPanel3"));
    applyButtonBarStyle(*bar);
    struct ButtonRow {
        const char* caption;
        const char* icon;
        int left, top, width, height;
        TButtonLayout layout;
    };
    const ButtonRow buttonRows[] = {{"Previous", "arrow_back", 19, 10, 75, 25, blGlyphLeft},
                                    {"Today", "today", 107, 10, 75, 25, blGlyphLeft},
                                    {"Next", "arrow_forward", 195, 10, 75, 25, blGlyphRight},
                                    {"Export", "save_alt", 331, 8, 86, 30, blGlyphLeft},
                                    {"Calendar", "event", 435, 8, 86, 30, blGlyphLeft},
                                    {"...", "", 539, 8, 30, 30, blGlyphLeft},
                                    {"Exit", "exit_to_app", 924, 10, 75, 25, blGlyphLeft}};
    for (const ButtonRow& s : buttonRows) {
        TRbButton* button = programButton(bar, QString::fromLatin1(s.caption),
                                          QString::fromLatin1(s.icon), kBarButtonColor, s.layout);
        button->setFixedSize(s.width, s.height);
        button->move(s.left, s.top);
    }
    return bar;
}

void GalleryWindow::showStates() {
    auto enter = [](QWidget* w) {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(w, &event);
    };
    enter(hovered_);
    for (int i = 0; i < 10; ++i) {
        hovered_->FadeTick();
    }
    enter(halfway_);
    for (int i = 0; i < 5; ++i) {
        halfway_->FadeTick();
    }
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pressed_, &press);
    pressed_->FadeTick();
    down_->FadeTick();
    if (auto* hot = findChild<TRbButton*>(QStringLiteral("hotButton"))) {
        enter(hot);
        for (int i = 0; i < 10; ++i) {
            hot->FadeTick();
        }
    }
    QApplication::setActiveWindow(this);
    if (auto* focused = findChild<TRbButton*>(QStringLiteral("focusButton"))) {
        focused->setFocus();
    }
}

}  // namespace quillmere
