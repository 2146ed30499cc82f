#include "controls/rb_control_colors.h"

#include <utility>

namespace quillmere {

TRbCustomColors::TRbCustomColors(ChangeHandler onChange) : onChange_(std::move(onChange)) {}

void TRbCustomColors::Assign(const TRbCustomColors& source) {
    defaultFrom_ = source.defaultFrom_;
    defaultTo_ = source.defaultTo_;
    overFrom_ = source.overFrom_;
    overTo_ = source.overTo_;
    changed(true);
}

void TRbCustomColors::set(TColor& field, TColor value, bool rebuild) {
    if (field == value) {
        return;
    }
    field = value;
    changed(rebuild);
}

void TRbCustomColors::changed(bool rebuild) {
    if (onChange_) {
        onChange_(rebuild);
    }
}

TRbControlColors::TRbControlColors(ChangeHandler onChange) : TRbCustomColors(std::move(onChange)) {}

void TRbControlColors::Assign(const TRbCustomColors& source) {
    if (const auto* full = dynamic_cast<const TRbControlColors*>(&source)) {
        clickedFrom_ = full->clickedFrom_;
        clickedTo_ = full->clickedTo_;
        borderColor_ = full->borderColor_;
        hotTrack_ = full->hotTrack_;
        textShadow_ = full->textShadow_;
    }
    TRbCustomColors::Assign(source);
}

}  // namespace quillmere
