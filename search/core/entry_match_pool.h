// The expensive half of a search, run off the calling thread: decoding each
// stored entry, extracting its displayed text and matching it. A pool of
// worker threads takes the entries of a snapshot in ascending order; the
// caller (the scan, on the user-interface thread) collects the outcomes in
// that same order, so everything the user sees of a scan keeps to date order.
#pragma once

#include "search/core/journal_search.h"
#include "store/dataset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillmere {

class JournalTable;

// The records a scan works on, taken when it starts: the day of every record
// in date order (the scan visits them all) and where the stored blob of each
// record inside the range is. Blobs are not read here: a blob read from the
// file stays there until a worker reads it (the snapshot keeps the file open),
// a blob stored in this run is shared with the table.
struct ScanSnapshot {
    std::vector<double> days;
    // Per record: the index of its blob in `blobs`, or -1 outside the range.
    std::vector<int> entryOf;
    std::vector<StoredValue> blobs;
};

// Takes the snapshot of every record of `journal` (none when closed).
// Throws std::bad_alloc only.
ScanSnapshot takeScanSnapshot(const JournalTable& journal, SearchRange range);

// What testing one entry gave.
enum class EntryOutcome : std::uint8_t {
    kPending,    // not tested yet
    kMatch,      // the displayed text holds the search text
    kNoMatch,    // it does not (also: a blank entry)
    kFailed,     // the entry could not be decoded: message in detail().error
    kPlainText,  // decoded, but not RTF: detail().bytes are read as plain text
                 // by the caller (the plain-text reading builds a document,
                 // which stays on the caller's thread)
};

struct EntryOutcomeDetail {
    QString error;
    QByteArray bytes;
};

// Tests one blob: read, decode, extract, match. Never throws: a failure is
// kFailed with the error's message ("insufficient memory" when memory ran
// out, the store's error when the file lost the entry).
EntryOutcome testEntry(const StoredValue& blob, const TextMatcher& matcher,
                       EntryOutcomeDetail& detail);

// The worker threads of one scan. They start in the constructor and stop in
// the destructor, which lets each finish the entry it is testing (no entry is
// left half tested, nothing is touched after the pool is gone).
class EntryMatchPool {
public:
    // `blobs` and `matcher` must outlive the pool. `threads` >= 1.
    EntryMatchPool(const std::vector<StoredValue>& blobs, const TextMatcher& matcher, int threads);
    ~EntryMatchPool();
    EntryMatchPool(const EntryMatchPool&) = delete;
    EntryMatchPool& operator=(const EntryMatchPool&) = delete;

    // The outcome of entry `k`, waiting for it until `deadline` at most
    // (kPending when the deadline passed first). Call from one thread only.
    EntryOutcome waitFor(std::size_t k, std::chrono::steady_clock::time_point deadline);
    // The message or bytes of a kFailed or kPlainText outcome, once known.
    EntryOutcomeDetail takeDetail(std::size_t k);

private:
    void work();
    bool ready(std::size_t k) const {
        return outcomes_[k].load(std::memory_order_acquire) != EntryOutcome::kPending;
    }
    bool waitUntilReady(std::unique_lock<std::mutex>& lock, std::size_t k,
                        std::chrono::steady_clock::time_point deadline);

    const std::vector<StoredValue>& blobs_;
    const TextMatcher& matcher_;
    std::unique_ptr<std::atomic<EntryOutcome>[]> outcomes_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> cancelled_{false};
    // The entry the caller sleeps on (SIZE_MAX: none); a worker that finishes
    // it wakes the caller.
    std::atomic<std::size_t> awaited_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::map<std::size_t, EntryOutcomeDetail> details_;  // guarded by mutex_
    std::vector<std::thread> workers_;
};

// Worker threads a scan uses by default: one per processor core the program
// may run on.
int defaultScanThreads();

// The same workers for any per-entry work over a snapshot's blobs (counting
// words, reading previews): `work(k, worker)` runs once for every k in
// [0, count), on `threads` threads that claim entries a few at a time in
// ascending order; `worker` (0 .. threads - 1) names the thread, so each can
// add up into its own slot without locks. The calling thread waits until all
// are done. `work` must not throw (a throw ends the program). With one
// thread, or when no thread can be made, the calling thread does the work.
void forEachEntry(std::size_t count, int threads,
                  const std::function<void(std::size_t k, int worker)>& work);

}  // namespace quillmere
