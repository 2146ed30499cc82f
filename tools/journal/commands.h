// The journal tool is a table of commands. Each command lives in its own
// source file and adds itself to the table with QUILLMERE_JOURNAL_COMMAND, so
// a new command (text, convert, search, export, ...) is one new file named
// cmd_<name>.cpp in this folder; the build picks up every such file.
//
// A command reads its arguments (without the command name), writes its
// results to io.out and returns 0. It reports a failure by throwing
// quillmere::Error (the tool prints the one-line message on standard error
// and exits 1) and wrong usage by throwing UsageError (exit 2, with the
// command's usage line).
#pragma once

#include "store/errors.h"

#include <QIODevice>
#include <QStringList>

#include <limits>
#include <vector>

namespace quillmere {
class JournalTable;
}

namespace quillmere::journaltool {

class UsageError : public Error {
public:
    using Error::Error;
};

struct CommandIo {
    QIODevice& out;
    QIODevice& err;
};

struct Command {
    const char* name;
    const char* usage;    // arguments after the name: "FILE DAY SOURCE"
    const char* summary;  // one line for the tool's help
    int (*run)(const QStringList& args, CommandIo& io);
};

// Adds a command to the table; returns true so it can initialise a static.
bool registerCommand(const Command& command);

// Every registered command, sorted by name.
std::vector<Command> commands();

// The command of that name, or nullptr.
const Command* findCommand(const QString& name);

// Runs the tool on its arguments (the program name left out): 0 on success,
// 1 after printing a one-line message on `err` for any failure, 2 after
// printing the usage on `err` for wrong usage. "--help" ("-h", "help") prints
// the usage and "--version" the version and licence on `out`, with 0; so
// does "COMMAND --help" with that command's usage.
int runTool(const QStringList& args, QIODevice& out, QIODevice& err);

// Helpers for commands.
// Throws UsageError unless `args` has between `min` and `max` entries.
void requireArgs(const QStringList& args, int min, int max);
// A DAY argument "yyyy-mm-dd" as a day value; throws UsageError otherwise.
double parseDay(const QString& text);
// "yyyy-mm-dd" of a day value, with " hh:mm:ss.zzz" when it has a time.
QString formatDay(double day);
// Writes text (UTF-8) to a device.
void print(QIODevice& device, const QString& text);

// The largest file `put` stores as one entry (it is read whole). A journal
// has no such limit: its entries are read one at a time.
inline constexpr qint64 kMaxEntrySourceBytes = qint64(1) << 30;  // 1 GiB
inline constexpr qint64 kAnySize = std::numeric_limits<qint64>::max();

// Checks a file the tool is about to read, before anything is read from it.
// Throws Error "cannot read "PATH": ..." when the path does not exist, is not
// a regular file (a folder, a FIFO, a device: these are never opened, so a
// FIFO cannot block the tool) or holds more than `maxBytes`.
void requireReadableFile(const QString& path, qint64 maxBytes = kAnySize);

// Opens an existing journal for reading, after requireReadableFile; a missing
// path is an error here, never a new empty journal. An encrypted journal is
// opened with the next password (see passwords.h). Throws Error, FileError,
// DatasetError or SealedDataError.
void openExistingJournal(JournalTable& journal, const QString& path);

// A whole-number argument between `min` and `max`; throws UsageError naming
// the option and the range otherwise.
qint64 parseRange(const QString& text, const char* option, qint64 min, qint64 max);

}  // namespace quillmere::journaltool

#define QUILLMERE_JOURNAL_COMMAND(id, ...)                                              \
    namespace {                                                                         \
    const bool id##Registered = ::quillmere::journaltool::registerCommand(__VA_ARGS__); \
    }
