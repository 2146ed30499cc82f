// Packets found by fuzzing: each once made the reader or writer misbehave on
// untrusted input. They live in the fuzzer's seed folder so the fuzz runs
// start from them, and here so an ordinary test run covers them too.
#include "store/dataset.h"
#include "store/dataset_error.h"
#include "store/packet_writer.h"
#include "store/type_word.h"

#include "test_support.h"

#include <QFile>

using namespace quillmere;
using testsupport::hexBytes;
using testsupport::hexDump;

namespace {

QByteArray seed(const char* name) {
    QFile file(QStringLiteral(QUILLMERE_FUZZ_DIR "/store/seeds/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// A saved packet loads again and saves to the very same bytes.
void expectReloadsTheSame(const QByteArray& saved) {
    DSBASE again;
    again.loadPacket(saved);
    EXPECT_EQ(hexDump(saved), hexDump(again.savePacket()));
}

}  // namespace

// An XML FIELD without a name once handed memcpy a null pointer when the
// column was written; the column now loads with an empty name and writes a
// zero name length.
TEST(PacketDamage, XmlFieldWithoutNameLoadsAsAnUnnamedColumn) {
    const QByteArray xml = seed("xml-field-without-name.xml");
    ASSERT_FALSE(xml.isEmpty());
    DSBASE table;
    table.loadPacket(xml);
    ASSERT_EQ(1, table.fieldCount());
    EXPECT_TRUE(table.field(0).name.isEmpty());
    EXPECT_EQ(0x000B0004u, table.field(0).typeWord);
    EXPECT_EQ(0, table.recordCount());

    const QByteArray binary = table.savePacket();
    // Header (24), then the column: name length 0, type word, flags, no
    // attributes; packet attribute count 0.
    ASSERT_EQ(24 + 1 + 4 + 2 + 2 + 2, binary.size());
    EXPECT_EQ("00 04 00 0B 00 00 00 00 00 00 00", hexDump(binary.mid(24)));
    expectReloadsTheSame(binary);
    EXPECT_EQ(binary, packetFromXml(packetToXml(binary)));
}

// Empty names and empty values reach the writer as views without data.
TEST(PacketDamage, WriterTakesEmptyNamesAndValues) {
    DSDATAPACKET w;
    w.beginPacket(1);
    w.addColumn(QByteArrayView(), 0x004B0004, 0);
    w.addAttribute(AttributeArea::kColumn, QByteArrayView(), 0x00490001, QByteArrayView("\0", 1));
    w.addAttribute(AttributeArea::kPacket, {}, 0, {});
    w.putValue(QByteArrayView("\0", 1));
    w.putValue(QByteArrayView());
    const QByteArray packet = w.finishPacket();
    // Column: no name, type, flags, one attribute: no name, its type, an
    // empty value. Packet attribute count 0. Row: status, null flags, a blob
    // of length 0.
    EXPECT_EQ("00 04 00 4B 00 00 00 01 00 00 01 00 49 00 00 00 00 00 00 00 00 00 00",
              hexDump(packet.mid(24)));
}

// An array of strings is its element count and its elements; cutting it to the
// column's width, as a single string is cut, once saved a packet that could
// not be read back.
TEST(PacketDamage, StringArrayLongerThanItsWidthSavesWhole) {
    DSDATAPACKET w;
    w.beginPacket(1);
    w.addColumn("Names", typeword::kString1 | typeword::kArray, 0);
    w.addAttribute(AttributeArea::kColumn, "WIDTH", typeword::kUInt16, hexBytes("03 00"));
    w.closeMetadata();
    w.putValue(hexBytes("00"));
    const QByteArray names = hexBytes("02 00 00 00 02 61 62 03 63 64 65");
    w.putValue(names);
    const QByteArray packet = w.finishPacket();

    DSBASE table;
    table.loadPacket(packet);
    ASSERT_EQ(1, table.recordCount());
    const QByteArray saved = table.savePacket();
    EXPECT_EQ(hexDump(packet), hexDump(saved));
    expectReloadsTheSame(saved);
}

// The packet the fuzzer found: a string array column (its WIDTH 50) holding a
// value of 192 bytes, among ordinary columns.
TEST(PacketDamage, FuzzedStringArrayPacketSavesAndLoadsAgain) {
    const QByteArray packet = seed("string-array-longer-than-width.cds");
    ASSERT_FALSE(packet.isEmpty());
    DSBASE table;
    table.loadPacket(packet);
    ASSERT_EQ(4, table.fieldCount());
    ASSERT_EQ(1, table.recordCount());
    const QByteArray saved = table.savePacket();
    expectReloadsTheSame(saved);
    DSBASE fromXml;
    fromXml.loadPacket(table.savePacket(PacketForm::kXml));
    EXPECT_EQ(saved, fromXml.savePacket());
}
