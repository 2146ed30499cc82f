// A quick test of an entry's RTF bytes, run before its displayed text is
// built: it rules out most entries that cannot show the search text, reading
// the bytes once, and leaves every other entry to the full test.
//
// The displayed text of an RTF entry is its text bytes in order, with markup
// (control words and symbols, braces, line ends, other control bytes) taken
// out or turned into other characters. So when the displayed text holds the
// needle, the needle's characters stand in the bytes in order with nothing
// but markup between them, unless markup itself produced one of them. The
// filter looks for the needle in that loose way (a partial occurrence that
// runs into markup counts as a possible one), and answers "may match" for
// every entry holding markup that can produce a needle character:
//
//   \'hh below 0x80, \uN of an ASCII character or of one that folds to one
//        always
//   any byte of 0x80 or above, \'hh, \uN, \~
//        when the needle holds a space (a no-break space shows as one) or a
//        letter that a non-ASCII character folds to ("k": KELVIN SIGN, "s":
//        LATIN SMALL LETTER LONG S); otherwise bytes of other code pages
//        become non-ASCII characters and count as markup
//   a NUL byte
//        always: the full test reports such an entry when it is damaged
//
// Needles with characters outside printable ASCII, or with '\', '{' or '}',
// are not filtered at all.
#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <cstddef>
#include <string>

namespace quillmere {

namespace rtf {
struct Token;
}

class RtfTextFilter {
public:
    explicit RtfTextFilter(QStringView needle);

    // True when the filter can rule entries out for this needle.
    bool usable() const { return usable_; }

    // False only when the displayed text of `rtf` cannot hold the needle
    // (letters compared without regard to case). Bytes that do not start as
    // an RTF document, and every entry when the filter is not usable, give
    // true. Never throws.
    bool mayMatch(QByteArrayView rtf) const;

    // The same answer without the vector instructions (kept for tests).
    bool mayMatchScalar(QByteArrayView rtf) const;

private:
    bool mayMatch(QByteArrayView rtf, bool vector) const;
    bool markupMayProduceNeedle(const unsigned char* p, std::size_t n) const;
    bool tokenMayProduceNeedle(const rtf::Token& token) const;
    bool findLoose(const unsigned char* p, std::size_t n, bool vector) const;
    bool candidateAt(const unsigned char* p, std::size_t n, std::size_t i) const;
    bool looseMatchAt(const unsigned char* p, std::size_t n, std::size_t i) const;
    unsigned char folded(unsigned char byte, std::size_t j) const {
        return static_cast<unsigned char>(byte | static_cast<unsigned char>(foldMask_[j]));
    }

    bool usable_ = false;
    // A space or a letter with non-ASCII case partners: every non-ASCII
    // character of the entry may stand for a needle character.
    bool strict_ = false;
    std::string needle_;    // lower case
    std::string foldMask_;  // per character: 0x20 for a letter, else 0
};

}  // namespace quillmere
