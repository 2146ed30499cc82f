// Placeholder bodies so callers can compile against the interface.
#include "editor/rtf/rtf.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace quillmere::rtf {

QByteArray writeRtf(const QTextDocument&) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0}";
}
void readRtf(const QByteArray&, QTextDocument& doc) {
    doc.clear();
}
void readPlainText(const QByteArray& bytes, QTextDocument& doc) {
    doc.setPlainText(QString::fromLatin1(bytes));
}
QByteArray writePlainText(const QTextDocument& doc) {
    return doc.toPlainText().toLatin1();
}
void loadEntryBytes(const QByteArray& bytes, QTextDocument& doc) {
    readRtf(bytes, doc);
}
QString plainTextOfRtf(const QByteArray&) {
    return {};
}
void insertPicture(QTextCursor&, const QImage&) {}
bool isPicture(const QTextFormat& format) {
    return format.isImageFormat();
}
QImage pictureImage(const QTextDocument&, const QTextImageFormat&) {
    return {};
}
ParagraphIndent paragraphIndent(const QTextBlockFormat&) {
    return {};
}
void setParagraphIndent(QTextBlockFormat&, ParagraphIndent, bool) {}

}  // namespace quillmere::rtf
