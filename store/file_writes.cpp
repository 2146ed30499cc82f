// The writes of the file-access seam. Every data file, settings file, export
// and tool output goes through replaceFileWith: a temporary file beside the
// target, every byte checked as it is written, the result checked once more
// (size, and a small file held in memory read back), and only then the
// rename. Nothing that failed on the way, a full disk above all, ever reaches
// the target's name.
#include "file_access.h"

#include "errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace quillmere {

namespace {

// Files up to this size are read back after writing and compared byte for
// byte; larger ones are checked by their size only.
constexpr qint64 kReadBackLimit = qint64(1) << 20;
// A streamed write collects small pieces up to this size before writing them,
// and copies ranges in pieces of this size where the system cannot copy them
// itself.
constexpr qint64 kStreamBuffer = qint64(1) << 20;
// A range of another file up to this size is read and written with the
// rest; the system copies larger ones itself (a copy_file_range call per
// text entry of a few hundred bytes costs more than it saves).
constexpr qint64 kSmallRange = 64 * 1024;

QByteArray nativeName(const QString& path) {
    return QFile::encodeName(path);
}

QString writeFailure(const QString& path, const QString& reason) {
    return FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot write"), path,
                       reason);
}

// Flushes a folder's entries, so a file just made or renamed in it survives
// a power cut.
void syncFolder(const QString& folder) {
    const int fd = ::open(nativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A new file beside `path` that no one else has, opened for reading and
// writing; -1 with errno set when none can be made.
int createBeside(const QString& path, QString* tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tempPath =
            path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate() & 0xFFFFFF,
                                                 6, 16, QLatin1Char('0'));
        const int fd =
            ::open(nativeName(*tempPath).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// The file at `fd` holds `size` bytes, and exactly `bytes` when they are
// given: an empty string, else what is wrong.
QString checkContent(int fd, qint64 size, const QByteArray* held) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return SystemReason(errno);
    }
    if (info.st_size != size) {
        return QCoreApplication::translate("quillmere::Store",
                                           "only %1 of %2 bytes reached the disk")
            .arg(static_cast<qint64>(info.st_size))
            .arg(size);
    }
    if (held == nullptr || size > kReadBackLimit) {
        return QString();
    }
    const QByteArray& bytes = *held;
    QByteArray back(bytes.size(), Qt::Uninitialized);
    qint64 got = 0;
    while (got < back.size()) {
        const ssize_t n = ::pread(fd, back.data() + got, static_cast<size_t>(back.size() - got),
                                  static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0
                       ? SystemReason(errno)
                       : QCoreApplication::translate("quillmere::Store", "the file was cut short");
        }
        got += n;
    }
    return back == bytes ? QString()
                         : QCoreApplication::translate("quillmere::Store",
                                                       "the file does not read back as written");
}

// link(2) failed because this file system has no hard links (or not here).
bool linksUnsupported(int error) {
    return error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP ||
           error == EOPNOTSUPP || error == ENOSYS;
}

// copy_file_range(2) cannot copy between these two files (an older kernel,
// different file systems, a file system without it): copy through memory.
bool rangeCopyUnsupported(int error) {
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP ||
           error == EINVAL || error == ETXTBSY;
}

}  // namespace

// The FileSink of a streamed write: small pieces are collected and written
// in large ones through writeSome; ranges of another file are copied by the
// system (copy_file_range) where it can, else through a buffer.
class StreamingSink : public FileSink {
public:
    StreamingSink(const FileAccess& access, int fd, const QString& path)
        : access_(access), fd_(fd), path_(path) {
        buffer_.reserve(kStreamBuffer);
    }

    void append(QByteArrayView bytes) override {
        if (buffer_.size() + bytes.size() > kStreamBuffer) {
            flush();
        }
        if (bytes.size() >= kStreamBuffer) {
            writeOut(bytes);
        } else {
            buffer_.append(bytes);
        }
    }

    void copyFrom(const OpenFile& source, qint64 offset, qint64 length) override {
        if (length <= kSmallRange) {
            append(windowed(source, offset, length));
            return;
        }
        flush();
        while (length > 0 && rangeCopy_) {
            const qint64 n = access_.copySome(source.descriptor(), offset, fd_, length);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && rangeCopyUnsupported(errno) && copied_ == 0) {
                rangeCopy_ = false;
                break;
            }
            if (n < 0) {
                fail(errno);
            }
            if (n == 0) {
                throw FileError(CutShortFailure(source.path()));
            }
            offset += n;
            length -= n;
            written_ += n;
            copied_ += n;
        }
        QByteArray chunk;
        while (length > 0) {
            const qint64 piece = qMin(length, kStreamBuffer);
            chunk.resize(static_cast<qsizetype>(piece));
            source.readInto(chunk.data(), offset, piece);
            writeOut(chunk);
            offset += piece;
            length -= piece;
        }
    }

    qint64 size() const override { return written_ + buffer_.size(); }

    void flush() {
        if (!buffer_.isEmpty()) {
            writeOut(buffer_);
            buffer_.clear();
        }
    }

private:
    // `length` bytes of `source` at `offset`, from a window read ahead: the
    // small entries of a journal lie one after the other, and one read
    // serves many of them.
    QByteArrayView windowed(const OpenFile& source, qint64 offset, qint64 length) {
        if (&source != windowSource_ || source.descriptor() != windowDescriptor_ ||
            offset < windowStart_ || offset + length > windowStart_ + window_.size()) {
            const qint64 piece = std::max(length, std::min(kStreamBuffer, source.size() - offset));
            window_.resize(static_cast<qsizetype>(piece));
            windowSource_ = nullptr;
            try {
                source.readInto(window_.data(), offset, piece);
            } catch (const FileError&) {
                // A file cut behind the writer's back fails only where the
                // range itself is gone, as the system's copy would.
                if (piece == length) {
                    throw;
                }
                window_.resize(static_cast<qsizetype>(length));
                source.readInto(window_.data(), offset, length);
            }
            windowSource_ = &source;
            windowDescriptor_ = source.descriptor();
            windowStart_ = offset;
        }
        return QByteArrayView(window_).sliced(static_cast<qsizetype>(offset - windowStart_),
                                              static_cast<qsizetype>(length));
    }

    void writeOut(QByteArrayView bytes) {
        if (const int error = access_.writeWhole(fd_, bytes); error != 0) {
            fail(error);
        }
        written_ += bytes.size();
    }
    [[noreturn]] void fail(int error) const {
        throw FileError(writeFailure(path_, SystemReason(error)));
    }

    const FileAccess& access_;
    int fd_;
    QString path_;
    QByteArray buffer_;
    qint64 written_ = 0;
    qint64 copied_ = 0;      // bytes the system copied itself
    bool rangeCopy_ = true;  // copy_file_range works between these files
    // The read-ahead window of small ranges.
    QByteArray window_;
    const OpenFile* windowSource_ = nullptr;
    int windowDescriptor_ = -1;
    qint64 windowStart_ = 0;
};

qint64 FileAccess::writeSome(int fd, const char* data, qint64 size) const {
    return ::write(fd, data, static_cast<size_t>(size));
}

int FileAccess::syncData(int fd) const {
    return ::fdatasync(fd);
}

int FileAccess::writeWhole(int fd, QByteArrayView bytes) const {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 n = writeSome(fd, data, left);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return ENOSPC;  // nothing more is taken: the disk is full
        }
        data += n;
        left -= n;
    }
    return 0;
}

QString FileAccess::keepPrevious(const QString& path, const QString& previousPath) const {
    QString linkPath;
    for (int attempt = 0; attempt < 100; ++attempt) {
        linkPath = previousPath +
                   QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate() & 0xFFFFFF,
                                                 6, 16, QLatin1Char('0'));
        if (::link(nativeName(path).constData(), nativeName(linkPath).constData()) == 0) {
            if (::rename(nativeName(linkPath).constData(), nativeName(previousPath).constData()) ==
                0) {
                return QString();
            }
            const int error = errno;
            ::unlink(nativeName(linkPath).constData());
            return SystemReason(error);
        }
        if (errno != EEXIST) {
            break;
        }
    }
    const int error = errno;
    if (error == ENOENT) {
        return QString();  // nothing to keep
    }
    if (!linksUnsupported(error)) {
        return SystemReason(error);
    }
    // No hard links here: the previous file is copied, the one case that
    // needs room for both. The copy streams, so it needs no memory for it.
    try {
        const std::shared_ptr<const OpenFile> previous = openForReading(path);
        replaceFileWith(
            previousPath,
            [&previous](FileSink& sink) { sink.copyFrom(*previous, 0, previous->size()); }, nullptr,
            Replace{});
    } catch (const Error& e) {
        return e.message();
    }
    return QString();
}

void FileAccess::replaceFile(const QString& path, const QByteArray& bytes,
                             const Replace& how) const {
    replaceFileWith(path, FileProducer(), &bytes, how);
}

void FileAccess::replaceFileWith(const QString& path, const FileProducer& produce,
                                 const QByteArray* bytes, const Replace& how) const {
    QFileInfo target(path);
    if (target.isSymLink() && !target.canonicalFilePath().isEmpty()) {
        // A data file linked elsewhere (a synced folder) stays a link: the
        // file it points to is the one replaced.
        target = QFileInfo(target.canonicalFilePath());
    }
    const QString absolute = target.absoluteFilePath();
    QString temp;
    const int fd = createBeside(absolute, &temp);
    if (fd < 0) {
        throw FileError(writeFailure(path, SystemReason(errno)));
    }
    QString problem;
    struct stat old {};
    if (::stat(nativeName(absolute).constData(), &old) == 0 && S_ISREG(old.st_mode)) {
        // The new file keeps the permissions of the one it replaces.
        ::fchmod(fd, old.st_mode & 07777);
    }
    qint64 size = 0;
    if (bytes != nullptr) {
        size = bytes->size();
        if (const int error = writeWhole(fd, *bytes); error != 0) {
            problem = SystemReason(error);
        }
    } else {
        try {
            StreamingSink sink(*this, fd, path);
            produce(sink);
            sink.flush();
            size = sink.size();
        } catch (...) {
            ::close(fd);
            ::unlink(nativeName(temp).constData());
            throw;
        }
    }
    if (problem.isEmpty()) {
        problem =
            how.durable && syncData(fd) != 0 ? SystemReason(errno) : checkContent(fd, size, bytes);
    }
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd) != 0 && problem.isEmpty()) {
        problem = SystemReason(errno);
    }
    if (problem.isEmpty() && !how.previousPath.isEmpty()) {
        const QString kept = keepPrevious(absolute, how.previousPath);
        if (!kept.isEmpty()) {
            problem =
                QCoreApplication::translate("quillmere::Store",
                                            "the previous version could not be kept as \"%1\" (%2)")
                    .arg(QFileInfo(how.previousPath).fileName(), kept);
        }
    }
    if (problem.isEmpty() &&
        ::rename(nativeName(temp).constData(), nativeName(absolute).constData()) != 0) {
        problem = SystemReason(errno);
    }
    if (!problem.isEmpty()) {
        ::unlink(nativeName(temp).constData());
        throw FileError(writeFailure(path, problem));
    }
    if (how.durable) {
        syncFolder(target.absolutePath());
    }
}

void FileAccess::writeAtomic(const QString& path, const QByteArray& bytes) const {
    replaceFile(path, bytes, Replace{});
}

void FileAccess::writeAtomicKeepingPrevious(const QString& path, const QByteArray& bytes,
                                            const QString& previousPath) const {
    replaceFile(path, bytes, Replace{true, previousPath});
}

void FileAccess::writeAtomicStreamed(const QString& path, const FileProducer& produce,
                                     const QString& previousPath) const {
    replaceFileWith(path, produce, nullptr, Replace{true, previousPath});
}

void FileAccess::writeReplacing(const QString& path, const QByteArray& bytes) const {
    replaceFile(path, bytes, Replace{false, QString()});
}

void FileAccess::writeInPlace(const QString& path, const QByteArray& bytes) const {
    const int fd =
        ::open(nativeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw FileError(
            FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot create"), path,
                        SystemReason(errno)));
    }
    const int error = writeWhole(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (error != 0 || !closed) {
        throw FileError(writeFailure(path, SystemReason(error != 0 ? error : errno)));
    }
}

void FileAccess::appendDurably(const QString& path, const QByteArray& bytes) const {
    const QByteArray name = nativeName(path);
    bool created = false;
    // Without blocking: a FIFO with no reader fails at once instead of
    // waiting for one.
    int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        created = fd >= 0;
    }
    if (fd < 0) {
        throw FileError(writeFailure(path, SystemReason(errno)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileError(writeFailure(
            path, QCoreApplication::translate("quillmere::Store", "not a regular file")));
    }
    int error = writeWhole(fd, bytes);
    if (error == 0 && syncData(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        throw FileError(writeFailure(path, SystemReason(error)));
    }
    if (created) {
        syncFolder(QFileInfo(path).absolutePath());
    }
}

}  // namespace quillmere
