#include "store/stored_table.h"

#include "store/dataset_error.h"
#include "store/file_access.h"
#include "store/packet_preload.h"
#include "store/type_word.h"

#include <QCoreApplication>
#include <QDir>
#include <QtGlobal>

#include <algorithm>

namespace quillmere {

StoredTable::StoredTable(const QString& name, std::vector<FieldDeclaration> fields)
    : name_(name), fields_(std::move(fields)) {}

StoredTable::~StoredTable() {
    // The table's owner closes it explicitly to see errors; this is the last
    // chance not to lose changes when it did not.
    try {
        if (open_) {
            close();
        }
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    } catch (...) {
        qWarning("%s: the data file could not be written", qPrintable(name_));
    }
}

void StoredTable::fail(const QString& text) const {
    throw Error(name_ + QStringLiteral(": ") + text);
}

void StoredTable::requireOpen() const {
    if (!open_) {
        fail(QCoreApplication::translate("quillmere::Store", "Cannot perform this operation on a closed dataset"));
    }
}

void StoredTable::requireEditing() const {
    requireOpen();
    if (mode_ == TableMode::kBrowse) {
        fail(QCoreApplication::translate("quillmere::Store", "Dataset not in edit or insert mode"));
    }
}

void StoredTable::reset() {
    data_.clear();
    read_ = FileFingerprint{};
    open_ = false;
    modified_ = false;
    mode_ = TableMode::kBrowse;
    buffer_.clear();
    current_.reset();
}

void StoredTable::open(const QString& path) {
    reset();
    path_ = path;
    try {
        PreloadedFile ahead = TakePreloadedDataFile(path, data_, !cipher_);
        if (ahead.table) {
            // Read and loaded ahead, while the program started.
            read_ = ahead.read;
        } else if (ahead.sealed.isEmpty() && fileAccess().status(path).kind == FileKind::kMissing) {
            data_.createTable(fields_);
        } else if (!ahead.sealed.isEmpty() || !readsLazily() || !loadLazily(path)) {
            // An encrypted journal is one authenticated stream: it is read
            // whole (once) and decrypted into memory.
            load(path, std::move(ahead));
        }
        data_.setLogChanges(false);
        open_ = true;
        if (data_.recordCount() > 0) {
            current_ = data_.recordId(0);
        }
        afterOpen();
    } catch (...) {
        reset();
        throw;
    }
}

bool StoredTable::loadLazily(const QString& path) {
    // A folder, a FIFO or a device of that name is refused by
    // openForReading, naming it, before anything is read from it.
    const std::shared_ptr<const OpenFile> file = fileAccess().openForReading(path);
    if (file->size() == 0) {
        throw Error(QCoreApplication::translate("quillmere::Store", "Missing data provider or data packet"));
    }
    const QByteArray head = file->read(0, std::min(file->size(), qint64(kSealedHeadBytes)));
    if (IsSealedDataFile(head)) {
        return false;
    }
    data_.loadPacketFile(file);
    read_ = FileFingerprint::ofStatus(file->status());
    return true;
}

void StoredTable::load(const QString& path, PreloadedFile ahead) {
    // An encrypted file read ahead (or by the opening without its key) is
    // not read again.
    const bool readAhead = !ahead.sealed.isEmpty();
    const FileStamp before = readAhead ? FileStamp{} : StampOf(path);
    // A folder, a FIFO or a device of that name is refused by readAll,
    // naming it, before anything is read from it.
    QByteArray bytes = readAhead ? std::move(ahead.sealed) : fileAccess().readAll(path);
    if (bytes.isEmpty()) {
        throw Error(QCoreApplication::translate("quillmere::Store", "Missing data provider or data packet"));
    }
    if (!IsSealedDataFile(bytes)) {
        // The fingerprint is of the file as it lies on disk.
        const FileFingerprint read = FileFingerprint::of(bytes);
        data_.loadPacket(bytes);
        read_ = read;
        return;
    }
    if (!cipher_) {
        // Only the header is needed now (the login derives the key from
        // it); the whole file waits for the opening with the key.
        if (!readAhead) {
            KeepSealedDataFile(path, bytes, before);
        }
        throw KeyRequiredError(
            QCoreApplication::translate("quillmere::StoredTable", "\"%1\" is encrypted: its password is needed to open it")
                .arg(QDir::toNativeSeparators(path)),
            bytes.first(std::min(bytes.size(), kSealedHeadBytes)));
    }
    const FileFingerprint read = readAhead ? ahead.read : FileFingerprint::of(bytes);
    // Decrypted once; the encrypted bytes go as soon as the plain ones are
    // there, and the plain ones become the table's own memory.
    bytes = cipher_->openFile(bytes, path);
    data_.loadPacket(bytes);
    read_ = read;
}

void StoredTable::writeIfChanged(const QString& previousPath) {
    if (!modified_) {
        return;
    }
    writeFile(previousPath);
}

bool StoredTable::writeFile(const QString& previousPath) {
    read_ = writeTo(path_, previousPath);
    modified_ = false;
    return true;
}

bool StoredTable::save(const QString& previousPath) {
    requireOpen();
    cancel();
    return modified_ && writeFile(previousPath);
}

bool StoredTable::saveAlways(const QString& previousPath) {
    requireOpen();
    cancel();
    return writeFile(previousPath);
}

FileFingerprint StoredTable::writeTo(const QString& path, const QString& previousPath) const {
    const PacketForm form = packetFormFor(path);
    if (!cipher_ && form == PacketForm::kBinary &&
        data_.estimatedPacketSize() > kStreamedWriteBytes) {
        // Unchanged values are copied by the system from the file they were
        // read from. That file must still hold what it held when it was
        // read: one rewritten in place by another program meanwhile (not
        // replaced, which leaves the open file as it was) would give other
        // bytes at the same places, so the write is refused then.
        const PacketSource* source = data_.source().get();
        const auto requireSourceUnchanged = [source] {
            if (source && source->file()) {
                source->file()->requireUnchanged();
            }
        };
        requireSourceUnchanged();
        fileAccess().writeAtomicStreamed(
            path,
            [this, &requireSourceUnchanged](FileSink& sink) {
                data_.writePacket(sink);
                requireSourceUnchanged();
            },
            previousPath);
        return FileFingerprint::ofStatus(fileAccess().status(path));
    }
    // An encrypted table is written whole through the cipher.
    const QByteArray packet = data_.savePacket(form);
    const QByteArray bytes = cipher_ ? cipher_->sealFile(packet) : packet;
    if (previousPath.isEmpty()) {
        fileAccess().writeAtomic(path, bytes);
    } else {
        fileAccess().writeAtomicKeepingPrevious(path, bytes, previousPath);
    }
    return FileFingerprint::of(bytes).withStatus(fileAccess().status(path));
}

void StoredTable::writeCopy(const QString& path) const {
    requireOpen();
    writeTo(path, QString());
}

void StoredTable::close() {
    closeKeepingPrevious(QString());
}

void StoredTable::closeKeepingPrevious(const QString& previousPath) {
    if (!open_) {
        return;
    }
    cancel();
    writeIfChanged(previousPath);
    reset();
}

void StoredTable::abandon() {
    reset();
}

void StoredTable::edit() {
    requireOpen();
    if (mode_ != TableMode::kBrowse) {
        return;
    }
    if (!current_) {
        fail(QCoreApplication::translate("quillmere::Store", "Cannot modify an empty dataset"));
    }
    buffer_ = data_.readRecord(*current_);
    mode_ = TableMode::kEdit;
}

void StoredTable::insert() {
    requireOpen();
    cancel();
    buffer_ = data_.blankRecord();
    mode_ = TableMode::kInsert;
}

void StoredTable::post() {
    requireEditing();
    uint32_t id;
    const bool inserted = mode_ == TableMode::kInsert;
    if (inserted) {
        id = data_.insertRecord(insertPosition(), std::move(buffer_));
    } else {
        id = *current_;
        data_.writeRecord(id, std::move(buffer_));
    }
    buffer_.clear();
    mode_ = TableMode::kBrowse;
    current_ = id;
    modified_ = true;
    afterPost(id, inserted);
}

void StoredTable::cancel() {
    buffer_.clear();
    mode_ = TableMode::kBrowse;
}

int StoredTable::requireField(const char* fieldName, std::initializer_list<uint32_t> codes) const {
    const int column = data_.fieldIndex(fieldName);
    if (column >= 0) {
        const uint32_t code = typeword::code(data_.field(column).typeWord);
        for (const uint32_t c : codes) {
            if (c == code && !typeword::isArray(data_.field(column).typeWord)) {
                return column;
            }
        }
    }
    fail(QCoreApplication::translate("quillmere::Store", "Field '%1' not found").arg(QLatin1String(fieldName)));
}

const Cell* StoredTable::currentCell(int column) const {
    if (mode_ != TableMode::kBrowse) {
        return &buffer_[static_cast<size_t>(column)];
    }
    if (!current_) {
        return nullptr;
    }
    return &data_.cell(*current_, column);
}

}  // namespace quillmere
