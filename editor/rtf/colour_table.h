// The colour table of an RTF document (\colortbl): one entry per ';', set by
// the \red, \green and \blue words before it, or automatic when none came.
// Nothing here throws except on running out of memory.
#pragma once

#include <QRgb>

#include <optional>
#include <string_view>
#include <vector>

namespace quillmere::rtf {

class ColourTable {
public:
    // Starts the table anew (a second \colortbl replaces the first).
    void begin();
    // Takes the \red, \green and \blue words; others are ignored.
    void word(int id, int param);
    // Takes text of the table, where each ';' ends an entry.
    void text(std::string_view bytes);
    // An entry; nullopt for automatic (index 0) or a missing entry.
    std::optional<QRgb> colour(int index) const;

private:
    void endEntry();

    std::vector<std::optional<QRgb>> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool set_ = false;
};

}  // namespace quillmere::rtf
