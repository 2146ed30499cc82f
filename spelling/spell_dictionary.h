// One spelling dictionary of the installed Hunspell dictionaries, opened
// through Enchant 2, with the user's personal word list and the words
// ignored for this run.
//
// Enchant keeps the personal word list of a language in its configuration
// folder (ENCHANT_CONFIG_DIR when set, otherwise ~/.config/enchant), as
// "<tag>.dic", so a word added there is known again in every later run and
// to every other program that uses Enchant. Dictionaries are served by
// Enchant's Hunspell provider (or Nuspell, which reads the same files), never
// by Aspell, whatever Enchant's own provider ordering says: the same
// dictionary files give the same marks and suggestions everywhere.
//
// Every call is serialised by the dictionary's own lock, so the checking
// thread and the user-interface thread can share one dictionary; a call
// waits at most for one word being checked.
#pragma once

#include "store/errors.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <memory>

namespace quillmere::spelling {

// A dictionary could not be opened or a word could not be added.
class SpellingError : public Error {
public:
    using Error::Error;
};

class SpellDictionary {
public:
    // Opens the dictionary of `tag` ("en_US"). Throws SpellingError
    // "No spelling dictionary for "<tag>" is installed" when the Hunspell
    // and Nuspell providers have none.
    explicit SpellDictionary(const QString& tag);
    ~SpellDictionary();
    SpellDictionary(const SpellDictionary&) = delete;
    SpellDictionary& operator=(const SpellDictionary&) = delete;

    const QString& tag() const { return tag_; }
    // The writing system of the dictionary's language (Script_Unknown when
    // it cannot be told: then words of every script are checked).
    QChar::Script script() const { return script_; }

    // True when `word` (in dictionary form, see dictionaryForm) is spelt
    // right: known to the dictionary or the personal word list, or ignored
    // for this run. Answers are remembered per word. Never throws; a word
    // Enchant cannot judge counts as right.
    bool isCorrect(const QString& word);

    // At most `max` suggestions for `word`, best first, without duplicates.
    // Never throws (no suggestions on failure).
    QStringList suggestions(const QString& word, int max);

    // Adds `word` to the personal word list, kept across runs; a dictionary
    // opened afresh must know it. Throws SpellingError "Cannot add "<word>"
    // to the personal dictionary: the word list in "<folder>" cannot be
    // written" when it does not; the word is then still accepted for this
    // run.
    void addToPersonal(const QString& word);

    // Accepts `word` until the program ends (not stored).
    void ignoreAll(const QString& word);

private:
    struct Handles;
    QString tag_;
    QChar::Script script_ = QChar::Script_Unknown;
    std::unique_ptr<Handles> handles_;
};

}  // namespace quillmere::spelling
