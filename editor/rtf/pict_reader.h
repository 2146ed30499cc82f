// Reads one \pict destination into PictureData: the group's control words
// in order (and the sizes and picture type among them), and its data, given
// as hex digits, as \'hh bytes or as \binN raw bytes. Whitespace and other
// characters among the hex digits are skipped; an odd last digit is dropped.
// Nothing here throws except on running out of memory.
#pragma once

#include "editor/rtf/reader_state.h"

#include <string_view>

namespace quillmere::rtf {

class PictReader {
public:
    // True between begin() and take(): a picture is being read.
    bool active() const { return active_; }
    // Whether the picture's bytes are kept (true) or passed over, for a
    // reader that only wants the text (its picture then has no data).
    void setKeepData(bool keep) { keepData_ = keep; }
    void begin();
    // A control word of the group (id as looked up, name, parameter).
    void word(int id, std::string_view name, bool hasParam, int param);
    // Text of the group: hex digits, two to a byte.
    void hexText(std::string_view text);
    // One data byte given whole (\'hh), or raw \bin data.
    void byte(unsigned char byte) {
        if (keepData_) {
            picture_.data.append(static_cast<char>(byte));
        }
    }
    void binary(std::string_view data);
    // Ends the picture and hands it over; the reader is empty again.
    PictureData take();

private:
    PictureData picture_;
    bool active_ = false;
    bool keepData_ = true;
    int nibble_ = -1;  // the first digit of a byte, -1 when none
};

}  // namespace quillmere::rtf
