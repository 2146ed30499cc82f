// check FILE: validates the packet and every entry's zlib stream.
#include "tools/journal/commands.h"

#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_salvage.h"
#include "store/journal_table.h"

#include <cmath>
#include <map>

namespace quillmere::journaltool {

namespace {

// The problem with record `i`, or an empty string.
QString problemOf(const JournalTable& journal, int i) {
    const double day = journal.dayAt(i);
    if (i > 0 && journal.dayAt(i - 1) == day) {
        return QStringLiteral("a second record for the same day");
    }
    if (day != std::trunc(day)) {
        return QStringLiteral("the date has a time of day");
    }
    if (journal.entrySizeAt(i) == 0) {
        return QStringLiteral("blank entry");
    }
    try {
        DecodeEntryContent(journal.entryAt(i));
    } catch (const ZlibError& e) {
        return e.message();
    }
    return QString();
}

int runCheck(const QStringList& args, CommandIo& io) {
    requireArgs(args, 1, 1);
    JournalTable journal;
    openExistingJournal(journal, args[0]);
    // The table keeps rows with a stray status, as `salvage` does; they are
    // damage all the same.
    std::map<double, uint8_t> stray;
    for (const JournalTable::StrayRow& row : journal.rowsWithStrayStatus()) {
        stray.emplace(row.day, row.status);
    }
    int bad = 0;
    for (int i = 0; i < journal.recordCount(); ++i) {
        QString problem = problemOf(journal, i);
        const auto it = stray.find(journal.dayAt(i));
        if (problem.isEmpty() && it != stray.end()) {
            problem = StrayStatusProblem(it->second);
        }
        if (!problem.isEmpty()) {
            ++bad;
            print(io.out, QStringLiteral("%1: %2\n").arg(formatDay(journal.dayAt(i)), problem));
        }
    }
    const int total = journal.recordCount();
    journal.abandon();
    if (bad > 0) {
        throw Error(QStringLiteral("%1 of %2 entries damaged").arg(bad).arg(total));
    }
    print(io.out, QStringLiteral("OK: %1 entries\n").arg(total));
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(check,
                          {"check", "FILE", "validate the file and every entry's compressed text",
                           &quillmere::journaltool::runCheck})
