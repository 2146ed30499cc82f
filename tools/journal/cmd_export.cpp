// export FILE OUT [--format rtf|html|md|pdf] [--from DAY] [--to DAY]
// [--overwrite|--skip-existing]: every entry (of the range) as
// OUT/yyyy-mm-dd.rtf, or the diary as one book at OUT, through the program's
// own export loop.
#include "tools/journal/commands.h"

#include "tools/journal/export_command.h"

#include <QTextStream>

namespace quillmere::journaltool {

namespace {

int runExport(const QStringList& args, CommandIo& io) {
    if (!args.isEmpty()) {
        requireReadableFile(args[0]);
    }
    QTextStream out(&io.out);
    QTextStream err(&io.err);
    return runExportCommand(args, out, err);
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(exportEntries,
                          {"export",
                           "FILE OUT [--format rtf|html|md|pdf] [--from DAY] [--to DAY] "
                           "[--overwrite|--skip-existing]",
                           "every entry as OUT/yyyy-mm-dd.rtf, or the diary as one book OUT",
                           &quillmere::journaltool::runExport})
