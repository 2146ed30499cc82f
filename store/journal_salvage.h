// Salvage of a damaged journal: every row of a binary "Journal.cds" packet
// that can be trusted is kept, the rest is reported. The journal tool's
// `salvage` command and the program's rescue of a damaged diary at start both
// read damaged journals through this one reader.
//
// A row is trusted when it parses completely (status, null flags, a whole
// date-time, a blob whose length fits the data) and its entry inflates. The
// reader does not believe the header's row count: it reads rows until the data
// ends. After a row that cannot be trusted it goes on at the row's own end
// when a trusted row starts there, else it searches byte by byte for the next
// place where a trusted row starts (status 0, null flags 0, a day between the
// years 1 and 9999, a blob that inflates), so one damaged length or one
// damaged entry costs that row only. When the column descriptors are damaged
// the program's own journal layout (a date column, then the entry column,
// rows from offset 88) is assumed.
#pragma once

#include "store/file_cipher.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QIODevice;

namespace quillmere {

// One entry rescued: its stored date-time (the packet's double, unchanged)
// and its blob exactly as stored.
struct SalvagedEntry {
    double storedDate = 0;
    QByteArray blob;
};

// Something that could not be rescued.
struct SalvageLoss {
    std::optional<double> storedDate;  // the day, when its date was readable
    qsizetype offset = 0;              // where the damage starts in the file
    qsizetype length = 0;              // bytes passed over (0 for a whole row)
    QString reason;
};

struct SalvageResult {
    std::vector<SalvagedEntry> entries;  // in file order, one per day
    std::vector<SalvageLoss> losses;     // in file order
    // Entries kept whose row status byte was not 0 (damage): the stored
    // date-time and the byte, in file order.
    std::vector<std::pair<double, uint8_t>> strayStatuses;
    std::optional<quint32> headerRows;  // the header's row count, when read
    bool layoutAssumed = false;         // column descriptors were damaged
};

// How `check` and `salvage` describe a row status byte that is not 0:
// "the row's status byte is damaged (0x01)".
QString StrayStatusProblem(uint8_t status);

// Reads what can be trusted of a binary journal packet. Never reads past the
// end of `packet`. Throws Error when the bytes are not a binary journal
// packet at all (no journal signature and no trusted row at offset 88).
SalvageResult salvageJournalPacket(QByteArrayView packet);

// The report lines of a salvage: one line per entry kept despite a damaged
// row status ("yyyy-mm-dd: kept, ..."), one per loss ("yyyy-mm-dd: lost,
// ...", or the bytes passed over), then the summary.
QString salvageReport(const SalvageResult& result);

// The data packet that the bytes of a damaged journal file at `path` still
// give: a plain file's bytes as they are; for an encrypted file, the plain
// bytes of its chunks before the first one that does not open, through
// `cipher` (its key), and, when chunks were lost, a report line in
// `chunkNote` (if given). Throws Error naming the file for an encrypted file
// without a cipher, and as FileCipher::openIntact.
QByteArray salvageablePacket(const QByteArray& bytes, const FileCipher* cipher, const QString& path,
                             QString* chunkNote);

// The cipher of the encrypted journal at `path` whose bytes are `head` (the
// journal tool asks for the password). Throws Error for a wrong password.
using SalvageKey =
    std::function<std::shared_ptr<const FileCipher>(QByteArrayView head, const QString& path)>;

// Reads `damaged`, writes the rescued entries as a fresh journal at `out` and
// prints the report to `report`. An encrypted journal is opened through
// `keyFor`: the rows of its intact chunks are rescued and `out` is encrypted
// with the same key. Throws Error when `out` exists (a journal is never
// overwritten), when both name the same file, when `damaged` is not a binary
// journal packet or is encrypted and `keyFor` is empty, errors of `keyFor`,
// and FileError when a file cannot be read or written.
void salvageJournal(const QString& damaged, const QString& out, QIODevice& report,
                    const SalvageKey& keyFor = {});

}  // namespace quillmere
