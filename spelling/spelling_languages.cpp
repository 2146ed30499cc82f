#include "spelling/spelling_languages.h"

#include "spelling/enchant_providers.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <utility>

namespace quillmere::spelling {

namespace {

// The separators of a tag's parts: "en_US", "en-US".
const QRegularExpression& tagSeparators() {
    static const QRegularExpression separators(QStringLiteral("[_-]"));
    return separators;
}

bool namesLanguage(const QLocale& locale) {
    return locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage;
}

// Writing systems of the languages Hunspell dictionaries exist for.
constexpr std::array<std::pair<QLocale::Script, QChar::Script>, 24> kScripts = {{
    {QLocale::LatinScript, QChar::Script_Latin},
    {QLocale::CyrillicScript, QChar::Script_Cyrillic},
    {QLocale::GreekScript, QChar::Script_Greek},
    {QLocale::ArabicScript, QChar::Script_Arabic},
    {QLocale::HebrewScript, QChar::Script_Hebrew},
    {QLocale::ArmenianScript, QChar::Script_Armenian},
    {QLocale::GeorgianScript, QChar::Script_Georgian},
    {QLocale::DevanagariScript, QChar::Script_Devanagari},
    {QLocale::BengaliScript, QChar::Script_Bengali},
    {QLocale::GujaratiScript, QChar::Script_Gujarati},
    {QLocale::GurmukhiScript, QChar::Script_Gurmukhi},
    {QLocale::TamilScript, QChar::Script_Tamil},
    {QLocale::TeluguScript, QChar::Script_Telugu},
    {QLocale::KannadaScript, QChar::Script_Kannada},
    {QLocale::MalayalamScript, QChar::Script_Malayalam},
    {QLocale::SinhalaScript, QChar::Script_Sinhala},
    {QLocale::ThaiScript, QChar::Script_Thai},
    {QLocale::LaoScript, QChar::Script_Lao},
    {QLocale::KhmerScript, QChar::Script_Khmer},
    {QLocale::TibetanScript, QChar::Script_Tibetan},
    {QLocale::MongolianScript, QChar::Script_Mongolian},
    {QLocale::EthiopicScript, QChar::Script_Ethiopic},
    {QLocale::HangulScript, QChar::Script_Hangul},
    {QLocale::KoreanScript, QChar::Script_Hangul},
}};

void collectTag(const char* const tag, const char* const /*providerName*/,
                const char* const /*providerDescription*/, const char* const /*providerFile*/,
                void* tags) {
    static_cast<QStringList*>(tags)->append(QString::fromUtf8(tag));
}

void collectHunspellTag(const char* const tag, const char* const providerName,
                        const char* const /*providerDescription*/,
                        const char* const /*providerFile*/, void* tags) {
    if (isHunspellProvider(providerName)) {
        static_cast<QStringList*>(tags)->append(QString::fromUtf8(tag));
    }
}

}  // namespace

void useHunspellFor(EnchantBroker* broker, const QByteArray& tag) {
    enchant_broker_set_ordering(broker, tag.constData(), "hunspell,nuspell");
}

bool isHunspellProvider(const char* providerName) {
    const QByteArray name(providerName != nullptr ? providerName : "");
    return name == "hunspell" || name == "nuspell";
}

QList<DictionaryLanguage> installedDictionaries() {
    EnchantBroker* broker = enchant_broker_init();
    if (broker == nullptr) {
        return {};
    }
    QStringList everyTag;
    enchant_broker_list_dicts(broker, collectTag, &everyTag);
    // Enchant lists each tag once, from the provider its ordering puts first.
    for (const QString& tag : std::as_const(everyTag)) {
        useHunspellFor(broker, tag.toUtf8());
    }
    QStringList tags;
    enchant_broker_list_dicts(broker, collectHunspellTag, &tags);
    enchant_broker_free(broker);
    tags.removeDuplicates();

    QList<DictionaryLanguage> languages;
    for (const QString& tag : std::as_const(tags)) {
        languages.append({tag, languageName(tag)});
    }
    for (DictionaryLanguage& language : languages) {
        const auto sameName = [&language](const DictionaryLanguage& other) {
            return other.name == language.name;
        };
        if (std::count_if(languages.cbegin(), languages.cend(), sameName) > 1) {
            language.name += QStringLiteral(" [%1]").arg(language.tag);
        }
    }
    std::sort(languages.begin(), languages.end(), [](const auto& a, const auto& b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.tag < b.tag;
    });
    return languages;
}

QString languageName(const QString& tag) {
    const QStringList parts = tag.split(tagSeparators());
    const QLocale language(parts.value(0));
    if (!namesLanguage(language)) {
        return tag;
    }
    QStringList details;
    qsizetype next = 1;
    if (parts.size() > 1) {
        const QLocale local(parts.at(0) + QLatin1Char('_') + parts.at(1));
        if (namesLanguage(local) &&
            QLocale::territoryToCode(local.territory()) == parts.at(1).toUpper()) {
            details.append(QLocale::territoryToString(local.territory()));
            next = 2;
        }
    }
    details.append(parts.mid(next));
    const QString name = QLocale::languageToString(language.language());
    return details.isEmpty()
               ? name
               : QStringLiteral("%1 (%2)").arg(name, details.join(QStringLiteral(", ")));
}

QChar::Script dictionaryScript(const QString& tag) {
    const QLocale language(tag.section(tagSeparators(), 0, 0));
    if (!namesLanguage(language)) {
        return QChar::Script_Unknown;
    }
    for (const auto& [localeScript, script] : kScripts) {
        if (language.script() == localeScript) {
            return script;
        }
    }
    return QChar::Script_Unknown;
}

QString localeDictionary(const QStringList& tags, const QLocale& locale) {
    const QString name = namesLanguage(locale) ? locale.name() : QStringLiteral("en_US");
    if (tags.contains(name)) {
        return name;
    }
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    const QString mainCountry = QLocale(QLocale(language).language()).name();
    if (tags.contains(mainCountry)) {
        return mainCountry;
    }
    if (tags.contains(language)) {
        return language;
    }
    for (const QString& tag : tags) {
        if (tag.section(tagSeparators(), 0, 0) == language) {
            return tag;
        }
    }
    return {};
}

QString effectiveDictionary(const QString& stored, const QStringList& tags, const QLocale& locale) {
    if (stored.compare(QLatin1String(kSpellingOff), Qt::CaseInsensitive) == 0) {
        return {};
    }
    if (!stored.isEmpty() && tags.contains(stored)) {
        return stored;
    }
    return localeDictionary(tags, locale);
}

QString enchantVersion() {
    const char* version = enchant_get_version();
    return version != nullptr ? QString::fromLatin1(version) : QString();
}

}  // namespace quillmere::spelling
