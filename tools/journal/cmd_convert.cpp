// convert IN OUT: reads IN as RTF (plain text when it ends in ".txt") and
// writes OUT as RTF (plain text when it ends in ".txt"), through the same
// reader and writer the program stores entries with. Plain text is read as
// UTF-8 or, when it is not valid UTF-8, as Windows-1252, and written as UTF-8
// with LF line ends, as the editor's import and save-as do.
#include "tools/journal/commands.h"

#include "tools/journal/convert_file.h"

namespace quillmere::journaltool {

namespace {

int runConvert(const QStringList& args, CommandIo&) {
    requireArgs(args, 2, 2);
    convertFile(args[0], args[1]);
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(convert,
                          {"convert", "IN OUT", "RTF or .txt IN written as RTF or .txt OUT",
                           &quillmere::journaltool::runConvert})
