// Packets written out byte by byte, as the file format describes them, so the
// tests compare the engine against the format rather than against itself.
#pragma once

#include "test_support.h"

#include <QByteArray>

namespace storetest {

// Header of an empty journal packet and its metadata (88 bytes).
inline QByteArray emptyJournalPacket() {
    return testsupport::hexBytes(
        "96 19 E0 BD 01 00 00 00 18 00 00 00 02 00 00 00 00 00 03 00 00 00 58 00"
        "0B 4A 6F 75 72 6E 61 6C 44 61 74 65 08 00 08 00 00 00 00 00"
        "0C 4A 6F 75 72 6E 61 6C 45 6E 74 72 79 04 00 4B 00 00 00 01 00"
        "07 53 55 42 54 59 50 45 02 00 49 00 07 00 42 69 6E 61 72 79 00"
        "00 00");
}

// Header of an empty settings packet and its metadata (119 bytes).
inline QByteArray emptySettingsPacket() {
    return testsupport::hexBytes(
        "96 19 E0 BD 01 00 00 00 18 00 00 00 04 00 00 00 00 00 03 00 00 00 77 00"
        "08 50 61 73 73 77 6F 72 64 01 00 49 00 00 00 01 00"
        "05 57 49 44 54 48 02 00 02 00 14 00"
        "08 46 6F 6E 74 4E 61 6D 65 01 00 49 00 00 00 01 00"
        "05 57 49 44 54 48 02 00 02 00 32 00"
        "08 46 6F 6E 74 53 69 7A 65 04 00 01 00 00 00 00 00"
        "09 46 6F 6E 74 43 6F 6C 6F 72 04 00 01 00 00 00 00 00"
        "00 00");
}

// `packet` with its row count (offset 14) set.
inline QByteArray withRowCount(QByteArray packet, uint32_t rows) {
    for (int i = 0; i < 4; ++i) {
        packet[14 + i] = static_cast<char>(rows >> (8 * i));
    }
    return packet;
}

// The journal row of 15 June 2010 with the blob "abc".
inline QByteArray june15Row() {
    return testsupport::hexBytes("00 00 00 00 7C 1D 28 D6 CC 42 03 00 00 00 61 62 63");
}

// A settings row: empty password, "Arial", 10 points, colour 0.
inline QByteArray arialRow() {
    return testsupport::hexBytes("00 00 01 00 05 41 72 69 61 6C 0A 00 00 00 00 00 00 00");
}

}  // namespace storetest
