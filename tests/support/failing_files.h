// A file system that fails on purpose: every write-like call on a path whose
// file name is listed throws the FileError the real seam would throw, with
// the reason given ("No space left on device"), and counts the attempts.
// Reads and everything else go to the real file system.
#pragma once

#include "store/errors.h"
#include "store/file_access.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace testsupport {

class FailingFiles : public quillmere::FileAccess {
public:
    explicit FailingFiles(QSet<QString> names,
                          QString reason = QStringLiteral("No space left on device"))
        : names_(std::move(names)), reason_(std::move(reason)) {}

    void writeAtomic(const QString& path, const QByteArray& bytes) const override {
        check(path);
        FileAccess::writeAtomic(path, bytes);
    }
    void appendDurably(const QString& path, const QByteArray& bytes) const override {
        check(path);
        FileAccess::appendDurably(path, bytes);
    }

    // Lets writes through from now on.
    void heal() { names_.clear(); }
    int failures() const { return failures_; }

private:
    void check(const QString& path) const {
        if (names_.contains(QFileInfo(path).fileName())) {
            ++failures_;
            throw quillmere::FileError(QStringLiteral("Cannot write \"%1\": %2")
                                           .arg(QDir::toNativeSeparators(path), reason_));
        }
    }

    QSet<QString> names_;
    QString reason_;
    mutable int failures_ = 0;
};

}  // namespace testsupport
