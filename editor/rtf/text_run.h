// The text the RTF interpreter has read but not yet handed to its sink.
//
// TextRun is the visible text in the state in force: characters a document
// can hold as text, in a buffer kept from run to run. PendingBytes holds
// the bytes of a double-byte code page (or of a font name) until the whole
// run is known, since \'hh pairs may make up one character. Nothing here
// throws except on running out of memory.
#pragma once

#include "editor/rtf/codepage.h"
#include "editor/rtf/text_scan.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace quillmere::rtf {

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;

// True for a character a run may hold: no control characters except tab,
// no line or paragraph separators, no object replacement characters.
inline bool isClean(char16_t c) {
    return c >= 0x20 ? (c != kLineSeparator && c != kParagraphSeparator && c != 0xFDD0 &&
                        c != 0xFDD1 && c != 0xFFFC)
                     : c == '\t';
}

// True when no character needs isClean's special handling. Almost all text
// is plain, so one cheap test per character decides.
inline bool allClean(const char16_t* data, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        char16_t c = data[i];
        if ((c < 0x20 || c >= kLineSeparator) && !isClean(c)) {
            return false;
        }
    }
    return true;
}

class TextRun {
public:
    bool empty() const { return size_ == 0; }
    // The run's characters, valid until the run changes.
    QString view() const {
        return QString::fromRawData(reinterpret_cast<const QChar*>(buffer_.get()),
                                    static_cast<qsizetype>(size_));
    }
    // False means the run surely holds no no-break space (U+00A0).
    bool mayHoldNoBreakSpace() const { return hasNbsp_; }
    // Empties the run and keeps its buffer.
    void clear() {
        size_ = 0;
        hasNbsp_ = false;
    }

    // Appends one character, which must be clean.
    void append(char16_t c) {
        *room(1) = c;
        ++size_;
        hasNbsp_ = hasNbsp_ || c == 0x00A0;
    }
    // Appends n characters that allClean accepts.
    void append(const char16_t* data, std::size_t n, bool mayHoldNbsp) {
        std::memcpy(room(n), data, n * sizeof(char16_t));
        size_ += n;
        hasNbsp_ = hasNbsp_ || mayHoldNbsp;
    }

    // Decodes bytes[i..] of a page read through `table` into the run:
    // printable ASCII is copied in blocks, every other byte goes through the
    // table, characters a run cannot hold are dropped. Stops after the end
    // or after a line or paragraph separator, which it returns (0 at the
    // end) and leaves to the caller; `i` moves past what was read.
    // `readable` bytes from bytes.data() on may be read (at least the run).
    char16_t appendBytes(const ByteTable& table, std::string_view bytes, std::size_t readable,
                         std::size_t& i) {
        const char* p = bytes.data();
        const std::size_t n = bytes.size();
        // Room for every byte left, each giving at most one character.
        char16_t* dst = room(n - i);
        std::size_t out = 0;
        char16_t separator = 0;
        while (i < n) {
            std::size_t k = widenPrintableAscii(p + i, n - i, readable - i, dst + out);
            i += k;
            out += k;
            if (i == n) {
                break;
            }
            char16_t c = table[static_cast<unsigned char>(p[i++])];
            if (isClean(c)) {
                dst[out++] = c;
                hasNbsp_ = hasNbsp_ || c == 0x00A0;
            } else if (c == kLineSeparator || c == kParagraphSeparator) {
                separator = c;
                break;
            }
        }
        size_ += out;
        return separator;
    }

    // Decodes bytes[i..] of a double-byte page into the run as appendBytes
    // does. A lead byte at the very end of the bytes is not read: `i` stops
    // on it, for the caller to pair with what comes next. Returns 0 (the
    // pages have no separators).
    void appendDoubleBytes(const DoubleByteTable& table, std::string_view bytes,
                           std::size_t readable, std::size_t& i) {
        const char* p = bytes.data();
        const std::size_t n = bytes.size();
        char16_t* dst = room(n - i);
        std::size_t out = 0;
        while (i < n) {
            if (table.asciiIsItself) {
                std::size_t k = widenPrintableAscii(p + i, n - i, readable - i, dst + out);
                i += k;
                out += k;
                if (i == n) {
                    break;
                }
            }
            const auto b = static_cast<unsigned char>(p[i]);
            char16_t c;
            if (!table.isLead(b)) {
                c = table.single[b];
                ++i;
            } else if (i + 1 == n) {
                break;  // the trail byte comes later
            } else if ((c = table.pair(b, static_cast<unsigned char>(p[i + 1]))) != 0) {
                i += 2;
            } else {
                c = 0xFFFD;
                ++i;
            }
            if (isClean(c)) {
                dst[out++] = c;
                hasNbsp_ = hasNbsp_ || c == 0x00A0;
            }
        }
        size_ += out;
    }

private:
    // The buffer has kSlack characters beyond its capacity, for the block
    // loop that widens ASCII.
    static constexpr std::size_t kSlack = 16;

    // Room for `count` more characters (and the slack) at the end.
    char16_t* room(std::size_t count) {
        if (size_ + count > capacity_) {
            grow(count);
        }
        return buffer_.get() + size_;
    }
    void grow(std::size_t count);

    std::unique_ptr<char16_t[]> buffer_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool hasNbsp_ = false;
};

class PendingBytes {
public:
    bool empty() const { return view_.empty() && bytes_.isEmpty(); }
    // The code page of the bytes held.
    int codePage() const { return codePage_; }
    // Adds bytes of `codePage`; the caller decodes what is held first when
    // the page changes. Bytes that stay valid until the next decode()
    // (`lasting`, a run of the input) are kept as a view when they are the
    // first piece; everything else is copied.
    void add(std::string_view bytes, int codePage, bool lasting) {
        codePage_ = codePage;
        if (empty() && lasting) {
            view_ = bytes;
            return;
        }
        if (!view_.empty()) {
            bytes_.append(view_.data(), static_cast<qsizetype>(view_.size()));
            view_ = {};
        }
        bytes_.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    // Decodes the bytes held in their code page and empties the holder. The
    // text is valid until the next decode().
    const QString& decode();

private:
    std::string_view view_;  // one run in the input,
    QByteArray bytes_;       // or the pieces copied together
    int codePage_ = 0;
    QString decoded_;
};

}  // namespace quillmere::rtf
