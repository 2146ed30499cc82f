#include "store/journal_salvage.h"

#include "store/coding.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/field_conv.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "store/packet_format.h"
#include "store/timestamp.h"
#include "store/type_word.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <zlib.h>

#include <cmath>
#include <limits>
#include <set>

namespace quillmere {

namespace {

using namespace packet;

// The program's journal: a date-time column and a blob column, whose
// metadata ends at offset 88 where the rows begin.
constexpr qsizetype kStandardRowOffset = 88;
constexpr uint32_t kDateType = 0x00080008;
constexpr uint32_t kEntryType = 0x004B0004;
// Stored date-times (milliseconds since the day before 1 January 0001) of
// 1 January 0001 and of the end of 31 December 9999.
constexpr double kFirstStored = double(kMillisPerDay);
constexpr double kLastStored = 3652059.0 * double(kMillisPerDay) + double(kMillisPerDay - 1);

// Where the journal's two columns are within a row.
struct Layout {
    qsizetype rowStart = kStandardRowOffset;
    bool dateFirst = true;
};

// Skips one attribute; false when it does not parse.
bool skipAttribute(ByteReader& in) {
    uint8_t nameLength;
    uint32_t type;
    QByteArrayView value;
    if (!in.getFixed8(&nameLength) || !in.skip(nameLength) || !in.getFixed32(&type)) {
        return false;
    }
    try {
        return makeConverter(type)->read(&in, &value);
    } catch (const Error&) {
        return false;
    }
}

// The layout the packet's own metadata describes, when it is intact and
// describes the journal.
std::optional<Layout> layoutFromMetadata(QByteArrayView packet) {
    ByteReader in(packet);
    uint32_t signature, headerSize;
    uint16_t columns;
    if (!in.getFixed32(&signature) || !in.skip(4) || !in.getFixed32(&headerSize) ||
        !in.getFixed16(&columns) || columns != 2) {
        return std::nullopt;
    }
    ByteReader meta(packet);
    if (!meta.skip(headerSize)) {
        return std::nullopt;
    }
    QByteArrayView names[2];
    uint32_t types[2];
    for (int c = 0; c < 2; ++c) {
        uint8_t nameLength;
        uint16_t flags, attributes;
        if (!meta.getFixed8(&nameLength) || !meta.getBytes(nameLength, &names[c]) ||
            !meta.getFixed32(&types[c]) || !meta.getFixed16(&flags) ||
            !meta.getFixed16(&attributes)) {
            return std::nullopt;
        }
        for (int a = 0; a < attributes; ++a) {
            if (!skipAttribute(meta)) {
                return std::nullopt;
            }
        }
    }
    uint16_t packetAttributes;
    if (!meta.getFixed16(&packetAttributes)) {
        return std::nullopt;
    }
    for (int a = 0; a < packetAttributes; ++a) {
        if (!skipAttribute(meta)) {
            return std::nullopt;
        }
    }
    Layout layout;
    layout.rowStart = packet.size() - meta.remaining();
    if (names[0] == "JournalDate" && types[0] == kDateType && names[1] == "JournalEntry" &&
        types[1] == kEntryType) {
        layout.dateFirst = true;
    } else if (names[1] == "JournalDate" && types[1] == kDateType && names[0] == "JournalEntry" &&
               types[0] == kEntryType) {
        layout.dateFirst = false;
    } else {
        return std::nullopt;
    }
    return layout;
}

bool plausibleStored(double stored) {
    return std::isfinite(stored) && stored >= kFirstStored && stored <= kLastStored &&
           stored == std::floor(stored);
}

// Why a blob cannot be trusted as an entry, or an empty string when it is
// one complete zlib stream that inflates and ends exactly where the blob
// ends (a stream that ends early would hide a damaged length).
QString entryProblem(QByteArrayView blob) {
    if (blob.size() > std::numeric_limits<uInt>::max()) {
        return QCoreApplication::translate("quillmere::JournalSalvage", "the entry is too large");
    }
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        return QString::fromLatin1(zlibErrorText(Z_MEM_ERROR));
    }
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(blob.data()));
    zs.avail_in = static_cast<uInt>(blob.size());
    char scratch[16384];
    int rc = Z_OK;
    do {
        zs.next_out = reinterpret_cast<Bytef*>(scratch);
        zs.avail_out = sizeof scratch;
        rc = inflate(&zs, Z_NO_FLUSH);
    } while (rc == Z_OK && (zs.avail_in > 0 || zs.avail_out == 0));
    const uInt left = zs.avail_in;
    inflateEnd(&zs);
    if (rc == Z_STREAM_END) {
        return left == 0 ? QString() : QCoreApplication::translate("quillmere::JournalSalvage", "bytes after the end of the entry");
    }
    if (rc == Z_OK || rc == Z_BUF_ERROR) {
        return QString::fromLatin1(zlibErrorText(Z_BUF_ERROR));
    }
    return QString::fromLatin1(zlibErrorText(rc == Z_NEED_DICT ? Z_DATA_ERROR : rc));
}

// One row read at an offset.
struct RowRead {
    bool complete = false;  // every byte of the row was there and sane
    bool trusted = false;   // complete, and the entry inflates
    bool blank = false;     // complete, with a blank date or entry
    std::optional<double> storedDate;
    QByteArray blob;
    qsizetype end = 0;   // offset after the row (when complete)
    uint8_t status = 0;  // the row status byte (damage when not 0)
    QString problem;
};

RowRead readRow(QByteArrayView packet, qsizetype at, const Layout& layout, bool strict) {
    RowRead row;
    ByteReader in(packet.sliced(at));
    uint8_t status, nulls;
    if (!in.getFixed8(&status) || !in.getFixed8(&nulls)) {
        row.problem = QCoreApplication::translate("quillmere::JournalSalvage", "the row is cut off");
        return row;
    }
    row.status = status;
    const uint8_t dateBlank = layout.dateFirst ? 0x01 : 0x04;
    const uint8_t entryBlank = layout.dateFirst ? 0x04 : 0x01;
    if ((nulls & ~(dateBlank | entryBlank)) != 0 || (strict && (status != 0 || nulls != 0))) {
        row.problem = QCoreApplication::translate("quillmere::JournalSalvage", "the row's flags are damaged");
        return row;
    }
    for (int column = 0; column < 2; ++column) {
        const bool isDate = (column == 0) == layout.dateFirst;
        if (nulls & (isDate ? dateBlank : entryBlank)) {
            continue;
        }
        if (isDate) {
            uint64_t bits;
            if (!in.getFixed64(&bits)) {
                row.problem = QCoreApplication::translate("quillmere::JournalSalvage", "the row is cut off");
                return row;
            }
            const double stored = DoubleFromBits(bits);
            if (!plausibleStored(stored)) {
                row.problem = QCoreApplication::translate("quillmere::JournalSalvage", "the date is damaged");
                return row;
            }
            row.storedDate = stored;
        } else {
            uint32_t length;
            QByteArrayView bytes;
            if (!in.getFixed32(&length) || !in.getBytes(qsizetype(length), &bytes)) {
                row.problem = QCoreApplication::translate("quillmere::JournalSalvage", "the row is cut off");
                return row;
            }
            row.blob = bytes.toByteArray();
        }
    }
    row.complete = true;
    row.end = packet.size() - in.remaining();
    if (!row.storedDate || row.blob.isEmpty()) {
        row.blank = true;
        row.problem = QCoreApplication::translate("quillmere::JournalSalvage", "the row has no date or no entry");
        return row;
    }
    const QString problem = entryProblem(row.blob);
    row.trusted = problem.isEmpty();
    if (!row.trusted) {
        row.problem = QCoreApplication::translate("quillmere::JournalSalvage", "the entry does not inflate (%1)").arg(problem);
    }
    return row;
}

// The first offset from `from` on where a trusted row starts, or the end.
qsizetype nextTrustedRow(QByteArrayView packet, qsizetype from, const Layout& layout) {
    for (qsizetype at = from; at + 2 < packet.size(); ++at) {
        if (packet[at] != 0 || packet[at + 1] != 0) {
            continue;
        }
        if (readRow(packet, at, layout, true).trusted) {
            return at;
        }
    }
    return packet.size();
}

class Salvager {
public:
    Salvager(QByteArrayView packet, const Layout& layout, SalvageResult& result)
        : packet_(packet), layout_(layout), result_(result) {}

    void run() {
        qsizetype at = layout_.rowStart;
        while (at < packet_.size()) {
            const RowRead row = readRow(packet_, at, layout_, false);
            if (row.trusted || row.blank) {
                keep(row, at);
                at = row.end;
                continue;
            }
            result_.losses.push_back({row.storedDate, at, 0, row.problem});
            // A row whose own length leads to a trusted row was damaged in
            // its content only; otherwise its length cannot be believed.
            if (row.complete &&
                (row.end == packet_.size() || readRow(packet_, row.end, layout_, true).trusted)) {
                at = row.end;
                continue;
            }
            const qsizetype next = nextTrustedRow(packet_, at + 1, layout_);
            result_.losses.back().length = next - at;
            at = next;
        }
    }

private:
    void keep(const RowRead& row, qsizetype at) {
        if (row.blank) {
            // A blank row holds no text: nothing to rescue, nothing lost.
            return;
        }
        if (!days_.insert(*row.storedDate).second) {
            result_.losses.push_back(
                {row.storedDate, at, 0, QCoreApplication::translate("quillmere::JournalSalvage", "a second record for the day, not kept")});
            return;
        }
        result_.entries.push_back({*row.storedDate, row.blob});
        if (row.status != 0) {
            // The program keeps such a row too, and `check` reports it.
            result_.strayStatuses.push_back({*row.storedDate, row.status});
        }
    }

    QByteArrayView packet_;
    Layout layout_;
    SalvageResult& result_;
    std::set<double> days_;
};

QString dayText(double stored) {
    return isoTextOfDayTime(StoredToDateTime(stored));
}

}  // namespace

QString StrayStatusProblem(uint8_t status) {
    return QCoreApplication::translate("quillmere::JournalSalvage", "the row's status byte is damaged (0x%1)")
        .arg(QString::number(status, 16).toUpper().rightJustified(2, QLatin1Char('0')));
}

SalvageResult salvageJournalPacket(QByteArrayView packet) {
    SalvageResult result;
    const bool signed_ =
        packet.size() >= qsizetype(kHeaderSize) && (DecodeFixed32(packet.data()) == kSignature ||
                                                    DecodeFixed32(packet.data()) == kAltSignature);
    std::optional<Layout> layout = signed_ ? layoutFromMetadata(packet) : std::nullopt;
    if (!layout) {
        result.layoutAssumed = true;
        layout = Layout();
        if (!signed_ && (packet.size() <= kStandardRowOffset ||
                         !readRow(packet, kStandardRowOffset, *layout, true).trusted)) {
            throw Error(QStringLiteral("not a binary journal packet"));
        }
    }
    if (signed_) {
        result.headerRows = DecodeFixed32(packet.data() + kRowCountOffset);
        // Damaged metadata may still parse, with the rows' start in the wrong
        // place: the first of the places the rows may begin where a trusted
        // row starts is taken.
        std::vector<qsizetype> starts{layout->rowStart};
        if (DecodeFixed32(packet.data() + kFlagsOffset) & kFlagRowOffset) {
            starts.push_back(DecodeFixed16(packet.data() + kRowOffsetOffset));
        }
        starts.push_back(kStandardRowOffset);
        for (const qsizetype start : starts) {
            if (start >= qsizetype(kHeaderSize) && start < packet.size() &&
                readRow(packet, start, *layout, false).trusted) {
                layout->rowStart = start;
                break;
            }
        }
    }
    Salvager(packet, *layout, result).run();
    return result;
}

QString salvageReport(const SalvageResult& result) {
    QString text;
    if (result.layoutAssumed) {
        text += QStringLiteral(
            "the column descriptions are damaged; the journal's own layout was assumed\n");
    }
    for (const auto& [stored, status] : result.strayStatuses) {
        text += QStringLiteral("%1: kept, %2\n").arg(dayText(stored), StrayStatusProblem(status));
    }
    int daysLost = 0;
    for (const SalvageLoss& loss : result.losses) {
        if (loss.storedDate) {
            ++daysLost;
            text += QStringLiteral("%1: lost, %2 (at byte %3)\n")
                        .arg(dayText(*loss.storedDate), loss.reason)
                        .arg(loss.offset);
        }
        if (loss.length > 0) {
            text += QStringLiteral(
                        "bytes %1 to %2: damaged, passed over (any day recorded there is lost)\n")
                        .arg(loss.offset)
                        .arg(loss.offset + loss.length - 1);
        }
    }
    const auto counted = [](qsizetype n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    text += QStringLiteral("Rescued %1; %2 known lost")
                .arg(counted(qsizetype(result.entries.size()), "entry", "entries"),
                     counted(daysLost, "day", "days"));
    if (result.headerRows) {
        text += QStringLiteral("; the header counts %1 rows").arg(*result.headerRows);
    }
    return text + QLatin1Char('\n');
}

QByteArray salvageablePacket(const QByteArray& bytes, const FileCipher* cipher, const QString& path,
                             QString* chunkNote) {
    if (!IsSealedDataFile(bytes)) {
        return bytes;
    }
    if (cipher == nullptr) {
        throw Error(QStringLiteral("\"%1\" is encrypted: its password is needed to rescue it")
                        .arg(QDir::toNativeSeparators(path)));
    }
    IntactPlain intact = cipher->openIntact(bytes, path);
    if (!intact.complete && chunkNote != nullptr) {
        *chunkNote = QStringLiteral(
                         "Encrypted chunks: %1 opened; the rest, from byte %2, does not open and "
                         "is lost\n")
                         .arg(intact.chunks)
                         .arg(intact.damagedAt);
    }
    return std::move(intact.plain);
}

void salvageJournal(const QString& damaged, const QString& out, QIODevice& report,
                    const SalvageKey& keyFor) {
    if (QFileInfo(damaged).absoluteFilePath() == QFileInfo(out).absoluteFilePath()) {
        throw Error(QStringLiteral("the rescued journal must go to a new file, not over \"%1\"")
                        .arg(damaged));
    }
    if (fileAccess().exists(out) || QFileInfo::exists(out)) {
        throw Error(
            QStringLiteral("\"%1\" exists already; salvage writes new files only").arg(out));
    }
    QByteArray bytes = fileAccess().readAll(damaged);
    // An encrypted journal: the chunks before the first damaged one give the
    // packet's start, whose rows are rescued as from a plain file; the new
    // journal is encrypted with the same key.
    std::shared_ptr<const FileCipher> cipher;
    QString chunkLine;
    if (IsSealedDataFile(bytes)) {
        if (!keyFor) {
            throw Error(QStringLiteral("\"%1\" is encrypted: its password is needed to rescue it")
                            .arg(QDir::toNativeSeparators(damaged)));
        }
        cipher = keyFor(bytes, damaged);
        bytes = salvageablePacket(bytes, cipher.get(), damaged, &chunkLine);
        if (bytes.isEmpty()) {
            report.write(chunkLine.toUtf8());
            throw Error(QStringLiteral("no entry could be rescued; nothing was written"));
        }
    }
    const SalvageResult result = salvageJournalPacket(bytes);
    if (result.entries.empty()) {
        report.write((chunkLine + salvageReport(result)).toUtf8());
        throw Error(QStringLiteral("no entry could be rescued; nothing was written"));
    }
    JournalTable journal;
    journal.setCipher(cipher);
    journal.OpenJournal(out);
    for (const SalvagedEntry& entry : result.entries) {
        journal.StoreDay(StoredToDateTime(entry.storedDate), [&entry] { return entry.blob; });
    }
    journal.close();
    report.write((chunkLine + salvageReport(result)).toUtf8());
}

}  // namespace quillmere
