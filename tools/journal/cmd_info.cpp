// info FILE: the packet's header, columns and row count.
#include "tools/journal/commands.h"
#include "tools/journal/passwords.h"

#include "crypto/sealed_file.h"
#include "store/file_cipher.h"

#include "store/dataset.h"
#include "store/file_access.h"
#include "store/packet_reader.h"
#include "store/type_word.h"

#include <algorithm>

namespace quillmere::journaltool {

namespace {

QString hex(uint32_t value, int digits) {
    return QStringLiteral("0x%1")
        .arg(value, digits, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

QString columnLine(const FieldDef& f) {
    QString line = QStringLiteral("  %1  %2 (%3)  flags %4")
                       .arg(QString::fromLatin1(f.name).leftJustified(16),
                            QString::fromLatin1(typeword::typeName(f.typeWord)), hex(f.typeWord, 8),
                            hex(f.flags, 4));
    if (f.width != 0) {
        line += QStringLiteral("  width %1").arg(f.width);
    }
    if (f.subtype != 0) {
        const QByteArray name = subtypeName(f.subtype);
        line += QStringLiteral("  subtype %1")
                    .arg(name.isEmpty() ? QString::number(f.subtype) : QString::fromLatin1(name));
    }
    if (!f.kept.empty()) {
        line += QStringLiteral("  +%1 attributes").arg(f.kept.size());
    }
    return line + QLatin1Char('\n');
}

int runInfo(const QStringList& args, CommandIo& io) {
    requireArgs(args, 1, 1);
    requireReadableFile(args[0]);
    // Only the rows' structure is read, whatever the file's size; an
    // encrypted file is one authenticated stream, read and opened whole.
    const std::shared_ptr<const OpenFile> file = fileAccess().openForReading(args[0]);
    QString text = QStringLiteral("File: %1 (%2 bytes)\n").arg(args[0]).arg(file->size());
    DSBASE table;
    if (IsSealedDataFile(file->read(0, std::min(file->size(), qint64(kSealedHeadBytes))))) {
        const QByteArray bytes = file->read(0, file->size());
        const crypto::SealedFileHeader h = crypto::SealedFileHeader::DecodeFrom(bytes, args[0]);
        text += QStringLiteral(
                    "Encrypted: form %1, Argon2id %2 passes over %3 KiB, chunks of %4 bytes\n")
                    .arg(h.version)
                    .arg(h.params.opslimit)
                    .arg(h.params.memlimit / 1024)
                    .arg(h.chunkSize);
        table.loadPacket(unlockFile(bytes, args[0])->openFile(bytes, args[0]));
    } else {
        table.loadPacketFile(file);
    }
    if (table.source()->file() != nullptr || looksLikeBinaryPacket(table.source()->memory())) {
        DSEXTRACT in;
        in.openPacket(*table.source());
        const PacketHeader& h = in.header();
        text += QStringLiteral("Signature: %1  Version: %2.%3  Flags: %4  Row offset: %5\n")
                    .arg(hex(h.signature, 8))
                    .arg(h.version1)
                    .arg(h.version2)
                    .arg(hex(h.flags, 8))
                    .arg(h.rowOffset);
    } else {
        text += QStringLiteral("Form: XML\n");
    }
    text += QStringLiteral("Columns: %1\n").arg(table.fieldCount());
    for (int i = 0; i < table.fieldCount(); ++i) {
        text += columnLine(table.field(i));
    }
    text += QStringLiteral("Packet attributes: %1\n").arg(table.packetAttributes().size());
    text += QStringLiteral("Rows: %1\n").arg(table.recordCount());
    print(io.out, text);
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(info,
                          {"info", "FILE", "columns, types, flags and row count of a data file",
                           &quillmere::journaltool::runInfo})
