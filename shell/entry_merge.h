// The entry of a day that both this run and another program (a sync tool
// replacing "Journal.cds") changed: one document holding both texts, this
// run's first, then the other program's under a line of its own, so neither
// is lost and the user sees where the second begins.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillmere {

// The line between the two texts.
QString ChangedFileMarkerLine();

// `ours` followed by a paragraph holding ChangedFileMarkerLine() and then
// every paragraph of `theirs` with its formatting and pictures, as one RTF
// document. Each side is read as an entry is loaded (RTF, else plain text).
// Throws rtf::RtfError("Failed to Load Stream") when a side cannot be read.
QByteArray MergeEntryRtf(const QByteArray& ours, const QByteArray& theirs);

}  // namespace quillmere
