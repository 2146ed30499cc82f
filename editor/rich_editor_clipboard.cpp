// The editor control and the clipboard. Rich text travels as RTF, the same
// form the entry is stored in, so a copy and paste keeps everything the
// stored content can hold (pictures included) and nothing it cannot.
#include "editor/rich_editor.h"

#include "editor/pictures/picture_file.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/rtf.h"
#include "editor/url_links.h"

#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

#include <array>
#include <vector>

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

// The local files a drop or a file manager's copy names; empty when any of
// its addresses is not a local file.
QStringList localFilesOf(const QMimeData* source) {
    QStringList files;
    for (const QUrl& url : source->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        files.append(url.toLocalFile());
    }
    return files;
}

// The JPEG bytes that came with a pasted image, when they decode to it.
QByteArray jpegOf(const QMimeData* source, const QImage& image) {
    const QByteArray jpeg = source->data(QStringLiteral("image/jpeg"));
    if (jpeg.isEmpty() || rtf::jpegSize(jpeg) != image.size()) {
        return {};
    }
    return jpeg;
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
    return !rtfOf(source).isEmpty() || source->hasImage() || source->hasText() ||
           !localFilesOf(source).isEmpty();
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

// Files: pictures are inserted as pasted images, other files as links to
// them. Nothing is inserted when a picture cannot be read; the message is
// reported instead.
bool RichEditor::insertFiles(const QStringList& files) {
    std::vector<LoadedPicture> pictures;
    for (const QString& file : files) {
        if (!isImageFileName(file)) {
            pictures.push_back({});
            continue;
        }
        try {
            pictures.push_back(loadImageFile(file));
        } catch (const Error& e) {
            emit insertFailed(e.message());
            return true;
        }
        if (pictures.back().image.isNull()) {
            emit insertFailed(QStringLiteral("%1 holds no picture that can be inserted.")
                                  .arg(QFileInfo(file).fileName()));
            return true;
        }
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (i > 0) {
            cursor.insertText(QStringLiteral(" "));
        }
        if (pictures[i].image.isNull()) {
            cursor.insertText(fileLinkText(files[static_cast<qsizetype>(i)]));
        } else {
            rtf::insertPicture(cursor, pictures[i].image, pictures[i].jpeg);
        }
    }
    cursor.endEditBlock();
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
            const QImage image = qvariant_cast<QImage>(source->imageData());
            QTextCursor cursor = textCursor();
            rtf::insertPicture(cursor, image, jpegOf(source, image));
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
        const QStringList files = localFilesOf(source);
        if (!files.isEmpty() && insertFiles(files)) {
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
