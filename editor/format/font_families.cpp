#include "editor/format/font_families.h"

#include "controls/rb_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QRawFont>
#include <QSet>

namespace quillmere {

namespace {

// "C059 [urw]" -> "C059": the font database's foundry suffix.
QString withoutFoundry(const QString& name) {
    if (name.endsWith(u']')) {
        const qsizetype open = name.lastIndexOf(QLatin1String(" ["));
        if (open >= 0) {
            return name.left(open).trimmed();
        }
    }
    return name.trimmed();
}

}  // namespace

QStringList uniqueFamilyNames(const QStringList& databaseNames) {
    QStringList families;
    QSet<QString> seen;
    for (const QString& name : databaseNames) {
        const QString family = withoutFoundry(name);
        if (family.isEmpty() || seen.contains(family.toCaseFolded())) {
            continue;
        }
        seen.insert(family.toCaseFolded());
        families.append(family);
    }
    families.sort(Qt::CaseInsensitive);
    return families;
}

QStringList fontFamilyList() {
    installFontSubstitutes();
    QStringList names;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family)) {
            names.append(family);
        }
    }
    const QStringList installed = uniqueFamilyNames(names);
    for (const QString& name : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif")}) {
        for (const QString& substitute : QFont::substitutes(name)) {
            if (installed.contains(substitute, Qt::CaseInsensitive)) {
                names.append(name);
                break;
            }
        }
    }
    return uniqueFamilyNames(names);
}

bool showsItsOwnName(const QString& family) {
    // Asked for every list item at every paint: the answer is kept.
    static QHash<QString, bool> answers;
    const auto known = answers.constFind(family);
    if (known != answers.constEnd()) {
        return *known;
    }
    bool shows = !QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol);
    if (shows) {
        const QRawFont raw = QRawFont::fromFont(QFont(family));
        for (const QChar c : family) {
            if (!c.isSpace() && !raw.supportsCharacter(c)) {
                shows = false;
                break;
            }
        }
    }
    answers.insert(family, shows);
    return shows;
}

}  // namespace quillmere
