// generate FILE --days N [--seed S] [--size BYTES]: a sample journal.
#include "tools/journal/commands.h"

#include "tools/journal/journal_generate.h"

namespace quillmere::journaltool {

namespace {

int number(const QString& text, const char* option, int min) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min) {
        throw UsageError(
            QStringLiteral("%1 needs a number of at least %2").arg(QLatin1String(option)).arg(min));
    }
    return value;
}

int runGenerate(const QStringList& args, CommandIo&) {
    if (args.size() < 3 || args.size() % 2 == 0) {
        throw UsageError(QStringLiteral("wrong number of arguments"));
    }
    int days = -1;
    int seed = 1;
    int size = 2048;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--days")) {
            days = number(args[i + 1], "--days", 0);
        } else if (args[i] == QLatin1String("--seed")) {
            seed = number(args[i + 1], "--seed", 0);
        } else if (args[i] == QLatin1String("--size")) {
            size = number(args[i + 1], "--size", 1);
        } else {
            throw UsageError(QStringLiteral("unknown option \"%1\"").arg(args[i]));
        }
    }
    if (days < 0) {
        throw UsageError(QStringLiteral("--days is required"));
    }
    generateJournal(args[0], days, static_cast<quint32>(seed), size);
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(generate, {"generate", "FILE --days N [--seed S] [--size BYTES]",
                                     "a new journal of N consecutive days of sample entries",
                                     &quillmere::journaltool::runGenerate})
