// The forms of the export and the whole diary (or a range of its days) as
// one book: the same walk as the RTF files' (ExportEntries), with the same
// callbacks, so the progress window, Cancel, the overwrite question and the
// damaged-entry message work alike for every form.
#pragma once

#include "export/core/export_core.h"

#include <QLocale>
#include <QPageSize>
#include <QString>

#include <optional>

namespace quillmere {

class JournalTable;

enum class ExportForm {
    kRtfFiles,  // one RTF file per entry (the Export button's own form)
    kHtml,      // one HTML file
    kMarkdown,  // one Markdown file and a folder of pictures
    kPdf,       // one PDF file
};

// What the user chose for an export.
struct ExportChoice {
    QString folder;  // empty when the chosen item has no path in the file system
    ExportForm form = ExportForm::kRtfFiles;
    DayRange days;  // every day unless a range was chosen
};

// The form's word on the journal tool's command line: "rtf", "html", "md",
// "pdf"; and back (nothing for any other word).
QString ExportFormKey(ExportForm form);
std::optional<ExportForm> ExportFormOfKey(const QString& key);

// The book's file name: "Diary.html" for every day, or
// "Diary_2010-01-01_2010-12-31.html" for a range (an open end is left out:
// "Diary_from_2010-01-01.md", "Diary_to_2010-12-31.pdf").
QString BookFileName(ExportForm form, const DayRange& days);

// The heading of the book: "Quillmere diary", with the range's days named as
// the date header names them ("Quillmere diary, 01 January 2010 to 31
// December 2010").
QString BookTitle(const DayRange& days);

// Writes the records of `journal` inside `days` (date order) as one book of
// `form` (not kRtfFiles) at `path`. Before the walk: a folder of `path` that
// cannot take files ends the run (kFolderFailed with folderError); an
// existing `path` is put to confirmOverwrite once (false: nothing is
// written, `skipped` is 1; an Error it throws ends the run as kFolderFailed
// with its message). For each record: decoded and read (RTF, else plain
// text) into the book; an entry that cannot be read goes to entryFailed
// (kStop ends the run) and is left out; then advanceBar, processEvents,
// cancelled(), showWritten, processEvents as ExportEntries does. Only a
// completed walk writes the book (fileAccess().writeReplacing: beside its
// final name, then renamed; a Markdown book's pictures first); a stopped or
// cancelled one leaves `path` as it was. A failed write ends the run as
// kFolderFailed with the error's message and `written` 0. Throws only what a
// callback other than confirmOverwrite throws.
ExportSummary ExportBook(const JournalTable& journal, const QString& path, ExportForm form,
                         const ExportCallbacks& callbacks, const DayRange& days = {},
                         const QPageSize& pageSize = QPageSize(QPageSize::A4));

// The paper of the PDF book for the user's locale: Letter where the locale
// measures the American way, A4 elsewhere.
QPageSize BookPageSize(const QLocale& locale = QLocale::system());

}  // namespace quillmere
