#include "controls/rb_style_manager.h"

namespace quillmere {

TRbStyleManager::TRbStyleManager(QObject* parent) : QObject(parent) {
    splitterColors_.SetDefaultFrom(clBtnFace);
    splitterColors_.SetDefaultTo(clBtnFace);
    splitterColors_.SetOverFrom(clWhite);
    splitterColors_.SetOverTo(12489846);
}

TRbStyleManager::~TRbStyleManager() {
    const QList<TRbCustomControl*> listed = controls_;
    controls_.clear();
    for (TRbCustomControl* control : listed) {
        control->ForgetStyleManager();
    }
}

void TRbStyleManager::Assign(const TRbStyleManager& source) {
    if (&source == this) {
        return;
    }
    colors_.Assign(source.colors_);
    splitterColors_.Assign(source.splitterColors_);
    showFocusRect_ = source.showFocusRect_;
    hotTrack_ = source.hotTrack_;
    gradientBorder_ = source.gradientBorder_;
    textShadow_ = source.textShadow_;
    checkColor_ = source.checkColor_;
    fadeSpeed_ = source.fadeSpeed_;
    panelColor_ = source.panelColor_;
    borderColor_ = source.borderColor_;
    font_ = source.font_;
}

void TRbStyleManager::AddControl(TRbCustomControl* control) {
    if (!controls_.contains(control)) {
        controls_.append(control);
    }
}

void TRbStyleManager::RemoveControl(TRbCustomControl* control) {
    controls_.removeAll(control);
}

}  // namespace quillmere
