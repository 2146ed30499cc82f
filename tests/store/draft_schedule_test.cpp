// Typing that goes on without a pause is kept as a draft every few seconds,
// so a kill loses at most kDraftMaxWaitMs of it.
#include "store/draft_schedule.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillmere;

namespace {

// Keystrokes every `gapMs` from 0 to `untilMs`, a draft whenever one is due
// (and the pause timer never fires: there is no pause); the times of the
// drafts.
std::vector<qint64> draftsWhileTyping(qint64 gapMs, qint64 untilMs) {
    DraftSchedule schedule;
    std::vector<qint64> drafts;
    for (qint64 now = 0; now <= untilMs; now += gapMs) {
        if (schedule.changed(now)) {
            drafts.push_back(now);
            schedule.kept();
        }
    }
    return drafts;
}

TEST(DraftSchedule, ContinuousTypingIsKeptAtLeastEveryFiveSeconds) {
    struct Case {
        const char* label;
        qint64 gapMs;
        qint64 untilMs;
    };
    for (const Case& c : {Case{"nominal: ten seconds, a key every 150 ms", 150, 10000},
                          Case{"nominal: forty seconds, a key every 100 ms", 100, 40000},
                          Case{"nominal: a slow typist, a key every 1.9 s", 1900, 40000}}) {
        const std::vector<qint64> drafts = draftsWhileTyping(c.gapMs, c.untilMs);
        ASSERT_FALSE(drafts.empty()) << c.label;
        // The first change not kept waits at most kDraftMaxWaitMs, plus the
        // gap to the keystroke that finds it due.
        qint64 unkeptSince = 0;
        for (const qint64 at : drafts) {
            EXPECT_LE(at - unkeptSince, kDraftMaxWaitMs + c.gapMs) << c.label << " at " << at;
            unkeptSince = at + c.gapMs;
        }
        EXPECT_LE(c.untilMs - drafts.back(), kDraftMaxWaitMs + c.gapMs)
            << c.label << ": a kill at the end loses more than a few seconds";
    }
    EXPECT_LE(kDraftMaxWaitMs, 5000);
}

TEST(DraftSchedule, AStoredEntryStartsTheWaitAgain) {
    DraftSchedule schedule;
    EXPECT_FALSE(schedule.changed(0));
    schedule.kept();
    EXPECT_FALSE(schedule.waiting());
    EXPECT_FALSE(schedule.changed(kDraftMaxWaitMs + 1));
    EXPECT_FALSE(schedule.changed(2 * kDraftMaxWaitMs));
    EXPECT_TRUE(schedule.changed(2 * kDraftMaxWaitMs + 1));
}

}  // namespace
