// The gallery window: the drawn panels, buttons and check boxes of the
// program in each of their looks, plus the fills, menu look and progress bar.
#pragma once

#include <QWidget>

namespace quillmere {

class TRbButton;

class GalleryWindow : public QWidget {
    Q_OBJECT

public:
    explicit GalleryWindow(QWidget* parent = nullptr);

    // Puts a few controls into their hover, pressed and focused states so a
    // still picture shows those looks too.
    void showStates();

private:
    QWidget* buildPanels();
    QWidget* buildGradients();
    QWidget* buildButtons();
    QWidget* buildCheckBoxes();
    QWidget* buildEffects();
    QWidget* buildButtonBar();

    TRbButton* hovered_ = nullptr;
    TRbButton* pressed_ = nullptr;
    TRbButton* halfway_ = nullptr;
    TRbButton* down_ = nullptr;
};

// Adds the gallery's section of the other drawn controls (fills, menus,
// progress bar) to `parent`'s layout; see gallery_controls.cpp.
QWidget* buildEffectsSection(QWidget* parent);

}  // namespace quillmere
