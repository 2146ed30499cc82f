// Where the bytes of a data packet are kept while its table is open: in
// memory (a small data file read whole, a packet converted from XML) or in the
// data file itself, kept open, so that a journal of photographs costs memory
// for its rows, not for its pictures. Values of the table refer to ranges of
// their packet's source (see DSBASE); reading such a range is the only way to
// their bytes, so a file cut short or changed by another program meanwhile
// gives an error for the values it lost, never a crash.
#pragma once

#include "store/file_access.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace quillmere {

class PacketSource {
public:
    // A packet held in memory (shared, not copied).
    static std::shared_ptr<const PacketSource> inMemory(QByteArray bytes);
    // A packet that is the whole of an open file.
    static std::shared_ptr<const PacketSource> inFile(std::shared_ptr<const OpenFile> file);

    // The packet's size in bytes (a file's size when it was opened).
    qint64 size() const;
    // The whole packet when it is in memory; empty otherwise.
    QByteArrayView memory() const { return QByteArrayView(bytes_); }
    // The open file when the packet is one; nullptr otherwise.
    const OpenFile* file() const { return file_.get(); }

    // Reads [offset, offset + length). Safe from several threads at once.
    // Throws FileError "Cannot read "PATH": the file was cut short or changed
    // by another program" when the file ends before the range (or the range
    // lies outside a packet in memory), FileError "Cannot read "PATH": REASON"
    // for a failed read.
    void readInto(char* dst, qint64 offset, qint64 length) const;
    QByteArray read(qint64 offset, qint64 length) const;

    // Appends [offset, offset + length) to `sink`: copied by the system from
    // an open file, written from memory otherwise. Throws as FileSink does.
    void copyTo(FileSink& sink, qint64 offset, qint64 length) const;

private:
    PacketSource() = default;
    QByteArray bytes_;
    std::shared_ptr<const OpenFile> file_;
};

}  // namespace quillmere
