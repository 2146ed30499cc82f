// The document reader, the fast plain-text path and the entry load rule, all
// driven by the one Interpreter. Plain-text files are read in plain_text.cpp.
#include "editor/rtf/codepage.h"
#include "editor/rtf/interpreter.h"
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <utility>

namespace quillmere::rtf {
namespace {

QTextListFormat::Style listStyleOf(ListKind kind) {
    switch (kind) {
        case ListKind::Decimal:
            return QTextListFormat::ListDecimal;
        case ListKind::LowerAlpha:
            return QTextListFormat::ListLowerAlpha;
        case ListKind::UpperAlpha:
            return QTextListFormat::ListUpperAlpha;
        case ListKind::LowerRoman:
            return QTextListFormat::ListLowerRoman;
        case ListKind::UpperRoman:
            return QTextListFormat::ListUpperRoman;
        default:
            return QTextListFormat::ListDisc;
    }
}

// A numbered list's prefix and suffix from the label its writer stored for
// its first item ("(a)", "1)", "IV."): the characters around the label's
// letters and digits. Labels of another shape, and the default "1.", leave
// the format as it is.
void applyStoredLabel(QTextListFormat& format, ListKind kind, const QString& label) {
    constexpr qsizetype kMaxAffix = 8;
    if (kind == ListKind::None || kind == ListKind::Bullet) {
        return;
    }
    const QString text = label.trimmed();
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLetterOrNumber()) {
            if (first >= 0 && last != i - 1) {
                return;  // letters or digits in two places
            }
            first = first < 0 ? i : first;
            last = i;
        } else if (text[i].unicode() < 0x20 || !isClean(text[i].unicode())) {
            return;  // a label holds no control characters or separators
        }
    }
    if (first < 0 || first > kMaxAffix || text.size() - 1 - last > kMaxAffix) {
        return;
    }
    const QString prefix = text.left(first);
    const QString suffix = text.mid(last + 1);
    if (prefix.isEmpty() && suffix == QStringLiteral(".")) {
        return;
    }
    format.setNumberPrefix(prefix);
    format.setNumberSuffix(suffix);
}

Qt::Alignment qtAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right:
            return Qt::AlignRight;
        case Alignment::Centre:
            return Qt::AlignHCenter;
        case Alignment::Justify:
            return Qt::AlignJustify;
        default:
            return Qt::AlignLeft;
    }
}

// Builds the document from the interpreter's calls.
class DocumentSink : public RtfSink {
public:
    explicit DocumentSink(QTextDocument& doc) : doc_(doc), cursor_(&doc) {}
    void attach(const Interpreter* interpreter) { in_ = interpreter; }

    void text(const QString& text) override {
        shapePictureAt_ = -1;
        cursor_.insertText(text, charFormat());
    }
    void lineBreak() override {
        shapePictureAt_ = -1;
        cursor_.insertText(QString(QChar::LineSeparator), charFormat());
    }
    void paragraphEnd() override {
        shapePictureAt_ = -1;
        finishBlock();
        cursor_.insertBlock();
    }
    void picture(const PictureData& picture) override {
        QTextImageFormat format = pictureFormat(doc_, picture);
        format.merge(charFormat());
        format.setObjectType(QTextFormat::ImageObject);
        shapePictureAt_ = picture.inShape ? cursor_.position() : -1;
        cursor_.insertText(QString(QChar::ObjectReplacementCharacter), format);
    }
    // The metafile twin of a \shppict picture is kept with it, so that both
    // are written back.
    void alternatePicture(const PictureData& picture) override {
        if (shapePictureAt_ < 0) {
            return;
        }
        QTextCursor at(&doc_);
        at.setPosition(shapePictureAt_);
        at.setPosition(shapePictureAt_ + 1, QTextCursor::KeepAnchor);
        QTextCharFormat twin;
        twin.setProperty(kPictureFallbackHeaderProperty, picture.header);
        twin.setProperty(kPictureFallbackDataProperty, picture.data);
        if (picture.binary) {
            twin.setProperty(kPictureFallbackBinaryProperty, true);
        }
        at.mergeCharFormat(twin);
        shapePictureAt_ = -1;
    }
    void listLabel(const QString& label) override { label_ = label; }
    // The last paragraph has no paragraph mark of its own.
    void finish() { finishBlock(); }

private:
    const QTextCharFormat& charFormat() {
        const CharState& state = in_->charState();
        if (!haveFormat_ || !(state == formatState_)) {
            format_ = toFormat(state);
            formatState_ = state;
            haveFormat_ = true;
        }
        return format_;
    }

    QTextCharFormat toFormat(const CharState& state) const {
        QTextCharFormat format;
        format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(state.italic);
        format.setFontUnderline(state.underline);
        format.setFontStrikeOut(state.strike);
        format.setFontPointSize(state.halfPoints / 2.0);
        if (const FontEntry* font = in_->font(state.font)) {
            if (!font->name.isEmpty()) {
                format.setFontFamilies(QStringList{font->name});
            }
            format.setProperty(kCharsetProperty, font->charset);
        }
        if (auto colour = in_->colour(state.foreground)) {
            format.setForeground(QColor::fromRgb(*colour));
        }
        if (auto colour = in_->colour(state.background)) {
            format.setBackground(QColor::fromRgb(*colour));
        }
        return format;
    }

    void finishBlock() {
        const QString label = std::exchange(label_, QString());
        const ParaState& para = in_->paraState();
        ListKind kind = in_->listKind(para);
        QTextBlockFormat format;
        format.setAlignment(qtAlignment(para.alignment));
        ParagraphIndent indent{para.leftIndent + para.firstIndent, -para.firstIndent};
        if (indent != ParagraphIndent{}) {
            setParagraphIndent(format, indent, kind != ListKind::None);
        }
        QTextBlock block = cursor_.block();
        // A new block inherits the list of the one before it.
        QTextList* current = block.textList();
        const int level = in_->listLevel(para);
        const bool continues = list_ != nullptr && listKind_ == kind && listLevel_ == level;
        if (current != nullptr && (kind == ListKind::None || !continues || current != list_)) {
            current->remove(block);
        }
        cursor_.setBlockFormat(format);
        cursor_.setBlockCharFormat(charFormat());
        if (kind == ListKind::None) {
            list_ = nullptr;
            return;
        }
        if (continues) {
            if (block.textList() != list_) {
                list_->add(block);
            }
            return;
        }
        QTextListFormat listFormat;
        listFormat.setStyle(listStyleOf(kind));
        // The paragraph's indent places the bullet, as in the editor; Qt's
        // list indent would add 40 pixels per level on top of it.
        listFormat.setIndent(0);
        listFormat.setProperty(kListLevelProperty, level);
        applyStoredLabel(listFormat, kind, label);
        list_ = cursor_.createList(listFormat);
        listKind_ = kind;
        listLevel_ = level;
    }

    QTextDocument& doc_;
    QTextCursor cursor_;
    // Position of the picture just read from a \shppict group, until other
    // content follows it; -1 when none.
    int shapePictureAt_ = -1;
    const Interpreter* in_ = nullptr;
    QTextCharFormat format_;
    CharState formatState_;
    bool haveFormat_ = false;
    QString label_;  // the stored label of the paragraph being read
    QTextList* list_ = nullptr;
    ListKind listKind_ = ListKind::None;
    int listLevel_ = 0;
};

// Collects what toPlainText() of the built document would give.
class PlainTextSink : public RtfSink {
public:
    explicit PlainTextSink(qsizetype expected) { text_.reserve(expected); }
    void attach(const Interpreter* interpreter) { in_ = interpreter; }

    void text(const QString& text) override {
        qsizetype start = text_.size();
        text_.append(text.constData(), text.size());  // a deep copy: `text` may be a view
        if (in_->textMayHoldNoBreakSpace()) {
            // As QTextDocument::toPlainText, which shows no-break spaces as spaces.
            std::replace(text_.begin() + start, text_.end(), QChar(QChar::Nbsp), QChar(u' '));
        }
    }
    void lineBreak() override { text_ += u'\n'; }
    void paragraphEnd() override { text_ += u'\n'; }
    void picture(const PictureData&) override { text_ += QChar::ObjectReplacementCharacter; }

    QString take() {
        if (text_.capacity() > 2 * text_.size() + 64) {
            text_.squeeze();  // mostly markup, such as a picture: do not keep the room
        }
        return std::move(text_);
    }

private:
    const Interpreter* in_ = nullptr;
    QString text_;
};

}  // namespace

void readRtf(const QByteArray& rtf, QTextDocument& doc) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    try {
        DocumentSink sink(doc);
        Interpreter interpreter(sink);
        sink.attach(&interpreter);
        interpreter.run(rtf);
        sink.finish();
    } catch (...) {
        doc.clear();
        doc.setUndoRedoEnabled(undo);
        throw;
    }
    doc.setUndoRedoEnabled(undo);
}

QString plainTextOfRtf(const QByteArray& rtf) {
    // Every character of the text takes at least one byte of the RTF; an
    // entry with a photograph is mostly its bytes, so room for more is made
    // only as text comes.
    constexpr qsizetype kReservedChars = 1 << 20;
    PlainTextSink sink(std::min(rtf.size(), kReservedChars));
    Interpreter interpreter(sink);
    interpreter.passOverPictureData();
    sink.attach(&interpreter);
    interpreter.run(rtf);
    return sink.take();
}

void loadEntryBytes(const QByteArray& bytes, QTextDocument& doc) {
    try {
        readRtf(bytes, doc);
        return;
    } catch (const RtfError&) {
    }
    try {
        readPlainText(bytes, doc);
    } catch (const RtfError&) {
        throw RtfError(QCoreApplication::translate("quillmere::RichEditor", "Failed to Load Stream"));
    }
}

}  // namespace quillmere::rtf
