#include "tools/journal/convert_file.h"

#include "editor/rtf/conversions.h"
#include "store/file_access.h"

namespace quillmere::journaltool {

void convertFile(const QString& inPath, const QString& outPath) {
    const QByteArray output = rtf::convertDocument(
        fileAccess().readAll(inPath), rtf::documentFormOf(inPath), rtf::documentFormOf(outPath));
    // Through a temporary file, so a failed write never leaves half a file
    // under the output name.
    fileAccess().writeReplacing(outPath, output);
}

}  // namespace quillmere::journaltool
