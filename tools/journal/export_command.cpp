#include "tools/journal/export_command.h"

#include "tools/journal/passwords.h"

#include "export/core/export_core.h"
#include "store/day.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QFileInfo>

#include <optional>

namespace quillmere {

namespace {

enum class ExistingFilePolicy { kFail, kOverwrite, kSkip };

struct ExportArguments {
    QString journalFile;
    QString folder;
    ExistingFilePolicy policy = ExistingFilePolicy::kFail;
};

std::optional<ExportArguments> parseArguments(const QStringList& args) {
    ExportArguments parsed;
    QStringList positional;
    bool policySet = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--overwrite") || arg == QLatin1String("--skip-existing")) {
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
    return QStringLiteral("export FILE FOLDER [--overwrite|--skip-existing]");
}

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
    if (!QFileInfo(parsed->folder).isDir()) {
        err << "export: no folder \"" << parsed->folder << "\"" << Qt::endl;
        return 1;
    }
    try {
        JournalTable journal;
        journaltool::openJournalFile(journal, parsed->journalFile);
        const ExportSummary summary =
            ExportEntries(journal, parsed->folder, toolCallbacks(parsed->policy, err));
        journal.abandon();  // read only: the journal file is never rewritten
        if (summary.end == ExportEnd::kFolderFailed) {
            // One line for the folder, not one per entry.
            err << "export: " << FolderFailureText(summary).replace(u'\n', u' ').simplified()
                << Qt::endl;
            return 1;
        }
        out << "Exported " << summary.written << " of " << summary.handled << " entries to "
            << parsed->folder << " (" << summary.skipped << " kept, " << summary.failed
            << " failed)" << Qt::endl;
        if (summary.failed > 0) {
            err << "export: " << summary.failed << " of " << summary.handled << " entries failed"
                << Qt::endl;
            return 1;
        }
        return 0;
    } catch (const Error& e) {
        err << "export: " << e.message() << Qt::endl;
        return 1;
    }
}

}  // namespace quillmere
