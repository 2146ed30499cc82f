// A table kept in one data file: read when it is opened, and written back only
// when it closes and only if a record was inserted or changed since it was
// opened. A small table is read whole and held in memory; a table that reads
// lazily (the journal) reads only its rows' structure and leaves every value
// of varying length in the file until it is asked for. The write goes through
// the file-access seam's safe writes, so a failed write leaves the previous
// file as it was; a large table is streamed into it, its unchanged rows copied
// from the file they were read from.
//
// Records are changed the way a dataset changes them: edit() or insert() fill
// a record buffer, the setters change the buffer, post() stores it and
// cancel() drops it; nothing of a cancelled change remains in the table.
#pragma once

#include "store/dataset.h"
#include "store/file_cipher.h"
#include "store/file_fingerprint.h"
#include "store/packet_preload.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace quillmere {

enum class TableMode { kBrowse, kEdit, kInsert };

class StoredTable {
public:
    StoredTable(const QString& name, std::vector<FieldDeclaration> fields);
    // Writes the file when the table is still open and changed. Never throws:
    // a failure is reported through qWarning and the previous file stays.
    virtual ~StoredTable();
    StoredTable(const StoredTable&) = delete;
    StoredTable& operator=(const StoredTable&) = delete;

    // The component name errors start with ("tblJournal").
    const QString& name() const { return name_; }
    const QString& path() const { return path_; }
    bool isOpen() const { return open_; }
    // True once a record was posted since the table was opened.
    bool isModified() const { return modified_; }
    TableMode mode() const { return mode_; }

    // The cipher the file is written with from now on (null: the plain data
    // packet, byte for byte). Reading takes either form: an encrypted file
    // needs the cipher, a plain one is read as it is.
    void setCipher(std::shared_ptr<const FileCipher> cipher) { cipher_ = std::move(cipher); }
    const std::shared_ptr<const FileCipher>& cipher() const { return cipher_; }

    // Opens the table from `path`. A missing file gives an empty table in
    // memory (nothing is written); an existing one is read whole, or only its
    // rows' structure when the table reads lazily. Change logging is switched
    // off. Throws FileError naming the file when it cannot be read or is a
    // folder, a FIFO or a device,
    // Error "Missing data provider or data packet" for an empty file,
    // DatasetError for a file that is not a fitting data packet,
    // KeyRequiredError for an encrypted file without a cipher, WrongKeyError
    // or SealedDataError from the cipher; the table is then closed.
    void open(const QString& path);

    // Writes the file now when the table changed, in the cipher's form, and
    // keeps the table open (it counts as unchanged afterwards); a file
    // replaced by the write is kept as `previousPath` unless that is empty.
    // Returns whether it wrote; readFingerprint() then describes the file
    // written. Throws FileError naming the file (also when the file the
    // unchanged values are copied from was rewritten in place by another
    // program); the table then stays changed.
    bool save(const QString& previousPath = QString());
    // Writes the file now whether or not it changed.
    bool saveAlways(const QString& previousPath = QString());

    // Writes the file if the table was changed, then closes it. A pending
    // edit or insert is cancelled first. Throws FileError naming the file when
    // it cannot be written; the table then stays open with its changes, so
    // the caller may retry (or abandon()).
    void close();
    // As close(), and a file replaced by the write is kept as `previousPath`
    // (FileAccess::writeAtomicKeepingPrevious); an empty path keeps nothing.
    void closeKeepingPrevious(const QString& previousPath);
    // Closes without writing anything.
    void abandon();

    // Writes the whole table as a new file `path` (replacing one that is
    // there) without closing it or changing what close() will write. Throws
    // the closed-table error when closed, FileError naming the file.
    void writeCopy(const QString& path) const;

    // The record buffer of the current record (edit) or of a new one (insert).
    // Throw the closed-table error when closed; edit() throws Error "<name>:
    // Cannot modify an empty dataset" when there is no current record.
    void edit();
    void insert();
    // Stores the buffer; the table returns to browsing. Throws the closed-table
    // error when closed, Error "<name>: Dataset not in edit or insert mode"
    // when browsing.
    void post();
    // Drops the buffer; the table returns to browsing. Does nothing when
    // browsing or closed.
    void cancel();

    // Number of records (0 when closed).
    int recordCount() const { return open_ ? data_.recordCount() : 0; }
    bool isEmpty() const { return recordCount() == 0; }

    // What the file held when open() read it, or last written by save();
    // `existed` is false when open() found no file (and while closed).
    const FileFingerprint& readFingerprint() const { return read_; }

    // The engine underneath, for tools that show a table's columns.
    const DSBASE& dataset() const { return data_; }

protected:
    // Throws Error "<name>: Cannot perform this operation on a closed dataset".
    void requireOpen() const;
    // Throws unless the table is editing or inserting.
    void requireEditing() const;
    // Error "<name>: <text>".
    [[noreturn]] void fail(const QString& text) const;

    // Index of a field by name; throws Error "<name>: Field 'X' not found"
    // when the open table has no such field of the expected type code.
    int requireField(const char* fieldName, std::initializer_list<uint32_t> codes) const;

    // The cell of `column` of the record being shown: the buffer while
    // editing or inserting, else the current record; nullptr when none.
    const Cell* currentCell(int column) const;
    RecordBuffer& buffer() { return buffer_; }

    DSBASE& data() { return data_; }
    const DSBASE& data() const { return data_; }
    std::optional<uint32_t> current() const { return current_; }
    void setCurrent(std::optional<uint32_t> id) { current_ = id; }

    // Where insert() puts the new record in the default order.
    virtual int insertPosition() const = 0;
    // True when open() leaves the values of varying length in the file.
    virtual bool readsLazily() const { return false; }
    // Called after the table was read (fields checked, indexes built); an
    // exception closes the table again.
    virtual void afterOpen() {}
    // Called after a post stored record `id` (inserted or edited).
    virtual void afterPost(uint32_t id, bool inserted) {
        (void)id;
        (void)inserted;
    }

private:
    // A binary packet estimated larger than this is streamed into its file;
    // a smaller one is built in memory, so that it is read back and compared
    // after writing.
    static constexpr qsizetype kStreamedWriteBytes = 1024 * 1024;

    // Reads `path` (or takes what was read ahead of it) into the table.
    void load(const QString& path, PreloadedFile ahead);
    // Reads a plain journal's structure, leaving its entries in the file;
    // false (nothing read) when the file is encrypted.
    bool loadLazily(const QString& path);
    void writeIfChanged(const QString& previousPath);
    // Writes the table as `path` in the cipher's form; the fingerprint of
    // the file written.
    FileFingerprint writeTo(const QString& path, const QString& previousPath) const;
    bool writeFile(const QString& previousPath);
    void reset();

    QString name_;
    std::vector<FieldDeclaration> fields_;
    std::shared_ptr<const FileCipher> cipher_;
    QString path_;
    FileFingerprint read_;
    DSBASE data_;
    bool open_ = false;
    bool modified_ = false;
    TableMode mode_ = TableMode::kBrowse;
    RecordBuffer buffer_;
    std::optional<uint32_t> current_;
};

}  // namespace quillmere
