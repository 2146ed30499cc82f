#include "search/core/entry_match_pool.h"

#include "editor/rtf/rtf.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_table.h"

#include <QThread>

#include <algorithm>
#include <limits>
#include <new>
#include <system_error>

namespace quillmere {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
// Entries a worker takes at a time: few, so that the outcomes come in close
// to date order and the caller rarely waits on an entry far behind.
constexpr std::size_t kEntriesPerClaim = 4;
// The caller sleeps until this many entries past the one it needs are done,
// so that it wakes once per batch rather than once per entry.
constexpr std::size_t kWakeBatch = 32;

}  // namespace

ScanSnapshot takeScanSnapshot(const JournalTable& journal, SearchRange range) {
    ScanSnapshot snapshot;
    const int count = journal.recordCount();
    snapshot.days.reserve(std::size_t(count));
    snapshot.entryOf.reserve(std::size_t(count));
    for (int index = 0; index < count; ++index) {
        const double day = journal.dayAt(index);
        snapshot.days.push_back(day);
        if (!range.contains(day)) {
            snapshot.entryOf.push_back(-1);
            continue;
        }
        snapshot.entryOf.push_back(int(snapshot.blobs.size()));
        snapshot.blobs.push_back(journal.storedEntryAt(index));
    }
    return snapshot;
}

EntryOutcome testEntry(const StoredValue& blob, const TextMatcher& matcher,
                       EntryOutcomeDetail& detail) {
    if (blob.isEmpty()) {
        return EntryOutcome::kNoMatch;
    }
    try {
        QByteArray bytes = DecodeEntryContent(blob.read());
        if (!matcher.mayMatchEntry(bytes)) {
            return EntryOutcome::kNoMatch;
        }
        try {
            return matcher.matches(rtf::plainTextOfRtf(bytes)) ? EntryOutcome::kMatch
                                                               : EntryOutcome::kNoMatch;
        } catch (const rtf::RtfError&) {
            detail.bytes = std::move(bytes);
            return EntryOutcome::kPlainText;
        }
    } catch (const Error& error) {
        detail.error = error.message();
    } catch (const std::bad_alloc&) {
        detail.error = QString::fromLatin1(zlibErrorText(-4));
    } catch (const std::exception& error) {
        detail.error = QString::fromUtf8(error.what());
    }
    return EntryOutcome::kFailed;
}

EntryMatchPool::EntryMatchPool(const std::vector<StoredValue>& blobs, const TextMatcher& matcher,
                               int threads)
    : blobs_(blobs),
      matcher_(matcher),
      outcomes_(new std::atomic<EntryOutcome>[blobs.size()]),
      awaited_(kNone) {
    for (std::size_t k = 0; k < blobs.size(); ++k) {
        outcomes_[k].store(EntryOutcome::kPending, std::memory_order_relaxed);
    }
    const int count = std::max(1, std::min<int>(threads, int(blobs.size())));
    workers_.reserve(std::size_t(count));
    try {
        for (int i = 0; i < count; ++i) {
            workers_.emplace_back([this] { work(); });
        }
    } catch (...) {
        // No thread could be made: the ones made finish the work alone.
        if (workers_.empty()) {
            cancelled_ = true;
            throw;
        }
    }
}

EntryMatchPool::~EntryMatchPool() {
    cancelled_.store(true);
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void EntryMatchPool::work() {
    const std::size_t total = blobs_.size();
    while (!cancelled_.load(std::memory_order_relaxed)) {
        const std::size_t first = next_.fetch_add(kEntriesPerClaim);
        if (first >= total) {
            return;
        }
        const std::size_t end = std::min(total, first + kEntriesPerClaim);
        for (std::size_t k = first; k < end && !cancelled_.load(std::memory_order_relaxed); ++k) {
            EntryOutcomeDetail detail;
            const EntryOutcome outcome = testEntry(blobs_[k], matcher_, detail);
            if (outcome == EntryOutcome::kFailed || outcome == EntryOutcome::kPlainText) {
                std::lock_guard<std::mutex> lock(mutex_);
                details_[k] = std::move(detail);
            }
            outcomes_[k].store(outcome);
            // Sequentially consistent with the caller's store of awaited_:
            // either the caller sees the outcome or this sees it waiting.
            if (awaited_.load() == k) {
                std::lock_guard<std::mutex> lock(mutex_);
                finished_.notify_one();
            }
        }
    }
}

bool EntryMatchPool::waitUntilReady(std::unique_lock<std::mutex>& lock, std::size_t k,
                                    std::chrono::steady_clock::time_point deadline) {
    awaited_.store(k);
    const bool done = finished_.wait_until(lock, deadline, [&] { return ready(k); });
    awaited_.store(kNone);
    return done;
}

EntryOutcome EntryMatchPool::waitFor(std::size_t k,
                                     std::chrono::steady_clock::time_point deadline) {
    if (!ready(k)) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!waitUntilReady(lock, k, deadline)) {
            return EntryOutcome::kPending;
        }
        // Let the workers get a batch ahead before waking again.
        const std::size_t ahead = std::min(blobs_.size() - 1, k + kWakeBatch);
        waitUntilReady(lock, ahead, deadline);
    }
    return outcomes_[k].load(std::memory_order_acquire);
}

EntryOutcomeDetail EntryMatchPool::takeDetail(std::size_t k) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = details_.find(k);
    if (it == details_.end()) {
        return {};
    }
    EntryOutcomeDetail detail = std::move(it->second);
    details_.erase(it);
    return detail;
}

int defaultScanThreads() {
    return std::max(1, QThread::idealThreadCount());
}

void forEachEntry(std::size_t count, int threads,
                  const std::function<void(std::size_t k, int worker)>& work) {
    std::atomic<std::size_t> next{0};
    const auto run = [&](int worker) {
        for (;;) {
            const std::size_t first = next.fetch_add(kEntriesPerClaim);
            if (first >= count) {
                return;
            }
            const std::size_t end = std::min(count, first + kEntriesPerClaim);
            for (std::size_t k = first; k < end; ++k) {
                work(k, worker);
            }
        }
    };
    const int wanted = int(std::min<std::size_t>(std::size_t(std::max(1, threads)), count));
    std::vector<std::thread> workers;
    workers.reserve(std::size_t(std::max(0, wanted - 1)));
    try {
        // The calling thread is worker 0; the others are made here.
        for (int worker = 1; worker < wanted; ++worker) {
            workers.emplace_back(run, worker);
        }
    } catch (const std::system_error&) {
        // Fewer threads than asked: the ones made share the work.
    }
    run(0);
    for (std::thread& worker : workers) {
        worker.join();
    }
}

}  // namespace quillmere
