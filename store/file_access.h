// The one seam through which the program touches files. Production code uses
// the real file system; tests install a FileAccess that fails on purpose
// ("disk full", "permission denied") to prove every error path.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

class QLockFile;

namespace quillmere {

// What a path names.
enum class FileKind {
    kMissing,  // nothing (or nothing reachable)
    kRegular,  // a regular file (through symbolic links)
    kFolder,
    kOther,  // a FIFO, a device, a socket
};

struct FileStatus {
    FileKind kind = FileKind::kMissing;
    qint64 size = 0;  // bytes, for a regular file
    // Which file it is and when its content last changed: a file replaced
    // (renamed over) differs in device or inode, one written in place in
    // its size or modification time. 0 when unknown.
    quint64 device = 0;
    quint64 inode = 0;
    qint64 modifiedNs = 0;  // nanoseconds since 1970
};

// A regular file kept open for reading parts of it (a journal whose entries
// stay on disk until they are needed). The descriptor stays valid when the
// file is renamed, replaced or removed meanwhile: it goes on reading the file
// that was opened. Made by FileAccess::openForReading; closed when the last
// owner lets go.
class OpenFile {
public:
    OpenFile(int fd, QString path, const FileStatus& status)
        : fd_(fd), path_(std::move(path)), status_(status) {}
    ~OpenFile();
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int descriptor() const { return fd_; }
    const QString& path() const { return path_; }
    // The size when it was opened.
    qint64 size() const { return status_.size; }
    // What the file was when it was opened.
    const FileStatus& status() const { return status_; }

    // Reads `length` bytes at `offset` into `dst` through fileAccess().readSomeAt.
    // Safe from several threads at once. Throws FileError "Cannot read "PATH":
    // the file was cut short or changed by another program" when the file now
    // ends before them, and "Cannot read "PATH": REASON" when the system
    // reports an error.
    void readInto(char* dst, qint64 offset, qint64 length) const;
    QByteArray read(qint64 offset, qint64 length) const;
    // Throws FileError "Cannot read "PATH": the file was cut short or changed
    // by another program" when the opened file (not whatever the path names
    // now) is no longer as it was opened: written in place or cut since, its
    // size or modification time changed.
    void requireUnchanged() const;

private:
    int fd_;
    QString path_;
    FileStatus status_;
};

// The content of a file being written, produced front to back: bytes from
// memory and ranges copied from another open file. Handed out by
// FileAccess::writeAtomicStreamed.
class FileSink {
public:
    virtual ~FileSink() = default;
    // Appends the bytes. Throws FileError naming the file being written.
    virtual void append(QByteArrayView bytes) = 0;
    // Appends `length` bytes of `source` from `offset`, without passing them
    // through this process's memory where the system can (copy_file_range,
    // which clones them on file systems that share blocks). Throws FileError
    // naming the file being written when the disk refuses them, and the
    // source's "Cannot read" error when the source ends before them.
    virtual void copyFrom(const OpenFile& source, qint64 offset, qint64 length) = 0;
    // Bytes appended so far.
    virtual qint64 size() const = 0;
};
using FileProducer = std::function<void(FileSink& sink)>;

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // What is at `path`, found without opening it, so a FIFO or a device is
    // never read. Never throws.
    virtual FileStatus status(const QString& path) const;

    // True when a file (not a folder) of that path exists.
    virtual bool exists(const QString& path) const;

    // The whole content of the file. Throws FileError naming the file when it
    // cannot be opened or read, and when it is a folder or not a regular file
    // (a FIFO, a device, a socket: these are refused before anything is read
    // from them, so a FIFO never blocks and /dev/zero is never read).
    virtual QByteArray readAll(const QString& path) const;

    // Replaces the file with `bytes` safely: writes a temporary file in the
    // same folder, forces it to disk and checks that it holds exactly `bytes`
    // (its size; a small file is read back), then renames it over `path` and
    // forces the folder to disk. When any step fails, a full disk included,
    // the old file stays as it was, the temporary file is removed, and
    // FileError "Cannot write "PATH": REASON" naming `path` is thrown (REASON
    // is "the disk is full" for a full disk).
    virtual void writeAtomic(const QString& path, const QByteArray& bytes) const;

    // As writeAtomic, and the file being replaced is kept as `previousPath`
    // (replacing what was there): a hard link to it is taken just before the
    // rename, so the write needs no more free space than the new file; only
    // where the file system has no hard links is it copied. Nothing is kept
    // when `path` does not exist. Throws FileError naming `path`; `path` then
    // holds its old content.
    virtual void writeAtomicKeepingPrevious(const QString& path, const QByteArray& bytes,
                                            const QString& previousPath) const;

    // As writeAtomicKeepingPrevious (an empty `previousPath` keeps nothing),
    // for content too large to hold in memory: `produce` writes it into the
    // temporary file through a FileSink. The file is checked by its size.
    // When `produce` throws, the temporary file is removed, the old file
    // stays and the exception passes on unchanged; failures of the write
    // itself throw FileError naming `path`.
    virtual void writeAtomicStreamed(const QString& path, const FileProducer& produce,
                                     const QString& previousPath) const;

    // Opens a regular file for reading parts of it. Throws FileError naming
    // the file as readAll does, a folder, a FIFO or a device refused before
    // anything is read.
    virtual std::shared_ptr<const OpenFile> openForReading(const QString& path) const;

    // Replaces the file with `bytes` the way writeAtomic does (a temporary
    // file in the same folder, checked, then renamed over `path`, so the final
    // name never holds a half-written file), but without forcing the data to
    // disk first: for many files the user asked for at once, such as an
    // export, where one disk flush per file would make the whole run several
    // times slower. Throws FileError naming `path`; the temporary file is
    // removed.
    virtual void writeReplacing(const QString& path, const QByteArray& bytes) const;

    // Writes `bytes` to a file, creating or truncating it in place. Every
    // byte is checked as written. Throws FileError naming the file.
    virtual void writeInPlace(const QString& path, const QByteArray& bytes) const;

    // Makes the folder `path` and any missing folder above it; an existing
    // folder is fine. Throws FileError "Cannot create folder "PATH": REASON"
    // when it cannot be made (a file of that name included).
    virtual void makeFolder(const QString& path) const;

    // True when a new file can be created in `folder`.
    virtual bool folderWritable(const QString& folder) const;

    // Appends `bytes` to the end of the file (created when missing, and then
    // its folder entry flushed too) and forces them to disk before it
    // returns. A path that is not a regular file is refused without waiting
    // on it. Throws FileError naming the file; bytes may then have been
    // partly written, which readers of such logs must expect.
    virtual void appendDurably(const QString& path, const QByteArray& bytes) const;

    // Cuts the file to its first `size` bytes. Throws FileError naming it.
    virtual void truncate(const QString& path, qint64 size) const;

    // Removes the file; a missing file is not an error. Throws FileError
    // naming the file when it exists and cannot be removed.
    virtual void remove(const QString& path) const;

    // Takes the lock file `path` for this process. A lock left by a process
    // that no longer runs is taken over. Returns nullptr when a running
    // process holds it. Throws FileError naming the file when the lock cannot
    // be made at all (for example a read-only folder).
    virtual std::unique_ptr<QLockFile> lock(const QString& path) const;

    // --- The system calls beneath every write --------------------------------
    // One virtual each, so a test can fill the disk or fail any step. Each
    // returns what the system call returns and leaves errno set on failure.

    // write(2): bytes written (possibly fewer than `size`), or -1.
    virtual qint64 writeSome(int fd, const char* data, qint64 size) const;
    // fsync(2) of a file's data: 0, or -1.
    virtual int syncData(int fd) const;
    // pread(2): bytes read (0 at the end of the file), or -1.
    virtual qint64 readSomeAt(int fd, char* data, qint64 size, qint64 offset) const;
    // copy_file_range(2) from `inFd` at `inOffset` to the current position of
    // `outFd`: bytes copied (0 when the source ends), or -1.
    virtual qint64 copySome(int inFd, qint64 inOffset, int outFd, qint64 size) const;

private:
    friend class StreamingSink;
    struct Replace {
        bool durable = true;   // forced to disk before the rename
        QString previousPath;  // where the replaced file is kept, if anywhere
    };
    void replaceFile(const QString& path, const QByteArray& bytes, const Replace& how) const;
    void replaceFileWith(const QString& path, const FileProducer& produce, const QByteArray* bytes,
                         const Replace& how) const;
    // Writes every byte through writeSome; the errno of the failure, or 0.
    int writeWhole(int fd, QByteArrayView bytes) const;
    // Keeps `path` as `previousPath` (see writeAtomicKeepingPrevious); the
    // reason it could not, or an empty string.
    QString keepPrevious(const QString& path, const QString& previousPath) const;
};

// "WHAT "PATH": REASON", the message of every FileError of the seam
// ("Cannot write "/home/me/Journal.cds": the disk is full").
QString FileFailure(const QString& what, const QString& path, const QString& reason);
// "Cannot read "PATH": the file was cut short or changed by another program":
// a file read in parts ends before a part it held when it was opened.
QString CutShortFailure(const QString& path);
// The reason for a system error number in such a message: "the disk is full"
// for ENOSPC, "the disk quota is used up" for EDQUOT, else the system's text.
QString SystemReason(int error);

// The instance every caller uses. Never null.
FileAccess& fileAccess();

// Replaces the instance for a test; returns the previous one. Passing nullptr
// restores the real file system. The caller keeps ownership.
FileAccess* setFileAccess(FileAccess* access);

// Installs a FileAccess for the lifetime of the guard (tests).
class ScopedFileAccess {
public:
    explicit ScopedFileAccess(FileAccess* access) : previous_(setFileAccess(access)) {}
    ~ScopedFileAccess() { setFileAccess(previous_); }
    ScopedFileAccess(const ScopedFileAccess&) = delete;
    ScopedFileAccess& operator=(const ScopedFileAccess&) = delete;

private:
    FileAccess* previous_;
};

}  // namespace quillmere
