#include "end_of_run.h"

#include "store/journal_table.h"
#include "tools/journal/journal_generate.h"

#include <QFile>

namespace quillmere::bench {

void timeEndOneDayChanged(benchmark::State& state, const QString& path) {
    const QString bak = path + QStringLiteral(".bak");
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(bak);
        JournalTable journal;
        journal.OpenJournal(path);
        journal.StoreEntry(journaltool::generatedFirstDay() + 3,
                           "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 changed at sunrise " +
                               QByteArray::number(++round) + "\\par}");
        state.ResumeTiming();
        journal.closeKeepingPrevious(bak);
    }
    QFile::remove(bak);
}

}  // namespace quillmere::bench
