#include "generated_journals.h"

#include "tools/journal/journal_generate.h"

#include <QDir>

#include <cstdio>
#include <map>

namespace quillmere::bench {

namespace {

constexpr quint32 kSeed = 20100615;
constexpr int kEntryBytes = 2048;

}  // namespace

QTemporaryDir& scratchFolder() {
    static QTemporaryDir dir = [] {
        QTemporaryDir made(QDir::tempPath() + QStringLiteral("/quillmere-bench-XXXXXX"));
        // QUILLMERE_BENCH_KEEP=1 keeps the folder and its journals, to try
        // them in the real program; its path goes to stderr.
        if (qEnvironmentVariableIntValue("QUILLMERE_BENCH_KEEP") == 1) {
            made.setAutoRemove(false);
            std::fprintf(stderr, "Generated journals are kept in %s\n", qPrintable(made.path()));
        }
        return made;
    }();
    return dir;
}

QString generatedJournal(int days) {
    static std::map<int, QString> made;
    auto it = made.find(days);
    if (it == made.end()) {
        const QString path = scratchFolder().filePath(QStringLiteral("Journal-%1.cds").arg(days));
        journaltool::generateJournal(path, days, kSeed, kEntryBytes);
        it = made.emplace(days, path).first;
    }
    return it->second;
}

}  // namespace quillmere::bench
