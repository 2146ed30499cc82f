#include "store/packet_source.h"

#include "store/copy_bytes.h"
#include "store/errors.h"

namespace quillmere {

std::shared_ptr<const PacketSource> PacketSource::inMemory(QByteArray bytes) {
    auto source = std::shared_ptr<PacketSource>(new PacketSource);
    source->bytes_ = std::move(bytes);
    return source;
}

std::shared_ptr<const PacketSource> PacketSource::inFile(std::shared_ptr<const OpenFile> file) {
    auto source = std::shared_ptr<PacketSource>(new PacketSource);
    source->file_ = std::move(file);
    return source;
}

qint64 PacketSource::size() const {
    return file_ ? file_->size() : bytes_.size();
}

void PacketSource::readInto(char* dst, qint64 offset, qint64 length) const {
    if (file_) {
        file_->readInto(dst, offset, length);
        return;
    }
    if (offset < 0 || length < 0 || offset > bytes_.size() || length > bytes_.size() - offset) {
        throw FileError(CutShortFailure(QStringLiteral("the data packet")));
    }
    CopyBytes(dst, QByteArrayView(bytes_).sliced(offset, length));
}

QByteArray PacketSource::read(qint64 offset, qint64 length) const {
    if (!file_ && offset == 0 && length == bytes_.size()) {
        return bytes_;
    }
    QByteArray bytes(static_cast<qsizetype>(length), Qt::Uninitialized);
    readInto(bytes.data(), offset, length);
    return bytes;
}

void PacketSource::copyTo(FileSink& sink, qint64 offset, qint64 length) const {
    if (file_) {
        sink.copyFrom(*file_, offset, length);
        return;
    }
    if (offset < 0 || length < 0 || offset > bytes_.size() || length > bytes_.size() - offset) {
        throw FileError(CutShortFailure(QStringLiteral("the data packet")));
    }
    sink.append(QByteArrayView(bytes_).sliced(offset, length));
}

}  // namespace quillmere
