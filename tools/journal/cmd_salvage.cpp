// salvage DAMAGED OUT: rescues every intact day of a damaged journal into a
// fresh journal file, reporting each day lost.
#include "store/journal_salvage.h"
#include "tools/journal/commands.h"
#include "tools/journal/passwords.h"

namespace quillmere::journaltool {

namespace {

int runSalvage(const QStringList& args, CommandIo& io) {
    requireArgs(args, 2, 2);
    requireReadableFile(args[0]);
    salvageJournal(args[0], args[1], io.out, unlockFile);
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(salvage,
                          {"salvage", "DAMAGED OUT",
                           "every intact day of a damaged journal, written to a new journal OUT",
                           &quillmere::journaltool::runSalvage})
