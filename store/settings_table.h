// The settings table `tblPassword`, kept in "Settings.cds": no record or one
// (a file holding more is used through its first record). Fields in order:
// `Password` (string, 20), `FontName` (string, 50), `FontSize` (i4),
// `FontColor` (i4, 0x00BBGGRR). Not indexed; rows stay in default order.
#pragma once

#include "store/stored_table.h"

namespace quillmere {

inline constexpr char kPasswordField[] = "Password";
inline constexpr char kFontNameField[] = "FontName";
inline constexpr char kFontSizeField[] = "FontSize";
inline constexpr char kFontColorField[] = "FontColor";
constexpr int kPasswordWidth = 20;
constexpr int kFontNameWidth = 50;

class SettingsTable : public StoredTable {
public:
    explicit SettingsTable(const QString& name = QStringLiteral("tblPassword"));

    // Opens the settings file as JournalTable::OpenJournal opens the journal:
    // missing, an empty table in memory; present, read whole. Throws as
    // StoredTable::open, and Error "<name>: Field 'FontSize' not found" (for
    // whichever field is missing); the table then stays closed.
    void OpenSettings(const QString& path);

    // Fields of the first record (or of the record being edited/inserted).
    // A blank field, or no record, reads as "" / 0. Throw the closed-table
    // error when closed.
    QString Password() const;
    QString FontName() const;
    int FontSize() const;
    int FontColor() const;
    // True when the field has no value (e.g. a FontName never set).
    bool isBlank(const char* field) const;

    // Setters for the record being edited or inserted; strings lose their
    // trailing blanks and are cut to the field's width. Throw unless editing
    // or inserting.
    void setPassword(const QString& value);
    void setFontName(const QString& value);
    void setFontSize(int value);
    void setFontColor(int value);

protected:
    int insertPosition() const override;
    void afterOpen() override;

private:
    QString stringField(int column) const;
    int intField(int column) const;
    void setStringField(int column, const QString& value);

    int password_ = 0, fontName_ = 1, fontSize_ = 2, fontColor_ = 3;
};

// The 8-bit form of a text in a string field of `width` bytes: Latin-1 when
// every character has a Latin-1 form, else UTF-8 cut at a character boundary.
QByteArray toFieldBytes(const QString& text, int width);
// Back again: UTF-8 when the bytes are valid UTF-8, else Latin-1.
QString fromFieldBytes(const QByteArray& bytes);

}  // namespace quillmere
