#include "file_access.h"

#include "errors.h"
#include "memory_pages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <fcntl.h>
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

QString failure(const QString& what, const QString& path, const QString& reason) {
    return QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(path), reason);
}

}  // namespace

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(failure(QStringLiteral("Cannot open"), path, file.errorString()));
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
        throw FileError(failure(QStringLiteral("Cannot read"), path, file.errorString()));
    }
    return bytes;
}

void FileAccess::writeAtomic(const QString& path, const QByteArray& bytes) const {
    // QSaveFile writes to a temporary file beside the target, flushes it and
    // renames it over the target on commit; on failure the target is untouched.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileError(failure(QStringLiteral("Cannot write"), path, file.errorString()));
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileError(failure(QStringLiteral("Cannot write"), path, reason));
    }
    if (!file.commit()) {
        throw FileError(failure(QStringLiteral("Cannot write"), path, file.errorString()));
    }
}

void FileAccess::writeReplacing(const QString& path, const QByteArray& bytes) const {
    const QFileInfo target(path);
    QTemporaryFile temp(
        target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temp.open()) {
        throw FileError(failure(QStringLiteral("Cannot write"), path, temp.errorString()));
    }
    if (temp.write(bytes) != bytes.size() || !temp.flush()) {
        throw FileError(failure(QStringLiteral("Cannot write"), path, temp.errorString()));
    }
    temp.close();
    // rename(2) replaces an existing target in one step; QFile::rename would
    // refuse to overwrite it.
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        throw FileError(failure(QStringLiteral("Cannot write"), path, reason));
    }
    temp.setAutoRemove(false);
    // QTemporaryFile creates its file private to the user; an exported entry
    // gets the usual permissions of a new file.
    QFile::setPermissions(target.absoluteFilePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

void FileAccess::writeInPlace(const QString& path, const QByteArray& bytes) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw FileError(failure(QStringLiteral("Cannot create"), path, file.errorString()));
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw FileError(failure(QStringLiteral("Cannot write"), path, file.errorString()));
    }
}

bool FileAccess::folderWritable(const QString& folder) const {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".quillmere-probe-XXXXXX")));
    return probe.open();
}

namespace {

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Flushes a folder's entries, so a file just made in it survives a power cut.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void FileAccess::appendDurably(const QString& path, const QByteArray& bytes) const {
    const QByteArray name = QFile::encodeName(path);
    bool created = false;
    int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        created = fd >= 0;
    }
    if (fd < 0) {
        throw FileError(failure(QStringLiteral("Cannot write"), path, systemReason()));
    }
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const QString reason = n < 0 ? systemReason() : QStringLiteral("No space left");
            ::close(fd);
            throw FileError(failure(QStringLiteral("Cannot write"), path, reason));
        }
        data += n;
        left -= n;
    }
    if (::fdatasync(fd) != 0) {
        const QString reason = systemReason();
        ::close(fd);
        throw FileError(failure(QStringLiteral("Cannot write"), path, reason));
    }
    ::close(fd);
    if (created) {
        syncFolder(QFileInfo(path).absolutePath());
    }
}

void FileAccess::truncate(const QString& path, qint64 size) const {
    if (::truncate(QFile::encodeName(path).constData(), static_cast<off_t>(size)) != 0) {
        throw FileError(failure(QStringLiteral("Cannot write"), path, systemReason()));
    }
}

void FileAccess::remove(const QString& path) const {
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT) {
        throw FileError(failure(QStringLiteral("Cannot remove"), path, systemReason()));
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
    throw FileError(failure(QStringLiteral("Cannot lock"), path,
                            lockFile->error() == QLockFile::PermissionError
                                ? QStringLiteral("Permission denied")
                                : QStringLiteral("Unknown error")));
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
