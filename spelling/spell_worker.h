// Checking off the user's way: a thread of its own opens the dictionary and
// checks the paragraphs it is handed, and the results come back in batches
// to the thread the worker object lives in (the user-interface thread), as
// signals, so nothing waits for Enchant there.
//
//     SpellWorker worker;
//     connect(&worker, &SpellWorker::languageReady, ...);  // the dictionary
//     connect(&worker, &SpellWorker::checked, ...);        // results
//     worker.setChoice("en_US", QLocale::system());
//     worker.check(block.text(), block.blockNumber(), /*urgent=*/true);
#pragma once

#include "spelling/paragraph_check.h"

#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>

#include <memory>

namespace quillmere::spelling {

class SpellDictionary;

// A dictionary opened for a stored choice.
struct OpenedDictionary {
    QString tag;
    std::shared_ptr<SpellDictionary> dictionary;
    QString error;
};

// Opens the dictionary `stored` names (see effectiveDictionary): none for
// "Off"; the stored tag; or, when no tag is stored or it cannot be opened,
// the one the locale asks for among the installed ones. Without one the
// error says why ("No spelling dictionary for English is installed").
// Never throws.
OpenedDictionary openChoice(const QString& stored, const QLocale& locale);

// One checked paragraph: its text as it was handed over, the paragraph
// number given with it, and its misspelt words.
struct CheckedParagraph {
    QString text;
    int blockHint = -1;
    QList<Misspelling> misspellings;
};

class SpellWorker : public QObject {
    Q_OBJECT
public:
    explicit SpellWorker(QObject* parent = nullptr);
    // Stops the thread; waits for the word or dictionary it is busy with.
    ~SpellWorker() override;

    // Opens the dictionary the stored choice names (openChoice) on the
    // thread and drops every paragraph not yet checked; results of the
    // previous dictionary are never reported after this call.
    // languageReady follows.
    void setChoice(const QString& stored, const QLocale& locale);

    // Queues a paragraph for the dictionary of the last setChoice (dropped
    // when none opened). Urgent paragraphs (the one typed in, the visible
    // ones) are checked before all others, each kind in the order asked.
    void check(const QString& text, int blockHint, bool urgent);
    // A paragraph to check: its text and the paragraph number given back.
    struct Paragraph {
        QString text;
        int blockHint = -1;
    };
    // Queues paragraphs as check does, in this order, waking the thread
    // once: for the many paragraphs of an entry that has just opened.
    void checkAll(QList<Paragraph> paragraphs, bool urgent);

    // Drops every paragraph not yet checked.
    void clearQueue();

    // Longest time the thread works before it hands a batch over.
    static constexpr int kBatchMilliseconds = 10;

signals:
    // The dictionary of the last setChoice is open as `tag` (null, with the
    // reason when one could not be opened, for checking off).
    void languageReady(const QString& tag, std::shared_ptr<SpellDictionary> dictionary,
                       const QString& error);
    // A batch of checked paragraphs of the current language.
    void checked(const QList<CheckedParagraph>& results);

private:
    struct Shared;
    void run();
    void deliver(quint64 generation, QList<CheckedParagraph> batch);

    std::shared_ptr<Shared> shared_;
    quint64 generation_ = 0;
};

}  // namespace quillmere::spelling
