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
        if (TakePreloadedDataFile(path, data_, read_)) {
            // Read and loaded ahead, while the program started.
        } else if (fileAccess().status(path).kind == FileKind::kMissing) {
            data_.createTable(fields_);
        } else {
            // A folder, a FIFO or a device of that name is refused by
            // readAll, naming it, before anything is read from it.
            QByteArray bytes = fileAccess().readAll(path);
            if (bytes.isEmpty()) {
                throw Error(QCoreApplication::translate("quillmere::Store", "Missing data provider or data packet"));
            }
            // The fingerprint is of the file as it lies on disk.
            const FileFingerprint read = FileFingerprint::of(bytes);
            if (IsSealedDataFile(bytes)) {
                if (!cipher_) {
                    throw KeyRequiredError(
                        QCoreApplication::translate("quillmere::StoredTable", "\"%1\" is encrypted: its password is needed to open it")
                            .arg(QDir::toNativeSeparators(path)),
                        bytes.first(std::min(bytes.size(), kSealedHeadBytes)));
                }
                bytes = cipher_->openFile(bytes, path);
            }
            data_.loadPacket(bytes);
            read_ = read;
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

void StoredTable::writeIfChanged(const QString& previousPath) {
    if (!modified_) {
        return;
    }
    writeFile(previousPath);
}

QByteArray StoredTable::writeFile(const QString& previousPath) {
    const QByteArray packet = data_.savePacket(packetFormFor(path_));
    const QByteArray bytes = cipher_ ? cipher_->sealFile(packet) : packet;
    if (previousPath.isEmpty()) {
        fileAccess().writeAtomic(path_, bytes);
    } else {
        fileAccess().writeAtomicKeepingPrevious(path_, bytes, previousPath);
    }
    modified_ = false;
    return bytes;
}

QByteArray StoredTable::save(const QString& previousPath) {
    requireOpen();
    cancel();
    return modified_ ? writeFile(previousPath) : QByteArray();
}

QByteArray StoredTable::saveAlways(const QString& previousPath) {
    requireOpen();
    cancel();
    return writeFile(previousPath);
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
