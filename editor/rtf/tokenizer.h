// Splits RTF bytes into tokens in one forward pass: group braces, control
// words with their optional signed parameter, control symbols, hex bytes
// (\'hh), runs of literal text and the raw data of \binN. Every byte is
// looked at a bounded number of times, so tokenizing is linear in the input.
//
//   control word    '\' letters [ '-' ] digits* [ ' ' ]   (the space is eaten)
//   control symbol  '\' one non-letter                    (\'hh is a hex byte)
//   text            bytes other than '\' '{' '}' CR LF     (CR, LF are ignored)
#pragma once

#include "editor/rtf/text_scan.h"

#include <cstddef>
#include <string_view>

namespace quillmere::rtf {

enum class TokenType { End, GroupOpen, GroupClose, Word, Symbol, Hex, Text, Binary };

struct Token {
    TokenType type = TokenType::End;
    // Word: its letters (at most kMaxWordLength of them); Symbol: the one
    // character; Text and Binary: the bytes.
    std::string_view text;
    bool hasParam = false;
    int param = 0;
    unsigned char byte = 0;  // Hex
};

class Tokenizer {
public:
    // Longer control words are kept only by their first letters (and so are
    // unknown to the reader, as they are to every RTF reader).
    static constexpr std::size_t kMaxWordLength = 32;

    Tokenizer(const char* data, std::size_t size) : p_(data), end_(data + size) {}

    Token next() {
        Token token;
        while (p_ < end_ && (*p_ == '\r' || *p_ == '\n')) {
            ++p_;
        }
        if (p_ == end_) {
            return token;
        }
        char c = *p_;
        if (c == '{') {
            ++p_;
            token.type = TokenType::GroupOpen;
        } else if (c == '}') {
            ++p_;
            token.type = TokenType::GroupClose;
        } else if (c == '\\') {
            ++p_;
            readControl(token);
        } else {
            const char* start = p_;
            p_ += specialOffset(p_, static_cast<std::size_t>(end_ - p_));
            token.type = TokenType::Text;
            token.text = std::string_view(start, static_cast<std::size_t>(p_ - start));
        }
        return token;
    }

    // The data of \binN: the next `count` bytes (fewer at the end of input).
    Token takeBinary(long long count) {
        Token token;
        token.type = TokenType::Binary;
        std::size_t available = static_cast<std::size_t>(end_ - p_);
        std::size_t n = count < 0 ? 0 : static_cast<std::size_t>(count);
        if (n > available) {
            n = available;
        }
        token.text = std::string_view(p_, n);
        p_ += n;
        return token;
    }

    // Skips to just after the '}' that closes the group the reader is in, for
    // destinations that are ignored whole; \binN data is skipped too.
    void skipGroup() {
        long long depth = 1;
        while (p_ < end_) {
            char c = *p_++;
            if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (--depth == 0) {
                    return;
                }
            } else if (c == '\\' && p_ < end_) {
                if (isLetter(*p_)) {
                    Token word;
                    readControl(word);
                    if (word.text == "bin" && word.hasParam) {
                        takeBinary(word.param);
                    }
                } else {
                    ++p_;
                }
            }
        }
    }

    bool atEnd() const { return p_ == end_; }
    // The next byte, not yet tokenized; -1 at the end.
    int peek() const { return p_ < end_ ? static_cast<unsigned char>(*p_) : -1; }
    // Bytes not yet tokenized; a Text token's bytes may be read on into them.
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }

private:
    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexValue(char c) {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    }

    void readControl(Token& token) {
        if (p_ == end_) {
            token.type = TokenType::End;
            return;
        }
        if (!isLetter(*p_)) {
            readSymbol(token);
            return;
        }
        const char* start = p_;
        while (p_ < end_ && isLetter(*p_)) {
            ++p_;
        }
        std::size_t length = static_cast<std::size_t>(p_ - start);
        token.type = TokenType::Word;
        token.text = std::string_view(start, length < kMaxWordLength ? length : kMaxWordLength);
        bool negative = false;
        if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
            negative = true;
            ++p_;
        }
        if (p_ < end_ && isDigit(*p_)) {
            long long value = 0;
            while (p_ < end_ && isDigit(*p_)) {
                if (value < 0x7FFFFFFF) {
                    value = value * 10 + (*p_ - '0');
                }
                ++p_;
            }
            if (value > 0x7FFFFFFF) {
                value = 0x7FFFFFFF;
            }
            token.hasParam = true;
            token.param = static_cast<int>(negative ? -value : value);
        }
        if (p_ < end_ && *p_ == ' ') {
            ++p_;
        }
    }

    void readSymbol(Token& token) {
        char c = *p_++;
        if (c == '\r' || c == '\n') {
            // A backslash before a line end is a paragraph mark.
            token.type = TokenType::Word;
            token.text = "par";
            return;
        }
        if (c == '\'') {
            int high = p_ < end_ ? hexValue(*p_) : -1;
            int low = p_ + 1 < end_ ? hexValue(p_[1]) : -1;
            if (high < 0 || low < 0) {
                token.type = TokenType::Symbol;
                token.text = "'";
                return;
            }
            p_ += 2;
            token.type = TokenType::Hex;
            token.byte = static_cast<unsigned char>(high * 16 + low);
            return;
        }
        token.type = TokenType::Symbol;
        token.text = std::string_view(p_ - 1, 1);
    }

    const char* p_;
    const char* end_;
};

}  // namespace quillmere::rtf
