#include "export/core/export_core.h"

#include "store/day.h"
#include "store/day_caption.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

constexpr char kEntryFileExtension[] = ".rtf";

enum class RecordOutcome { kWritten, kKept, kFailed, kStop, kFolderFailed };

// One record: its file written, kept, or failed. Any Error of this step
// (naming, question, decoding, writing) fails only this entry, unless the
// failure was a write into a folder that can no longer take files.
RecordOutcome exportRecord(const JournalTable& journal, int index, const QString& folder,
                           const ExportCallbacks& callbacks, ExportSummary& summary) {
    const double day = journal.dayAt(index);
    QString message;
    try {
        const QString path = EntryFilePath(folder, day);
        if (fileAccess().exists(path) && !callbacks.confirmOverwrite(path)) {
            ++summary.skipped;
            return RecordOutcome::kKept;
        }
        WriteEntryFile(path, journal.entryAt(index));
        ++summary.written;
        return RecordOutcome::kWritten;
    } catch (const FileError& e) {
        message = e.message();
        // The folder itself may be what failed (taken away, made read-only):
        // then every further entry would fail the same way.
        summary.folderError = ExportFolderProblem(folder);
    } catch (const Error& e) {
        message = e.message();
    }
    ++summary.failed;
    summary.failedDays.push_back(day);
    if (!summary.folderError.isEmpty()) {
        return RecordOutcome::kFolderFailed;
    }
    return callbacks.entryFailed(day, message) == FailureAnswer::kStop ? RecordOutcome::kStop
                                                                       : RecordOutcome::kFailed;
}

QString plural(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(
        QCoreApplication::translate("quillmere::ExportCore", count == 1 ? one : many));
}

}  // namespace

QString EntryFileName(double day) {
    const QDate date = dateFromDay(day);
    if (!date.isValid()) {
        throw Error(QCoreApplication::translate("quillmere::ExportCore",
                                                "The day value %1 is not a calendar date")
                        .arg(day));
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
    return QCoreApplication::translate("quillmere::ExportCore", "Overwrite existing file ") + path +
           QLatin1Char('?');
}

QStringList OverwriteAnswerCaptions() {
    return {QCoreApplication::translate("quillmere::ExportCore", "Yes"),
            QCoreApplication::translate("quillmere::ExportCore", "No"),
            QCoreApplication::translate("quillmere::ExportCore", "Yes to All"),
            QCoreApplication::translate("quillmere::ExportCore", "No to All"),
            QCoreApplication::translate("quillmere::ExportCore", "Cancel")};
}

void WriteEntryFile(const QString& path, const QByteArray& blob) {
    // Decoded first and completely: a blob that does not inflate leaves the
    // file system untouched.
    const QByteArray rtf = DecodeEntryContent(blob);
    fileAccess().writeReplacing(path, rtf);
}

QString ExportFolderProblem(const QString& folder) {
    const QString shown = QDir::toNativeSeparators(folder);
    switch (fileAccess().status(folder).kind) {
        case FileKind::kFolder:
            break;
        case FileKind::kMissing:
            return QCoreApplication::translate(
                       "quillmere::ExportCore",
                       "Cannot export to \"%1\": the folder does not exist.")
                .arg(shown);
        default:
            return QCoreApplication::translate("quillmere::ExportCore",
                                               "Cannot export to \"%1\": it is not a folder.")
                .arg(shown);
    }
    if (!fileAccess().folderWritable(folder)) {
        return QCoreApplication::translate(
                   "quillmere::ExportCore",
                   "Cannot export to \"%1\": no file can be created in this folder (it may be "
                   "read-only or belong to another user). Please choose another folder.")
            .arg(shown);
    }
    return {};
}

void CheckExportFolder(const QString& folder) {
    const QString problem = ExportFolderProblem(folder);
    if (!problem.isEmpty()) {
        throw FileError(problem);
    }
}

std::pair<int, int> RecordsOfRange(const JournalTable& journal, const DayRange& days) {
    if (!journal.isOpen()) {
        return {0, 0};
    }
    // An open end is the table's end; a day the store cannot name (before
    // the year 1) is found by its position alone.
    const auto indexFrom = [&journal](double day, int open) {
        if (!std::isfinite(day)) {
            return open;
        }
        try {
            return journal.firstIndexFrom(day);
        } catch (const Error&) {
            return 0;
        }
    };
    const int first = indexFrom(days.from, 0);
    const int end = indexFrom(days.to + 1, journal.recordCount());
    return {first, std::max(first, end)};
}

int RecordsInRange(const JournalTable& journal, const DayRange& days) {
    const auto [first, end] = RecordsOfRange(journal, days);
    return end - first;
}

ExportSummary ExportEntries(const JournalTable& journal, const QString& folder,
                            const ExportCallbacks& callbacks, const DayRange& days) {
    ExportSummary summary;
    summary.folderError = ExportFolderProblem(folder);
    if (!summary.folderError.isEmpty()) {
        summary.end = ExportEnd::kFolderFailed;
        return summary;
    }
    // The count is read anew on every round, so a record stored while the
    // loop lets window messages through cannot make it read past the end.
    const int first = RecordsOfRange(journal, days).first;
    for (int index = first; index < journal.recordCount(); ++index) {
        if (!days.contains(journal.dayAt(index))) {
            break;  // past the range (the walk is in date order)
        }
        const RecordOutcome outcome = exportRecord(journal, index, folder, callbacks, summary);
        const std::optional<ExportEnd> end =
            outcome == RecordOutcome::kFolderFailed ? std::optional(ExportEnd::kFolderFailed)
            : outcome == RecordOutcome::kStop       ? std::optional(ExportEnd::kStopped)
                                                    : std::nullopt;
        if (FinishExportStep(summary, callbacks, end)) {
            return summary;
        }
    }
    return summary;
}

bool FinishExportStep(ExportSummary& summary, const ExportCallbacks& callbacks,
                      std::optional<ExportEnd> end) {
    ++summary.handled;
    callbacks.advanceBar();
    callbacks.processEvents();
    if (!end && callbacks.cancelled()) {
        end = ExportEnd::kCancelled;
    }
    if (end) {
        summary.end = *end;
        return true;
    }
    ++summary.counted;
    callbacks.showWritten(summary.written);
    callbacks.processEvents();
    return false;
}

QString DayListText(const std::vector<double>& days, int shown) {
    QStringList names;
    const int count = static_cast<int>(days.size());
    for (int i = 0; i < count && i < shown; ++i) {
        const QDate date = dateFromDay(days[static_cast<std::size_t>(i)]);
        names << (date.isValid() ? DayCaption(date) : QString::number(days[std::size_t(i)]));
    }
    QString text = names.join(QStringLiteral(", "));
    if (count > shown) {
        text += QCoreApplication::translate("quillmere::ExportCore", ", and %1 more")
                    .arg(count - shown);
    }
    return text;
}

namespace {

// The end of a book's run that completed: where it is, what was left out.
QString bookResultText(const ExportSummary& summary) {
    const QString path = QDir::toNativeSeparators(summary.bookPath);
    if (summary.skipped > 0) {
        return QCoreApplication::translate(
                   "quillmere::ExportCore",
                   "The existing file \"%1\" was kept; nothing was written.")
            .arg(path);
    }
    QStringList lines;
    lines << QCoreApplication::translate("quillmere::ExportCore",
                                         "The diary was written to \"%1\" (%2).")
                 .arg(path,
                      plural(summary.written, QT_TRANSLATE_NOOP("quillmere::ExportCore", "day"),
                             QT_TRANSLATE_NOOP("quillmere::ExportCore", "days")));
    if (summary.failed > 0) {
        lines << QCoreApplication::translate("quillmere::ExportCore",
                                             "%1 not be read and %2 left out: %3.")
                     .arg(plural(summary.failed,
                                 QT_TRANSLATE_NOOP("quillmere::ExportCore", "entry could"),
                                 QT_TRANSLATE_NOOP("quillmere::ExportCore", "entries could")),
                          QCoreApplication::translate(
                              "quillmere::ExportCore",
                              summary.failed == 1
                                  ? QT_TRANSLATE_NOOP("quillmere::ExportCore", "was")
                                  : QT_TRANSLATE_NOOP("quillmere::ExportCore", "were")),
                          DayListText(summary.failedDays));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

QString ExportResultText(const ExportSummary& summary, const QString& folder) {
    if (!summary.bookPath.isEmpty()) {
        return summary.end == ExportEnd::kCompleted ? bookResultText(summary) : QString();
    }
    if (summary.end != ExportEnd::kCompleted || (summary.skipped == 0 && summary.failed == 0)) {
        return {};
    }
    QStringList lines;
    lines << QCoreApplication::translate("quillmere::ExportCore", "Exported %1 of %2 to \"%3\".")
                 .arg(summary.written)
                 .arg(plural(summary.handled, QT_TRANSLATE_NOOP("quillmere::ExportCore", "entry"),
                             QT_TRANSLATE_NOOP("quillmere::ExportCore", "entries")))
                 .arg(QDir::toNativeSeparators(folder));
    if (summary.skipped > 0) {
        lines << QCoreApplication::translate("quillmere::ExportCore", "%1 kept.")
                     .arg(
                         plural(summary.skipped,
                                QT_TRANSLATE_NOOP("quillmere::ExportCore", "existing file was"),
                                QT_TRANSLATE_NOOP("quillmere::ExportCore", "existing files were")));
    }
    if (summary.failed > 0) {
        lines << QCoreApplication::translate("quillmere::ExportCore", "%1 not be exported: %2.")
                     .arg(plural(summary.failed,
                                 QT_TRANSLATE_NOOP("quillmere::ExportCore", "entry could"),
                                 QT_TRANSLATE_NOOP("quillmere::ExportCore", "entries could")),
                          DayListText(summary.failedDays));
    }
    return lines.join(QLatin1Char('\n'));
}

QString FolderFailureText(const ExportSummary& summary) {
    if (summary.handled == 0 || !summary.bookPath.isEmpty()) {
        return summary.folderError;
    }
    return summary.folderError + QStringLiteral("\n\n") +
           QCoreApplication::translate("quillmere::ExportCore",
                                       "%1 written before the export stopped.")
               .arg(plural(summary.written, QT_TRANSLATE_NOOP("quillmere::ExportCore", "file was"),
                           QT_TRANSLATE_NOOP("quillmere::ExportCore", "files were")));
}

}  // namespace quillmere
