// The languages spelling can be checked in: the installed dictionaries, their
// names as the user reads them, the one the user's locale asks for, and the
// stored choice ("FontSettings.Ini", section "Settings", key "Spelling").
#pragma once

#include <QChar>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace quillmere::spelling {

// The stored choice that switches checking off.
inline constexpr char kSpellingOff[] = "Off";

// The Debian package named to a user who has no dictionary installed.
inline constexpr char kDictionaryPackage[] = "hunspell-en-us";

// One installed dictionary: its tag ("en_US") and its language's name
// ("English (United States)").
struct DictionaryLanguage {
    QString tag;
    QString name;
    bool operator==(const DictionaryLanguage&) const = default;
};

// The dictionaries Enchant's Hunspell and Nuspell providers find, sorted by
// name (names shared by two tags carry the tag, "English (United States)
// [en_US-large]"). Asks Enchant afresh on every call, so a dictionary
// installed meanwhile is listed. Never throws; empty without Enchant's
// providers or dictionaries.
QList<DictionaryLanguage> installedDictionaries();

// The name of a tag's language in English: "English (United States)" for
// "en_US", "French" for "fr"; the tag itself when it names no language.
QString languageName(const QString& tag);

// The language's writing system ("en_US": Script_Latin, "ru_RU":
// Script_Cyrillic), or Script_Unknown when it cannot be told.
QChar::Script dictionaryScript(const QString& tag);

// The dictionary `locale` asks for among `tags`: the same tag, else the
// language in its main country ("de_DE" for "de_AT"), else the language
// alone ("fr"), else the first tag of the language in `tags`; empty when
// there is none. The "C" locale counts as "en_US".
QString localeDictionary(const QStringList& tags, const QLocale& locale);

// The dictionary to use for the stored choice `stored`: none (empty) for
// "Off"; `stored` when it is installed; otherwise (no choice stored, or the
// chosen dictionary was removed since) the locale's, as localeDictionary.
QString effectiveDictionary(const QString& stored, const QStringList& tags, const QLocale& locale);

// The version of the Enchant library in use ("2.3.3"), for the About box.
// Never throws.
QString enchantVersion();

}  // namespace quillmere::spelling
