#include "editor/rtf/pict_reader.h"

#include "editor/rtf/control_words.h"

#include <array>
#include <cstddef>
#include <utility>

namespace quillmere::rtf {
namespace {

// The value of each byte as a hex digit, -1 for a byte that is none.
constexpr std::array<signed char, 256> kHexValues = [] {
    std::array<signed char, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 10; ++i) {
        values['0' + i] = static_cast<signed char>(i);
    }
    for (int i = 0; i < 6; ++i) {
        values['a' + i] = values['A' + i] = static_cast<signed char>(10 + i);
    }
    return values;
}();

}  // namespace

void PictReader::begin() {
    picture_ = PictureData{};
    active_ = true;
    nibble_ = -1;
}

void PictReader::word(int id, std::string_view name, bool hasParam, int param) {
    picture_.header += QLatin1Char('\\');
    picture_.header += QLatin1String(name.data(), static_cast<qsizetype>(name.size()));
    if (hasParam) {
        picture_.header += QString::number(param);
    }
    switch (id) {
        case kBlip:
            if (picture_.kind.isEmpty()) {
                picture_.kind =
                    QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
            }
            break;
        case kPicw:
            picture_.picw = param;
            break;
        case kPich:
            picture_.pich = param;
            break;
        case kPicwgoal:
            picture_.goalWidth = param;
            break;
        case kPichgoal:
            picture_.goalHeight = param;
            break;
        case kPicscalex:
            picture_.scaleX = param;
            break;
        case kPicscaley:
            picture_.scaleY = param;
            break;
        default:
            break;
    }
}

void PictReader::hexText(std::string_view text) {
    if (!keepData_) {
        return;
    }
    // Bytes are gathered in a block and appended a block at a time.
    char block[512];
    std::size_t out = 0;
    for (char c : text) {
        int v = kHexValues[static_cast<unsigned char>(c)];
        if (v < 0) {
            continue;
        }
        if (nibble_ < 0) {
            nibble_ = v;
            continue;
        }
        block[out++] = static_cast<char>(nibble_ * 16 + v);
        nibble_ = -1;
        if (out == sizeof block) {
            picture_.data.append(block, static_cast<qsizetype>(out));
            out = 0;
        }
    }
    picture_.data.append(block, static_cast<qsizetype>(out));
}

void PictReader::binary(std::string_view data) {
    if (keepData_) {
        picture_.data.append(data.data(), static_cast<qsizetype>(data.size()));
    }
    picture_.binary = true;
    nibble_ = -1;
}

PictureData PictReader::take() {
    active_ = false;
    nibble_ = -1;  // an odd last hex digit is dropped
    PictureData done = std::move(picture_);
    picture_ = PictureData{};
    return done;
}

}  // namespace quillmere::rtf
