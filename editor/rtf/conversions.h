// The cores of the journal tool's "text" and "convert" commands.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillmere::rtf {

// The displayed text of an entry's RTF bytes, as the editor would show it
// (the entry load rule: RTF, else plain text). Throws RtfError("Failed to
// Load Stream") when neither reads.
QString entryText(const QByteArray& rtf);

// The displayed text of a stored entry blob (zlib-compressed RTF). Throws
// ZlibError when the blob does not inflate, RtfError as entryText.
QString entryTextOfBlob(const QByteArray& blob);

// Reads `inPath` as RTF (as plain text when its name ends in ".txt", in any
// letter case) and writes `outPath` as RTF (as plain text when its name ends
// in ".txt"), through the file-access seam. Plain text follows readPlainText
// and writePlainText: UTF-8 or Windows-1252 in, UTF-8 with LF line ends out.
// The output replaces `outPath` in one step. Throws FileError when a file
// cannot be read or written (`outPath` is then as it was), RtfError when the
// input cannot be read in its format.
void convertFile(const QString& inPath, const QString& outPath);

}  // namespace quillmere::rtf
