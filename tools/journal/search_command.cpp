#include "tools/journal/search_command.h"

#include "tools/journal/passwords.h"

#include "search/core/journal_search.h"
#include "store/day.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <limits>
#include <optional>

namespace quillmere {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct SearchArguments {
    QString file;
    QString text;
    SearchRange range{-std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::infinity()};
};

// Fills `parsed` from the arguments; returns the problem, or an empty string.
QString parseArguments(const QStringList& args, SearchArguments& parsed) {
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--from") || arg == QLatin1String("--to")) {
            if (i + 1 >= args.size()) {
                return QStringLiteral("%1 needs a day").arg(arg);
            }
            const std::optional<double> day = dayFromIsoText(args[++i]);
            if (!day) {
                return QStringLiteral("not a day (yyyy-mm-dd): %1").arg(args[i]);
            }
            (arg == QLatin1String("--from") ? parsed.range.from : parsed.range.to) = *day;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option: %1").arg(arg);
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 2) {
        return QStringLiteral("expected FILE and TEXT");
    }
    parsed.file = positional[0];
    parsed.text = positional[1];
    if (parsed.text.isEmpty()) {
        return QStringLiteral("the search text is empty");
    }
    return {};
}

}  // namespace

int runSearchCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    SearchArguments parsed;
    const QString problem = parseArguments(args, parsed);
    if (!problem.isEmpty()) {
        err << "search: " << problem << '\n' << kSearchCommandUsage << '\n';
        err.flush();
        return kExitUsage;
    }
    try {
        if (!fileAccess().exists(parsed.file)) {
            throw FileError(QStringLiteral("%1: no such file").arg(parsed.file));
        }
        JournalTable journal;
        journaltool::openJournalFile(journal, parsed.file);
        const JournalSearchResult result = searchJournal(journal, parsed.text, parsed.range);
        journal.abandon();  // only read: never written back
        for (double day : result.days) {
            out << isoTextOfDay(day) << '\n';
        }
        out.flush();
        // Every day was searched but these: one line each, after the days
        // found.
        for (const UnreadableEntry& entry : result.unreadable) {
            err << "search: " << isoTextOfDay(entry.day) << ": could not read the entry ("
                << entry.message << ")\n";
        }
        err.flush();
        return result.unreadable.empty() ? kExitOk : kExitFailure;
    } catch (const Error& error) {
        err << "search: " << error.message() << '\n';
        err.flush();
        return kExitFailure;
    }
}

}  // namespace quillmere
