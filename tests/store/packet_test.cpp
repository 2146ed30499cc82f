// The binary data packet: exact bytes of the program's two files, the
// reader's acceptance rules, and damaged packets failing cleanly.
#include "store/coding.h"
#include "store/dataset.h"
#include "store/dataset_error.h"
#include "store/packet_format.h"
#include "store/packet_writer.h"
#include "store/type_word.h"

#include "packet_bytes.h"
#include "test_support.h"

using namespace quillmere;
using storetest::arialRow;
using storetest::emptyJournalPacket;
using storetest::emptySettingsPacket;
using storetest::june15Row;
using storetest::withRowCount;
using testsupport::hexBytes;
using testsupport::hexDump;

namespace {

std::vector<FieldDeclaration> journalSpec() {
    return {FieldDeclaration::dateTime("JournalDate"), FieldDeclaration::blob("JournalEntry")};
}

std::vector<FieldDeclaration> settingsSpec() {
    return {FieldDeclaration::string("Password", 20), FieldDeclaration::string("FontName", 50),
            FieldDeclaration::integer32("FontSize"), FieldDeclaration::integer32("FontColor")};
}

uint16_t statusOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DatasetError& e) {
        return e.code();
    }
    return 0xFFFF;  // nothing thrown
}

// A journal of three days, inserted out of date order.
QByteArray threeDayJournal() {
    DSBASE t;
    t.createTable(journalSpec());
    t.setLogChanges(false);
    const double days[] = {40301, 40299, 40300};
    for (const double d : days) {
        RecordBuffer r = t.blankRecord();
        t.setDateTime(r, 0, d);
        t.setBytes(r, 1, QByteArray("entry of ") + QByteArray::number(d));
        t.insertRecord(t.recordCount(), std::move(r));
    }
    return t.savePacket();
}

}  // namespace

TEST(Packet, EmptyTablesAreTheirMetadataOnly) {
    DSBASE journal;
    journal.createTable(journalSpec());
    EXPECT_EQ(hexDump(emptyJournalPacket()), hexDump(journal.savePacket()));
    EXPECT_EQ(88, journal.savePacket().size());

    DSBASE settings;
    settings.createTable(settingsSpec());
    EXPECT_EQ(hexDump(emptySettingsPacket()), hexDump(settings.savePacket()));
    EXPECT_EQ(119, settings.savePacket().size());
}

TEST(Packet, JournalRowOf15June2010) {
    DSBASE t;
    t.createTable(journalSpec());
    t.setLogChanges(false);
    RecordBuffer r = t.blankRecord();
    t.setDateTime(r, 0, 40344.0);
    t.setBytes(r, 1, "abc");
    t.insertRecord(0, std::move(r));
    const QByteArray expected = withRowCount(emptyJournalPacket(), 1) + june15Row();
    EXPECT_EQ(hexDump(expected), hexDump(t.savePacket()));
}

TEST(Packet, SettingsRowWithEmptyPasswordAndArial) {
    DSBASE t;
    t.createTable(settingsSpec());
    t.setLogChanges(false);
    RecordBuffer r = t.blankRecord();
    t.setString(r, 0, "");
    t.setString(r, 1, "Arial");
    t.setInteger(r, 2, 10);
    t.setInteger(r, 3, 0);
    t.insertRecord(0, std::move(r));
    const QByteArray expected = withRowCount(emptySettingsPacket(), 1) + arialRow();
    EXPECT_EQ(hexDump(expected), hexDump(t.savePacket()));

    // Read back, the empty password is an empty string, not a blank value.
    DSBASE back;
    back.loadPacket(expected);
    ASSERT_EQ(1, back.recordCount());
    EXPECT_FALSE(DSBASE::isBlank(back.cell(back.recordId(0), 0)));
    EXPECT_EQ(QByteArray(), back.stringValue(back.cell(back.recordId(0), 0)));
    EXPECT_EQ(QByteArray("Arial"), back.stringValue(back.cell(back.recordId(0), 1)));
    EXPECT_EQ(10, back.integerValue(back.cell(back.recordId(0), 2), 2));
}

struct NullFlagCase {
    const char* name;
    bool settings;
    int blankColumn;
    const char* rowHex;
};

class NullFlags : public ::testing::TestWithParam<NullFlagCase> {};

TEST_P(NullFlags, BlankColumnSetsItsBitAndWritesNoBytes) {
    const NullFlagCase& c = GetParam();
    DSBASE t;
    t.createTable(c.settings ? settingsSpec() : journalSpec());
    t.setLogChanges(false);
    RecordBuffer r = t.blankRecord();
    if (c.settings) {
        t.setString(r, 0, "pw");
        t.setString(r, 1, "Arial");
        t.setInteger(r, 2, 10);
        t.setInteger(r, 3, 255);
    } else {
        t.setDateTime(r, 0, 40344);
        t.setBytes(r, 1, "abc");
    }
    DSBASE::setBlank(r, c.blankColumn);
    t.insertRecord(0, std::move(r));
    const QByteArray packet = t.savePacket();
    const qsizetype rows = c.settings ? 119 : 88;
    EXPECT_EQ(std::string(c.rowHex), hexDump(packet.mid(rows)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NullFlags,
    ::testing::Values(
        NullFlagCase{"JournalDate", false, 0, "00 01 03 00 00 00 61 62 63"},
        NullFlagCase{"JournalEntry", false, 1, "00 04 00 00 7C 1D 28 D6 CC 42"},
        NullFlagCase{"Password", true, 0, "00 01 05 41 72 69 61 6C 0A 00 00 00 FF 00 00 00"},
        NullFlagCase{"FontName", true, 1, "00 04 02 70 77 0A 00 00 00 FF 00 00 00"},
        NullFlagCase{"FontSize", true, 2, "00 10 02 70 77 05 41 72 69 61 6C FF 00 00 00"},
        NullFlagCase{"FontColor", true, 3, "00 40 02 70 77 05 41 72 69 61 6C 0A 00 00 00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Packet, SavingTwiceGivesIdenticalBytesAndLoadingKeepsThem) {
    const QByteArray first = threeDayJournal();
    DSBASE t;
    t.loadPacket(first);
    EXPECT_EQ(hexDump(first), hexDump(t.savePacket()));
    EXPECT_EQ(hexDump(t.savePacket()), hexDump(t.savePacket()));
    // Rows keep the order they were added in, not date order.
    ASSERT_EQ(3, t.recordCount());
    EXPECT_EQ(QByteArray("entry of 40301"), t.bytesValue(t.cell(t.recordId(0), 1)));
    EXPECT_EQ(QByteArray("entry of 40299"), t.bytesValue(t.cell(t.recordId(1), 1)));
}

struct HeaderCase {
    const char* name;
    int offset;
    const char* bytes;
    uint16_t expected;  // 0: loads
};

class HeaderAcceptance : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderAcceptance, SignatureVersionAndFlags) {
    const HeaderCase& c = GetParam();
    QByteArray packet = withRowCount(emptyJournalPacket(), 1) + june15Row();
    packet.replace(c.offset, hexBytes(c.bytes).size(), hexBytes(c.bytes));
    DSBASE t;
    const uint16_t got = statusOf([&] { t.loadPacket(packet); });
    if (c.expected == 0) {
        EXPECT_EQ(0xFFFF, got) << "should load";
        EXPECT_EQ(1, t.recordCount());
    } else {
        EXPECT_EQ(c.expected, got);
        EXPECT_FALSE(t.hasFields()) << "a failed load leaves the table closed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Header, HeaderAcceptance,
    ::testing::Values(HeaderCase{"nominal", 0, "96 19 E0 BD", 0},
                      HeaderCase{"altSignature", 0, "CD AB 00 00", 0},
                      HeaderCase{"altSignatureAnyVersion", 0, "CD AB 00 00 09 00 09 00", 0},
                      HeaderCase{"version3", 4, "03 00 03 00", 0},
                      HeaderCase{"version1Above3", 4, "04 00", 0x4005},
                      HeaderCase{"version2Above3", 6, "04 00", 0x4005},
                      HeaderCase{"wrongSignature", 0, "96 19 E0 BE", 0x4005},
                      HeaderCase{"flag1Clear", 18, "02 00 00 00", 0x4003},
                      HeaderCase{"noRowOffsetFlagIsFine", 18, "01 00 00 00", 0},
                      HeaderCase{"headerSizeTooSmall", 8, "10 00 00 00", 0x4005},
                      HeaderCase{"headerSizePastEnd", 8, "00 10 00 00", 0x4005},
                      HeaderCase{"noColumns", 12, "00 00", 0x4005},
                      HeaderCase{"tooManyColumns", 12, "FF FF", 0x4005},
                      HeaderCase{"rowCountTooLarge", 14, "FF FF FF 7F", 0x4005},
                      HeaderCase{"rowCountOneMore", 14, "02 00 00 00", 0x4005}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Packet, EveryTruncationFailsCleanly) {
    for (const QByteArray& real :
         {threeDayJournal(), withRowCount(emptySettingsPacket(), 1) + arialRow()}) {
        for (qsizetype cut = 0; cut < real.size(); ++cut) {
            DSBASE t;
            const uint16_t got = statusOf([&] { t.loadPacket(real.left(cut)); });
            EXPECT_EQ(status::kNotAPacket, got) << "cut at " << cut;
            EXPECT_FALSE(t.hasFields()) << "cut at " << cut;
        }
    }
}

struct FlipCase {
    const char* name;
    int offset;  // negative: from the end
    uint8_t mask;
    uint16_t expected;
};

class ByteFlips : public ::testing::TestWithParam<FlipCase> {};

TEST_P(ByteFlips, DamageIsReported) {
    const FlipCase& c = GetParam();
    QByteArray packet = withRowCount(emptyJournalPacket(), 1) + june15Row();
    const qsizetype at = c.offset >= 0 ? c.offset : packet.size() + c.offset;
    packet[at] = static_cast<char>(packet[at] ^ c.mask);
    DSBASE t;
    EXPECT_EQ(c.expected, statusOf([&] { t.loadPacket(packet); }));
    EXPECT_FALSE(t.hasFields());
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, ByteFlips,
    ::testing::Values(FlipCase{"firstNameLength", 24, 0x80, 0x4005},
                      FlipCase{"firstTypeCode", 24 + 12 + 2, 0x3F, 0x2710},
                      FlipCase{"firstTypeSize", 24 + 12, 0x03, 0x2710},
                      FlipCase{"structuredType", 24 + 12 + 3, 0x01, 0x2710},
                      FlipCase{"attributeCount", 24 + 20 + 19, 0x40, 0x4005},
                      FlipCase{"subtypeLength", 24 + 20 + 21 + 12, 0x70, 0x4005},
                      FlipCase{"packetAttributeCount", 87, 0x10, 0x4005},
                      FlipCase{"nullFlagsMarkUnchangedAndBlobEatsRest", 89, 0x02, 0x4005},
                      FlipCase{"blobLengthHigh", 88 + 10 + 2, 0x01, 0x4005},
                      FlipCase{"blobLengthLow", 88 + 10, 0x04, 0x4005}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Packet, UnknownAttributesAreKeptAndWrittenBack) {
    // JournalEntry carries an extra column attribute "NOTE" (u16 7) and an
    // unknown subtype; the packet carries an attribute "ORIGIN" (string).
    const QByteArray packet = hexBytes(
        "96 19 E0 BD 01 00 00 00 18 00 00 00 01 00 00 00 00 00 03 00 00 00 00 00"
        "0C 4A 6F 75 72 6E 61 6C 45 6E 74 72 79 04 00 4B 00 00 00 02 00"
        "07 53 55 42 54 59 50 45 02 00 49 00 04 00 5A 6F 72 00"
        "04 4E 4F 54 45 02 00 02 00 07 00"
        "01 00 06 4F 52 49 47 49 4E 01 00 49 00 02 68 69");
    DSBASE t;
    t.loadPacket(withRowCount(packet, 0));
    ASSERT_EQ(1, t.fieldCount());
    EXPECT_EQ(255, t.field(0).subtype);
    ASSERT_EQ(2u, t.field(0).kept.size());
    ASSERT_EQ(1u, t.packetAttributes().size());
    EXPECT_EQ(QByteArray("ORIGIN"), t.packetAttributes()[0].name);
    QByteArray expected = packet;
    expected[22] = static_cast<char>(packet.size());  // the writer fills in the row offset
    EXPECT_EQ(hexDump(expected), hexDump(t.savePacket()));
}

TEST(Packet, FieldAttributesAreReadAndWrittenInOrder) {
    DSBASE t;
    t.createTable({FieldDeclaration{"Price", typeword::make(typeword::kBcd, 34), 18, 21}});
    // Loaded back, a decimal column keeps its subtype and width.
    DSBASE back;
    back.loadPacket(t.savePacket());
    EXPECT_EQ(21, back.field(0).subtype);
    EXPECT_EQ(18, back.field(0).width);
    EXPECT_EQ(hexDump(t.savePacket()), hexDump(back.savePacket()));
    // SUBTYPE "Money" comes before WIDTH.
    const QByteArray bytes = t.savePacket();
    EXPECT_LT(bytes.indexOf("SUBTYPE"), bytes.indexOf("WIDTH"));
}

TEST(Packet, DefinitionAndLoadRefusals) {
    DSBASE t;
    EXPECT_THROW_MSG(
        t.createTable({FieldDeclaration::integer32("ThisFieldNameIsMuchLongerThan31X")}),
        DatasetError, "Fieldname ThisFieldNameIsMuchLongerThan31X exceeds 31 chars");
    EXPECT_FALSE(t.hasFields());
    EXPECT_NO_THROW(
        t.createTable({FieldDeclaration::integer32("ExactlyThirtyOneCharactersLong1")}));

    t.createTable({FieldDeclaration::integer32("RowState")});
    EXPECT_EQ(status::kOutOfOrder, statusOf([&] { t.savePacket(); }));

    EXPECT_EQ(status::kUnsupportedType, statusOf([&] {
                  t.createTable({FieldDeclaration{"Odd", typeword::make(16, 4), 0, 0}});
              }));

    // A varying string column without a width.
    const QByteArray noWidth = hexBytes(
        "96 19 E0 BD 01 00 00 00 18 00 00 00 01 00 00 00 00 00 03 00 00 00 00 00"
        "01 53 01 00 49 00 00 00 00 00 00 00");
    EXPECT_EQ(status::kMissingArgument, statusOf([&] { t.loadPacket(noWidth); }));
    EXPECT_FALSE(t.hasFields());
}

TEST(Packet, StringsAreTrimmedCutAndReadBackToWidth) {
    DSBASE t;
    t.createTable(settingsSpec());
    RecordBuffer r = t.blankRecord();
    t.setString(r, 0, "secret   ");
    t.setString(r, 1, QByteArray(60, 'x'));
    EXPECT_EQ(QByteArray("secret"), t.stringValue(r[0]));
    EXPECT_EQ(QByteArray(50, 'x'), t.stringValue(r[1]));

    // A file holding a longer value than the width: cut on reading.
    QByteArray packet =
        withRowCount(emptySettingsPacket(), 1) + hexBytes("00 F4 19") + QByteArray(25, 'p');
    DSBASE back;
    back.loadPacket(packet);
    EXPECT_EQ(QByteArray(20, 'p'), back.stringValue(back.cell(back.recordId(0), 0)));
}

TEST(Packet, ZeroLengthBlobsAreBlank) {
    DSBASE t;
    t.createTable(journalSpec());
    RecordBuffer r = t.blankRecord();
    t.setBytes(r, 1, QByteArray());
    EXPECT_TRUE(DSBASE::isBlank(r[1]));

    for (const char* length : {"00 00 00 00", "FF FF FF FF"}) {  // zero, and negative
        const QByteArray packet = withRowCount(emptyJournalPacket(), 1) +
                                  hexBytes("00 00 00 00 7C 1D 28 D6 CC 42") + hexBytes(length);
        DSBASE back;
        back.loadPacket(packet);
        EXPECT_TRUE(DSBASE::isBlank(back.cell(back.recordId(0), 1))) << length;
        // Written back, the blank column has its null bit set.
        EXPECT_EQ("00 04 00 00 7C 1D 28 D6 CC 42", hexDump(back.savePacket().mid(88)));
    }
}

// The journal packet with an empty "CHANGE_LOG" packet attribute (an array of
// u32), the only packet in which a row status means something.
QByteArray withEmptyChangeLog(QByteArray packet) {
    const QByteArray attribute =
        hexBytes("0A") + QByteArray("CHANGE_LOG") + hexBytes("04 00 82 00 00 00 00 00");
    packet[86] = 1;  // the packet attribute count
    packet.insert(88, attribute);
    packet[22] = static_cast<char>(88 + attribute.size());  // the row offset
    return packet;
}

TEST(Packet, DeletedAndSupersededRowsLeaveTheFile) {
    // Under a change log, rows with status 0x02 (deleted) and 0x01 (earlier
    // version) are dropped on reading; the rest are written back with status 0.
    const QByteArray rows = hexBytes("02 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 41") +
                            hexBytes("01 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 42") +
                            hexBytes("08 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 43");
    DSBASE t;
    t.loadPacket(withRowCount(withEmptyChangeLog(emptyJournalPacket()), 3) + rows);
    t.setLogChanges(false);
    ASSERT_EQ(1, t.recordCount());
    EXPECT_EQ("00 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 43", hexDump(t.savePacket().mid(88)));

    t.deleteRecord(t.recordId(0));
    EXPECT_EQ(hexDump(emptyJournalPacket()), hexDump(t.savePacket()));
}

// Without a change log no row status but 0 has a meaning: one flipped bit
// must not hide a day. Every such row is kept, reported, and written back
// with status 0.
TEST(Packet, RowStatusWithoutAChangeLogIsDamageThatKeepsTheRow) {
    const QByteArray rows = hexBytes("01 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 41") +
                            hexBytes("00 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 42") +
                            hexBytes("22 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 43");
    DSBASE t;
    t.loadPacket(withRowCount(emptyJournalPacket(), 3) + rows);
    t.setLogChanges(false);
    ASSERT_EQ(3, t.recordCount());
    ASSERT_EQ(2u, t.strayStatuses().size());
    EXPECT_EQ(t.recordId(0), t.strayStatuses()[0].id);
    EXPECT_EQ(0x01, t.strayStatuses()[0].status);
    EXPECT_EQ(t.recordId(2), t.strayStatuses()[1].id);
    EXPECT_EQ(0x22, t.strayStatuses()[1].status);
    EXPECT_EQ(hexDump(hexBytes("00 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 41"
                               "00 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 42"
                               "00 00 00 00 7C 1D 28 D6 CC 42 01 00 00 00 43")),
              hexDump(t.savePacket().mid(88)));
}

TEST(Packet, XmlFormRoundTripsToTheSameTable) {
    EXPECT_EQ(PacketForm::kXml, packetFormFor("/tmp/Journal.XmL"));
    EXPECT_EQ(PacketForm::kBinary, packetFormFor("/tmp/Journal.cds"));
    EXPECT_EQ(PacketForm::kBinary, packetFormFor("/tmp/xml"));

    const QByteArray binary = threeDayJournal();
    DSBASE t;
    t.loadPacket(binary);
    const QByteArray xml = t.savePacket(PacketForm::kXml);
    EXPECT_TRUE(xml.startsWith("<?xml")) << xml.left(40).toStdString();
    DSBASE back;
    back.loadPacket(xml);
    EXPECT_EQ(hexDump(binary), hexDump(back.savePacket()));

    DSBASE bad;
    EXPECT_EQ(status::kNotAPacket,
              statusOf([&] { bad.loadPacket("<?xml version=\"1.0\"?><HTML/>"); }));
    EXPECT_EQ(status::kNotAPacket, statusOf([&] { bad.loadPacket("plain text, not a packet"); }));
    EXPECT_EQ(status::kNotAPacket, statusOf([&] { bad.loadPacket(xml.left(xml.size() / 2)); }));
}

TEST(PacketWriter, GrowthPolicyAlternatesSteps) {
    // By at least 32 768 bytes, then by the current size (capped at 1 024 000).
    EXPECT_EQ(65536, nextPacketCapacity(32768, 32769, false));
    EXPECT_EQ(131072, nextPacketCapacity(65536, 65537, true));
    EXPECT_EQ(163840, nextPacketCapacity(131072, 131073, false));
    EXPECT_EQ(3000000 + 1024000, nextPacketCapacity(3000000, 3000001, true));
    // A write larger than a step grows the block as far as it needs.
    EXPECT_EQ(500000, nextPacketCapacity(32768, 500000, false));
}

TEST(PacketWriter, LargePacketGrowsAndStaysExact) {
    DSDATAPACKET w;
    w.beginPacket(1);
    w.addColumn("B", typeword::kBlob4, 0);
    w.closeMetadata();
    const QByteArray value(10000, 'v');
    for (int i = 0; i < 50; ++i) {
        w.putValue(QByteArrayView("\0", 1));
        w.putValue(value);
    }
    const QByteArray packet = w.finishPacket();
    EXPECT_GT(w.growthCount(), 2);
    EXPECT_EQ(24 + 1 + 1 + 4 + 2 + 2 + 2 + 50 * (2 + 4 + 10000), packet.size());
    EXPECT_EQ(50u, DecodeFixed32(packet.constData() + 14));
}

TEST(PacketWriter, OperationsOutOfOrderAreRefused) {
    DSDATAPACKET w;
    w.beginPacket(1);
    w.addColumn("A", typeword::kInt32, 0);
    EXPECT_EQ(status::kOutOfOrder, statusOf([&] { w.addColumn("B", typeword::kInt32, 0); }));
    w.closeMetadata();
    w.putValue(QByteArrayView("\0", 1));
    EXPECT_EQ(status::kOutOfOrder, statusOf([&] { w.finishPacket(); }));
    w.putValue(QByteArrayView("\1\0\0\0", 4));
    EXPECT_EQ(status::kOutOfOrder, statusOf([&] {
                  w.addAttribute(AttributeArea::kPacket, "LATE", typeword::kUInt16, "\0\0");
              }));
    EXPECT_EQ(24 + 1 + 1 + 4 + 2 + 2 + 2 + 1 + 1 + 4, w.finishPacket().size());
}

TEST(Packet, XmlKeepsAttributesBlanksAndOddNames) {
    // A column whose name has a control character, a kept packet attribute,
    // and rows with a blank and an unchanged value.
    DSDATAPACKET w;
    w.beginPacket(2);
    w.addColumn(QByteArrayView("A\x01", 2), typeword::kInt32, packet::kColumnRequired);
    w.addColumn("Text", typeword::kString1, 0);
    w.addAttribute(AttributeArea::kColumn, "WIDTH", typeword::kUInt16,
                   QByteArrayView("\x08\x00", 2));
    w.addAttribute(AttributeArea::kPacket, "ORIGIN", typeword::kString1,
                   QByteArrayView("\x02hi", 3));
    w.closeMetadata();
    w.putValue(QByteArrayView("\0", 1));
    w.putBlank();
    w.putValue("abc");
    w.putValue(QByteArrayView("\0", 1));
    w.putValue(QByteArrayView("\x05\0\0\0", 4));
    w.putUnchanged();
    const QByteArray binary = w.finishPacket();
    const QByteArray xml = packetToXml(binary);
    EXPECT_TRUE(xml.contains("attrhex=\"4101\"")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<B/>"));
    EXPECT_TRUE(xml.contains("<U/>"));
    EXPECT_EQ(hexDump(binary), hexDump(packetFromXml(xml)));
}
