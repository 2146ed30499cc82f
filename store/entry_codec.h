// Entry content: the RTF bytes of one day's entry, compressed into one bare
// zlib stream (RFC 1950). Layout of a stored blob:
//
//   0x78 0x01          zlib header (deflate, 32 KiB window, fastest level)
//   ...                deflate data, level 1, memory level 8, default strategy
//   4 bytes            Adler-32 of the RTF bytes, big-endian (zlib's trailer)
//
// Nothing else: no length prefix, no header or trailer of our own.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace quillmere {

// Compresses entry RTF into a stored blob. An empty input still gives a
// complete zlib stream. Throws ZlibError with zlib's text on failure.
QByteArray EncodeEntryContent(const QByteArray& rtf);

// Inflates a stored blob back into the entry's RTF bytes, from the start of
// the blob to the end of its zlib stream (bytes after it are ignored). Throws
// ZlibError with zlib's text for the failure ("data error" for a damaged
// stream, "buffer error" for a truncated or empty one, "insufficient memory"
// when the output cannot be allocated). Safe to call from several threads at
// once.
QByteArray DecodeEntryContent(QByteArrayView blob);

// DecodeEntryContent for an entry that may inflate to at most `maxBytes`:
// a stream that holds more throws ZlibError "insufficient memory", as zlib
// reports a failed allocation.
QByteArray DecodeEntryContent(QByteArrayView blob, qsizetype maxBytes);

// zlib's text for a negative result code: "file error" (-1), "stream error"
// (-2), "data error" (-3), "insufficient memory" (-4), "buffer error" (-5),
// "incompatible version" (-6).
const char* zlibErrorText(int code);

}  // namespace quillmere
