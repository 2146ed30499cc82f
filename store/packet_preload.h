// Reading a data file ahead of its table. A diary of many years is tens of
// megabytes, and walking its rows takes longer than everything else the
// program does before its first window appears. PreloadDataFile starts that
// work on a worker thread as soon as the program starts (the rows' structure
// is read, the entries stay in the file, as JournalTable reads it);
// StoredTable::open of the same file then takes the loaded table, waiting for
// the rest of the work if needed, instead of reading the file.
//
// An encrypted file cannot be loaded before the login gives its key: its
// bytes as read (encrypted, nothing secret) are kept instead, so that the
// opening without the key (which needs only the header) and the opening with
// it read nothing again, and the file is read once.
//
// A preload is only a head start: when it failed, when the file changed since
// it was read (size or modification time), or when the file-access seam was
// replaced since, the table reads the file itself as it always does, so every
// error is reported by open exactly as without a preload.
#pragma once

#include "store/file_fingerprint.h"

#include <QByteArray>
#include <QString>

namespace quillmere {

class DSBASE;

// Starts reading and loading `path` on a worker thread. Does nothing when
// the file does not exist or a preload of it is already running. Never
// throws: a failure is kept for TakePreloadedDataFile, which then declines.
void PreloadDataFile(const QString& path);

// What TakePreloadedDataFile found.
struct PreloadedFile {
    bool table = false;    // the loaded table was moved into the caller's
    QByteArray sealed;     // else, when not empty: the encrypted file's bytes
    FileFingerprint read;  // of the bytes loaded or kept
};

// When a preload of `path` was started: waits for it, and when the file is
// unchanged and the file access the same:
// - a plain file it loaded: moves the table into `into` and returns it with
//   `table` set and the fingerprint of the bytes it loaded;
// - an encrypted file: returns its bytes in `sealed` with their fingerprint;
//   with `keepSealed` the bytes stay for the next call (an opening without
//   the key only needs the header; the one with the key takes them).
// Otherwise returns nothing and `into` is untouched. The preload is used up
// unless kept. Never throws.
PreloadedFile TakePreloadedDataFile(const QString& path, DSBASE& into, bool keepSealed);

// What identifies a file as it was read: a file replaced or written since
// differs in one of these.
struct FileStamp {
    qint64 size = -1;
    qint64 inode = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of `path` now (size -1 when there is no file). Never throws.
FileStamp StampOf(const QString& path);

// Keeps the bytes of the encrypted data file `path`, which an opening without
// the key read whole, for the next TakePreloadedDataFile of it, as a preload
// would have; `before` is the file's stamp taken before the read. Replaces a
// kept file of the same path; a preload still running is left alone. Never
// throws.
void KeepSealedDataFile(const QString& path, const QByteArray& bytes, const FileStamp& before);

}  // namespace quillmere
