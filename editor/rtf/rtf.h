// The entry's rich text: an RTF reader and writer over QTextDocument.
//
// Every entry is stored as the 8-bit RTF that writeRtf produces, and read
// back with readRtf; entries may also come from other programs (imported
// files, word processors, older journals). The document model the two agree
// on, which the editor control uses as well:
//
//   character  bold (fontWeight >= DemiBold), italic, underline, strike-out,
//              font family, point size, foreground brush (absent = automatic),
//              background brush (absent = automatic), and the font's
//              character set in the user property kCharsetProperty (int,
//              Windows charset number, absent = 0 ANSI).
//   paragraph  alignment (left, right, centre, justify); a bullet or a
//              numbered paragraph is a block of a QTextList (indent 0, its
//              level in kListLevelProperty, a number's prefix and suffix
//              from the label its writer stored); the left offset
//              (hanging indent) and start indent through paragraphIndent /
//              setParagraphIndent below.
//   picture    a QTextImageFormat whose image is a document resource; the
//              stored bytes and their kind are kept in kPictureDataProperty /
//              kPictureHeaderProperty so that a picture is always written back
//              exactly as it was read, even one the reader cannot show. A
//              \shppict picture followed by its \nonshppict twin keeps the
//              twin too and is written back as the same pair.
#pragma once

#include "store/errors.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextFormat>

class QTextBlock;
class QTextBlockFormat;
class QTextCursor;
class QTextDocument;

namespace quillmere::rtf {

// The bytes are not RTF, are damaged beyond reading, or a load failed.
class RtfError : public quillmere::Error {
public:
    using Error::Error;
};

// User properties of the document model (see the file comment).
enum RtfProperty {
    // QTextCharFormat: Windows character set of the run's font (int).
    kCharsetProperty = QTextFormat::UserProperty + 0x5210,
    // QTextBlockFormat: start indent of the first line in twips (int).
    kStartIndentProperty,
    // QTextBlockFormat: left offset (hanging indent) in twips (int).
    kLeftOffsetProperty,
    // QTextImageFormat: the picture's stored bytes (QByteArray).
    kPictureDataProperty,
    // QTextImageFormat: the picture's control words as stored, for example
    // "\emfblip\picw2646\pich1323\picwgoal1500\pichgoal750" (QString).
    kPictureHeaderProperty,
    // QTextImageFormat: true when the reader could not decode the picture and
    // shows it as an empty frame of its size (bool).
    kPictureUnshownProperty,
    // QTextImageFormat: a picture stored as a \shppict / \nonshppict pair
    // keeps the \nonshppict picture (the same picture for readers that know
    // only metafiles) in these two: its control words (QString) and bytes
    // (QByteArray). Absent for a plain \pict.
    kPictureFallbackHeaderProperty,
    kPictureFallbackDataProperty,
    // QTextImageFormat: true when the picture's (or its twin's) bytes are
    // stored as \binN raw data rather than hex digits (bool, absent = hex).
    kPictureBinaryProperty,
    kPictureFallbackBinaryProperty,
    // QTextListFormat: the list's level, 0 for the first (int). Every list
    // has the QTextListFormat indent 0: a paragraph's own indent places its
    // bullet or number, as in the editor, so a level only tells lists apart.
    kListLevelProperty,
};

// Writes the whole document as 8-bit RTF: ASCII bytes only, except the raw
// bytes of pictures stored as \binN. The same document always gives the same
// bytes. Never throws for a valid document.
QByteArray writeRtf(const QTextDocument& doc);

// Replaces the document's whole content (and its resources) with the RTF's.
// Throws RtfError with a clear message when the bytes are not RTF or are
// damaged beyond reading (for example nested more deeply than the reader
// allows); the document is then left empty.
void readRtf(const QByteArray& rtf, QTextDocument& doc);

// Replaces the document's content with the text of a plain-text file
// (plain_text.cpp): UTF-16 when the bytes start with its byte-order mark;
// otherwise UTF-8 (a leading UTF-8 byte-order mark is dropped) when the bytes
// are valid UTF-8, else Windows code page 1252, so files written on Linux and
// on Windows both read correctly. CR LF, CR and LF end paragraphs. Throws
// RtfError when the text holds a NUL character, which no text file does
// (the bytes are binary data, not text).
void readPlainText(const QByteArray& bytes, QTextDocument& doc);

// The label a list item shows: "\u2022" (disc), "\u25E6" (circle),
// "\u25AA" (square), or its number with the list's prefix and suffix; empty
// for a block outside lists.
QString listLabelOf(const QTextBlock& block);

// The document as a plain-text file: UTF-8 without a byte-order mark,
// paragraphs and line breaks ended by LF except the last paragraph; no-break
// spaces become spaces, pictures are left out, and a list item starts with
// its label as the editor shows it ("\u2022", "1.", "(a)") and a space.
// Never throws.
QByteArray writePlainText(const QTextDocument& doc);

// The text of a plain-text file's bytes by the rules of readPlainText, line
// ends as they are. Never throws (NUL characters are kept).
QString decodePlainText(const QByteArray& bytes);

// The load rule of an entry: the bytes as RTF; if that throws, the same bytes
// as plain text; if that fails too, throws RtfError("Failed to Load Stream").
void loadEntryBytes(const QByteArray& bytes, QTextDocument& doc);

// Exactly doc.toPlainText() of the document readRtf would build, without
// building it. Throws the same RtfError as readRtf for the same bytes.
QString plainTextOfRtf(const QByteArray& rtf);

// Inserts a bitmap at the cursor in its stored form (see
// storedBitmapPicture in picture.h): the picture's own pixels as PNG (or the
// JPEG bytes given), paired with an enhanced metafile of the bitmap's pixel
// size for readers that know only metafiles. Does nothing for a null image.
void insertPicture(QTextCursor& cursor, const QImage& image, const QByteArray& jpeg = {});

// True when the format is one of this library's pictures (or any image).
bool isPicture(const QTextFormat& format);

// The image the document shows for a picture format (null when none).
QImage pictureImage(const QTextDocument& doc, const QTextImageFormat& format);

// Start indent of the first line and left offset (hanging indent) of a
// paragraph, in twips (20 per point). The offset is where the second and
// further lines (and, for bullets, the text after the bullet) start,
// relative to the first line.
struct ParagraphIndent {
    int startTwips = 0;
    int offsetTwips = 0;
    bool operator==(const ParagraphIndent&) const = default;
};
ParagraphIndent paragraphIndent(const QTextBlockFormat& format);
// Sets the indent and the matching display margins (leftMargin, textIndent
// in pixels at 96 dpi). `bullet` tells whether the block is a list item.
void setParagraphIndent(QTextBlockFormat& format, ParagraphIndent indent, bool bullet);

}  // namespace quillmere::rtf
