// The translators of the program's own texts and of Qt's (standard buttons,
// the file, font, colour and print dialogs) for the user's language. The
// English texts are the program's sources: English needs no translation.
#pragma once

#include <QLocale>
#include <QString>

#include <memory>

class QTranslator;

namespace quillmere {

// Where the compiled translations are embedded: ":/i18n/quillmere_de.qm".
inline constexpr const char* kTranslationsFolder = ":/i18n";
inline constexpr const char* kTranslationsBaseName = "quillmere";

// Installs, while it lives, the translations for `locale` in the running
// application (a QCoreApplication must exist): the program's texts from
// kTranslationsFolder and Qt's own "qtbase_<language>.qm" from Qt's
// translations folder (Debian's qt6-translations-l10n). Each is looked up
// for the locale's languages in order (de_DE, then de); a language without a
// file installs nothing and its texts stay English. Never throws.
class Translations {
public:
    explicit Translations(const QLocale& locale);
    ~Translations();

    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // True when the program's own translation for the locale was installed.
    bool programTranslated() const;
    // True when Qt's own translation for the locale was installed.
    bool qtTranslated() const;

private:
    std::unique_ptr<QTranslator> program_;
    std::unique_ptr<QTranslator> qt_;
};

// `source` of `context` in the system locale's language, for texts written
// before the application object exists (--help); the source itself when the
// language has no translation of it.
QString TranslateBeforeStart(const char* context, const char* source);

}  // namespace quillmere
