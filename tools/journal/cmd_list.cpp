// list FILE: every day with an entry, in date order, with the stored size.
#include "tools/journal/commands.h"

#include "store/journal_table.h"

namespace quillmere::journaltool {

namespace {

int runList(const QStringList& args, CommandIo& io) {
    requireArgs(args, 1, 1);
    JournalTable journal;
    openExistingJournal(journal, args[0]);
    QByteArray text;
    for (int i = 0; i < journal.recordCount(); ++i) {
        text += formatDay(journal.dayAt(i)).toUtf8() + '\t' +
                QByteArray::number(journal.entrySizeAt(i)) + '\n';
    }
    io.out.write(text);
    journal.abandon();
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(list, {"list", "FILE",
                                 "days with entries (yyyy-mm-dd, stored bytes), in date order",
                                 &quillmere::journaltool::runList})
