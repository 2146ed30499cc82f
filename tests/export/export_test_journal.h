// Journals and recorders for the export tests: a journal table opened in a
// temporary folder and filled through the store's own API, callbacks that
// answer overwrite questions from a script and log everything the loop does,
// and a file access that refuses every write.
#pragma once

#include "export/core/export_core.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <deque>

namespace exporttest {

// An open journal table whose file lies in `folder`; it is never written.
class TestJournal {
public:
    explicit TestJournal(const QString& folder);
    ~TestJournal();

    quillmere::JournalTable& table() { return table_; }

    // Stores `rtf` as the entry of `date` the way the main window does.
    void store(const QDate& date, const QByteArray& rtf);
    // Inserts a record with exactly `blob` as its JournalEntry, whether or not
    // the day has one already (two records of one day, damaged content).
    void insertRaw(const QDate& date, const QByteArray& blob);

private:
    quillmere::JournalTable table_;
};

// RTF of an entry with some text, characters above 127 and CR LF line ends,
// distinct per `tag`.
QByteArray sampleRtf(const QString& tag);

// An RTF document without text, as the editor stores an emptied entry.
QByteArray emptyDocumentRtf();

// Names of the files in `folder`, sorted.
QStringList filesIn(const QString& folder);

// Callbacks that record the loop's calls in order ("ask <path>", "error
// <message>", "bar", "events", "counter") and answer questions from a script;
// failed entries are gone past unless stopAtError says otherwise.
class Recorder {
public:
    quillmere::ExportCallbacks callbacks();

    std::deque<bool> answers;  // popped per question; Yes when empty
    int cancelAfterBar = -1;   // cancelled() turns true once this many bars ran
    int stopAtError = -1;      // entryFailed answers kStop at this many errors
    QStringList log;
    QStringList questions;
    QStringList errors;
    int bars = 0;
    int counters = 0;
    int written = -1;  // the last count showWritten gave
};

}  // namespace exporttest
