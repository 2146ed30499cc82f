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
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace quillmere {

class JournalTable;

// The days an export covers, both ends included (whole day values; a stored
// date with a time of day belongs to its day). The default covers every day.
struct DayRange {
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();
    bool contains(double day) const { return day >= from && day < to + 1; }
    bool coversAll() const {
        return from == -std::numeric_limits<double>::infinity() &&
               to == std::numeric_limits<double>::infinity();
    }
};

// The date-order indexes [first, end) of the records of `journal` inside
// `days` (empty for a closed table). Found through the day index; never
// throws.
std::pair<int, int> RecordsOfRange(const JournalTable& journal, const DayRange& days);

// How many records RecordsOfRange gives.
int RecordsInRange(const JournalTable& journal, const DayRange& days);

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

// Why `folder` cannot take the exported files, or an empty string when it
// can: it does not exist, is not a folder, or no file can be created in it
// (fileAccess().status and folderWritable). Never throws.
QString ExportFolderProblem(const QString& folder);

// Throws FileError with ExportFolderProblem's message when the folder cannot
// take the exported files.
void CheckExportFolder(const QString& folder);

// What the loop does after an entry failed.
enum class FailureAnswer { kContinue, kStop };

// What the loop asks of its caller. Every member must be set.
struct ExportCallbacks {
    // A file of `path` already exists: true replaces it, false keeps it and
    // counts the entry as handled. May throw Error to count the entry as failed
    // (the error then goes to entryFailed like a failed write).
    std::function<bool(const QString& path)> confirmOverwrite;
    // An entry failed while the folder can still be written (its day and the
    // error's own message): kContinue goes on with the next entry, kStop ends
    // the export after this one.
    std::function<FailureAnswer(double day, const QString& message)> entryFailed;
    // One entry handled: the progress bar moves on by one.
    std::function<void()> advanceBar;
    // The number of files written so far, after each entry not cut short by
    // a cancel.
    std::function<void(int written)> showWritten;
    // Lets pending window messages through (twice per entry).
    std::function<void()> processEvents;
    // Tested after each entry; true ends the loop at once.
    std::function<bool()> cancelled;
};

// How a run of the loop ended.
enum class ExportEnd {
    kCompleted,     // every record was handled
    kCancelled,     // cancelled() answered true
    kStopped,       // entryFailed answered kStop
    kFolderFailed,  // the folder cannot take files (before the first or after a failed write)
};

// What one run of the loop did.
struct ExportSummary {
    int handled = 0;  // entries the bar advanced for
    int counted = 0;  // entries not cut short by a cancel
    int written = 0;
    int skipped = 0;  // existing file kept on No
    int failed = 0;
    ExportEnd end = ExportEnd::kCompleted;
    // kFolderFailed: the one message that says why (ExportFolderProblem).
    QString folderError;
    // The day of every failed entry, in the order met (date order).
    std::vector<double> failedDays;
    // A book (one HTML, Markdown or PDF file): its path; empty for the RTF
    // files. `written` then counts the entries in the book, which is only
    // there when the run completed.
    QString bookPath;
};

// The step after each entry of an export walk: the bar and the count of
// handled entries move on and window messages are let through; then the
// walk ends with `end` when given, or with kCancelled when cancelled()
// answers true, else the entry counts and the written count is shown.
// Returns true when the walk ends (summary.end set). Throws nothing the
// callbacks do not throw.
bool FinishExportStep(ExportSummary& summary, const ExportCallbacks& callbacks,
                      std::optional<ExportEnd> end);

// Walks `journal` from its first record (date order) to its end, after
// checking the folder (CheckExportFolder; a folder that cannot take files ends
// the run before any question, with folderError). For each record: builds its
// path; asks confirmOverwrite when the file exists; writes it
// (WriteEntryFile) unless the answer was No. A write that fails is followed by
// a new look at the folder: when the folder itself cannot take files any more
// (gone, read-only), the run ends at once with folderError and no entryFailed;
// any other failure goes to entryFailed, whose kStop ends the run. Then
// advanceBar, processEvents; then, if cancelled(), returns at once (this entry
// is not counted); else showWritten, processEvents. The end test reads the
// record count anew each time. A closed table exports nothing. Throws only
// what a callback other than confirmOverwrite throws.
// Only the records inside `days` are walked.
ExportSummary ExportEntries(const JournalTable& journal, const QString& folder,
                            const ExportCallbacks& callbacks, const DayRange& days = {});

// The days of `days` as the date header names them, separated by ", "; past
// `shown` days the rest are summed up (", and 3 more"). Empty for none.
QString DayListText(const std::vector<double>& days, int shown = 10);

// What the user is told after an export that ended with entries kept or
// failed (empty when every entry was written, or the run ended early); for a
// book that completed, always where it is ("The diary was written to "PATH"
// (365 days).", and the days left out), or that the existing file was kept:
//   Exported 7 of 10 entries to "FOLDER".
//   2 existing files were kept.
//   1 entry could not be exported: 18 June 2010.
QString ExportResultText(const ExportSummary& summary, const QString& folder);

// The one message of a run ended by its folder: folderError, and when some
// entries were handled before (RTF files only), how many files had been written
// ("3 files were written before the export stopped.").
QString FolderFailureText(const ExportSummary& summary);

}  // namespace quillmere
