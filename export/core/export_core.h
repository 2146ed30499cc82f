// The export of all entries, free of any window: every record of the journal,
// in ascending date order, is decoded and written to its own RTF file in one
// folder. The progress window and the journal tool drive the same loop and
// differ only in the callbacks they hand it (questions, error reports,
// progress, event handling, cancellation).
//
// File of an entry: folder + QDir::separator() + "yyyy-mm-dd" + ".rtf", the
// separator always inserted; the file holds exactly the bytes
// DecodeEntryContent gives for the record's JournalEntry.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace quillmere {

class JournalTable;

// "yyyy-mm-dd.rtf" for the whole-day part of `day` (four-digit year, two-digit
// month and day). Throws Error "The day value <day> is not a calendar date"
// for a value outside the dates the program can name.
QString EntryFileName(double day);

// folder + QDir::separator() + EntryFileName(day). Throws as EntryFileName.
QString EntryFilePath(const QString& folder, double day);

// "Overwrite existing file " + path + "?"
QString OverwriteQuestion(const QString& path);

// The answers to the overwrite question. Besides Yes and No for one file,
// the user can answer once for every file still to come, or end the export.
enum class OverwriteAnswer { Yes, No, YesToAll, NoToAll, Cancel };

// The button captions of the overwrite question, in the order of
// OverwriteAnswer: "Yes", "No", "Yes to All", "No to All", "Cancel".
QStringList OverwriteAnswerCaptions();

// Decodes `blob` completely in memory, then replaces the file at `path` with
// the decoded bytes through fileAccess().writeReplacing, so the file either
// keeps its old content or holds the whole entry, never a part of it. Throws
// ZlibError (zlib's text, "data error" for a damaged blob) before any file is
// touched, FileError when the file cannot be written.
void WriteEntryFile(const QString& path, const QByteArray& blob);

// What the loop asks of its caller. Every member must be set.
struct ExportCallbacks {
    // A file of `path` already exists: true replaces it, false keeps it and
    // counts the entry as handled. May throw Error to count the entry as failed
    // (the error then goes to showError like a failed write).
    std::function<bool(const QString& path)> confirmOverwrite;
    // A failed entry (its day and the error's own message). The loop goes on
    // afterwards.
    std::function<void(double day, const QString& message)> showError;
    // One entry handled: the progress bar moves on by one.
    std::function<void()> advanceBar;
    // The counter of handled entries moves on by one.
    std::function<void()> advanceCounter;
    // Lets pending window messages through (twice per entry).
    std::function<void()> processEvents;
    // Tested after each entry; true ends the loop at once.
    std::function<bool()> cancelled;
};

// What one run of the loop did.
struct ExportSummary {
    int handled = 0;  // entries the bar advanced for
    int counted = 0;  // entries the counter advanced for
    int written = 0;
    int skipped = 0;  // existing file kept on No
    int failed = 0;
    bool cancelled = false;
};

// Walks `journal` from its first record (date order) to its end. For each
// record: builds its path; asks confirmOverwrite when the file exists; writes
// it (WriteEntryFile) unless the answer was No; reports a failure through
// showError and goes on; advanceBar, processEvents; then, if cancelled(),
// returns at once (this entry is not counted); else advanceCounter,
// processEvents. The end test reads the record count anew each time. A closed
// table exports nothing. Throws only what a callback other than
// confirmOverwrite throws.
ExportSummary ExportEntries(const JournalTable& journal, const QString& folder,
                            const ExportCallbacks& callbacks);

}  // namespace quillmere
