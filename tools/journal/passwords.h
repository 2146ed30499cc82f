// Passwords of encrypted journals for the journal tool. They never come from
// an argument: they are read, one per line and in the order a command needs
// them, from the file given with --password-file FILE, or else from standard
// input (without echo, after a prompt on standard error, when it is a
// terminal).
#pragma once

#include "store/file_cipher.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace quillmere {
class JournalTable;
}

namespace quillmere::journaltool {

// Reads the next line of standard input; nothing at its end. `prompt` is
// shown when standard input is a terminal, which then does not echo.
using LineReader = std::function<std::optional<QString>(const QString& prompt)>;

// Where passwords come from in this run of the tool: the password file's
// lines when `passwordFile` is not empty, else `stdinLines`. Called by
// runTool before a command runs.
void setPasswordSource(const QString& passwordFile, LineReader stdinLines);

// Standard input, as the executable reads it.
std::optional<QString> readStandardInputLine(const QString& prompt);
// The reader runTool takes standard input's lines from (tests replace it).
LineReader& standardInputReader();

// The next password; `what` names it in the prompt and in the error thrown
// when there is none ("the password of "FILE""). Throws Error when the
// source has no more lines, or the password file cannot be read.
QString nextPassword(const QString& what);

// A new password for `path`: read once, and on a terminal a second time to
// confirm. Throws Error for an empty password or two that differ.
QString nextNewPassword(const QString& path);

// The cipher of the encrypted file at `path` whose first bytes are `head`,
// from the next password. Throws Error "wrong password for "PATH"" and
// SealedDataError naming the file.
std::shared_ptr<const FileCipher> unlockFile(QByteArrayView head, const QString& path);

// Opens a journal that may be encrypted: the password is asked for only
// when it is. The table keeps the cipher, so a journal written back stays
// encrypted with the same key.
void openJournalFile(JournalTable& journal, const QString& path);

}  // namespace quillmere::journaltool
