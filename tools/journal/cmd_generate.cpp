// generate FILE --days N [--seed S] [--size BYTES]: a sample journal.
#include "tools/journal/commands.h"

#include "tools/journal/journal_generate.h"

namespace quillmere::journaltool {

namespace {

// Limits of a generated journal: 100 000 days is over 270 years, and one
// entry of 16 MiB is far beyond anything typed.
constexpr qint64 kMaxDays = 100000;
constexpr qint64 kMaxEntrySize = 16 << 20;

int runGenerate(const QStringList& args, CommandIo&) {
    if (args.size() < 3 || args.size() % 2 == 0) {
        throw UsageError(QStringLiteral("wrong number of arguments"));
    }
    int days = -1;
    quint32 seed = 1;
    int size = 2048;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--days")) {
            days = static_cast<int>(parseRange(args[i + 1], "--days", 0, kMaxDays));
        } else if (args[i] == QLatin1String("--seed")) {
            seed = static_cast<quint32>(parseRange(args[i + 1], "--seed", 0, 0xFFFFFFFF));
        } else if (args[i] == QLatin1String("--size")) {
            size = static_cast<int>(parseRange(args[i + 1], "--size", 1, kMaxEntrySize));
        } else {
            throw UsageError(QStringLiteral("unknown option \"%1\"").arg(args[i]));
        }
    }
    if (days < 0) {
        throw UsageError(QStringLiteral("--days is required"));
    }
    generateJournal(args[0], days, seed, size);
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(generate, {"generate", "FILE --days N [--seed S] [--size BYTES]",
                                     "a new journal of N consecutive days of sample entries",
                                     &quillmere::journaltool::runGenerate})
