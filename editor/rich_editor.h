// The entry editor control: a QTextEdit holding one diary entry as rich text,
// with the operations the main window, the commands and the search rely on.
//
// Whole-document reads and writes go through the RTF library (editor/rtf),
// so what is stored is always the 8-bit RTF that library writes. Links are
// detected in the displayed text and never stored. The modified flag is the
// document's: every user edit sets it; whole-document loads and the default
// font clear it.
#pragma once

#include "editor/print/format_range.h"
#include "editor/text_find.h"
#include "editor/url_links.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <optional>

class QTextDocument;
class QThreadPool;

namespace quillmere {

class PictureLayoutHandler;
class FormatCache;
class PrintDevice;
// Deletes the render call's layout cache (defined with it).
struct FormatCacheDeleter {
    void operator()(FormatCache* cache) const;
};
struct PreparedInsertion;

// Paragraph alignment, in the order (and with the numbers) of the formatting
// commands.
enum class ParagraphAlignment { Left = 0, Right = 1, Center = 2, Justify = 3 };

// The four character styles that the style commands read and write together.
struct CharStyles {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const CharStyles&) const = default;
};

// A range of character positions [start, start + length).
struct TextRange {
    int start = 0;
    int length = 0;
    bool operator==(const TextRange&) const = default;
};

class RichEditor : public QTextEdit {
    Q_OBJECT
public:
    // Longest face name a character format keeps (longer names are cut).
    static constexpr int kMaxFaceNameLength = 31;

    // Font sizes a character format takes, in points; sizes outside are
    // brought to the nearest (a damaged settings record cannot break the
    // editor's font).
    static constexpr int kMinPointSize = 1;
    static constexpr int kMaxPointSize = 1638;

    // The design's editor font: Arial, 11 points (15 pixels at 96 dpi), black.
    static QTextCharFormat designDefaultFormat();

    explicit RichEditor(QWidget* parent = nullptr);
    ~RichEditor() override;

    // --- Whole document ---------------------------------------------------

    // Plain-text mode: whole-document reads and writes use 8-bit plain text
    // and the text carries one character format; rich mode (the default)
    // uses RTF. Switching keeps the current content as it is.
    void setPlainTextMode(bool plain);
    bool isPlainTextMode() const { return plainTextMode_; }

    // The whole document as 8-bit RTF, whatever the mode. Never throws.
    QByteArray saveRtf() const;
    // The whole document in the mode's format (RTF or plain text).
    QByteArray saveContent() const;

    // Replaces the whole content with bytes read in the mode's format; when
    // that fails, the same bytes are read in the other format. Throws
    // rtf::RtfError("Failed to Load Stream") when both fail; the editor then
    // keeps its previous content. A successful load leaves the editor not
    // modified, with an empty undo history and the caret at the start.
    void loadContent(const QByteArray& bytes);

    // The load step of an entry: switches to rich mode, then reads the bytes
    // as RTF, else as plain text (as loadContent). Throws the same error.
    void loadEntryRtf(const QByteArray& rtf);

    // Empties the editor (pictures included): the default character format
    // stays, the undo history is dropped and the editor is not modified.
    void clearAll();

    // --- Pictures made ready away from the window -----------------------------

    // Work for the picture thread: builds the pictures to insert (see
    // editor/pictures/picture_preparation.h). It may throw Error; the message
    // then stops the insertion.
    using PictureJob = std::function<PreparedInsertion()>;
    // Runs `job` on the editor's picture thread and puts what it made where
    // the selection is now (replacing it), each picture wearing the look of
    // the text there, then moves the caret after it unless the user moved it
    // meanwhile. The window keeps handling input while the job runs; this
    // returns when the job's pictures are in (or the program is ending).
    // Returns the job's outcome; when it reports an error, nothing is
    // inserted and the editor is unchanged. When the content was replaced
    // meanwhile (another day was loaded), nothing is inserted either. Throws
    // nothing.
    PreparedInsertion insertPrepared(const PictureJob& job);
    // True while pictures are on their way in.
    bool hasPendingPictures() const { return pendingPictures_ > 0; }
    // Waits, handling no user input, until every picture on its way is in:
    // before the content is stored.
    void finishPendingPictures();

    // --- Modified flag ----------------------------------------------------

    // True when the content was changed since it was loaded or marked
    // unmodified, and while pictures are on their way in (a paste the user
    // made is a change even before it shows: the day must be stored).
    bool isModified() const;
    void setModified(bool modified);

    // --- Default character format -------------------------------------------

    // Makes name, size (points) and colour the control's font: text typed
    // into the empty editor takes it, the whole current text takes it too.
    // Not undoable; the editor is marked not modified afterwards.
    void applyDefaultFont(const QString& name, int pointSize, const QColor& color);
    void applyDefaultFont(const QString& name, int pointSize, quint32 colorRef);
    QTextCharFormat defaultCharFormat() const { return defaultFormat_; }

    // --- Selection ----------------------------------------------------------

    int selectionStart() const;
    int selectionLength() const;
    // The selected text, paragraph breaks as '\n'.
    QString selectedPlainText() const;
    // Selects [start, start + length); bounds are clamped to the text.
    void setSelection(int start, int length);
    // Replaces the selection by text in the insertion format (CR LF, CR and
    // LF end paragraphs); the caret ends after it with an empty selection.
    void replaceSelection(const QString& text);
    // Deletes the selection without touching the clipboard.
    void deleteSelection();
    void moveCaretToStart();

    // --- Character format of the selection (of the insertion point when the
    // selection is empty; of the whole text in plain-text mode) -------------

    // Read at the start of the selection.
    CharStyles selectionStyles() const;
    // Sets all four styles over the whole selection at once.
    void setSelectionStyles(const CharStyles& styles);
    QString selectionFontName() const;
    void setSelectionFontName(const QString& name);
    int selectionFontSize() const;
    void setSelectionFontSize(int points);
    // The explicit text colour, or the window-text colour when automatic.
    QColor selectionTextColor() const;
    bool isSelectionTextColorAutomatic() const;
    void setSelectionTextColor(const QColor& color);
    void setSelectionTextColorAutomatic();
    // The highlight colour, or the window colour when automatic (none).
    QColor selectionBackgroundColor() const;
    bool isSelectionBackgroundAutomatic() const;
    void setSelectionBackgroundColor(const QColor& color);
    void setSelectionBackgroundAutomatic();
    // Windows character set number of the font (0 is ANSI, the default).
    int selectionCharset() const;
    void setSelectionCharset(int charset);
    // True when the start of the selection lies on a detected link.
    bool isSelectionLink() const;

    // --- Paragraph format (read from the selection's first paragraph,
    // written to every paragraph the selection touches) ---------------------

    ParagraphAlignment paragraphAlignment() const;
    void setParagraphAlignment(ParagraphAlignment alignment);
    bool isParagraphBullet() const;
    void setParagraphBullet(bool bullet);
    // Left offset (hanging indent) in whole points; stored as 20 twips each.
    int paragraphLeftOffset() const;
    void setParagraphLeftOffset(int points);

    // Advanced typography (needed for justified paragraphs on other systems;
    // justification always works here). Kept so callers can switch it on.
    void setAdvancedTypography(bool on) { advancedTypography_ = on; }
    bool advancedTypography() const { return advancedTypography_; }

    // --- Undo ---------------------------------------------------------------

    bool canUndo() const;
    bool canRedo() const;

    // --- Find ---------------------------------------------------------------

    // Start of the first (forward) or last (backward) match of `needle` lying
    // wholly within [from, to) of the displayed text, or -1.
    int findText(const QString& needle, int from, int to, const FindOptions& options) const;
    // Find next: forward from the end of the selection to the end of the text,
    // backward from the start of the selection. A hit becomes the selection
    // and is scrolled into view; no hit changes nothing.
    std::optional<TextRange> findNext(const QString& needle, const FindOptions& options);

    // --- Links --------------------------------------------------------------

    // The detected link covering character `position`, if any.
    std::optional<TextRange> linkAt(int position) const;
    // The detected link under a point of the viewport, if any.
    std::optional<TextRange> linkAtPoint(const QPoint& viewportPos) const;
    // True while paragraphs of a long entry wait to have their links drawn.
    bool linksPending() const { return highlighter_->pending(); }
    // Switches link detection (and drawing) on or off; on by default. A
    // hidden editor that only reads text can leave it off.
    void setUrlDetection(bool on);

    // --- Display-only marks (the spelling underlines) ----------------------

    // Called each time a paragraph's links are drawn, with the paragraph and
    // its text (see UrlHighlighter::setExtraMarks): how the spelling learns
    // of changed paragraphs. Called while link detection is on.
    void setExtraMarks(UrlHighlighter::ExtraMarks marks);
    // Red wavy underlines painted over the text, never part of the document
    // or its layout, so never stored, put on the clipboard or printed: for a
    // paragraph in view, the ranges to underline in paragraph positions.
    // Painting them costs nothing when the text is laid out again.
    using UnderlineMarks = std::function<QList<TextRange>(const QTextBlock& block)>;
    void setUnderlineMarks(UnderlineMarks marks);
    // Calls the extra marks for one paragraph again and paints its
    // underlines anew (nothing for a block of another document).
    void refreshMarks(const QTextBlock& block);
    // Paints one paragraph's underlines anew, after what they are changed.
    void repaintMarks(const QTextBlock& block);
    // The first and the last paragraph in view, found by halving over the
    // paragraphs laid out so far: neither lays out more of a long entry nor
    // walks it (the text edit's hit test does both). Valid blocks for any
    // document, the first one for an empty or unlaid-out one.
    std::pair<QTextBlock, QTextBlock> blocksInView() const;

    // --- Printing (rich_editor_print.cpp) -------------------------------------

    // The text length as the render call counts it: every position of the
    // document except the final paragraph end.
    int renderLength() const;
    // Lays out the characters of `range` for its target device in the width
    // of `range.rc`, from the top of `range.rc`, and when `render` draws the
    // lines that fit wholly into it (clipped to `range.rcPage`). Pictures
    // keep their size, scaled down to fit `range.rc` when larger. Returns the
    // index of the first character that did not fit, or the end of the range
    // (cpMax, or renderLength() for -1) when all of it fits. The first line
    // is always taken, so a call from a line start always moves on. Returns
    // cpMin (clamped to the text) for an empty range or without any device.
    // The layout is cached for the next call over the same range end, device
    // and width; releaseFormatRange drops it. Never throws.
    int formatRange(bool render, const FormatRange& range);
    // The final call: drops the layout cache.
    void releaseFormatRange();
    // The print rectangle in device pixels of the printer (empty: the page).
    void setPrintRectangle(const PageRect& devicePixels) { printRectangle_ = devicePixels; }
    PageRect printRectangle() const { return printRectangle_; }
    // Prints the whole content as one document titled `title`: one page per
    // page loop step, one empty page for an empty text. Throws the device's
    // Error; the document is then ended (cancelled) before the error passes.
    void print(PrintDevice& device, const QString& title);

signals:
    // The caret moved or the selection changed.
    void editorSelectionChanged();
    // A mouse button was pressed in the text area (not for a right press on
    // a link: that one opens the link when released on it).
    void mousePressed(Qt::MouseButton button);
    // The left or right button was pressed and released on the same link.
    void urlClicked(const QString& url);
    // The context-menu key was pressed (mouse presses come as mousePressed).
    void keyboardContextMenuRequested(const QPoint& globalPos);
    // The modified flag changed.
    void modifiedChanged(bool modified);
    // A whole-document load or Clear All replaced document().
    void documentReplaced();
    // A paste or drop could not be inserted (a damaged picture file); the
    // message says why. Nothing was inserted.
    void insertFailed(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The clipboard: copies carry RTF and text; pastes and drops take RTF,
    // then a picture (inserted in its stored form, see
    // picture_preparation.h), then local files (pictures inserted likewise,
    // other files as "file:" links), then text, as the stored content can
    // hold them. Pictures and files are made ready on the picture thread
    // (insertPrepared). A picture takes the look (font, size, colours) of the
    // text before it, or of the text at the insertion point, so that text
    // typed after it looks like the text around it. Plain-text mode pastes
    // text only.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void setUpLook();
    QTextDocument* newDocument() const;
    void installDocument(QTextDocument* document);
    void readInto(QTextDocument& document, const QByteArray& bytes, bool plainFirst) const;
    void applyFormatToAll(const QTextCharFormat& format);
    QTextCharFormat formatAtSelection() const;
    QFont resolvedFont(const QTextCharFormat& format) const;
    void mergeIntoSelection(const QTextCharFormat& format);
    void clearFromSelection(QTextFormat::Property property);
    void setIndentOfSelection(std::optional<int> offsetPoints, std::optional<bool> bullet);
    QString linkText(const TextRange& link) const;
    bool pasteRtf(const QByteArray& rtf, const QTextCharFormat& look);
    bool insertFiles(const QStringList& files);
    bool insertImageData(const QMimeData* source);
    void typeInTextLookAfterPicture();
    struct PendingInsertion;
    void putPrepared(PendingInsertion& pending, const PreparedInsertion& done);

    UrlHighlighter* highlighter_ = nullptr;
    UnderlineMarks underlineMarks_;
    PictureLayoutHandler* pictureLayout_ = nullptr;
    QTextCharFormat defaultFormat_;
    bool plainTextMode_ = false;
    bool advancedTypography_ = false;
    bool urlDetection_ = true;
    // The link and button of the last press on a link, until its release.
    std::optional<TextRange> pressedLink_;
    Qt::MouseButton pressedButton_ = Qt::NoButton;
    // Printing: the render call's layout and the print rectangle.
    std::unique_ptr<FormatCache, FormatCacheDeleter> formatCache_;
    PageRect printRectangle_;
    // The picture thread (one, so pictures go in in the order asked for),
    // and the insertions it is working on.
    std::unique_ptr<QThreadPool> pictureThread_;
    int pendingPictures_ = 0;
};

}  // namespace quillmere
