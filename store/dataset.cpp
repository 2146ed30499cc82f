#include "store/dataset.h"

#include "store/coding.h"
#include "store/dataset_error.h"
#include "store/field_conv.h"
#include "store/memory_pages.h"
#include "store/packet_format.h"
#include "store/packet_reader.h"
#include "store/packet_writer.h"
#include "store/timestamp.h"
#include "store/type_word.h"

#include <algorithm>
#include <cstring>

namespace quillmere {

using namespace packet;

namespace {

struct SubtypeName {
    const char* name;
    int number;
};

// Searched in this order: by number when writing, by name when reading.
constexpr SubtypeName kSubtypes[] = {
    {"Text", 22},           {"Binary", 23},    {"Formatted", 24},   {"Ole", 25},
    {"Graphics", 26},       {"dBASEOle", 27},  {"TypedBinary", 28}, {"Money", 21},
    {"Autoinc", 29},        {"AccessOle", 30}, {"HMemo", 33},       {"HBinary", 34},
    {"ADTNestedTable", 35}, {"FixedChar", 31}, {"Reference", 70},   {"BFile", 36},
    {"ADTDate", 37},        {"Guid", 38},
};
constexpr int kUnknownSubtype = 255;
constexpr int kAutoincSubtype = 29;

constexpr char kSubtypeAttr[] = "SUBTYPE";
constexpr char kDecimalsAttr[] = "DECIMALS";
constexpr char kWidthAttr[] = "WIDTH";
constexpr char kElementsAttr[] = "ELEMENTS";
constexpr char kCalculatedAttr[] = "CALCULATED";
constexpr char kChangeLogAttr[] = "CHANGE_LOG";

bool isString(uint32_t word) {
    const uint32_t c = typeword::code(word);
    return c == typeword::kString || c == typeword::kWideString;
}

bool takesWidth(uint32_t word) {
    const uint32_t c = typeword::code(word);
    return isString(word) || c == typeword::kBytes || c == typeword::kBcd ||
           c == typeword::kFixedFmt;
}

bool heldFixed(uint32_t word) {
    return !typeword::isVarying(word) && !typeword::isArray(word) && typeword::size(word) <= 8 &&
           !isString(word) && typeword::code(word) != typeword::kBytes;
}

QByteArray u16Value(int value) {
    QByteArray v;
    PutFixed16(&v, static_cast<uint16_t>(qBound(0, value, 0xFFFF)));
    return v;
}

// An integer attribute value ("WIDTH", "DECIMALS", ...); false for a type that
// is not a plain integer.
bool integerAttribute(const AttributeView& a, int64_t* out) {
    const uint32_t c = typeword::code(a.typeWord);
    const uint32_t s = typeword::size(a.typeWord);
    if ((c != typeword::kInteger && c != typeword::kUnsigned) || typeword::isVarying(a.typeWord) ||
        typeword::isArray(a.typeWord) || a.value.size() != s) {
        return false;
    }
    uint64_t v = 0;
    for (uint32_t i = 0; i < s; ++i) {
        v |= static_cast<uint64_t>(static_cast<uint8_t>(a.value[i])) << (8 * i);
    }
    *out = static_cast<int64_t>(v);
    return true;
}

Attribute keep(const AttributeView& a) {
    return Attribute{a.name.toByteArray(), a.typeWord, a.value.toByteArray()};
}

void interpretColumnAttribute(FieldDef& f, const AttributeView& a) {
    int64_t n = 0;
    if (a.name == QByteArrayView(kSubtypeAttr) && typeword::isVarying(a.typeWord) &&
        !typeword::isArray(a.typeWord)) {
        QByteArrayView name =
            a.value.sliced(qMin<qsizetype>(typeword::size(a.typeWord), a.value.size()));
        const qsizetype nul = name.indexOf('\0');
        f.subtype = subtypeNumber(nul >= 0 ? name.first(nul) : name);
        if (f.subtype == kUnknownSubtype) {
            f.kept.push_back(keep(a));
        }
    } else if (a.name == QByteArrayView(kDecimalsAttr) && integerAttribute(a, &n)) {
        f.decimals = static_cast<int>(n);
    } else if ((a.name == QByteArrayView(kWidthAttr) || a.name == QByteArrayView(kElementsAttr)) &&
               integerAttribute(a, &n)) {
        f.width = static_cast<int>(std::clamp<int64_t>(n, 0, 0x7FFFFFFF));
    } else if (a.name == QByteArrayView(kCalculatedAttr) && integerAttribute(a, &n)) {
        f.calculated = n != 0;
    } else {
        f.kept.push_back(keep(a));
    }
}

}  // namespace

PacketForm packetFormFor(const QString& path) {
    return path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) ? PacketForm::kXml
                                                                     : PacketForm::kBinary;
}

QByteArray subtypeName(int subtype) {
    for (const auto& s : kSubtypes) {
        if (s.number == subtype) {
            return s.name;
        }
    }
    return {};
}

int subtypeNumber(QByteArrayView name) {
    for (const auto& s : kSubtypes) {
        if (name.compare(QByteArrayView(s.name), Qt::CaseInsensitive) == 0) {
            return s.number;
        }
    }
    return kUnknownSubtype;
}

FieldDeclaration FieldDeclaration::string(const QByteArray& name, int width) {
    return {name, width >= 254 ? typeword::kString2 : typeword::kString1, width, 0};
}
FieldDeclaration FieldDeclaration::integer32(const QByteArray& name) {
    return {name, typeword::kInt32, 0, 0};
}
FieldDeclaration FieldDeclaration::dateTime(const QByteArray& name) {
    return {name, typeword::kDateTime8, 0, 0};
}
FieldDeclaration FieldDeclaration::blob(const QByteArray& name, int subtype) {
    return {name, typeword::kBlob4, 0, subtype};
}

bool FieldDef::readOnly() const {
    return (flags & kColumnReadOnly) != 0 || subtype == kAutoincSubtype;
}

void DSBASE::clear() {
    std::lock_guard guard(lock_);
    fields_.clear();
    packetAttributes_.clear();
    cells_.clear();
    status_.clear();
    order_.clear();
    strayStatuses_.clear();
    extents_.clear();
    source_.reset();
}

void DSBASE::defineField(const FieldDeclaration& decl) {
    if (decl.name.size() > kMaxNameLength) {
        throw DatasetError::plain(QStringLiteral("Fieldname %1 exceeds %2 chars")
                                      .arg(QString::fromLatin1(decl.name))
                                      .arg(kMaxNameLength));
    }
    if (decl.name.isEmpty()) {
        throw DatasetError(status::kMissingArgument, QStringLiteral("field without a name"));
    }
    makeConverter(decl.typeWord);
    FieldDef f;
    f.name = decl.name;
    f.typeWord = decl.typeWord;
    f.width = decl.width;
    f.subtype = decl.subtype;
    fields_.push_back(std::move(f));
}

void DSBASE::createTable(const std::vector<FieldDeclaration>& fields) {
    std::lock_guard guard(lock_);
    clear();
    try {
        for (const FieldDeclaration& decl : fields) {
            defineField(decl);
        }
    } catch (...) {
        clear();
        throw;
    }
}

int DSBASE::fieldIndex(QByteArrayView name) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (name.compare(QByteArrayView(fields_[i].name), Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int DSBASE::positionOf(uint32_t id) const {
    const auto it = std::find(order_.begin(), order_.end(), id);
    return it == order_.end() ? -1 : static_cast<int>(it - order_.begin());
}

const Cell& DSBASE::cell(uint32_t id, int column) const {
    return cells_[static_cast<size_t>(id) * fields_.size() + static_cast<size_t>(column)];
}

RecordBuffer DSBASE::readRecord(uint32_t id) const {
    const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(id * fields_.size());
    return RecordBuffer(first, first + static_cast<std::ptrdiff_t>(fields_.size()));
}

void DSBASE::writeRecord(uint32_t id, RecordBuffer values) {
    std::lock_guard guard(lock_);
    std::move(values.begin(), values.end(),
              cells_.begin() + static_cast<std::ptrdiff_t>(id * fields_.size()));
    extents_[id].length = -1;
    if (logChanges_ && (status_[id] & kStatusInserted) == 0) {
        status_[id] |= kStatusModified;
    }
}

uint32_t DSBASE::insertRecord(int position, RecordBuffer values) {
    std::lock_guard guard(lock_);
    values.resize(fields_.size());
    const auto id = static_cast<uint32_t>(status_.size());
    std::move(values.begin(), values.end(), std::back_inserter(cells_));
    status_.push_back(logChanges_ ? kStatusInserted : 0);
    extents_.push_back(RowExtent{});
    order_.insert(order_.begin() + qBound(0, position, recordCount()), id);
    return id;
}

void DSBASE::deleteRecord(uint32_t id) {
    std::lock_guard guard(lock_);
    status_[id] |= kStatusDeleted;
    order_.erase(std::remove(order_.begin(), order_.end(), id), order_.end());
}

int64_t DSBASE::integerValue(const Cell& c, int column) const {
    const uint32_t word = field(column).typeWord;
    const uint32_t s = typeword::size(word);
    if (c.state != Cell::kFixed || s == 0 || s > 8) {
        return 0;
    }
    if (s == 8 || typeword::code(word) != typeword::kInteger) {
        return static_cast<int64_t>(s == 8 ? c.fixed : c.fixed & ((uint64_t{1} << (8 * s)) - 1));
    }
    const int shift = 64 - 8 * static_cast<int>(s);
    return static_cast<int64_t>(c.fixed << shift) >> shift;
}

double DSBASE::storedDateTime(const Cell& c) const {
    return c.state == Cell::kFixed ? DoubleFromBits(c.fixed) : 0.0;
}

QByteArray StoredValue::read() const {
    if (!source_) {
        return held_;
    }
    return source_->read(offset_, length_);
}

QByteArrayView DSBASE::memoryView(const Cell& c, bool* inMemory) const {
    if (inMemory != nullptr) {
        *inMemory = true;
    }
    switch (c.state) {
        case Cell::kOwned:
            return QByteArrayView(c.owned);
        case Cell::kView:
            if (source_->file() == nullptr) {
                return source_->memory().sliced(c.viewOffset, c.viewLength);
            }
            if (inMemory != nullptr) {
                *inMemory = false;
            }
            return {};
        default:
            return {};
    }
}

QByteArray DSBASE::stringValue(const Cell& c) const {
    const QByteArray v = bytesValue(c);
    const qsizetype nul = v.indexOf('\0');
    return nul >= 0 ? v.first(nul) : v;
}

QByteArray DSBASE::bytesValue(const Cell& c) const {
    if (c.state == Cell::kOwned) {
        return c.owned;
    }
    if (c.state == Cell::kFixed) {
        char buf[8];
        EncodeFixed64(buf, c.fixed);
        return QByteArray(buf, 8);
    }
    if (c.state == Cell::kView) {
        return source_->read(c.viewOffset, c.viewLength);
    }
    return QByteArray();
}

qint64 DSBASE::bytesSize(const Cell& c) const {
    switch (c.state) {
        case Cell::kOwned:
            return c.owned.size();
        case Cell::kFixed:
            return 8;
        case Cell::kView:
            return c.viewLength;
        default:
            return 0;
    }
}

StoredValue DSBASE::storedValue(const Cell& c) const {
    if (c.state == Cell::kView) {
        return StoredValue(source_, c.viewOffset, c.viewLength);
    }
    return StoredValue(bytesValue(c));
}

void DSBASE::setBlank(RecordBuffer& r, int column) {
    r[static_cast<size_t>(column)] = Cell{};
}

void DSBASE::setInteger(RecordBuffer& r, int column, int64_t value) const {
    Cell c;
    c.state = Cell::kFixed;
    const uint32_t s = typeword::size(field(column).typeWord);
    c.fixed = s >= 8 ? static_cast<uint64_t>(value)
                     : static_cast<uint64_t>(value) & ((uint64_t{1} << (8 * s)) - 1);
    r[static_cast<size_t>(column)] = c;
}

void DSBASE::setDateTime(RecordBuffer& r, int column, double dayValue) const {
    Cell c;
    c.fixed = DoubleBits(DateTimeToStored(dayValue));
    c.state = Cell::kFixed;
    r[static_cast<size_t>(column)] = c;
}

void DSBASE::setString(RecordBuffer& r, int column, QByteArrayView value) const {
    const FieldDef& f = field(column);
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0) {
        value = value.first(nul);
    }
    while (!value.isEmpty() && value.back() == ' ') {
        value.chop(1);
    }
    const qsizetype width = typeword::isVarying(f.typeWord) ? f.width : typeword::size(f.typeWord);
    if (width > 0 && value.size() > width) {
        value = value.first(width);
    }
    Cell c;
    c.owned = value.toByteArray();
    c.state = Cell::kOwned;
    r[static_cast<size_t>(column)] = std::move(c);
}

void DSBASE::setBytes(RecordBuffer& r, int column, const QByteArray& value) const {
    Cell c;
    if (!value.isEmpty()) {
        c.owned = value;
        c.state = Cell::kOwned;
    }
    r[static_cast<size_t>(column)] = std::move(c);
}

Cell DSBASE::cellFromPacket(int column, const ExtractedValue& v) const {
    const FieldDef& f = field(column);
    Cell c;
    if (heldFixed(f.typeWord)) {
        for (qsizetype i = 0; i < v.bytes.size() && i < 8; ++i) {
            c.fixed |= static_cast<uint64_t>(static_cast<uint8_t>(v.bytes[i])) << (8 * i);
        }
        c.state = Cell::kFixed;
        return c;
    }
    qint64 length = v.length;
    // A string is cut to its column's width; an array of strings is its
    // element count and elements, which a cut would break.
    if (isString(f.typeWord) && typeword::isVarying(f.typeWord) && !typeword::isArray(f.typeWord) &&
        f.width > 0) {
        length = qMin<qint64>(length, f.width);
    }
    if (length == 0 && typeword::code(f.typeWord) == typeword::kBytes) {
        return c;  // a zero-length blob is blank
    }
    c.viewOffset = v.offset;
    c.viewLength = static_cast<uint32_t>(length);
    c.state = Cell::kView;
    return c;
}

// True when saveBinary writes `c` as exactly the bytes the packet held for
// `v`: its null bits and, for a present value, its length.
bool DSBASE::writtenAsRead(const Cell& c, int column, const ExtractedValue& v) const {
    switch (v.state) {
        case ValueState::kBlank:
            return c.state == Cell::kBlank;
        case ValueState::kUnchanged:
            return false;  // read as blank, written as blank
        case ValueState::kPresent:
            break;
    }
    if (c.state == Cell::kFixed) {
        return true;
    }
    // An empty string is written as one 0 byte; a cut one is shorter.
    return c.state == Cell::kView && c.viewLength == v.length &&
           !(isString(field(column).typeWord) && v.length == 0);
}

void DSBASE::takeContent(DSBASE& other) {
    if (&other == this) {
        return;
    }
    std::scoped_lock guard(lock_, other.lock_);
    fields_ = std::move(other.fields_);
    packetAttributes_ = std::move(other.packetAttributes_);
    cells_ = std::move(other.cells_);
    status_ = std::move(other.status_);
    order_ = std::move(other.order_);
    strayStatuses_ = std::move(other.strayStatuses_);
    extents_ = std::move(other.extents_);
    source_ = std::move(other.source_);
    logChanges_ = other.logChanges_;
    other.clear();
}

void DSBASE::loadPacket(const QByteArray& packet) {
    std::lock_guard guard(lock_);
    clear();
    try {
        if (looksLikeBinaryPacket(packet)) {
            source_ = PacketSource::inMemory(packet);
        } else {
            try {
                source_ = PacketSource::inMemory(packetFromXml(packet));
            } catch (const DatasetError&) {
                // Neither form: the XML parser's complaint would only confuse.
                throw DatasetError(status::kNotAPacket);
            }
        }
        loadBinary(*source_);
    } catch (const std::bad_alloc&) {
        clear();
        throw DatasetError(status::kOutOfMemory);
    } catch (...) {
        clear();
        throw;
    }
}

void DSBASE::loadPacketFile(std::shared_ptr<const OpenFile> file) {
    char first[8] = {};
    const qint64 firstSize = qMin<qint64>(file->size(), sizeof first);
    file->readInto(first, 0, firstSize);
    if (!looksLikeBinaryPacket(QByteArrayView(first, firstSize))) {
        loadPacket(file->read(0, file->size()));
        return;
    }
    std::lock_guard guard(lock_);
    clear();
    try {
        source_ = PacketSource::inFile(std::move(file));
        loadBinary(*source_);
    } catch (const std::bad_alloc&) {
        clear();
        throw DatasetError(status::kOutOfMemory);
    } catch (...) {
        clear();
        throw;
    }
}

void DSBASE::loadBinary(const PacketSource& source) {
    DSEXTRACT in;
    if (source.file() == nullptr) {
        in.openPacket(source.memory());
    } else {
        in.openPacket(source);
    }
    ColumnDescriptor d;
    AttributeView a;
    while (in.nextColumn(&d)) {
        FieldDef f;
        f.name = d.name;
        f.typeWord = d.typeWord;
        f.flags = d.flags;
        while (in.nextAttribute(&a)) {
            interpretColumnAttribute(f, a);
        }
        if (isString(f.typeWord) && typeword::isVarying(f.typeWord) && f.width == 0) {
            throw DatasetError(
                status::kMissingArgument,
                QStringLiteral("string field %1 has no width").arg(QString::fromLatin1(f.name)));
        }
        fields_.push_back(std::move(f));
    }
    if (fields_.empty()) {
        throw DatasetError(status::kNotAPacket, QStringLiteral("the packet has no fields"));
    }
    bool changeLog = false;
    while (in.nextAttribute(&a)) {
        // The change log is not kept: with change logging off it has no use,
        // and the records it refers to are filtered below.
        if (a.name != QByteArrayView(kChangeLogAttr)) {
            packetAttributes_.push_back(keep(a));
        } else {
            changeLog = true;
        }
    }
    const size_t columns = fields_.size();
    ExtractedValue v;
    uint8_t rowStatus = 0;
    RowExtent extent;
    bool reserved = false;
    while (in.nextValue(&v)) {
        if (!reserved) {
            // nextValue has checked the row count against the bytes left.
            cells_.reserve(in.header().rowCount * columns);
            PopulatePages(cells_.data(), cells_.capacity() * sizeof(Cell));
            status_.reserve(in.header().rowCount);
            order_.reserve(in.header().rowCount);
            extents_.reserve(in.header().rowCount);
            reserved = true;
        }
        if (v.column < 0) {
            rowStatus = v.rowStatus;
            // Only a row written with status 0 is written back as it stands.
            extent = RowExtent{v.offset, rowStatus == 0 && v.flagsAsWritten ? 0 : -1};
            continue;
        }
        cells_.push_back(v.state == ValueState::kPresent ? cellFromPacket(v.column, v) : Cell{});
        if (!writtenAsRead(cells_.back(), v.column, v)) {
            extent.length = -1;
        }
        if (static_cast<size_t>(v.column) + 1 == columns) {
            const auto id = static_cast<uint32_t>(status_.size());
            if (!changeLog && rowStatus != 0) {
                // Only a change log gives a row status a meaning; without
                // one a status is damage (one flipped bit), and the row is
                // kept and reported rather than dropped as deleted.
                strayStatuses_.push_back({id, rowStatus});
                rowStatus = 0;
            } else if (rowStatus & kStatusSkipped) {
                cells_.resize(cells_.size() - columns);
                continue;
            }
            if (extent.length == 0) {
                extent.length = in.position() - extent.offset;
            }
            order_.push_back(id);
            status_.push_back(rowStatus);
            extents_.push_back(extent);
        }
    }
}

bool DSBASE::keepOnSave(uint32_t id) const {
    const uint8_t s = status_[id];
    return logChanges_ ? (s & kStatusFreed) == 0 : (s & kStatusSkipped) == 0;
}

qsizetype DSBASE::estimatedPacketSize() const {
    qsizetype total = 4096;
    for (const FieldDef& f : fields_) {
        total += 64 + f.name.size();
        for (const Attribute& a : f.kept) {
            total += 8 + a.name.size() + a.value.size();
        }
    }
    for (const Attribute& a : packetAttributes_) {
        total += 8 + a.name.size() + a.value.size();
    }
    total += static_cast<qsizetype>(order_.size()) * (1 + nullFlagBytes(fieldCount()));
    for (const uint32_t id : order_) {
        for (int j = 0; j < fieldCount(); ++j) {
            const Cell& c = cell(id, j);
            total += 8 + bytesSize(c);
        }
    }
    return total;
}

QByteArray DSBASE::savePacket(PacketForm form) const {
    std::lock_guard guard(lock_);
    try {
        QByteArray binary = saveBinary(nullptr);
        return form == PacketForm::kXml ? packetToXml(binary) : binary;
    } catch (const std::bad_alloc&) {
        throw DatasetError(status::kOutOfMemory);
    }
}

void DSBASE::writePacket(FileSink& sink) const {
    std::lock_guard guard(lock_);
    try {
        saveBinary(&sink);
    } catch (const std::bad_alloc&) {
        throw DatasetError(status::kOutOfMemory);
    }
}

QByteArray DSBASE::saveBinary(FileSink* sink) const {
    DSDATAPACKET w;
    if (sink != nullptr) {
        const auto rows = std::count_if(order_.begin(), order_.end(),
                                        [this](uint32_t id) { return keepOnSave(id); });
        w.beginStreamedPacket(fieldCount(), static_cast<uint32_t>(rows), *sink);
    } else {
        w.beginPacket(fieldCount(), estimatedPacketSize());
    }
    for (const FieldDef& f : fields_) {
        w.addColumn(f.name, f.typeWord, f.flags);
        if (const QByteArray name = subtypeName(f.subtype); !name.isEmpty()) {
            QByteArray value = u16Value(static_cast<int>(name.size() + 1)) + name;
            value.append('\0');
            w.addAttribute(AttributeArea::kColumn, kSubtypeAttr, typeword::kString2, value);
        }
        if (f.decimals >= 0) {
            w.addAttribute(AttributeArea::kColumn, kDecimalsAttr, typeword::kUInt16,
                           u16Value(f.decimals));
        }
        if (f.width != 0 && takesWidth(f.typeWord)) {
            w.addAttribute(AttributeArea::kColumn, kWidthAttr, typeword::kUInt16,
                           u16Value(f.width));
        }
        if (f.calculated) {
            w.addAttribute(AttributeArea::kColumn, kCalculatedAttr, typeword::kUInt16, u16Value(1));
        }
        for (const Attribute& a : f.kept) {
            w.addAttribute(AttributeArea::kColumn, a.name, a.typeWord, a.value);
        }
    }
    for (const Attribute& a : packetAttributes_) {
        w.addAttribute(AttributeArea::kPacket, a.name, a.typeWord, a.value);
    }
    w.closeMetadata();
    static const char kZero = '\0';
    for (const uint32_t id : order_) {
        if (!keepOnSave(id)) {
            continue;
        }
        if (const RowExtent& extent = extents_[id]; extent.length > 0) {
            w.putRowCopy(*source_, extent.offset, extent.length);
            continue;
        }
        const char rowStatus = logChanges_ ? static_cast<char>(status_[id]) : '\0';
        w.putValue(QByteArrayView(&rowStatus, 1));
        for (int j = 0; j < fieldCount(); ++j) {
            const Cell& c = cell(id, j);
            bool inMemory = true;
            const QByteArrayView bytes = memoryView(c, &inMemory);
            if (c.state == Cell::kBlank) {
                w.putBlank();
            } else if (c.state == Cell::kFixed) {
                char buf[8];
                EncodeFixed64(buf, c.fixed);
                w.putValue(QByteArrayView(buf, 8));
            } else if (!inMemory) {
                const QByteArray read = bytesValue(c);
                w.putValue(isString(field(j).typeWord) && read.isEmpty() ? QByteArrayView(&kZero, 1)
                                                                         : QByteArrayView(read));
            } else if (isString(field(j).typeWord) && bytes.isEmpty()) {
                w.putValue(QByteArrayView(&kZero, 1));  // an empty string is one 0 byte
            } else {
                w.putValue(bytes);
            }
        }
    }
    return w.finishPacket();
}

}  // namespace quillmere
