#include "store/packet_preload.h"

#include "store/dataset.h"
#include "store/file_access.h"
#include "store/file_cipher.h"

#include <QFile>
#include <QFileInfo>

#include <future>
#include <memory>
#include <mutex>

#include <sys/stat.h>

namespace quillmere {

namespace {

struct Preload {
    QString name;  // the file's canonical path
    FileAccess* access = nullptr;
    FileStamp stamp;
    FileFingerprint read;
    std::unique_ptr<DSBASE> table = std::make_unique<DSBASE>();
    bool loaded = false;
    QByteArray sealed;  // an encrypted file's bytes as read
};

std::mutex& preloadMutex() {
    static std::mutex mutex;
    return mutex;
}

// The one preload of the program (the journal). A future of std::async waits
// for its thread when destroyed, so the worker never outlives the program.
std::future<std::unique_ptr<Preload>>& pending() {
    static std::future<std::unique_ptr<Preload>> future;
    return future;
}

QString& pendingPath() {
    static QString path;
    return path;
}

// An encrypted file's bytes waiting for the opening with its key.
std::unique_ptr<Preload>& kept() {
    static std::unique_ptr<Preload> preload;
    return preload;
}

std::unique_ptr<Preload> load(const QString& path, const QString& name, FileAccess* access) {
    auto preload = std::make_unique<Preload>();
    preload->name = name;
    preload->access = access;
    try {
        preload->stamp = StampOf(path);
        // A plain journal's structure is read, its entries stay in the
        // file; an encrypted one is kept whole for the opening with its key.
        const std::shared_ptr<const OpenFile> file = access->openForReading(path);
        if (file->size() > 0) {
            const QByteArray head = file->read(0, std::min(file->size(), qint64(kSealedHeadBytes)));
            if (IsSealedDataFile(head)) {
                // Read whole once, as the opening would read it.
                preload->sealed = access->readAll(path);
                preload->read = FileFingerprint::of(preload->sealed);
            } else {
                preload->table->loadPacketFile(file);
                preload->read = FileFingerprint::ofStatus(file->status());
                preload->loaded = true;
            }
        }
    } catch (...) {
        // open reads the file again and reports the failure itself.
        preload->loaded = false;
        preload->sealed.clear();
    }
    return preload;
}

// The same file named the same way, whatever way the folder was found;
// empty when there is no such file.
QString canonical(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

// The finished preload of the file `name`, taken out of its slot; null when
// there is none (a preload of another file stays where it is).
std::unique_ptr<Preload> takeFinished(const QString& name) {
    std::lock_guard<std::mutex> lock(preloadMutex());
    if (name.isEmpty()) {
        return nullptr;
    }
    if (pending().valid() && pendingPath() == name) {
        pendingPath().clear();
        try {
            return pending().get();
        } catch (...) {
            return nullptr;
        }
    }
    if (kept() && kept()->name == name) {
        return std::move(kept());
    }
    return nullptr;
}

}  // namespace

FileStamp StampOf(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    return FileStamp{static_cast<qint64>(info.st_size), static_cast<qint64>(info.st_ino),
                     static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                     static_cast<qint64>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

void PreloadDataFile(const QString& path) {
    std::lock_guard<std::mutex> lock(preloadMutex());
    const QString name = canonical(path);
    if (pending().valid() || name.isEmpty()) {
        return;
    }
    if (kept() && kept()->name == name) {
        kept().reset();
    }
    try {
        pending() = std::async(std::launch::async, load, path, name, &fileAccess());
        pendingPath() = name;
    } catch (...) {
        // No thread: the table reads the file when it opens, as without this.
    }
}

PreloadedFile TakePreloadedDataFile(const QString& path, DSBASE& into, bool keepSealed) {
    std::unique_ptr<Preload> preload = takeFinished(canonical(path));
    if (!preload || preload->access != &fileAccess() || !(preload->stamp == StampOf(path))) {
        return {};
    }
    PreloadedFile result;
    if (preload->loaded) {
        into.takeContent(*preload->table);
        result.table = true;
        result.read = preload->read;
    } else if (!preload->sealed.isEmpty()) {
        result.sealed = preload->sealed;
        if (keepSealed) {
            std::lock_guard<std::mutex> lock(preloadMutex());
            if (!kept()) {
                kept() = std::move(preload);
            }
        } else {
            if (!preload->read.existed) {
                preload->read = FileFingerprint::of(preload->sealed);
            }
            result.read = preload->read;
        }
    }
    return result;
}

void KeepSealedDataFile(const QString& path, const QByteArray& bytes, const FileStamp& before) {
    try {
        std::lock_guard<std::mutex> lock(preloadMutex());
        const QString name = canonical(path);
        if (name.isEmpty() || (pending().valid() && pendingPath() == name)) {
            return;
        }
        auto preload = std::make_unique<Preload>();
        preload->name = name;
        preload->access = &fileAccess();
        preload->stamp = before;
        preload->sealed = bytes;
        kept() = std::move(preload);
    } catch (...) {
        // Nothing kept: the opening with the key reads the file.
    }
}

}  // namespace quillmere
