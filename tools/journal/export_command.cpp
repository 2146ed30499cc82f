#include "tools/journal/export_command.h"

#include "export/core/book_export.h"
#include "tools/journal/passwords.h"

#include "export/core/export_core.h"
#include "store/day.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QFileInfo>

#include <array>
#include <optional>

namespace quillmere {

namespace {

enum class ExistingFilePolicy { kFail, kOverwrite, kSkip };

struct ExportArguments {
    QString journalFile;
    QString folder;  // the folder of the RTF files, or the book's file
    ExistingFilePolicy policy = ExistingFilePolicy::kFail;
    ExportForm form = ExportForm::kRtfFiles;
    DayRange days;
};

// The value of an option that takes one ("--format html"); false when it is
// missing or the option was given before.
bool takeValue(const QStringList& args, qsizetype& i, bool& seen, QString& value) {
    if (seen || i + 1 >= args.size()) {
        return false;
    }
    seen = true;
    value = args[++i];
    return true;
}

// --format, --from and --to; false for a wrong value (the usage is shown).
bool takeOption(const QStringList& args, qsizetype& i, ExportArguments& parsed,
                std::array<bool, 3>& seen) {
    const QString& arg = args[i];
    QString value;
    if (arg == QLatin1String("--format")) {
        if (!takeValue(args, i, seen[0], value)) {
            return false;
        }
        const std::optional<ExportForm> form = ExportFormOfKey(value);
        parsed.form = form.value_or(ExportForm::kRtfFiles);
        return form.has_value();
    }
    const bool from = arg == QLatin1String("--from");
    if (!takeValue(args, i, seen[from ? 1 : 2], value)) {
        return false;
    }
    const std::optional<double> day = dayFromIsoText(value);
    (from ? parsed.days.from : parsed.days.to) = day.value_or(0);
    return day.has_value();
}

std::optional<ExportArguments> parseArguments(const QStringList& args) {
    ExportArguments parsed;
    QStringList positional;
    bool policySet = false;
    std::array<bool, 3> seen = {false, false, false};
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--format") || arg == QLatin1String("--from") ||
            arg == QLatin1String("--to")) {
            if (!takeOption(args, i, parsed, seen)) {
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--overwrite") || arg == QLatin1String("--skip-existing")) {
            if (policySet) {
                return std::nullopt;  // both flags, or one twice
            }
            policySet = true;
            parsed.policy = arg == QLatin1String("--overwrite") ? ExistingFilePolicy::kOverwrite
                                                                : ExistingFilePolicy::kSkip;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 2 || positional[0].isEmpty() || positional[1].isEmpty()) {
        return std::nullopt;
    }
    parsed.journalFile = positional[0];
    parsed.folder = positional[1];
    if (parsed.days.from > parsed.days.to) {
        return std::nullopt;
    }
    return parsed;
}

ExportCallbacks toolCallbacks(ExistingFilePolicy policy, QTextStream& err) {
    ExportCallbacks callbacks;
    callbacks.confirmOverwrite = [policy](const QString& path) {
        if (policy == ExistingFilePolicy::kFail) {
            throw FileError(QStringLiteral("The file \"%1\" exists already (use --overwrite or "
                                           "--skip-existing)")
                                .arg(path));
        }
        return policy == ExistingFilePolicy::kOverwrite;
    };
    callbacks.entryFailed = [&err](double day, const QString& message) {
        const QDate date = dateFromDay(day);
        err << (date.isValid() ? date.toString(Qt::ISODate) : QStringLiteral("entry")) << ": "
            << message << Qt::endl;
        return FailureAnswer::kContinue;
    };
    callbacks.advanceBar = [] {};
    callbacks.showWritten = [](int) {};
    callbacks.processEvents = [] {};
    callbacks.cancelled = [] { return false; };
    return callbacks;
}

}  // namespace

QString exportCommandUsage() {
    return QStringLiteral(
        "export FILE OUT [--format rtf|html|md|pdf] [--from DAY] [--to DAY] "
        "[--overwrite|--skip-existing]");
}

namespace {

// The RTF files into the folder OUT.
int exportFiles(const JournalTable& journal, const ExportArguments& parsed, QTextStream& out,
                QTextStream& err) {
    const ExportSummary summary =
        ExportEntries(journal, parsed.folder, toolCallbacks(parsed.policy, err), parsed.days);
    if (summary.end == ExportEnd::kFolderFailed) {
        // One line for the folder, not one per entry.
        err << "export: " << FolderFailureText(summary).replace(u'\n', u' ').simplified()
            << Qt::endl;
        return 1;
    }
    out << "Exported " << summary.written << " of " << summary.handled << " entries to "
        << parsed.folder << " (" << summary.skipped << " kept, " << summary.failed << " failed)"
        << Qt::endl;
    if (summary.failed > 0) {
        err << "export: " << summary.failed << " of " << summary.handled << " entries failed"
            << Qt::endl;
        return 1;
    }
    return 0;
}

// The book at OUT.
int exportBook(const JournalTable& journal, const ExportArguments& parsed, QTextStream& out,
               QTextStream& err) {
    const ExportSummary summary =
        ExportBook(journal, parsed.folder, parsed.form, toolCallbacks(parsed.policy, err),
                   parsed.days, BookPageSize());
    if (summary.end == ExportEnd::kFolderFailed) {
        err << "export: " << QString(summary.folderError).replace(u'\n', u' ').simplified()
            << Qt::endl;
        return 1;
    }
    if (summary.skipped > 0) {
        out << "Kept the existing file " << parsed.folder << Qt::endl;
        return 0;
    }
    out << "Wrote " << summary.written << " of " << summary.handled << " entries to "
        << parsed.folder << " (" << summary.failed << " failed)" << Qt::endl;
    if (summary.failed > 0) {
        err << "export: " << summary.failed << " of " << summary.handled
            << " entries could not be read and were left out" << Qt::endl;
        return 1;
    }
    return 0;
}

}  // namespace

int runExportCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const std::optional<ExportArguments> parsed = parseArguments(args);
    if (!parsed) {
        err << "usage: " << exportCommandUsage() << Qt::endl;
        return 2;
    }
    if (!fileAccess().exists(parsed->journalFile)) {
        err << "export: no journal file \"" << parsed->journalFile << "\"" << Qt::endl;
        return 1;
    }
    const bool files = parsed->form == ExportForm::kRtfFiles;
    if (files && !QFileInfo(parsed->folder).isDir()) {
        err << "export: no folder \"" << parsed->folder << "\"" << Qt::endl;
        return 1;
    }
    if (!files && QFileInfo(parsed->folder).isDir()) {
        err << "export: \"" << parsed->folder << "\" is a folder; name the "
            << ExportFormKey(parsed->form) << " file to write" << Qt::endl;
        return 1;
    }
    try {
        JournalTable journal;
        journaltool::openJournalFile(journal, parsed->journalFile);
        const int code = files ? exportFiles(journal, *parsed, out, err)
                               : exportBook(journal, *parsed, out, err);
        journal.abandon();  // read only: the journal file is never rewritten
        return code;
    } catch (const Error& e) {
        err << "export: " << e.message() << Qt::endl;
        return 1;
    }
}

}  // namespace quillmere
