// The longest time the event loop did not come round to its events (the
// window not answering input) while something ran: a zero-interval timer
// notes each turn of the loop from construction on.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

namespace quillmere::bench {

class EventLoopGap {
public:
    EventLoopGap();
    // The longest time between two turns, counting the time since the last
    // one, in milliseconds.
    double longestMs() const;

private:
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    QTimer heartbeat_;
};

}  // namespace quillmere::bench
