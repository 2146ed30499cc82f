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

FileAccess* current = nullptr;

// The largest file read in one piece: QByteArray's limit.
constexpr qint64 kMaxByteArraySize = std::numeric_limits<qsizetype>::max() / 2;

}  // namespace

QString FileFailure(const QString& what, const QString& path, const QString& reason) {
    return QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(path), reason);
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

FileStatus FileAccess::status(const QString& path) const {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    if (S_ISREG(info.st_mode)) {
        return {FileKind::kRegular, static_cast<qint64>(info.st_size)};
    }
    return {S_ISDIR(info.st_mode) ? FileKind::kFolder : FileKind::kOther, 0};
}

QByteArray FileAccess::readAll(const QString& path) const {
    // Opened without blocking, so a FIFO with no writer does not hang the
    // open; only a regular file is then read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot open"), path, SystemReason(errno)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        throw FileError(FileFailure(QCoreApplication::translate("quillmere::Store", "Cannot open"), path,
                                    folder ? QCoreApplication::translate("quillmere::Store", "a folder, not a file")
                                           : QCoreApplication::translate("quillmere::Store", "not a regular file")));
    }
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
    return current ? *current : realFiles();
}

FileAccess* setFileAccess(FileAccess* access) {
    FileAccess* previous = current;
    current = access;
    return previous;
}

}  // namespace quillmere
