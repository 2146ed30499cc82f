#include "editor/rtf/text_run.h"

namespace quillmere::rtf {

void TextRun::grow(std::size_t count) {
    std::size_t capacity = std::max({size_ + count, 2 * capacity_, std::size_t{256}});
    auto bigger = std::make_unique_for_overwrite<char16_t[]>(capacity + kSlack);
    if (size_ > 0) {
        std::memcpy(bigger.get(), buffer_.get(), size_ * sizeof(char16_t));
    }
    buffer_ = std::move(bigger);
    capacity_ = capacity;
}

const QString& PendingBytes::decode() {
    decoded_.resize(0);
    if (!view_.empty()) {
        appendDecoded(codePage_, view_.data(), view_.size(), decoded_);
        view_ = {};
    } else {
        appendDecoded(codePage_, bytes_.constData(), static_cast<std::size_t>(bytes_.size()),
                      decoded_);
        bytes_.clear();
    }
    return decoded_;
}

}  // namespace quillmere::rtf
