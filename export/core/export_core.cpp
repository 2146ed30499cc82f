#include "export/core/export_core.h"

#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QDate>
#include <QDir>

namespace quillmere {

namespace {

constexpr char kEntryFileExtension[] = ".rtf";

// One record: its file written, kept, or failed. Any Error of this step
// (naming, question, decoding, writing) fails only this entry.
void exportRecord(const JournalTable& journal, int index, const QString& folder,
                  const ExportCallbacks& callbacks, ExportSummary& summary) {
    const double day = journal.dayAt(index);
    try {
        const QString path = EntryFilePath(folder, day);
        if (fileAccess().exists(path) && !callbacks.confirmOverwrite(path)) {
            ++summary.skipped;
            return;
        }
        WriteEntryFile(path, journal.entryAt(index));
        ++summary.written;
    } catch (const Error& e) {
        ++summary.failed;
        callbacks.showError(day, e.message());
    }
}

}  // namespace

QString EntryFileName(double day) {
    const QDate date = dateFromDay(day);
    if (!date.isValid()) {
        throw Error(QStringLiteral("The day value %1 is not a calendar date").arg(day));
    }
    return QStringLiteral("%1-%2-%3%4")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kEntryFileExtension));
}

QString EntryFilePath(const QString& folder, double day) {
    // The separator is always inserted, also after a folder that already ends
    // with one (a drive root); a doubled separator names the same file.
    return folder + QDir::separator() + EntryFileName(day);
}

QString OverwriteQuestion(const QString& path) {
    return QStringLiteral("Overwrite existing file ") + path + QLatin1Char('?');
}

QStringList OverwriteAnswerCaptions() {
    return {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Yes to All"),
            QStringLiteral("No to All"), QStringLiteral("Cancel")};
}

void WriteEntryFile(const QString& path, const QByteArray& blob) {
    // Decoded first and completely: a blob that does not inflate leaves the
    // file system untouched.
    const QByteArray rtf = DecodeEntryContent(blob);
    fileAccess().writeReplacing(path, rtf);
}

ExportSummary ExportEntries(const JournalTable& journal, const QString& folder,
                            const ExportCallbacks& callbacks) {
    ExportSummary summary;
    // The count is read anew on every round, so a record stored while the
    // loop lets window messages through cannot make it read past the end.
    for (int index = 0; index < journal.recordCount(); ++index) {
        exportRecord(journal, index, folder, callbacks, summary);
        ++summary.handled;
        callbacks.advanceBar();
        callbacks.processEvents();
        if (callbacks.cancelled()) {
            summary.cancelled = true;
            return summary;
        }
        ++summary.counted;
        callbacks.advanceCounter();
        callbacks.processEvents();
    }
    return summary;
}

}  // namespace quillmere
