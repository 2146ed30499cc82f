// A file system that fails on purpose, in one of two ways:
// - by name: every write-like call on a path whose file name or whole path is
//   listed (or on any path, for FailingFiles::everyFile) throws the FileError
//   the real seam would throw, "Cannot write "PATH": REASON", with the reason
//   given ("No space left on device"), and counts the attempts;
// - as a full disk (FailingFiles::fullDisk): the real writes run, but the
//   disk takes only so many more bytes; past them write(2) takes a part and
//   then fails with ENOSPC, exactly as a real full disk does, so every step of
//   the real safe write is exercised.
// Reads and everything else go to the real file system.
#pragma once

#include "store/errors.h"
#include "store/file_access.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>

namespace testsupport {

class FailingFiles : public quillmere::FileAccess {
public:
    explicit FailingFiles(QSet<QString> names,
                          QString reason = QStringLiteral("No space left on device"))
        : names_(std::move(names)), reason_(std::move(reason)) {}

    // Every write fails, whatever the file's name.
    static FailingFiles everyFile(QString reason = QStringLiteral("No space left on device")) {
        FailingFiles files({}, std::move(reason));
        files.everyFile_ = true;
        return files;
    }

    // A disk with `freeBytes` left: writes beyond them fail with ENOSPC.
    static FailingFiles fullDisk(qint64 freeBytes = 0) {
        FailingFiles files({});
        files.freeBytes_ = freeBytes;
        return files;
    }

    void writeAtomic(const QString& path, const QByteArray& bytes) const override {
        check(path);
        FileAccess::writeAtomic(path, bytes);
    }
    void writeAtomicKeepingPrevious(const QString& path, const QByteArray& bytes,
                                    const QString& previousPath) const override {
        check(path);
        FileAccess::writeAtomicKeepingPrevious(path, bytes, previousPath);
    }
    void writeAtomicStreamed(const QString& path, const quillmere::FileProducer& produce,
                             const QString& previousPath) const override {
        check(path);
        FileAccess::writeAtomicStreamed(path, produce, previousPath);
    }
    // The system's own copies take room on the full disk as writes do.
    qint64 copySome(int inFd, qint64 inOffset, int outFd, qint64 size) const override {
        if (freeBytes_ < 0) {
            return FileAccess::copySome(inFd, inOffset, outFd, size);
        }
        if (freeBytes_ == 0) {
            ++failures_;
            errno = ENOSPC;
            return -1;
        }
        const qint64 n = FileAccess::copySome(inFd, inOffset, outFd, std::min(size, freeBytes_));
        if (n > 0) {
            freeBytes_ -= n;
        }
        return n;
    }
    qint64 writeSome(int fd, const char* data, qint64 size) const override {
        if (freeBytes_ < 0) {
            return FileAccess::writeSome(fd, data, size);
        }
        if (freeBytes_ == 0) {
            ++failures_;
            errno = ENOSPC;
            return -1;
        }
        const qint64 n = FileAccess::writeSome(fd, data, std::min(size, freeBytes_));
        if (n > 0) {
            freeBytes_ -= n;
        }
        return n;
    }
    void writeReplacing(const QString& path, const QByteArray& bytes) const override {
        check(path);
        FileAccess::writeReplacing(path, bytes);
    }
    void writeInPlace(const QString& path, const QByteArray& bytes) const override {
        check(path);
        FileAccess::writeInPlace(path, bytes);
    }
    void appendDurably(const QString& path, const QByteArray& bytes) const override {
        check(path);
        FileAccess::appendDurably(path, bytes);
    }

    // Lets writes through from now on.
    void heal() {
        names_.clear();
        everyFile_ = false;
        freeBytes_ = -1;
    }
    int failures() const { return failures_; }

    // The message a refused write of `path` carries.
    QString messageFor(const QString& path) const {
        return QStringLiteral("Cannot write \"%1\": %2")
            .arg(QDir::toNativeSeparators(path), reason_);
    }

private:
    void check(const QString& path) const {
        if (everyFile_ || names_.contains(path) || names_.contains(QFileInfo(path).fileName())) {
            ++failures_;
            throw quillmere::FileError(messageFor(path));
        }
    }

    QSet<QString> names_;
    QString reason_;
    bool everyFile_ = false;
    mutable qint64 freeBytes_ = -1;  // -1: as much room as the real disk has
    mutable int failures_ = 0;
};

}  // namespace testsupport
