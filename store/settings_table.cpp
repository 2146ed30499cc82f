#include "store/settings_table.h"

#include "store/type_word.h"

#include <QStringDecoder>

namespace quillmere {

namespace {

std::vector<FieldDeclaration> settingsFields() {
    return {FieldDeclaration::string(kPasswordField, kPasswordWidth),
            FieldDeclaration::string(kFontNameField, kFontNameWidth),
            FieldDeclaration::integer32(kFontSizeField),
            FieldDeclaration::integer32(kFontColorField)};
}

bool isLatin1(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

QByteArray toFieldBytes(const QString& text, int width) {
    if (isLatin1(text)) {
        return text.toLatin1();
    }
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() > width) {
        qsizetype cut = width;
        // Step back over continuation bytes to the start of a character.
        while (cut > 0 && (static_cast<uint8_t>(utf8[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        utf8.truncate(cut);
    }
    return utf8;
}

QString fromFieldBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

SettingsTable::SettingsTable(const QString& name) : StoredTable(name, settingsFields()) {}

void SettingsTable::OpenSettings(const QString& path) {
    open(path);
}

void SettingsTable::afterOpen() {
    using namespace typeword;
    password_ = requireField(kPasswordField, {kString});
    fontName_ = requireField(kFontNameField, {kString});
    fontSize_ = requireField(kFontSizeField, {kInteger, kUnsigned});
    fontColor_ = requireField(kFontColorField, {kInteger, kUnsigned});
}

int SettingsTable::insertPosition() const {
    // Viewed in default order, a new record goes at the current position.
    const int at = current() ? data().positionOf(*current()) : -1;
    return at < 0 ? data().recordCount() : at;
}

QString SettingsTable::stringField(int column) const {
    requireOpen();
    const Cell* c = currentCell(column);
    return c ? fromFieldBytes(data().stringValue(*c)) : QString();
}

int SettingsTable::intField(int column) const {
    requireOpen();
    const Cell* c = currentCell(column);
    return c ? static_cast<int>(data().integerValue(*c, column)) : 0;
}

bool SettingsTable::isBlank(const char* field) const {
    requireOpen();
    const int column = data().fieldIndex(field);
    const Cell* c = column >= 0 ? currentCell(column) : nullptr;
    return !c || DSBASE::isBlank(*c);
}

QString SettingsTable::Password() const {
    return stringField(password_);
}
QString SettingsTable::FontName() const {
    return stringField(fontName_);
}
int SettingsTable::FontSize() const {
    return intField(fontSize_);
}
int SettingsTable::FontColor() const {
    return intField(fontColor_);
}

void SettingsTable::setStringField(int column, const QString& value) {
    requireEditing();
    data().setString(buffer(), column, toFieldBytes(value, data().field(column).width));
}

void SettingsTable::setPassword(const QString& value) {
    setStringField(password_, value);
}
void SettingsTable::setFontName(const QString& value) {
    setStringField(fontName_, value);
}

void SettingsTable::setFontSize(int value) {
    requireEditing();
    data().setInteger(buffer(), fontSize_, value);
}

void SettingsTable::setFontColor(int value) {
    requireEditing();
    data().setInteger(buffer(), fontColor_, value);
}

}  // namespace quillmere
