// The cores of the journal tool's "text" and "convert" commands, on bytes
// (the tool reads and writes the files).
#pragma once

#include <QByteArray>
#include <QString>

namespace quillmere::rtf {

// The displayed text of an entry's RTF bytes, as the editor would show it
// (the entry load rule: RTF, else plain text) and as save-as writes it to a
// .txt file: list labels kept, pictures left out, no-break spaces as
// spaces. Throws RtfError("Failed to Load Stream") when neither reads.
QString entryText(const QByteArray& rtf);

// The displayed text of a stored entry blob (zlib-compressed RTF). Throws
// ZlibError when the blob does not inflate, RtfError as entryText.
QString entryTextOfBlob(const QByteArray& blob);

// The two forms a document file can have.
enum class DocumentForm { kRtf, kPlainText };

// The form a file name implies: plain text when it ends in ".txt" (in any
// letter case), RTF otherwise.
DocumentForm documentFormOf(const QString& path);

// `input` read in the form `from` and written in the form `to`. Plain text
// follows readPlainText and writePlainText: UTF-8 or Windows-1252 in, UTF-8
// with LF line ends out. Throws RtfError when the input cannot be read in
// its form. No file is touched.
QByteArray convertDocument(const QByteArray& input, DocumentForm from, DocumentForm to);

}  // namespace quillmere::rtf
