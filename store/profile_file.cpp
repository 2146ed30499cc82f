#include "store/profile_file.h"

#include "store/file_access.h"

#include <QStringList>

namespace quillmere {

namespace {

struct Lines {
    QStringList lines;
    QString newline = QStringLiteral("\n");
};

Lines readLines(const QString& path) {
    Lines out;
    if (!fileAccess().exists(path)) {
        return out;
    }
    const QString text = QString::fromUtf8(fileAccess().readAll(path));
    if (text.contains(QLatin1String("\r\n"))) {
        out.newline = QStringLiteral("\r\n");
    }
    out.lines = text.split(QLatin1Char('\n'));
    for (QString& line : out.lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
    }
    if (!out.lines.isEmpty() && out.lines.back().isEmpty()) {
        out.lines.removeLast();  // the final line break
    }
    return out;
}

// The section name of a "[Section]" line, or a null string.
QString sectionOf(const QString& line) {
    const QString t = line.trimmed();
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (!t.startsWith(QLatin1Char('[')) || close < 0) {
        return QString();
    }
    return t.mid(1, close - 1).trimmed();
}

bool splitKey(const QString& line, QString* key, QString* value) {
    const QString t = line.trimmed();
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (t.startsWith(QLatin1Char(';')) || eq <= 0) {
        return false;
    }
    *key = t.left(eq).trimmed();
    *value = t.mid(eq + 1).trimmed();
    if (value->size() >= 2 && value->startsWith(QLatin1Char('"')) &&
        value->endsWith(QLatin1Char('"'))) {
        *value = value->mid(1, value->size() - 2);
    }
    return true;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Line range [first, end) of a section's body, or first = -1.
std::pair<qsizetype, qsizetype> findSection(const QStringList& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionOf(lines[i]);
        if (!name.isNull() && sameName(name, section)) {
            qsizetype end = i + 1;
            while (end < lines.size() && sectionOf(lines[end]).isNull()) {
                ++end;
            }
            return {i + 1, end};
        }
    }
    return {-1, -1};
}

}  // namespace

int parseProfileInteger(const QString& text, int fallback) {
    const QString t = text.trimmed();
    bool ok = false;
    if (t.size() > 2 && (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("0X")))) {
        const uint value = t.mid(2).toUInt(&ok, 16);
        return ok ? static_cast<int>(value) : fallback;
    }
    const int value = t.toInt(&ok, 10);
    return ok ? value : fallback;
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& fallback) const {
    const Lines file = readLines(path_);
    const auto [first, end] = findSection(file.lines, section);
    QString k, v;
    for (qsizetype i = first; first >= 0 && i < end; ++i) {
        if (splitKey(file.lines[i], &k, &v) && sameName(k, key)) {
            return v;
        }
    }
    return fallback;
}

int ProfileFile::readInteger(const QString& section, const QString& key, int fallback) const {
    const QString text = readString(section, key, QString());
    return text.isEmpty() ? fallback : parseProfileInteger(text, fallback);
}

bool ProfileFile::readBool(const QString& section, const QString& key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

namespace {

// Sets section/key in the lines read: the key's line replaced, or added at
// the end of its section, or the section added at the end.
void setValue(Lines& file, const QString& section, const QString& key, const QString& value) {
    const QString line = key + QLatin1Char('=') + value;
    const auto [first, end] = findSection(file.lines, section);
    QString k, v;
    for (qsizetype i = first; first >= 0 && i < end; ++i) {
        if (splitKey(file.lines[i], &k, &v) && sameName(k, key)) {
            file.lines[i] = line;
            return;
        }
    }
    if (first >= 0) {
        qsizetype at = end;
        while (at > first && file.lines[at - 1].trimmed().isEmpty()) {
            --at;  // before the blank lines that end the section
        }
        file.lines.insert(at, line);
    } else {
        file.lines << QLatin1Char('[') + section + QLatin1Char(']') << line;
    }
}

}  // namespace

void ProfileFile::writeString(const QString& section, const QString& key,
                              const QString& value) const {
    writeStrings({ProfileValue{section, key, value}});
}

void ProfileFile::writeStrings(const QList<ProfileValue>& values) const {
    Lines file = readLines(path_);
    for (const ProfileValue& value : values) {
        setValue(file, value.section, value.key, value.value);
    }
    const QString text = file.lines.join(file.newline) + file.newline;
    fileAccess().writeAtomic(path_, text.toUtf8());
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) const {
    writeString(section, key, QString::number(value));
}

void ProfileFile::writeBool(const QString& section, const QString& key, bool value) const {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace quillmere
