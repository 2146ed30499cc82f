// text FILE DAY: the entry's displayed text, read the way the editor reads it.
#include "tools/journal/commands.h"

#include "editor/rtf/conversions.h"
#include "store/journal_table.h"

namespace quillmere::journaltool {

namespace {

int runText(const QStringList& args, CommandIo& io) {
    requireArgs(args, 2, 2);
    const double day = parseDay(args[1]);
    JournalTable journal;
    openExistingJournal(journal, args[0]);
    const int at = journal.find(day);
    if (at < 0) {
        throw Error(QStringLiteral("no entry for %1").arg(args[1]));
    }
    QString text = rtf::entryTextOfBlob(journal.entryAt(at));
    journal.abandon();
    if (!text.endsWith(QLatin1Char('\n'))) {
        text += QLatin1Char('\n');
    }
    print(io.out, text);
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(text, {"text", "FILE DAY", "the displayed text of the entry of DAY",
                                 &quillmere::journaltool::runText})
