#include "file_access.h"

#include "errors.h"
#include "memory_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

namespace quillmere {

namespace {

FileAccess& realFiles() {
    static FileAccess instance;
    return instance;
}

// Read by the threads that read ahead (a preload, a search) while a test may
// replace it.
std::atomic<FileAccess*> current{nullptr};

// The largest file read in one piece: QByteArray's limit.
constexpr qint64 kMaxByteArraySize = std::numeric_limits<qsizetype>::max() / 2;

}  // namespace

QString FileFailure(const QString& what, const QString& path, const QString& reason) {
    return QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(path), reason);
}

QString CutShortFailure(const QString& path) {
    return FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot read"), path,
                       QCoreApplication::translate("quillmere::Store", "the file was cut short or changed by another program"));
}

QString SystemReason(int error) {
    switch (error) {
        case ENOSPC:
            return QCoreApplication::translate("quillmere::Store", "the disk is full");
        case EDQUOT:
            return QCoreApplication::translate("quillmere::Store", "the disk quota is used up");
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
}

bool FileAccess::exists(const QString& path) const {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

namespace {

FileStatus statusOf(const struct stat& info) {
    FileStatus status;
    status.kind = S_ISREG(info.st_mode)   ? FileKind::kRegular
                  : S_ISDIR(info.st_mode) ? FileKind::kFolder
                                          : FileKind::kOther;
    status.size = status.kind == FileKind::kRegular ? static_cast<qint64>(info.st_size) : 0;
    status.device = static_cast<quint64>(info.st_dev);
    status.inode = static_cast<quint64>(info.st_ino);
    status.modifiedNs =
        static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return status;
}

}  // namespace

FileStatus FileAccess::status(const QString& path) const {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    return statusOf(info);
}

namespace {

// Opens a regular file for reading; `info` receives its status. Opened
// without blocking, so a FIFO with no writer does not hang the open; anything
// but a regular file is refused before a byte is read. Throws FileError.
int openRegularFile(const QString& path, struct stat* info) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot open"), path, SystemReason(errno)));
    }
    if (::fstat(fd, info) != 0 || !S_ISREG(info->st_mode)) {
        const bool folder = S_ISDIR(info->st_mode);
        ::close(fd);
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot open"), path,
                                    folder ? QCoreApplication::translate("quillmere::Store", "a folder, not a file")
                                           : QCoreApplication::translate("quillmere::Store", "not a regular file")));
    }
    return fd;
}

}  // namespace

OpenFile::~OpenFile() {
    ::close(fd_);
}

void OpenFile::readInto(char* dst, qint64 offset, qint64 length) const {
    qint64 got = 0;
    while (got < length) {
        const qint64 n = fileAccess().readSomeAt(fd_, dst + got, length - got, offset + got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot read"), path_, SystemReason(errno)));
        }
        if (n == 0) {
            throw FileError(CutShortFailure(path_));
        }
        got += n;
    }
}

void OpenFile::requireUnchanged() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot read"), path_, SystemReason(errno)));
    }
    const FileStatus now = statusOf(info);
    if (now.size != status_.size || now.modifiedNs != status_.modifiedNs) {
        throw FileError(CutShortFailure(path_));
    }
}

QByteArray OpenFile::read(qint64 offset, qint64 length) const {
    QByteArray bytes(static_cast<qsizetype>(length), Qt::Uninitialized);
    readInto(bytes.data(), offset, length);
    return bytes;
}

std::shared_ptr<const OpenFile> FileAccess::openForReading(const QString& path) const {
    struct stat info {};
    const int fd = openRegularFile(path, &info);
    return std::make_shared<const OpenFile>(fd, path, statusOf(info));
}

qint64 FileAccess::readSomeAt(int fd, char* data, qint64 size, qint64 offset) const {
    return ::pread(fd, data, static_cast<size_t>(size), static_cast<off_t>(offset));
}

qint64 FileAccess::copySome(int inFd, qint64 inOffset, int outFd, qint64 size) const {
    loff_t from = static_cast<loff_t>(inOffset);
    return ::copy_file_range(inFd, &from, outFd, nullptr, static_cast<size_t>(size), 0);
}

QByteArray FileAccess::readAll(const QString& path) const {
    struct stat info {};
    const int fd = openRegularFile(path, &info);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot open"), path, file.errorString()));
    }
    QByteArray bytes;
    const qint64 expected = file.size();
    if (expected >= static_cast<qint64>(kPopulateMinimumBytes) && expected < kMaxByteArraySize) {
        // A large file: its buffer's pages come in with one request, not a
        // fault each, before the bytes are read into it.
        bytes = QByteArray(static_cast<qsizetype>(expected), Qt::Uninitialized);
        PopulatePages(bytes.data(), static_cast<std::size_t>(bytes.size()));
        qint64 got = 0;
        while (got < expected) {
            const qint64 n = file.read(bytes.data() + got, expected - got);
            if (n <= 0) {
                break;
            }
            got += n;
        }
        bytes.truncate(static_cast<qsizetype>(got));  // a file cut short meanwhile
    }
    bytes += file.readAll();  // the whole of a small file; what a large one grew by
    if (file.error() != QFileDevice::NoError) {
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot read"), path, file.errorString()));
    }
    return bytes;
}

void FileAccess::makeFolder(const QString& path) const {
    if (status(path).kind == FileKind::kFolder) {
        return;
    }
    errno = 0;
    if (!QDir().mkpath(path) || status(path).kind != FileKind::kFolder) {
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot create folder"), path,
                                    SystemReason(errno != 0 ? errno : EEXIST)));
    }
}

bool FileAccess::folderWritable(const QString& folder) const {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".quillmere-probe-XXXXXX")));
    return probe.open();
}

void FileAccess::truncate(const QString& path, qint64 size) const {
    if (::truncate(QFile::encodeName(path).constData(), static_cast<off_t>(size)) != 0) {
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot write"), path, SystemReason(errno)));
    }
}

void FileAccess::remove(const QString& path) const {
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT) {
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot remove"), path, SystemReason(errno)));
    }
}

std::unique_ptr<QLockFile> FileAccess::lock(const QString& path) const {
    auto lockFile = std::make_unique<QLockFile>(path);
    // Only a dead owner makes a lock stale, never its age: a diary may stay
    // open for days.
    lockFile->setStaleLockTime(0);
    if (lockFile->tryLock(0)) {
        return lockFile;
    }
    if (lockFile->error() == QLockFile::LockFailedError) {
        return nullptr;
    }
    throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot lock"), path,
                                lockFile->error() == QLockFile::PermissionError
                                    ? QCoreApplication::translate("quillmere::Store", "Permission denied")
                                    : QCoreApplication::translate("quillmere::Store", "Unknown error")));
}

FileAccess& fileAccess() {
    FileAccess* access = current.load();
    return access != nullptr ? *access : realFiles();
}

FileAccess* setFileAccess(FileAccess* access) {
    return current.exchange(access);
}

}  // namespace quillmere
