#include "file_access.h"

#include "errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillmere {

namespace {

FileAccess& realFiles() {
    static FileAccess instance;
    return instance;
}

FileAccess* current = nullptr;

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
    QByteArray bytes = file.readAll();
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

FileAccess& fileAccess() {
    return current ? *current : realFiles();
}

FileAccess* setFileAccess(FileAccess* access) {
    FileAccess* previous = current;
    current = access;
    return previous;
}

}  // namespace quillmere
