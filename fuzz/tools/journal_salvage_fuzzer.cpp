// Feeds arbitrary bytes to the journal salvage. Besides crashes it checks the
// salvage's promises: every rescued entry inflates and belongs to a day of
// its own, and the rescued entries written as a fresh journal salvage again
// to exactly the same entries with nothing lost.
#include "store/dataset.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/journal_salvage.h"
#include "store/journal_table.h"
#include "store/timestamp.h"

#include <cstddef>
#include <cstdint>
#include <set>

using namespace quillmere;

namespace {

// The rescued entries as a journal packet, written the way the program
// writes its journal.
QByteArray packetOf(const SalvageResult& result) {
    DSBASE table;
    table.createTable(
        {FieldDeclaration::dateTime("JournalDate"), FieldDeclaration::blob("JournalEntry")});
    table.setLogChanges(false);
    for (const SalvagedEntry& entry : result.entries) {
        RecordBuffer record = table.blankRecord();
        table.setDateTime(record, 0, StoredToDateTime(entry.storedDate));
        table.setBytes(record, 1, entry.blob);
        table.insertRecord(table.recordCount(), std::move(record));
    }
    return table.savePacket();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SalvageResult result;
    try {
        result = salvageJournalPacket(bytes);
    } catch (const Error&) {
        return 0;
    }
    std::set<double> days;
    for (const SalvagedEntry& entry : result.entries) {
        if (!days.insert(entry.storedDate).second) {
            __builtin_trap();  // two entries for one day
        }
        DecodeEntryContent(entry.blob);  // throws (and so fails) if it does not inflate
    }
    (void)salvageReport(result);
    if (result.entries.empty()) {
        return 0;
    }
    const QByteArray clean = packetOf(result);
    const SalvageResult again = salvageJournalPacket(clean);
    if (!again.losses.empty() || again.layoutAssumed ||
        again.entries.size() != result.entries.size()) {
        __builtin_trap();
    }
    for (size_t i = 0; i < again.entries.size(); ++i) {
        if (again.entries[i].storedDate != result.entries[i].storedDate ||
            again.entries[i].blob != result.entries[i].blob) {
            __builtin_trap();
        }
    }
    return 0;
}
