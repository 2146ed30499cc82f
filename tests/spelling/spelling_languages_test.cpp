// The languages: names as the user reads them, the dictionary the locale
// asks for, the stored choice made effective, and the installed list.
#include "spelling/spelling_languages.h"

#include <gtest/gtest.h>

namespace quillmere::spelling {
namespace {

struct NameCase {
    const char* label;
    const char* tag;
    const char* name;
};

class LanguageNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(LanguageNameTest, NamesTheLanguage) {
    const NameCase& c = GetParam();
    EXPECT_EQ(QString::fromUtf8(c.name), languageName(QString::fromUtf8(c.tag))) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Tags, LanguageNameTest,
    ::testing::Values(NameCase{"nominal: language and country", "en_US", "English (United States)"},
                      NameCase{"nominal: British English", "en_GB", "English (United Kingdom)"},
                      NameCase{"nominal: German", "de_DE", "German (Germany)"},
                      NameCase{"nominal: language alone", "fr", "French"},
                      NameCase{"nominal: a dash between the parts", "pt-BR", "Portuguese (Brazil)"},
                      NameCase{"nominal: a variant after the country", "de_DE_frami",
                               "German (Germany, frami)"},
                      NameCase{"robustness: no language", "xx_XX", "xx_XX"},
                      NameCase{"robustness: empty", "", ""}));

struct ChoiceCase {
    const char* label;
    const char* stored;
    const char* locale;
    QStringList installed;
    const char* effective;  // empty: off
};

class EffectiveDictionaryTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(EffectiveDictionaryTest, PicksTheDictionaryInUse) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(QString::fromUtf8(c.effective),
              effectiveDictionary(QString::fromUtf8(c.stored), c.installed,
                                  QLocale(QString::fromUtf8(c.locale))))
        << c.label;
}

const QStringList kInstalled = {QStringLiteral("de_BE"), QStringLiteral("de_DE"),
                                QStringLiteral("en_GB"), QStringLiteral("en_US"),
                                QStringLiteral("fr"),    QStringLiteral("fr_BE")};

INSTANTIATE_TEST_SUITE_P(
    Choices, EffectiveDictionaryTest,
    ::testing::Values(
        ChoiceCase{"nominal: nothing stored, the locale's own", "", "en_GB", kInstalled, "en_GB"},
        ChoiceCase{"nominal: nothing stored, the language's main country", "", "de_AT", kInstalled,
                   "de_DE"},
        ChoiceCase{"nominal: nothing stored, the language alone", "", "fr_CH", kInstalled, "fr"},
        ChoiceCase{"nominal: nothing stored, the C locale is American English", "", "C", kInstalled,
                   "en_US"},
        ChoiceCase{"nominal: a stored language", "de_BE", "en_US", kInstalled, "de_BE"},
        ChoiceCase{"nominal: stored Off", "Off", "en_US", kInstalled, ""},
        ChoiceCase{"nominal: stored Off in other letter case", "off", "en_US", kInstalled, ""},
        ChoiceCase{"robustness: a stored language since removed falls back to the locale", "it_IT",
                   "en_GB", kInstalled, "en_GB"},
        ChoiceCase{"robustness: no dictionary of the locale's language", "", "ja_JP", kInstalled,
                   ""},
        ChoiceCase{"robustness: no dictionary at all", "", "en_US", QStringList(), ""},
        ChoiceCase{"robustness: only another country's dictionary of the language", "", "de_CH",
                   QStringList{QStringLiteral("de_BE")}, "de_BE"}));

struct ScriptCase {
    const char* label;
    const char* tag;
    QChar::Script script;
};

class DictionaryScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(DictionaryScriptTest, TellsTheWritingSystem) {
    const ScriptCase& c = GetParam();
    EXPECT_EQ(c.script, dictionaryScript(QString::fromUtf8(c.tag))) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Tags, DictionaryScriptTest,
    ::testing::Values(ScriptCase{"nominal: English", "en_US", QChar::Script_Latin},
                      ScriptCase{"nominal: Russian", "ru_RU", QChar::Script_Cyrillic},
                      ScriptCase{"nominal: Greek", "el_GR", QChar::Script_Greek},
                      ScriptCase{"nominal: Hebrew", "he_IL", QChar::Script_Hebrew},
                      ScriptCase{"robustness: unknown language checks every script", "xx_XX",
                                 QChar::Script_Unknown}));

TEST(InstalledDictionariesTest, ListsTheTestDictionaryByItsName) {
    const QList<DictionaryLanguage> languages = installedDictionaries();
    EXPECT_TRUE(languages.contains(
        DictionaryLanguage{QStringLiteral("en_US"), QStringLiteral("English (United States)")}));
    for (qsizetype i = 1; i < languages.size(); ++i) {
        EXPECT_LE(languages.at(i - 1).name.compare(languages.at(i).name, Qt::CaseInsensitive), 0)
            << "sorted by name";
    }
}

}  // namespace
}  // namespace quillmere::spelling
