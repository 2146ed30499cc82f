// The in-memory table the journal and the settings record live in, and its
// packet form (binary as in packet_format.h; XML as in dataset_xml.cpp).
//
// Records are kept in slots that never move; the table's default order is a
// separate list of slot ids in insertion order (the order rows are written
// in). Values loaded from a packet stay where the packet is (PacketSource):
// in its bytes in memory, which the table keeps (shared, not copied), or in
// the data file itself, which the table keeps open and reads a value from
// when it is asked for. A value set later is held on its own. Blob values are
// implicitly shared QByteArrays, never copied per field.
//
// Every row read from a packet remembers where it lies in the packet. While
// it is unchanged and would be written back byte for byte, a save copies it
// from there whole: from a file, by the system, without reading it.
#pragma once

#include "store/file_access.h"
#include "store/packet_source.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace quillmere {

enum class PacketForm { kBinary, kXml };

// kXml when `path` ends in ".xml" (any letter case), else kBinary.
PacketForm packetFormFor(const QString& path);

// An attribute kept as read, written back unchanged: its value is in packet
// form (with the length prefix of a varying type).
struct Attribute {
    QByteArray name;
    uint32_t typeWord = 0;
    QByteArray value;
};

// What a table definition asks for.
struct FieldDeclaration {
    QByteArray name;
    uint32_t typeWord = 0;
    int width = 0;
    int subtype = 0;

    static FieldDeclaration string(const QByteArray& name, int width);
    static FieldDeclaration integer32(const QByteArray& name);
    static FieldDeclaration dateTime(const QByteArray& name);
    // A binary blob; subtype 23 ("Binary") unless told otherwise.
    static FieldDeclaration blob(const QByteArray& name, int subtype = 23);
};

struct FieldDef {
    QByteArray name;
    uint32_t typeWord = 0;
    uint16_t flags = 0;
    int width = 0;
    int subtype = 0;    // 0: none; 255: a name the engine does not know
    int decimals = -1;  // -1: no scale
    bool calculated = false;
    std::vector<Attribute> kept;

    // Read-only columns: flagged so, or of subtype "Autoinc".
    bool readOnly() const;
};

// One value of a record.
struct Cell {
    enum State : uint8_t { kBlank, kFixed, kOwned, kView };
    QByteArray owned;          // kOwned: the value's bytes
    uint64_t fixed = 0;        // kFixed: up to 8 value bytes, little-endian
    qsizetype viewOffset = 0;  // kView: where the value sits in the packet source
    uint32_t viewLength = 0;
    State state = kBlank;
};

// A value's bytes wherever they are: held in memory, or a range of a packet
// source. Copies are cheap and keep the source open; read() may be called
// from any thread, also after the table moved on or closed.
class StoredValue {
public:
    StoredValue() = default;
    // Bytes held in memory (also given as a plain QByteArray).
    StoredValue(QByteArray held) : held_(std::move(held)), length_(held_.size()) {}  // NOLINT
    StoredValue(std::shared_ptr<const PacketSource> source, qint64 offset, qint64 length)
        : source_(std::move(source)), offset_(offset), length_(length) {}

    qint64 size() const { return length_; }
    bool isEmpty() const { return length_ == 0; }
    // The bytes. Throws FileError as PacketSource::readInto does when the
    // file was cut short or cannot be read.
    QByteArray read() const;

private:
    QByteArray held_;
    std::shared_ptr<const PacketSource> source_;
    qint64 offset_ = 0;
    qint64 length_ = 0;
};

using RecordBuffer = std::vector<Cell>;

struct ExtractedValue;

// Subtype numbers and their names in the packet ("Text" 22, "Binary" 23, ...).
QByteArray subtypeName(int subtype);     // empty for a number without a name
int subtypeNumber(QByteArrayView name);  // 255 for an unknown name

// DSBASE: one in-memory table (the dataset) with its columns, its rows in
// stable slots, the default row order and the change log; it reads and
// writes itself as a binary or XML data packet.
class DSBASE {
public:
    DSBASE() = default;
    DSBASE(const DSBASE&) = delete;
    DSBASE& operator=(const DSBASE&) = delete;

    // Defines the columns of a new, empty table. Throws DatasetError (code 0)
    // "Fieldname %s exceeds %d chars" for a name longer than 31 characters,
    // and 0x2710 for an unsupported type; the table is then left cleared.
    void createTable(const std::vector<FieldDeclaration>& fields);

    // Builds the table from packet bytes (binary, or XML when they do not
    // start with the binary signature). The bytes are kept, shared. A row
    // status other than 0 in a packet without a change log is damage: the
    // row is kept (as status 0) and listed in strayStatuses(). Throws
    // DatasetError with the status of the failure (0x4005 not a packet or
    // damaged, 0x4003 no column descriptors, 0x2702 string without width,
    // 0x2710 unsupported type); the table is then left cleared.
    void loadPacket(const QByteArray& packet);

    // Builds the table from the binary packet that is the whole of `file`,
    // reading only the rows' structure: every varying value (an entry's
    // blob) stays in the file and is read when it is asked for; the file is
    // kept open for that. A file that is not a binary packet (XML) is read
    // whole and loaded as loadPacket does. Throws as loadPacket, and
    // FileError when the file cannot be read; the table is then left cleared.
    void loadPacketFile(std::shared_ptr<const OpenFile> file);

    // Takes over the whole content of `other` (fields, rows, packet bytes,
    // change logging); `other` is left cleared. Never throws.
    void takeContent(DSBASE& other);

    // The whole table as one packet, rows in default order. With change
    // logging off records marked deleted or superseded are left out and the
    // others are written with status 0. Throws DatasetError 0x2A04 for a
    // column named "RowState", 0x2501 when memory runs out, FileError when a
    // value kept in the data file cannot be read.
    QByteArray savePacket(PacketForm form = PacketForm::kBinary) const;

    // The same binary packet, streamed into `sink`: rows unchanged since
    // they were read are copied from the packet source as they stand (from a
    // file, without passing through memory), the others are written from
    // memory a piece at a time. Throws as savePacket and as the sink does.
    void writePacket(FileSink& sink) const;

    // About how many bytes savePacket gives.
    qsizetype estimatedPacketSize() const;

    // Forgets columns and records.
    void clear();
    bool hasFields() const { return !fields_.empty(); }

    void setLogChanges(bool on) { logChanges_ = on; }
    bool logChanges() const { return logChanges_; }

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const FieldDef& field(int column) const { return fields_[static_cast<size_t>(column)]; }
    int fieldIndex(QByteArrayView name) const;  // -1 when there is none
    const std::vector<Attribute>& packetAttributes() const { return packetAttributes_; }

    // Rows loaded with a status byte that only a change log could explain,
    // in file order: the record and the byte read.
    struct StrayStatus {
        uint32_t id;
        uint8_t status;
    };
    const std::vector<StrayStatus>& strayStatuses() const { return strayStatuses_; }

    // Records in default order.
    int recordCount() const { return static_cast<int>(order_.size()); }
    uint32_t recordId(int position) const { return order_[static_cast<size_t>(position)]; }
    int positionOf(uint32_t id) const;  // -1 when not in the default order
    const Cell& cell(uint32_t id, int column) const;

    RecordBuffer blankRecord() const { return RecordBuffer(fields_.size()); }
    RecordBuffer readRecord(uint32_t id) const;
    // Replaces a record's values (the post of an edit).
    void writeRecord(uint32_t id, RecordBuffer values);
    // Adds a record at `position` of the default order (recordCount() to
    // append) and returns its id.
    uint32_t insertRecord(int position, RecordBuffer values);
    // Marks a record deleted; it leaves the default order and the file.
    void deleteRecord(uint32_t id);

    // Reading values, from a stored record's cell or a buffer's.
    static bool isBlank(const Cell& c) { return c.state == Cell::kBlank; }
    int64_t integerValue(const Cell& c, int column) const;
    // The stored (millisecond) form of a date-time cell.
    double storedDateTime(const Cell& c) const;
    // A string up to its first 0 byte.
    QByteArray stringValue(const Cell& c) const;
    // A blob's bytes (shared when held on their own), read from the data
    // file when they are kept there. Throws FileError when they cannot be
    // read (the file was cut short or changed by another program).
    QByteArray bytesValue(const Cell& c) const;
    // The number of bytes of a value (8 for a fixed one, 0 for a blank one).
    qint64 bytesSize(const Cell& c) const;
    // Where a value's bytes are, for reading them later or on another thread.
    StoredValue storedValue(const Cell& c) const;
    // Where the values loaded from a packet are (nullptr for a created table).
    const std::shared_ptr<const PacketSource>& source() const { return source_; }

    // Setting values in a buffer; `column` must be of a fitting type.
    static void setBlank(RecordBuffer& r, int column);
    void setInteger(RecordBuffer& r, int column, int64_t value) const;
    // Converts a day value to the stored form. Throws DatasetError as
    // DateTimeToStored does; the buffer is then unchanged.
    void setDateTime(RecordBuffer& r, int column, double dayValue) const;
    // Trailing blanks removed, cut at a 0 byte and to the column width.
    void setString(RecordBuffer& r, int column, QByteArrayView value) const;
    // An empty value makes the column blank.
    void setBytes(RecordBuffer& r, int column, const QByteArray& value) const;

private:
    // Where a row read from the packet lies in it; `length` is -1 once the
    // row would no longer be written back as it stands.
    struct RowExtent {
        qint64 offset = 0;
        qint64 length = -1;
    };

    void defineField(const FieldDeclaration& decl);
    void loadBinary(const PacketSource& source);
    QByteArray saveBinary(FileSink* sink) const;
    bool keepOnSave(uint32_t id) const;
    Cell cellFromPacket(int column, const ExtractedValue& v) const;
    bool writtenAsRead(const Cell& c, int column, const ExtractedValue& v) const;
    // A value's bytes when they are in memory (held, or in a packet in
    // memory); an empty view with *inMemory false for one in a file.
    QByteArrayView memoryView(const Cell& c, bool* inMemory = nullptr) const;

    std::vector<FieldDef> fields_;
    std::vector<Attribute> packetAttributes_;
    std::vector<Cell> cells_;  // slot * fieldCount() + column
    std::vector<uint8_t> status_;
    std::vector<uint32_t> order_;
    std::vector<StrayStatus> strayStatuses_;
    std::vector<RowExtent> extents_;              // per slot
    std::shared_ptr<const PacketSource> source_;  // the packet the table was loaded from
    bool logChanges_ = true;
    mutable std::recursive_mutex lock_;
};

// XML text of a binary packet and back (see dataset_xml.cpp for the form).
// packetFromXml throws DatasetError 0x4005 when the text is not a data packet.
QByteArray packetToXml(const QByteArray& binaryPacket);
QByteArray packetFromXml(const QByteArray& xml);

}  // namespace quillmere
