#include "spelling/spell_worker.h"

#include "spelling/spell_dictionary.h"
#include "spelling/spelling_languages.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace quillmere::spelling {

namespace {

struct Job {
    QString text;
    int blockHint = -1;
};

}  // namespace

OpenedDictionary openChoice(const QString& stored, const QLocale& locale) {
    if (stored.compare(QLatin1String(kSpellingOff), Qt::CaseInsensitive) == 0) {
        return {};
    }
    QString error;
    try {
        if (!stored.isEmpty()) {
            return {stored, std::make_shared<SpellDictionary>(stored), {}};
        }
    } catch (const Error& e) {
        error = e.message();
    }
    QStringList tags;
    for (const DictionaryLanguage& language : installedDictionaries()) {
        tags.append(language.tag);
    }
    const QString tag = localeDictionary(tags, locale);
    if (tag.isEmpty()) {
        if (error.isEmpty()) {
            error =
                QCoreApplication::translate("quillmere::Spelling", "No spelling dictionary for %1 is installed")
                    .arg(QLocale::languageToString(
                        locale.language() == QLocale::C ? QLocale::English : locale.language()));
        }
        return {{}, nullptr, error};
    }
    try {
        return {tag, std::make_shared<SpellDictionary>(tag), {}};
    } catch (const Error& e) {
        return {{}, nullptr, e.message()};
    } catch (const std::exception& e) {
        return {{}, nullptr, QString::fromUtf8(e.what())};
    }
}

// What the two threads share, guarded by `mutex`.
struct SpellWorker::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> urgent;
    std::deque<Job> normal;
    bool stop = false;
    bool openRequested = false;
    QString openChoice;
    QLocale openLocale;
    quint64 generation = 0;
    std::shared_ptr<SpellDictionary> dictionary;
    std::thread thread;

    bool hasWork() const { return stop || openRequested || !urgent.empty() || !normal.empty(); }
};

SpellWorker::SpellWorker(QObject* parent) : QObject(parent), shared_(std::make_shared<Shared>()) {
    shared_->thread = std::thread([this] { run(); });
}

SpellWorker::~SpellWorker() {
    {
        std::lock_guard guard(shared_->mutex);
        shared_->stop = true;
    }
    shared_->wake.notify_all();
    shared_->thread.join();
}

void SpellWorker::setChoice(const QString& stored, const QLocale& locale) {
    ++generation_;
    {
        std::lock_guard guard(shared_->mutex);
        shared_->generation = generation_;
        shared_->openRequested = true;
        shared_->openChoice = stored;
        shared_->openLocale = locale;
        shared_->dictionary.reset();
        shared_->urgent.clear();
        shared_->normal.clear();
    }
    shared_->wake.notify_all();
}

void SpellWorker::check(const QString& text, int blockHint, bool urgent) {
    {
        std::lock_guard guard(shared_->mutex);
        (urgent ? shared_->urgent : shared_->normal).push_back(Job{text, blockHint});
    }
    shared_->wake.notify_all();
}

void SpellWorker::checkAll(QList<Paragraph> paragraphs, bool urgent) {
    if (paragraphs.isEmpty()) {
        return;
    }
    {
        std::lock_guard guard(shared_->mutex);
        std::deque<Job>& queue = urgent ? shared_->urgent : shared_->normal;
        for (Paragraph& paragraph : paragraphs) {
            queue.push_back(Job{std::move(paragraph.text), paragraph.blockHint});
        }
    }
    shared_->wake.notify_all();
}

void SpellWorker::clearQueue() {
    std::lock_guard guard(shared_->mutex);
    shared_->urgent.clear();
    shared_->normal.clear();
}

void SpellWorker::deliver(quint64 generation, QList<CheckedParagraph> batch) {
    if (generation == generation_ && !batch.isEmpty()) {
        emit checked(batch);
    }
}

// The thread: opens dictionaries when asked, otherwise checks one paragraph
// at a time, urgent ones first, and hands the results over in batches of at
// most kBatchMilliseconds of work, or sooner when it runs out of work.
void SpellWorker::run() {
    Shared& s = *shared_;
    QList<CheckedParagraph> batch;
    quint64 batchGeneration = 0;
    QElapsedTimer batchClock;
    std::unique_lock lock(s.mutex);
    for (;;) {
        const bool handOver = s.stop || s.openRequested || batchGeneration != s.generation ||
                              (s.urgent.empty() && s.normal.empty()) ||
                              batchClock.elapsed() >= kBatchMilliseconds;
        if (!batch.isEmpty() && handOver) {
            if (batchGeneration == s.generation) {
                QMetaObject::invokeMethod(
                    this,
                    [this, generation = batchGeneration, results = std::move(batch)]() mutable {
                        deliver(generation, std::move(results));
                    },
                    Qt::QueuedConnection);
            }
            batch = {};
        }
        if (s.stop) {
            return;
        }
        if (s.openRequested) {
            const QString stored = s.openChoice;
            const QLocale locale = s.openLocale;
            const quint64 generation = s.generation;
            s.openRequested = false;
            lock.unlock();
            const OpenedDictionary opened = openChoice(stored, locale);
            lock.lock();
            if (generation != s.generation) {
                continue;
            }
            s.dictionary = opened.dictionary;
            QMetaObject::invokeMethod(
                this,
                [this, generation, opened] {
                    if (generation == generation_) {
                        emit languageReady(opened.tag, opened.dictionary, opened.error);
                    }
                },
                Qt::QueuedConnection);
            continue;
        }
        if (s.urgent.empty() && s.normal.empty()) {
            s.wake.wait(lock, [&s] { return s.hasWork(); });
            continue;
        }
        std::deque<Job>& queue = s.urgent.empty() ? s.normal : s.urgent;
        Job job = std::move(queue.front());
        queue.pop_front();
        const std::shared_ptr<SpellDictionary> dictionary = s.dictionary;
        const quint64 generation = s.generation;
        if (dictionary == nullptr) {
            continue;
        }
        lock.unlock();
        QList<Misspelling> misspellings;
        try {
            misspellings = findMisspellings(
                job.text, dictionary->script(),
                [&dictionary](const QString& word) { return dictionary->isCorrect(word); });
        } catch (const std::exception&) {
            // Out of memory in a huge paragraph: it stays unmarked.
        }
        lock.lock();
        if (generation != s.generation) {
            continue;
        }
        if (batch.isEmpty()) {
            batchGeneration = generation;
            batchClock.start();
        }
        batch.append(CheckedParagraph{std::move(job.text), job.blockHint, std::move(misspellings)});
    }
}

}  // namespace quillmere::spelling
