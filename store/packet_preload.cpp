#include "store/packet_preload.h"

#include "store/dataset.h"
#include "store/file_access.h"

#include <QDateTime>
#include <QFileInfo>

#include <future>
#include <memory>
#include <mutex>

namespace quillmere {

namespace {

// What identifies the file that was read: a file replaced or written since
// differs in one of these.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path) {
    const QFileInfo info(path);
    return FileStamp{info.exists() ? info.size() : -1, info.lastModified()};
}

struct Preload {
    QString path;
    FileAccess* access = nullptr;
    FileStamp stamp;
    FileFingerprint read;
    std::unique_ptr<DSBASE> table = std::make_unique<DSBASE>();
    bool loaded = false;
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

std::unique_ptr<Preload> load(const QString& path, FileAccess* access) {
    auto preload = std::make_unique<Preload>();
    preload->path = path;
    preload->access = access;
    try {
        preload->stamp = stampOf(path);
        const std::shared_ptr<const OpenFile> file = access->openForReading(path);
        if (file->size() > 0) {
            preload->table->loadPacketFile(file);
            preload->read = FileFingerprint::ofStatus(file->status());
            preload->loaded = true;
        }
    } catch (...) {
        // open reads the file again and reports the failure itself.
        preload->loaded = false;
    }
    return preload;
}

// The same file named the same way, whatever way the folder was found;
// empty when there is no such file.
QString canonical(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

}  // namespace

void PreloadDataFile(const QString& path) {
    std::lock_guard<std::mutex> lock(preloadMutex());
    const QString name = canonical(path);
    if (pending().valid() || name.isEmpty()) {
        return;
    }
    try {
        pending() = std::async(std::launch::async, load, path, &fileAccess());
        pendingPath() = name;
    } catch (...) {
        // No thread: the table reads the file when it opens, as without this.
    }
}

bool TakePreloadedDataFile(const QString& path, DSBASE& into, FileFingerprint& read) {
    std::unique_ptr<Preload> preload;
    {
        std::lock_guard<std::mutex> lock(preloadMutex());
        if (!pending().valid() || pendingPath() != canonical(path)) {
            return false;
        }
        try {
            preload = pending().get();
        } catch (...) {
            return false;
        }
        pendingPath().clear();
    }
    if (!preload->loaded || preload->access != &fileAccess() ||
        !(preload->stamp == stampOf(path))) {
        return false;
    }
    into.takeContent(*preload->table);
    read = preload->read;
    return true;
}

}  // namespace quillmere
