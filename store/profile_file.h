// A profile ("INI") file read and written key by key, as the platform's
// profile functions do: "[Section]" lines and "key=value" lines, sections and
// keys found without regard to letter case, blanks around keys and values
// ignored, lines starting with ';' are comments. Every read reads the file
// again; every write rewrites it keeping all other lines as they were, and
// creates it when missing. All file access goes through fileAccess(); text
// is UTF-8.
#pragma once

#include <QList>
#include <QString>

namespace quillmere {

// One key's value, for writing several at once.
struct ProfileValue {
    QString section;
    QString key;
    QString value;
};

class ProfileFile {
public:
    explicit ProfileFile(const QString& path) : path_(path) {}
    const QString& path() const { return path_; }

    // The value of section/key, or `fallback` when the file, the section or
    // the key is missing. Throws FileError when the file exists but cannot be
    // read.
    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // Decimal; a value of more than two characters starting "0x"/"0X" is
    // hexadecimal; anything else gives `fallback`.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    // readInteger(fallback ? 1 : 0) != 0.
    bool readBool(const QString& section, const QString& key, bool fallback) const;

    // Sets section/key to `value`: replaces the key's line, or adds it at the
    // end of its section, or adds the section at the end of the file. Throws
    // FileError naming the file when it cannot be read or written; the old
    // file then stays as it was.
    void writeString(const QString& section, const QString& key, const QString& value) const;
    // Sets every value in turn as writeString does, reading and rewriting the
    // file once. Throws as writeString does; the old file then stays as it was.
    void writeStrings(const QList<ProfileValue>& values) const;
    void writeInteger(const QString& section, const QString& key, int value) const;
    // Written as "1" or "0".
    void writeBool(const QString& section, const QString& key, bool value) const;

private:
    QString path_;
};

// The integer reading rule on its own: decimal, "0x"/"0X" hexadecimal for
// values longer than two characters, `fallback` for anything else.
int parseProfileInteger(const QString& text, int fallback);

}  // namespace quillmere
