// The editor control: look, whole-document reads and writes, modified flag,
// default font, selection and links. Character and paragraph formats and
// find are in rich_editor_format.cpp.
#include "editor/rich_editor.h"

#include "controls/system_colors.h"
#include "editor/pictures/picture_layout.h"
#include "editor/rtf/rtf.h"
#include "editor/url_links.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QThreadPool>

#include <algorithm>
#include <memory>

namespace quillmere {

namespace {

constexpr char kFailedToLoad[] =
    QT_TRANSLATE_NOOP("quillmere::RichEditor", "Failed to Load Stream");

}  // namespace

QTextCharFormat RichEditor::designDefaultFormat() {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{QStringLiteral("Arial")});
    format.setFontPointSize(11);
    format.setForeground(QColor(Qt::black));
    return format;
}

RichEditor::RichEditor(QWidget* parent) : QTextEdit(parent), defaultFormat_(designDefaultFormat()) {
    setUpLook();
    highlighter_ = new UrlHighlighter(nullptr);
    highlighter_->setParent(this);
    // A long entry's links are drawn from the paragraphs in view on.
    highlighter_->setVisibleRange([this] {
        const auto [first, last] = blocksInView();
        return std::pair{first.position(), last.position() + last.length() - 1};
    });
    pictureLayout_ = new PictureLayoutHandler(this);
    installDocument(newDocument());
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichEditor::editorSelectionChanged);
    connect(this, &QTextEdit::selectionChanged, this, &RichEditor::editorSelectionChanged);
}

RichEditor::~RichEditor() {
    // A picture job may still run: it calls back into this editor.
    if (pictureThread_) {
        pictureThread_->waitForDone();
    }
}

void RichEditor::setUpLook() {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(false);
    setUndoRedoEnabled(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);

    // White page, black text, and a selection that looks the same whether or
    // not the editor has the focus.
    QPalette look = palette();
    look.setColor(QPalette::Base, Qt::white);
    look.setColor(QPalette::Text, Qt::black);
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        look.setColor(QPalette::Inactive, role, look.color(QPalette::Active, role));
    }
    setPalette(look);
    setFont(resolvedFont(defaultFormat_));
}

// --- Whole document ---------------------------------------------------------

QTextDocument* RichEditor::newDocument() const {
    auto* document = new QTextDocument();
    document->setDefaultFont(resolvedFont(defaultFormat_));
    QTextCursor cursor(document);
    cursor.setBlockCharFormat(defaultFormat_);
    cursor.setCharFormat(defaultFormat_);
    return document;
}

// Hands a freshly built document to the control, dropping the previous one
// with its undo history; the new one starts unmodified with the caret at 0.
void RichEditor::installDocument(QTextDocument* document) {
    QTextDocument* previous = this->document();
    const bool ownsPrevious = previous != nullptr && previous->parent() == this;
    document->setParent(this);
    document->setUndoRedoEnabled(false);
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    setDocument(document);
    pictureLayout_->install(document);
    // The control carries the old insertion format over to a new document;
    // a fresh cursor takes the format of the new text instead.
    setTextCursor(QTextCursor(document));
    connect(document, &QTextDocument::modificationChanged, this, &RichEditor::modifiedChanged);
    highlighter_->setDocument(urlDetection_ ? document : nullptr);
    if (ownsPrevious && previous != document) {
        delete previous;
    }
    emit modifiedChanged(false);
    emit documentReplaced();
    // Listeners of text changes (the undo and redo buttons) see the new state.
    emit textChanged();
}

void RichEditor::setPlainTextMode(bool plain) {
    plainTextMode_ = plain;
    setAcceptRichText(!plain);
}

QByteArray RichEditor::saveRtf() const {
    return rtf::writeRtf(*document());
}

QByteArray RichEditor::saveContent() const {
    return plainTextMode_ ? rtf::writePlainText(*document()) : saveRtf();
}

// Reads bytes into a document: rich text first (the entry's load rule), or
// plain text first in plain-text mode, each falling back to the other format.
// Throws RtfError("Failed to Load Stream") when both fail.
void RichEditor::readInto(QTextDocument& document, const QByteArray& bytes, bool plainFirst) const {
    if (!plainFirst) {
        rtf::loadEntryBytes(bytes, document);
        return;
    }
    try {
        rtf::readPlainText(bytes, document);
        return;
    } catch (const rtf::RtfError&) {
    }
    try {
        rtf::readRtf(bytes, document);
    } catch (const rtf::RtfError&) {
        throw rtf::RtfError(QCoreApplication::translate("quillmere::RichEditor", kFailedToLoad));
    }
}

void RichEditor::loadContent(const QByteArray& bytes) {
    // Read into a new document first, so a failed read leaves the text the
    // user sees untouched.
    std::unique_ptr<QTextDocument> loaded(newDocument());
    readInto(*loaded, bytes, plainTextMode_);
    if (plainTextMode_) {
        QTextCursor all(loaded.get());
        all.select(QTextCursor::Document);
        all.setCharFormat(defaultFormat_);
        all.setBlockCharFormat(defaultFormat_);
    }
    installDocument(loaded.release());
    moveCaretToStart();
}

void RichEditor::loadEntryRtf(const QByteArray& rtf) {
    setPlainTextMode(false);
    loadContent(rtf);
}

void RichEditor::clearAll() {
    installDocument(newDocument());
}

// --- Modified flag ----------------------------------------------------------

bool RichEditor::isModified() const {
    return document()->isModified() || pendingPictures_ > 0;
}

void RichEditor::setModified(bool modified) {
    document()->setModified(modified);
}

// --- Default character format -----------------------------------------------

void RichEditor::applyDefaultFont(const QString& name, int pointSize, const QColor& color) {
    defaultFormat_.setFontFamilies(QStringList{name.left(kMaxFaceNameLength)});
    defaultFormat_.setFontPointSize(std::clamp(pointSize, kMinPointSize, kMaxPointSize));
    defaultFormat_.setForeground(color);
    setFont(resolvedFont(defaultFormat_));
    document()->setDefaultFont(resolvedFont(defaultFormat_));
    // Not an edit the user can undo: the history is dropped with it.
    document()->setUndoRedoEnabled(false);
    applyFormatToAll(defaultFormat_);
    document()->setUndoRedoEnabled(true);
    setModified(false);
}

void RichEditor::applyDefaultFont(const QString& name, int pointSize, quint32 colorRef) {
    applyDefaultFont(name, pointSize, toQColor(static_cast<TColor>(colorRef)));
}

void RichEditor::applyFormatToAll(const QTextCharFormat& format) {
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    all.mergeBlockCharFormat(format);
    // An empty selection keeps an insertion format of its own; give it the
    // format too, so the next typed character takes it.
    QTextCursor caret = textCursor();
    if (!caret.hasSelection()) {
        QTextCharFormat insertion = caret.charFormat();
        insertion.merge(format);
        caret.setCharFormat(insertion);
        setTextCursor(caret);
    }
}

// --- Selection --------------------------------------------------------------

int RichEditor::selectionStart() const {
    return textCursor().selectionStart();
}

int RichEditor::selectionLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

QString RichEditor::selectedPlainText() const {
    return textCursor().selection().toPlainText();
}

void RichEditor::setSelection(int start, int length) {
    const int last = std::max(0, document()->characterCount() - 1);
    start = std::clamp(start, 0, last);
    const int end = std::clamp(start + std::max(0, length), start, last);
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void RichEditor::replaceSelection(const QString& text) {
    QTextCursor cursor = textCursor();
    QString paragraphs = text;
    paragraphs.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    cursor.insertText(paragraphs);
    setTextCursor(cursor);
}

void RichEditor::deleteSelection() {
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void RichEditor::moveCaretToStart() {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::Start);
    setTextCursor(cursor);
    ensureCursorVisible();
}

// --- Links ------------------------------------------------------------------

void RichEditor::setUrlDetection(bool on) {
    urlDetection_ = on;
    highlighter_->setDocument(on ? document() : nullptr);
}

void RichEditor::setExtraMarks(UrlHighlighter::ExtraMarks marks) {
    highlighter_->setExtraMarks(std::move(marks));
}

std::optional<TextRange> RichEditor::linkAt(int position) const {
    if (!urlDetection_ || position < 0) {
        return std::nullopt;
    }
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) {
        return std::nullopt;
    }
    const int offset = position - block.position();
    for (const UrlSpan& span : detectUrls(block.text())) {
        if (offset >= span.start && offset < span.start + span.length) {
            return TextRange{block.position() + span.start, span.length};
        }
    }
    return std::nullopt;
}

std::optional<TextRange> RichEditor::linkAtPoint(const QPoint& viewportPos) const {
    const QPointF documentPos(viewportPos.x() + horizontalScrollBar()->value(),
                              viewportPos.y() + verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(documentPos, Qt::ExactHit);
    return linkAt(position);
}

QString RichEditor::linkText(const TextRange& link) const {
    QTextCursor cursor(document());
    cursor.setPosition(link.start);
    cursor.setPosition(link.start + link.length, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

void RichEditor::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        pressedLink_ = linkAtPoint(event->position().toPoint());
        pressedButton_ = button;
    }
    QTextEdit::mousePressEvent(event);
    // A right click on a link opens the link (on release), not the menu.
    if (button == Qt::RightButton && pressedLink_) {
        return;
    }
    emit mousePressed(button);
}

void RichEditor::mouseReleaseEvent(QMouseEvent* event) {
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != pressedButton_ || !pressedLink_) {
        return;
    }
    const TextRange pressed = *pressedLink_;
    pressedLink_.reset();
    pressedButton_ = Qt::NoButton;
    const std::optional<TextRange> released = linkAtPoint(event->position().toPoint());
    if (released && *released == pressed) {
        emit urlClicked(linkText(pressed));
    }
}

void RichEditor::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    const bool overLink = linkAtPoint(event->position().toPoint()).has_value();
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void RichEditor::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's context menu is the owner's, shown on mousePressed.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        emit keyboardContextMenuRequested(event->globalPos());
    }
    event->accept();
}

}  // namespace quillmere
