// The journal tool's command `search FILE TEXT [--from DAY] [--to DAY]`:
// prints the days (yyyy-mm-dd, one per line, in date order) whose stored
// entry in the journal file FILE shows TEXT, with the search window's
// matching rules. DAY is yyyy-mm-dd; without --from / --to the range is open
// at that end.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace quillmere {

// Usage line of the command.
inline constexpr char kSearchCommandUsage[] =
    "usage: search FILE TEXT [--from yyyy-mm-dd] [--to yyyy-mm-dd]";

// Runs the command on its arguments (those after the word "search"). Returns
// 0 after printing the days found (none is not an error); 1 with a one-line
// message on `err` when the file cannot be read; 1 as well when entries of
// the range cannot be decoded: every other day is still searched and printed,
// then `err` gets one line per damaged day ("search: 2010-06-16: could not
// read the entry (data error)"); 2 with a message and the usage line on `err`
// for wrong arguments. The file is only read. Never throws.
int runSearchCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace quillmere
