#include "editor/rtf/link_text.h"

#include <array>

namespace quillmere {

namespace {

// Prefixes that open an address, compared without regard to case. "https:"
// needs no special order: "http:" cannot match it, its fifth character is ':'.
constexpr std::array<const char*, 6> kUrlPrefixes = {
    "file:", "http:", "https:", "ftp:", "mailto:", "www."};

// The character an embedded picture or object stands on in the text.
constexpr char16_t kObjectReplacement = 0xFFFC;

bool endsAddress(QChar c) {
    return c.isSpace() || c.unicode() == kObjectReplacement;
}

// True when an address prefix may start with `c`: every prefix starts with
// f, h, m or w. Other characters than ASCII are left to the comparison,
// which folds letter case as Unicode does.
bool mayStartPrefix(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x80) {
        return true;
    }
    const char16_t lower = u | 0x20;
    return lower == 'f' || lower == 'h' || lower == 'm' || lower == 'w';
}

// Length of the prefix found at `pos`, or 0 when none starts there.
int prefixAt(const QString& text, int pos) {
    if (!mayStartPrefix(text.at(pos))) {
        return 0;
    }
    for (const char* prefix : kUrlPrefixes) {
        const QLatin1StringView p(prefix);
        if (QStringView(text).mid(pos).startsWith(p, Qt::CaseInsensitive)) {
            return int(p.size());
        }
    }
    return 0;
}

}  // namespace

QList<UrlSpan> detectUrls(const QString& text) {
    QList<UrlSpan> spans;
    const int size = int(text.size());
    int pos = 0;
    while (pos < size) {
        const int prefix = prefixAt(text, pos);
        if (prefix == 0) {
            ++pos;
            continue;
        }
        int end = pos + prefix;
        while (end < size && !endsAddress(text.at(end))) {
            ++end;
        }
        if (end > pos + prefix) {
            spans.append({pos, end - pos});
        }
        pos = end;
    }
    return spans;
}

QString fileLinkText(const QString& path) {
    QString text = path;
    text.replace(QLatin1Char(' '), QLatin1Char('%'));
    return QStringLiteral("file:") + text;
}

QString linkTextToOpen(const QString& linkText) {
    QString text = linkText;
    text.replace(QLatin1Char('%'), QLatin1Char(' '));
    return text;
}

QUrl linkTarget(const QString& linkText) {
    if (linkText.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        // Only file links write their blanks as "%".
        const QString text = linkTextToOpen(linkText);
        const QString rest = text.mid(5);
        if (rest.startsWith(QLatin1String("//"))) {
            return QUrl(text, QUrl::TolerantMode);
        }
        if (rest.startsWith(QLatin1Char('/'))) {
            return QUrl::fromLocalFile(rest);
        }
        // A path of another system (C:\...) is passed on as it is written.
        QUrl url;
        url.setScheme(QStringLiteral("file"));
        url.setPath(rest, QUrl::DecodedMode);
        return url;
    }
    // Web and mail addresses open as written, their %-escapes included.
    if (linkText.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        return QUrl(QStringLiteral("http://") + linkText, QUrl::TolerantMode);
    }
    return QUrl(linkText, QUrl::TolerantMode);
}

}  // namespace quillmere
