// The journal tool's "export" command: every entry of a journal file written
// to its own RTF file, through the same loop as the program's Export button.
//
//   export FILE OUT [--format rtf|html|md|pdf] [--from DAY] [--to DAY]
//          [--overwrite|--skip-existing]
//
// rtf (the default) writes every entry of the range to OUT/yyyy-mm-dd.rtf;
// html, md and pdf write the range as one book to the file OUT (a Markdown
// book's pictures go to the folder beside it, see book_export.h). Without
// --overwrite or --skip-existing an existing file is an error: for an entry
// file it is reported and the export goes on with the next one; an existing
// book ends the command.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace quillmere {

// One line that describes the command, for the tool's help text.
QString exportCommandUsage();

// Runs the command on `args` (the words after "export"). Writes one line per
// failed entry to `err` ("2010-09-08: <message>") and a summary line to `out`.
// Returns 0 when every entry was written or kept, 1 when the journal or the
// folder cannot be used or any entry failed (with a one-line message on
// `err`; a folder that cannot take files, also one that stops taking them
// midway, is that one line and no line per entry), 2 for wrong arguments (with the usage on `err`).
// Never throws. Needs a QCoreApplication only for the platform's file names.
int runExportCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace quillmere
