// The dictionary through Enchant: suggestions, the personal word list kept
// across runs (in the private configuration folder, never the user's),
// words ignored for this run only, and the errors with their messages.
#include "spelling/spell_dictionary.h"
#include "test_dictionaries.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace quillmere::spelling {
namespace {

const QString kTag = QStringLiteral("en_US");

struct SuggestionCase {
    const char* label;
    const char* word;
    const char* expected;
};

class SuggestionTest : public ::testing::TestWithParam<SuggestionCase> {};

TEST_P(SuggestionTest, OffersTheRightWordAmongAtMostTheAskedNumber) {
    const SuggestionCase& c = GetParam();
    SpellDictionary dictionary(kTag);
    const QStringList suggestions = dictionary.suggestions(QString::fromUtf8(c.word), 5);
    EXPECT_LE(suggestions.size(), 5) << c.label;
    EXPECT_TRUE(suggestions.contains(QString::fromUtf8(c.expected)))
        << c.label << ": " << suggestions.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(suggestions.size(), QSet<QString>(suggestions.begin(), suggestions.end()).size())
        << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Words, SuggestionTest,
    ::testing::Values(SuggestionCase{"nominal: two letters swapped", "recieve", "receive"},
                      SuggestionCase{"nominal: letters in the wrong order", "teh", "the"},
                      SuggestionCase{"nominal: a letter missing", "helo", "hello"},
                      SuggestionCase{"nominal: apostrophe word", "dont", "don't"}));

TEST(SpellDictionaryTest, NoSuggestionsAskedGivesNone) {
    SpellDictionary dictionary(kTag);
    EXPECT_TRUE(dictionary.suggestions(QStringLiteral("teh"), 0).isEmpty());
    EXPECT_TRUE(dictionary.suggestions(QString(), 5).isEmpty());
}

TEST(SpellDictionaryTest, AWordAddedIsKnownInANewRun) {
    const QString word = QStringLiteral("Quillmere");
    {
        SpellDictionary dictionary(kTag);
        EXPECT_FALSE(dictionary.isCorrect(word));
        dictionary.addToPersonal(word);
        EXPECT_TRUE(dictionary.isCorrect(word));
    }
    SpellDictionary nextRun(kTag);
    EXPECT_TRUE(nextRun.isCorrect(word));
    // Kept in the private configuration folder the tests point Enchant at.
    QFile list(
        QDir(qEnvironmentVariable("ENCHANT_CONFIG_DIR")).filePath(QStringLiteral("en_US.dic")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(list.readAll().split('\n').contains(word.toUtf8()));
}

TEST(SpellDictionaryTest, AnIgnoredWordIsForgottenInANewRun) {
    const QString word = QStringLiteral("zorblax");
    {
        SpellDictionary dictionary(kTag);
        EXPECT_FALSE(dictionary.isCorrect(word));
        dictionary.ignoreAll(word);
        EXPECT_TRUE(dictionary.isCorrect(word));
    }
    SpellDictionary nextRun(kTag);
    EXPECT_FALSE(nextRun.isCorrect(word));
}

TEST(SpellDictionaryTest, ALanguageWithoutDictionaryIsRefusedByName) {
    EXPECT_THROW_MSG(SpellDictionary{QStringLiteral("xx_XX")}, SpellingError,
                     "No spelling dictionary for \"xx_XX\" is installed");
    EXPECT_THROW_MSG(SpellDictionary{QString()}, SpellingError,
                     "No spelling dictionary for \"\" is installed");
}

// Enchant itself keeps quiet when its word list cannot be written; the
// user is told, and the word is still accepted until the program ends.
TEST(SpellDictionaryTest, AWordListThatCannotBeWrittenIsReported) {
    testsupport::TestDictionaries blocked;
    ASSERT_TRUE(QDir(blocked.configFolder()).mkdir(QStringLiteral("en_US.dic")));
    SpellDictionary dictionary(kTag);
    const std::string expected =
        "Cannot add \"zorblax\" to the personal dictionary: the word "
        "list in \"" +
        blocked.configFolder().toStdString() + "\" cannot be written";
    EXPECT_THROW_MSG(dictionary.addToPersonal(QStringLiteral("zorblax")), SpellingError, expected);
    EXPECT_TRUE(dictionary.isCorrect(QStringLiteral("zorblax")));
}

}  // namespace
}  // namespace quillmere::spelling
