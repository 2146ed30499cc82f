// search FILE TEXT [--from DAY] [--to DAY]: the days whose entry shows TEXT,
// matched exactly as the search window matches.
#include "tools/journal/commands.h"

#include "tools/journal/search_command.h"

#include <QTextStream>

namespace quillmere::journaltool {

namespace {

int runSearch(const QStringList& args, CommandIo& io) {
    if (!args.isEmpty()) {
        requireReadableFile(args[0]);
    }
    QTextStream out(&io.out);
    QTextStream err(&io.err);
    return runSearchCommand(args, out, err);
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(search,
                          {"search", "FILE TEXT [--from DAY] [--to DAY]",
                           "the days whose entry shows TEXT", &quillmere::journaltool::runSearch})
