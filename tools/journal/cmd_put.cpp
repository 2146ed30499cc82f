// put FILE DAY SOURCE: stores a file's bytes as the entry of DAY.
#include "tools/journal/commands.h"
#include "tools/journal/passwords.h"

#include "store/file_access.h"
#include "store/journal_table.h"

namespace quillmere::journaltool {

namespace {

int runPut(const QStringList& args, CommandIo&) {
    requireArgs(args, 3, 3);
    const double day = parseDay(args[1]);
    requireReadableFile(args[2], kMaxEntrySourceBytes);
    // A missing journal is created; anything else at its path must be a
    // journal file.
    if (fileAccess().status(args[0]).kind != FileKind::kMissing) {
        requireReadableFile(args[0]);
    }
    const QByteArray rtf = fileAccess().readAll(args[2]);
    JournalTable journal;
    openJournalFile(journal, args[0]);
    journal.StoreEntry(day, rtf);
    journal.close();
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(put,
                          {"put", "FILE DAY SOURCE",
                           "store SOURCE's bytes as the entry of DAY (creates FILE if missing)",
                           &quillmere::journaltool::runPut})
