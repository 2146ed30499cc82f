// cat FILE DAY: the entry's RTF bytes, decoded, to standard output.
#include "tools/journal/commands.h"

#include "store/entry_codec.h"
#include "store/journal_table.h"

namespace quillmere::journaltool {

namespace {

int runCat(const QStringList& args, CommandIo& io) {
    requireArgs(args, 2, 2);
    const double day = parseDay(args[1]);
    JournalTable journal;
    openExistingJournal(journal, args[0]);
    const int at = journal.find(day);
    if (at < 0) {
        throw Error(QStringLiteral("no entry for %1").arg(args[1]));
    }
    io.out.write(DecodeEntryContent(journal.entryAt(at)));
    journal.abandon();
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(cat, {"cat", "FILE DAY", "the entry of DAY as RTF on standard output",
                                &quillmere::journaltool::runCat})
