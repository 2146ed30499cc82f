// The editor control and the clipboard. Rich text travels as RTF, the same
// form the entry is stored in, so a copy and paste keeps everything the
// stored content can hold (pictures included) and nothing it cannot.
#include "editor/rich_editor.h"

#include "editor/pictures/picture_file.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
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

// True for the properties that make up how text looks in an entry (font,
// size, styles, colours, character set), as opposed to a picture's own.
bool isTextLookProperty(int id) {
    return (id >= QTextFormat::FirstFontProperty && id <= QTextFormat::LastFontProperty) ||
           id == QTextFormat::ForegroundBrush || id == QTextFormat::BackgroundBrush ||
           id == QTextFormat::TextUnderlineStyle || id == QTextFormat::TextUnderlineColor ||
           id == QTextFormat::TextVerticalAlignment || id == rtf::kCharsetProperty;
}

// The look of a format without anything of a picture.
QTextCharFormat textLookOf(const QTextCharFormat& format) {
    QTextCharFormat look;
    const QMap<int, QVariant> properties = format.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (isTextLookProperty(it.key())) {
            look.setProperty(it.key(), it.value());
        }
    }
    return look;
}

// A picture's format wearing `look`: a picture shows no text, but the text
// typed right after it takes its format, and the stored entry keeps it.
QTextImageFormat withTextLook(QTextImageFormat picture, const QTextCharFormat& look) {
    const QMap<int, QVariant> properties = picture.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (isTextLookProperty(it.key())) {
            picture.clearProperty(it.key());
        }
    }
    picture.merge(look);
    return picture;
}

// Every picture of a document to be pasted takes the look of the text before
// it (of `look`, the text at the insertion point, for one that comes first).
void giveTextLookToPictures(QTextDocument& doc, QTextCharFormat look) {
    struct Change {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Change> changes;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                changes.push_back({fragment.position(), fragment.length(),
                                   withTextLook(format.toImageFormat(), look)});
            } else {
                look = textLookOf(format);
            }
        }
    }
    for (const Change& change : changes) {
        QTextCursor cursor(&doc);
        cursor.setPosition(change.position);
        cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
}

// Inserts a bitmap in its stored form (as rtf::insertPicture) wearing `look`.
void insertPictureWithLook(QTextCursor& cursor, const QImage& image, const QByteArray& jpeg,
                           const QTextCharFormat& look) {
    if (image.isNull()) {
        return;
    }
    const QTextImageFormat format =
        rtf::pictureFormat(*cursor.document(), rtf::storedBitmapPicture(image, jpeg));
    cursor.insertImage(withTextLook(format, look));
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

bool RichEditor::pasteRtf(const QByteArray& rtf, const QTextCharFormat& look) {
    QTextDocument pasted;
    pasted.setDefaultFont(document()->defaultFont());
    try {
        rtf::readRtf(rtf, pasted);
    } catch (const rtf::RtfError&) {
        return false;  // damaged rich text: the text form is pasted instead
    }
    giveTextLookToPictures(pasted, look);
    copyImageResources(pasted, *document());
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment(&pasted));
    setTextCursor(cursor);
    return true;
}

// Files: pictures are inserted as pasted images, other files as links to
// them. Nothing is inserted when a picture cannot be read; the message is
// reported instead.
bool RichEditor::insertFiles(const QStringList& files, const QTextCharFormat& look) {
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
            emit insertFailed(tr("%1 holds no picture that can be inserted.")
                                  .arg(QFileInfo(file).fileName()));
            return true;
        }
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (i > 0) {
            cursor.insertText(QStringLiteral(" "), look);
        }
        if (pictures[i].image.isNull()) {
            cursor.insertText(fileLinkText(files[static_cast<qsizetype>(i)]), look);
        } else {
            insertPictureWithLook(cursor, pictures[i].image, pictures[i].jpeg, look);
        }
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    return true;
}

// Text typed straight after an inserted picture looks like the text the
// picture was put into, not like a bare picture format.
void RichEditor::typeInTextLookAfterPicture() {
    QTextCursor caret = textCursor();
    const QTextCharFormat at = caret.charFormat();
    if (caret.hasSelection() || !at.isImageFormat()) {
        return;
    }
    caret.setCharFormat(textLookOf(at));
    setTextCursor(caret);
}

void RichEditor::insertFromMimeData(const QMimeData* source) {
    if (!plainTextMode_) {
        const QTextCharFormat look = textLookOf(formatAtSelection());
        bool inserted = false;
        const QByteArray rtf = rtfOf(source);
        if (!rtf.isEmpty() && pasteRtf(rtf, look)) {
            inserted = true;
        } else if (source->hasImage()) {
            const QImage image = qvariant_cast<QImage>(source->imageData());
            QTextCursor cursor = textCursor();
            insertPictureWithLook(cursor, image, jpegOf(source, image), look);
            setTextCursor(cursor);
            inserted = true;
        } else if (const QStringList files = localFilesOf(source); !files.isEmpty()) {
            inserted = insertFiles(files, look);
        }
        if (inserted) {
            typeInTextLookAfterPicture();
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
