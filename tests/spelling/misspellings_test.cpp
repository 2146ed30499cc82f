// Which words of a sentence are marked, through the test dictionary: words
// as a writer means them (apostrophes, hyphens), and what is left alone
// (digits, capitals, addresses, links, other scripts).
#include "spelling/paragraph_check.h"
#include "spelling/spell_dictionary.h"
#include "spelling/word_scanner.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace quillmere::spelling {
namespace {

struct MarkCase {
    const char* label;
    const char* sentence;  // UTF-8
    QStringList marked;    // the marked words, as written, in text order
};

class MarkedWordsTest : public ::testing::TestWithParam<MarkCase> {};

QStringList markedWords(const QString& sentence) {
    SpellDictionary dictionary(QStringLiteral("en_US"));
    QStringList marked;
    const auto judge = [&dictionary](const QString& word) { return dictionary.isCorrect(word); };
    for (const Misspelling& m : findMisspellings(sentence, dictionary.script(), judge)) {
        marked.append(sentence.mid(m.start, m.length));
    }
    return marked;
}

TEST_P(MarkedWordsTest, MarksExactlyTheMisspeltWords) {
    const MarkCase& c = GetParam();
    EXPECT_EQ(c.marked, markedWords(QString::fromUtf8(c.sentence))) << c.label;
}

const QStringList none;

INSTANTIATE_TEST_SUITE_P(
    Sentences, MarkedWordsTest,
    ::testing::Values(
        MarkCase{"nominal: every word known", "I walked to the harbour today", none},
        MarkCase{"nominal: misspelt words", "I recieve teh mail", {"recieve", "teh"}},
        MarkCase{
            "nominal: a capital at the start of a sentence", "Helo world. Hello world", {"Helo"}},
        MarkCase{"nominal: straight apostrophe inside a word", "it isn't my diary", none},
        MarkCase{"nominal: curly apostrophe inside a word", "I don\u2019t see it", none},
        MarkCase{
            "nominal: misspelt word with a curly apostrophe", "I donn\u2019t see", {"donn\u2019t"}},
        MarkCase{"nominal: quotes around a word are not part of it",
                 "'helo' and \u2018world\u2019",
                 {"helo"}},
        MarkCase{"nominal: hyphenated word whose parts are known", "a well-known diary", none},
        MarkCase{
            "nominal: only the wrong part of a hyphenated word", "a well-knwon diary", {"knwon"}},
        MarkCase{"nominal: words with digits are left alone", "the 3rd mp3 of B2B", none},
        MarkCase{"nominal: all capitals are left alone", "NASA and USB", none},
        MarkCase{"nominal: a capital part beside a hyphen", "a NATO-walked day", none},
        MarkCase{"nominal: web addresses are left alone",
                 "see www.exampel.com and https://exampel.org/pagge today", none},
        MarkCase{"nominal: e-mail addresses are left alone", "mail mee@exampel.com today", none},
        MarkCase{"nominal: file links are left alone", "see file:/home/me/My%Notess.txt", none},
        MarkCase{"nominal: dotted names are left alone", "see exampel.com, it's quiet", none},
        MarkCase{"nominal: punctuation around words", "(helo), world! teh?", {"helo", "teh"}},
        MarkCase{"nominal: words of another script are left alone",
                 "my \u03b7\u03bc\u03b5\u03c1\u03bf\u03bb\u03cc\u03b3\u03b9\u03bf and "
                 "\u0434\u043d\u0435\u0432\u043d\u0438\u043a",
                 none},
        MarkCase{"nominal: a picture between words", "helo\uFFFCworld", {"helo"}},
        MarkCase{"robustness: empty paragraph", "", none},
        MarkCase{"robustness: only punctuation and blanks", " -- ' \u2019 ... ", none},
        MarkCase{"robustness: apostrophe and hyphen at the ends", "walked' -walk- 'day", none},
        MarkCase{
            "robustness: a word longer than a dictionary judges",
            "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
            "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
            none},
        MarkCase{
            "robustness: letters outside the basic plane", "\U0001D400\U0001D401 teh", {"teh"}}));

// Positions are the paragraph's, also after characters that take two
// UTF-16 units.
TEST(MisspellingPositionsTest, StartAndLengthAreParagraphPositions) {
    SpellDictionary dictionary(QStringLiteral("en_US"));
    const QString text = QString::fromUtf8("\U0001F600 teh don\u2019tt");
    const QList<Misspelling> marks = findMisspellings(
        text, dictionary.script(), [&](const QString& w) { return dictionary.isCorrect(w); });
    ASSERT_EQ(2, marks.size());
    EXPECT_EQ((Misspelling{3, 3, QStringLiteral("teh")}), marks.at(0));
    EXPECT_EQ((Misspelling{7, 6, QStringLiteral("don'tt")}), marks.at(1));
}

}  // namespace
}  // namespace quillmere::spelling
