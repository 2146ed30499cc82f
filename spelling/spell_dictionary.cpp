#include "spelling/spell_dictionary.h"

#include "spelling/enchant_providers.h"
#include "spelling/spelling_languages.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QStandardPaths>

#include <enchant.h>

#include <mutex>

namespace quillmere::spelling {

namespace {

// Remembered answers per dictionary; the memory is given back when full.
constexpr qsizetype kMaxRememberedWords = 200000;

// Where Enchant keeps the personal word lists.
QString personalFolder() {
    const QString configured = qEnvironmentVariable("ENCHANT_CONFIG_DIR");
    if (!configured.isEmpty()) {
        return configured;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/enchant");
}

}  // namespace

struct SpellDictionary::Handles {
    EnchantBroker* broker = nullptr;
    EnchantDict* dict = nullptr;
    std::mutex lock;
    QHash<QString, bool> answers;

    ~Handles() {
        if (dict != nullptr) {
            enchant_broker_free_dict(broker, dict);
        }
        if (broker != nullptr) {
            enchant_broker_free(broker);
        }
    }
};

SpellDictionary::SpellDictionary(const QString& tag)
    : tag_(tag), script_(dictionaryScript(tag)), handles_(std::make_unique<Handles>()) {
    const QByteArray name = tag.toUtf8();
    handles_->broker = enchant_broker_init();
    if (handles_->broker != nullptr && !tag.isEmpty()) {
        useHunspellFor(handles_->broker, name);
        handles_->dict = enchant_broker_request_dict(handles_->broker, name.constData());
    }
    if (handles_->dict == nullptr) {
        throw SpellingError(
            QCoreApplication::translate("quillmere::Spelling", "No spelling dictionary for \"%1\" is installed").arg(tag));
    }
}

SpellDictionary::~SpellDictionary() = default;

bool SpellDictionary::isCorrect(const QString& word) {
    if (word.isEmpty()) {
        return true;
    }
    std::lock_guard guard(handles_->lock);
    const auto known = handles_->answers.constFind(word);
    if (known != handles_->answers.constEnd()) {
        return known.value();
    }
    const QByteArray utf8 = word.toUtf8();
    // 0: right; above 0: misspelt; below 0: Enchant could not tell.
    const bool right = enchant_dict_check(handles_->dict, utf8.constData(), utf8.size()) <= 0;
    if (handles_->answers.size() >= kMaxRememberedWords) {
        handles_->answers.clear();
    }
    handles_->answers.insert(word, right);
    return right;
}

QStringList SpellDictionary::suggestions(const QString& word, int max) {
    QStringList result;
    if (word.isEmpty() || max <= 0) {
        return result;
    }
    std::lock_guard guard(handles_->lock);
    const QByteArray utf8 = word.toUtf8();
    size_t count = 0;
    char** list = enchant_dict_suggest(handles_->dict, utf8.constData(), utf8.size(), &count);
    for (size_t i = 0; list != nullptr && i < count && result.size() < max; ++i) {
        const QString suggestion = QString::fromUtf8(list[i]);
        if (!suggestion.isEmpty() && suggestion != word && !result.contains(suggestion)) {
            result.append(suggestion);
        }
    }
    if (list != nullptr) {
        enchant_dict_free_string_list(handles_->dict, list);
    }
    return result;
}

void SpellDictionary::addToPersonal(const QString& word) {
    const QByteArray utf8 = word.toUtf8();
    {
        std::lock_guard guard(handles_->lock);
        enchant_dict_add(handles_->dict, utf8.constData(), utf8.size());
        enchant_dict_add_to_session(handles_->dict, utf8.constData(), utf8.size());
        handles_->answers.insert(word, true);
    }
    // Enchant says nothing when its word list cannot be written: a
    // dictionary opened afresh, as the next run opens it, tells.
    bool stored = false;
    try {
        stored = SpellDictionary(tag_).isCorrect(word);
    } catch (const SpellingError&) {
    }
    if (!stored) {
        throw SpellingError(
            QCoreApplication::translate("quillmere::Spelling", "Cannot add \"%1\" to the personal dictionary: the word list in "
                           "\"%2\" cannot be written")
                .arg(word, QDir::toNativeSeparators(personalFolder())));
    }
}

void SpellDictionary::ignoreAll(const QString& word) {
    std::lock_guard guard(handles_->lock);
    const QByteArray utf8 = word.toUtf8();
    enchant_dict_add_to_session(handles_->dict, utf8.constData(), utf8.size());
    handles_->answers.insert(word, true);
}

}  // namespace quillmere::spelling
