#include "event_loop_gap.h"

#include <algorithm>

namespace quillmere::bench {

EventLoopGap::EventLoopGap() {
    clock_.start();
    heartbeat_.setInterval(0);
    QObject::connect(&heartbeat_, &QTimer::timeout, [this] {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    });
    heartbeat_.start();
}

double EventLoopGap::longestMs() const {
    return double(std::max(longest_, clock_.nsecsElapsed() - last_)) / 1e6;
}

}  // namespace quillmere::bench
