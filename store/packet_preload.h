// Reading a data file ahead of its table. A diary of many years is tens of
// megabytes, and walking its rows takes longer than everything else the
// program does before its first window appears. PreloadDataFile starts that
// work on a worker thread as soon as the program starts (the rows' structure
// is read, the entries stay in the file, as JournalTable reads it);
// StoredTable::open of the same file then takes the loaded table, waiting for
// the rest of the work if needed, instead of reading the file.
//
// A preload is only a head start: when it failed, when the file changed since
// it was read (size or modification time), or when the file-access seam was
// replaced since, the table reads the file itself as it always does, so every
// error is reported by open exactly as without a preload.
#pragma once

#include "store/file_fingerprint.h"

#include <QString>

namespace quillmere {

class DSBASE;

// Starts reading and loading `path` on a worker thread. Does nothing when
// the file does not exist or a preload of it is already running. Never
// throws: a failure is kept for TakePreloadedDataFile, which then declines.
void PreloadDataFile(const QString& path);

// When a preload of `path` was started: waits for it, and if it loaded the
// file without error and the file is unchanged, moves the loaded table into
// `into`, sets `read` to the fingerprint of the bytes it loaded and returns
// true. Returns false otherwise; `into` and `read` are then untouched. Either
// way the preload is used up. Never throws.
bool TakePreloadedDataFile(const QString& path, DSBASE& into, FileFingerprint& read);

}  // namespace quillmere
