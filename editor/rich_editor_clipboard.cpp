// The editor control and the clipboard. Rich text travels as RTF, the same
// form the entry is stored in, so a copy and paste keeps everything the
// stored content can hold (pictures included) and nothing it cannot.
#include "editor/rich_editor.h"

#include "editor/pictures/picture_file.h"
#include "editor/pictures/picture_preparation.h"
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"
#include "editor/url_links.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QThreadPool>
#include <QUrl>

#include <array>
#include <memory>
#include <new>
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

// Encoded picture types a pasted image may come in, read as they are (and
// decoded on the picture thread); the first offered is taken.
constexpr std::array<const char*, 2> kEncodedImageTypes = {"image/png", "image/jpeg"};

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
bool RichEditor::insertFiles(const QStringList& files) {
    const PreparedInsertion outcome = insertPrepared([files] {
        PreparedInsertion insertion;
        for (const QString& file : files) {
            PreparedItem item;
            if (!isImageFileName(file)) {
                item.link = fileLinkText(file);
            } else {
                item.picture = prepareImageFile(file);
                if (item.picture.isNull()) {
                    throw PictureError(tr("%1 holds no picture that can be inserted.")
                                           .arg(QFileInfo(file).fileName()));
                }
            }
            insertion.items.push_back(std::move(item));
        }
        return insertion;
    });
    if (!outcome.error.isEmpty()) {
        emit insertFailed(outcome.error);
    }
    return true;
}

// A pasted bitmap: the encoded bytes another program offers are decoded on
// the picture thread; an image handed over whole (by this program) is used
// as it is.
bool RichEditor::insertImageData(const QMimeData* source) {
    QByteArray bytes;
    bool jpeg = false;
    for (const char* type : kEncodedImageTypes) {
        if (source->hasFormat(QLatin1String(type))) {
            bytes = source->data(QLatin1String(type));
            jpeg = qstrcmp(type, "image/jpeg") == 0;
            break;
        }
    }
    QImage image;
    if (bytes.isEmpty()) {
        image = qvariant_cast<QImage>(source->imageData());
        bytes = source->data(QStringLiteral("image/jpeg"));  // offered beside it
        jpeg = true;
    }
    const PreparedInsertion outcome = insertPrepared([image, bytes, jpeg] {
        const QImage decoded = image.isNull() ? QImage::fromData(bytes) : image;
        if (decoded.isNull()) {
            throw PictureError(tr("The pasted picture cannot be read."));
        }
        PreparedInsertion insertion;
        insertion.items.push_back({preparePastedImage(decoded, jpeg ? bytes : QByteArray()), {}});
        return insertion;
    });
    if (!outcome.error.isEmpty()) {
        emit insertFailed(outcome.error);
    }
    return true;
}

// --- Pictures made ready away from the window --------------------------------

struct RichEditor::PendingInsertion {
    QTextCursor at;  // where the pictures go; follows the edits made meanwhile
    bool replacesSelection = false;
    QPointer<QTextDocument> document;
    QTextCharFormat look;
    bool finished = false;
    PreparedInsertion outcome;
    QPointer<QEventLoop> waiting;  // the loop insertPrepared waits in
};

PreparedInsertion RichEditor::insertPrepared(const PictureJob& job) {
    auto pending = std::make_shared<PendingInsertion>();
    pending->at = textCursor();
    // Text typed meanwhile at the same place goes after the pictures, as
    // if they had gone in at once.
    pending->at.setKeepPositionOnInsert(true);
    pending->replacesSelection = pending->at.hasSelection();
    pending->document = document();
    pending->look = textLookOf(formatAtSelection());
    if (!pictureThread_) {
        pictureThread_ = std::make_unique<QThreadPool>();
        pictureThread_->setMaxThreadCount(1);
    }
    ++pendingPictures_;
    // The editor waits for this thread when it is destroyed, so `this` is
    // there for the call back; a call back queued after that is dropped with
    // the editor.
    pictureThread_->start([this, job, pending] {
        PreparedInsertion outcome;
        try {
            outcome = job();
        } catch (const Error& e) {
            outcome = PreparedInsertion{};
            outcome.error = e.message();
        } catch (const std::bad_alloc&) {
            outcome = PreparedInsertion{};
            outcome.error = tr("There is not enough memory for the picture.");
        }
        QMetaObject::invokeMethod(
            this, [this, pending, outcome] { putPrepared(*pending, outcome); },
            Qt::QueuedConnection);
    });
    QEventLoop loop;
    pending->waiting = &loop;
    // Every event is handled meanwhile, input included, so the window never
    // stops; the loop ends at once when the program is ending.
    while (!pending->finished && loop.exec() >= 0) {
    }
    pending->waiting = nullptr;
    return pending->outcome;
}

void RichEditor::putPrepared(PendingInsertion& pending, const PreparedInsertion& done) {
    --pendingPictures_;
    pending.outcome = done;
    pending.finished = true;
    if (pending.waiting) {
        pending.waiting->quit();
    }
    if (!done.error.isEmpty() || pending.document != document() || pending.at.isNull()) {
        return;  // failed, or another content was loaded meanwhile
    }
    QTextCursor& at = pending.at;
    at.setKeepPositionOnInsert(false);  // it goes on after what it puts in
    if (!pending.replacesSelection) {
        // Text typed at the place meanwhile moved the anchor (only the
        // position keeps its place): that text is not to be replaced.
        at.setPosition(at.position());
    }
    const QTextCursor caret = textCursor();
    const bool follow = caret.selectionStart() == at.selectionStart() &&
                        caret.selectionEnd() == at.selectionEnd();
    at.beginEditBlock();
    bool first = true;
    for (const PreparedItem& item : done.items) {
        if (!item.link.isEmpty() || !item.picture.isNull()) {
            if (!first) {
                at.insertText(QStringLiteral(" "), pending.look);
            }
            first = false;
        }
        if (!item.link.isEmpty()) {
            at.insertText(item.link, pending.look);
        } else if (!item.picture.isNull()) {
            at.insertImage(withTextLook(
                rtf::pictureFormat(*document(), item.picture.stored, item.picture.shown),
                pending.look));
        }
    }
    at.endEditBlock();
    if (follow) {
        setTextCursor(at);
        typeInTextLookAfterPicture();
        ensureCursorVisible();
    }
}

void RichEditor::finishPendingPictures() {
    while (pendingPictures_ > 0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                        QEventLoop::ExcludeUserInputEvents);
    }
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
            insertImageData(source);
            return;
        } else if (const QStringList files = localFilesOf(source); !files.isEmpty()) {
            insertFiles(files);
            return;
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
