// Feeds arbitrary bytes to DSBASE::loadPacket. A packet either loads or fails
// with DatasetError leaving the table cleared; one that loads must save and
// load again to the same bytes, in both the binary and the XML form.
#include "store/dataset.h"
#include "store/dataset_error.h"

#include <cstddef>
#include <cstdint>

using quillmere::DatasetError;
using quillmere::DSBASE;
using quillmere::PacketForm;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    DSBASE table;
    try {
        table.loadPacket(bytes);
    } catch (const DatasetError&) {
        if (table.hasFields() || table.recordCount() != 0) {
            __builtin_trap();  // a failed load must leave nothing behind
        }
        return 0;
    }
    QByteArray saved;
    try {
        saved = table.savePacket();
    } catch (const DatasetError&) {
        return 0;  // e.g. a column named RowState: refused by the writer
    }
    DSBASE again;
    again.loadPacket(saved);
    if (again.savePacket() != saved) {
        __builtin_trap();
    }
    DSBASE fromXml;
    fromXml.loadPacket(table.savePacket(PacketForm::kXml));
    if (fromXml.savePacket() != saved) {
        __builtin_trap();
    }
    return 0;
}
