#include "editor/rtf/conversions.h"

#include "editor/rtf/rtf.h"
#include "store/entry_codec.h"

#include <QTextDocument>

namespace quillmere::rtf {
QString entryText(const QByteArray& rtf) {
    QTextDocument doc;
    loadEntryBytes(rtf, doc);
    return QString::fromUtf8(writePlainText(doc));
}

QString entryTextOfBlob(const QByteArray& blob) {
    return entryText(DecodeEntryContent(blob));
}

DocumentForm documentFormOf(const QString& path) {
    return path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) ? DocumentForm::kPlainText
                                                                      : DocumentForm::kRtf;
}

QByteArray convertDocument(const QByteArray& input, DocumentForm from, DocumentForm to) {
    QTextDocument doc;
    if (from == DocumentForm::kPlainText) {
        readPlainText(input, doc);
    } else {
        readRtf(input, doc);
    }
    return to == DocumentForm::kPlainText ? writePlainText(doc) : writeRtf(doc);
}

}  // namespace quillmere::rtf
