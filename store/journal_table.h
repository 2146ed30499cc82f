// The journal table `tblJournal`: one record per day, `JournalDate` (a whole
// day value) and `JournalEntry` (the entry's RTF compressed by
// EncodeEntryContent). It is kept in "Journal.cds" and viewed through an
// in-memory index on `JournalDate` (ascending, not unique), rebuilt whenever
// the file is opened; the file itself keeps the rows in insertion order.
// Opening reads the days and where each entry lies in the file; an entry's
// bytes are read from the file when they are asked for, so a diary of
// photographs costs memory for its days, not for its pictures.
#pragma once

#include "store/stored_table.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <utility>
#include <vector>

namespace quillmere {

inline constexpr char kJournalDateField[] = "JournalDate";
inline constexpr char kJournalEntryField[] = "JournalEntry";

// The main window's step that moves the current day and its date header.
using SetCurrentDayFn = std::function<void(double day)>;

class JournalTable : public StoredTable {
public:
    explicit JournalTable(const QString& name = QStringLiteral("tblJournal"));

    // Opens the journal file: missing, an empty table in memory; present, read
    // whole and indexed by date. Throws as StoredTable::open, and Error
    // "<name>: Field 'JournalDate' not found" for a packet without the
    // journal's fields; the table then stays closed.
    void OpenJournal(const QString& path);

    // Records in ascending date order, for the search and the export.
    // `index` runs from 0 to recordCount() - 1.
    double dayAt(int index) const;
    // The stored blob (shared, not copied when it was stored in this run;
    // read from the file when it was read from there). Throws FileError when
    // the file was cut short or changed by another program meanwhile.
    QByteArray entryAt(int index) const;
    // The size of the stored blob in bytes, without reading it.
    qint64 entrySizeAt(int index) const;
    // Where the stored blob is, to be read later (also on another thread).
    StoredValue storedEntryAt(int index) const;

    // The rows the file held with a row status this program never writes
    // (damage; see DSBASE::strayStatuses): their day and the byte read, in
    // file order. They are in the table like every other row.
    struct StrayRow {
        double day;
        uint8_t status;
    };
    std::vector<StrayRow> rowsWithStrayStatus() const;

    // Exact-match lookup: the date-order index of the record whose
    // `JournalDate` equals `day` in whole milliseconds, or -1. Throws the
    // closed-table error when closed.
    int find(double day) const;
    // The date-order index of the first record dated at or after `day`
    // (recordCount() when none is): with dayAt, the days of any stretch of
    // the calendar without reading an entry. Throws the closed-table error
    // when closed.
    int firstIndexFrom(double day) const;
    // find() that also makes the found record the current record.
    bool Locate(double day);
    // Position on the earliest / latest record; false when empty. Throw the
    // closed-table error when closed.
    bool First();
    bool Last();

    // Fields of the current record (or of the record being edited/inserted).
    // Throw the closed-table error when closed; blank values read as 0 / empty.
    // JournalEntry throws FileError as entryAt does.
    double JournalDate() const;
    QByteArray JournalEntry() const;
    // Setters for the record being edited or inserted. setJournalDate throws
    // DatasetError "'%d.%d' is not a valid timestamp" for a day before
    // 1 January 0001; an empty blob makes the entry blank.
    void setJournalDate(double day);
    void setJournalEntry(const QByteArray& blob);

    // Stores the entry of `day`: updates the day's record when there is one,
    // else inserts one, so the table never holds two records for a day.
    // `encodedContent` produces the blob (EncodeEntryContent of the editor's
    // RTF) while the record is being edited; when it or the post throws, the
    // change is cancelled, nothing of it remains, and the error passes on.
    // Throws the closed-table error when closed.
    void StoreDay(double day, const std::function<QByteArray()>& encodedContent);
    // StoreDay with EncodeEntryContent(rtf).
    void StoreEntry(double day, const QByteArray& rtf);

    // The day with an entry at or before `currentDay` (the caller has
    // already moved one day back). Empty table or earliest entry later than
    // `currentDay`: `currentDay`. Latest entry earlier: that entry's day, at
    // once. Otherwise walks back a day at a time, calling setCurrentDay for
    // every day it moves to, until a day is found. Should the walk pass over a
    // stored date without matching it (a file whose dates carry a time of
    // day), it stops on that record's date and calls setCurrentDay with it.
    // Throws the closed-table error when closed.
    double FindPreviousEntryDay(double currentDay, const SetCurrentDayFn& setCurrentDay);
    // The mirror image, walking forward. A closed or empty table gives
    // `currentDay`.
    double FindNextEntryDay(double currentDay, const SetCurrentDayFn& setCurrentDay);

protected:
    int insertPosition() const override { return data().recordCount(); }
    bool readsLazily() const override { return true; }
    void afterOpen() override;
    void afterPost(uint32_t id, bool inserted) override;

private:
    using Key = std::pair<double, uint32_t>;  // stored JournalDate, record id
    double keyOf(uint32_t id) const;
    std::vector<Key>::const_iterator lowerBound(double key) const;
    int indexOfRecord(uint32_t id) const;

    int dateColumn_ = 0;
    int entryColumn_ = 1;
    std::vector<Key> index_;  // ascending by date, equal dates in insertion order
    int position_ = -1;       // index_ position of the current record
};

}  // namespace quillmere
