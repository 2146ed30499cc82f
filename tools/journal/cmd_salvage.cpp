// salvage DAMAGED OUT: rescues every intact day of a damaged journal into a
// fresh journal file, reporting each day lost.
#include "tools/journal/commands.h"
#include "tools/journal/journal_salvage.h"

namespace quillmere::journaltool {

namespace {

int runSalvage(const QStringList& args, CommandIo& io) {
    requireArgs(args, 2, 2);
    requireReadableFile(args[0]);
    salvageJournal(args[0], args[1], io.out);
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(salvage,
                          {"salvage", "DAMAGED OUT",
                           "every intact day of a damaged journal, written to a new journal OUT",
                           &quillmere::journaltool::runSalvage})
