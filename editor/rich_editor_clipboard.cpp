// The editor control and the clipboard. Rich text travels as RTF, the same
// form the entry is stored in, so a copy and paste keeps everything the
// stored content can hold (pictures included) and nothing it cannot.
#include "editor/rich_editor.h"

#include "editor/rtf/rtf.h"

#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

#include <array>

namespace quillmere {

namespace {

// Names rich text goes by on the clipboard; the first is written.
constexpr std::array<const char*, 3> kRtfMimeTypes = {"text/rtf", "application/rtf",
                                                      "text/richtext"};

QByteArray rtfOf(const QMimeData* source) {
    for (const char* type : kRtfMimeTypes) {
        if (source->hasFormat(QLatin1String(type))) {
            return source->data(QLatin1String(type));
        }
    }
    return {};
}

// Pictures show through resources of their document; a fragment moved to
// another document needs them there too.
void copyImageResources(const QTextDocument& from, QTextDocument& to) {
    for (QTextBlock block = from.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) {
                continue;
            }
            const QUrl name(format.toImageFormat().name());
            const QVariant image = from.resource(QTextDocument::ImageResource, name);
            if (image.isValid()) {
                to.addResource(QTextDocument::ImageResource, name, image);
            }
        }
    }
}

}  // namespace

QMimeData* RichEditor::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    const QTextCursor cursor = textCursor();
    data->setText(selectedPlainText());
    if (!plainTextMode_ && cursor.hasSelection()) {
        QTextDocument selection;
        selection.setDefaultFont(document()->defaultFont());
        copyImageResources(*document(), selection);
        QTextCursor(&selection).insertFragment(cursor.selection());
        data->setData(QLatin1String(kRtfMimeTypes[0]), rtf::writeRtf(selection));
    }
    return data;
}

bool RichEditor::canInsertFromMimeData(const QMimeData* source) const {
    if (plainTextMode_) {
        return source->hasText();
    }
    return !rtfOf(source).isEmpty() || source->hasImage() || source->hasText();
}

bool RichEditor::pasteRtf(const QByteArray& rtf) {
    QTextDocument pasted;
    pasted.setDefaultFont(document()->defaultFont());
    try {
        rtf::readRtf(rtf, pasted);
    } catch (const rtf::RtfError&) {
        return false;  // damaged rich text: the text form is pasted instead
    }
    copyImageResources(pasted, *document());
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment(&pasted));
    setTextCursor(cursor);
    return true;
}

void RichEditor::insertFromMimeData(const QMimeData* source) {
    if (!plainTextMode_) {
        const QByteArray rtf = rtfOf(source);
        if (!rtf.isEmpty() && pasteRtf(rtf)) {
            ensureCursorVisible();
            return;
        }
        if (source->hasImage()) {
            QTextCursor cursor = textCursor();
            rtf::insertPicture(cursor, qvariant_cast<QImage>(source->imageData()));
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
    }
    if (source->hasText()) {
        textCursor().insertText(source->text());
        ensureCursorVisible();
    }
}

}  // namespace quillmere
