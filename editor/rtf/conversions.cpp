#include "editor/rtf/conversions.h"

#include "editor/rtf/rtf.h"
#include "store/entry_codec.h"
#include "store/file_access.h"

#include <QTextDocument>

namespace quillmere::rtf {
namespace {

bool isTextFile(const QString& path) {
    return path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

}  // namespace

QString entryText(const QByteArray& rtf) {
    try {
        return plainTextOfRtf(rtf);
    } catch (const RtfError&) {
    }
    QTextDocument doc;
    loadEntryBytes(rtf, doc);  // the plain-text half of the load rule
    return doc.toPlainText();
}

QString entryTextOfBlob(const QByteArray& blob) {
    return entryText(DecodeEntryContent(blob));
}

void convertFile(const QString& inPath, const QString& outPath) {
    QByteArray input = fileAccess().readAll(inPath);
    QTextDocument doc;
    if (isTextFile(inPath)) {
        readPlainText(input, doc);
    } else {
        readRtf(input, doc);
    }
    // Through a temporary file, so a failed write never leaves half a file
    // under the output name.
    fileAccess().writeReplacing(outPath, isTextFile(outPath) ? writePlainText(doc) : writeRtf(doc));
}

}  // namespace quillmere::rtf
