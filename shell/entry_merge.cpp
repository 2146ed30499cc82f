#include "shell/entry_merge.h"

#include "editor/rtf/rtf.h"

#include <QCoreApplication>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace quillmere {

QString ChangedFileMarkerLine() {
    return QCoreApplication::translate("EntryMerge",
                                       "--- Text of this day from the changed file ---");
}

QByteArray MergeEntryRtf(const QByteArray& ours, const QByteArray& theirs) {
    QTextDocument merged;
    rtf::loadEntryBytes(ours, merged);
    QTextDocument other;
    rtf::loadEntryBytes(theirs, other);

    QTextCursor cursor(&merged);
    cursor.movePosition(QTextCursor::End);
    // Fresh paragraphs: the marker belongs to no list and takes no
    // alignment or indent of the last paragraph of ours. Its letters are
    // those the text ends in (face, size, colour), in bold.
    QTextCharFormat markerFormat;
    const QTextCharFormat end = cursor.charFormat();
    if (!rtf::isPicture(end)) {
        for (const int property : {int(QTextFormat::FontFamily), int(QTextFormat::FontFamilies),
                                   int(QTextFormat::FontPointSize),
                                   int(QTextFormat::ForegroundBrush), int(rtf::kCharsetProperty)}) {
            if (end.hasProperty(property)) {
                markerFormat.setProperty(property, end.property(property));
            }
        }
    }
    markerFormat.setFontWeight(QFont::Bold);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(ChangedFileMarkerLine(), markerFormat);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertFragment(QTextDocumentFragment(&other));
    return rtf::writeRtf(merged);
}

}  // namespace quillmere
