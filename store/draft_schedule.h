// When the text being typed is kept as a draft in the recovery log: once
// typing pauses, and while it goes on without a pause, at the latest a fixed
// time after the first change not yet kept. A kill then loses at most that
// much typing.
#pragma once

#include <QtGlobal>

#include <optional>

namespace quillmere {

// A draft follows a pause in typing this long,
inline constexpr int kDraftIdleMs = 2000;
// and at the latest this long after the first change it does not hold yet.
inline constexpr int kDraftMaxWaitMs = 5000;

class DraftSchedule {
public:
    // The text changed at `nowMs` (a monotonic clock). True when a draft is
    // due now, because the oldest change not yet kept is kDraftMaxWaitMs old;
    // otherwise the caller (re)starts its kDraftIdleMs pause timer.
    bool changed(qint64 nowMs) {
        if (!firstUnkept_) {
            firstUnkept_ = nowMs;
            return false;
        }
        return nowMs - *firstUnkept_ >= kDraftMaxWaitMs;
    }
    // A draft was written or the entry stored: no change waits any more.
    void kept() { firstUnkept_.reset(); }
    bool waiting() const { return firstUnkept_.has_value(); }

private:
    std::optional<qint64> firstUnkept_;
};

}  // namespace quillmere
