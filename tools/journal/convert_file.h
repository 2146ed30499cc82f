// The journal tool's "convert" command on files: a document read as RTF or
// plain text and written back in either form.
#pragma once

#include <QString>

namespace quillmere::journaltool {

// Reads `inPath` as RTF (as plain text when its name ends in ".txt", in any
// letter case) and writes `outPath` as RTF (as plain text when its name ends
// in ".txt"), through the file-access seam. The output replaces `outPath` in
// one step. Throws FileError when a file cannot be read or written
// (`outPath` is then as it was), RtfError when the input cannot be read in
// its form.
void convertFile(const QString& inPath, const QString& outPath);

}  // namespace quillmere::journaltool
