#include "editor/rtf/colour_table.h"

#include "editor/rtf/control_words.h"

#include <algorithm>

namespace quillmere::rtf {

void ColourTable::begin() {
    colours_.clear();
    set_ = false;
    red_ = green_ = blue_ = 0;
}

void ColourTable::word(int id, int param) {
    switch (id) {
        case kRed:
            red_ = std::clamp(param, 0, 255);
            set_ = true;
            break;
        case kGreen:
            green_ = std::clamp(param, 0, 255);
            set_ = true;
            break;
        case kBlue:
            blue_ = std::clamp(param, 0, 255);
            set_ = true;
            break;
        default:
            break;
    }
}

void ColourTable::text(std::string_view bytes) {
    for (char c : bytes) {
        if (c == ';') {
            endEntry();
        }
    }
}

std::optional<QRgb> ColourTable::colour(int index) const {
    if (index <= 0 || index >= static_cast<int>(colours_.size())) {
        return std::nullopt;
    }
    return colours_[static_cast<std::size_t>(index)];
}

void ColourTable::endEntry() {
    if (set_) {
        colours_.push_back(qRgb(red_, green_, blue_));
    } else {
        colours_.push_back(std::nullopt);
    }
    red_ = green_ = blue_ = 0;
    set_ = false;
}

}  // namespace quillmere::rtf
