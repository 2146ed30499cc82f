// The entry content of a day as the editor holds it: the editor's document
// written as RTF and compressed for the journal table, and the reverse.
#pragma once

#include <QByteArray>

namespace quillmere {

class RichEditor;

// The editor's whole document as RTF, compressed into one zlib stream (the
// stored `JournalEntry` blob). Always RTF, also in plain-text mode, so the
// stored entry keeps its formatting. Throws ZlibError when compression fails.
QByteArray StoreEditorContent(const RichEditor& editor);

// Shows a day's entry RTF in the editor, as `LoadEntry` does: loaded in rich
// mode (as plain text when it is not RTF), the caret at the start and in
// view, the editor not modified. Throws rtf::RtfError("Failed to Load
// Stream") when the bytes cannot be read; the editor then keeps the content
// it showed before.
void ShowEntryRtf(RichEditor& editor, const QByteArray& rtf);

// The stored blob's way into the editor: inflates a stored blob and loads its RTF into
// the editor (plain text when it is not RTF), in rich mode, with the caret at
// the start and in view and the editor not modified. Throws ZlibError with
// zlib's text when the blob does not inflate, and rtf::RtfError("Failed to
// Load Stream") when the bytes cannot be read; in both cases the editor keeps
// the content it showed before.
void LoadEditorContent(RichEditor& editor, const QByteArray& blob);

}  // namespace quillmere
