// The settings table: one record, exact file bytes, written only when changed.
#include "store/settings_table.h"
#include "store/dataset.h"
#include "store/errors.h"
#include "store/file_access.h"

#include "packet_bytes.h"
#include "test_support.h"

#include <QFile>

using namespace quillmere;
using testsupport::hexDump;
using testsupport::TempFolder;

namespace {

QByteArray twoRecordFile() {
    return storetest::withRowCount(storetest::emptySettingsPacket(), 2) +
           testsupport::hexBytes("00 00 03 6F 6E 65 05 41 72 69 61 6C 0A 00 00 00 FF 00 00 00") +
           testsupport::hexBytes(
               "00 00 03 74 77 6F 07 43 6F 75 72 69 65 72 0C 00 00 00 00 00 00 00");
}

}  // namespace

TEST(SettingsTable, MissingFileMeansNoRecordAndNoFile) {
    TempFolder dir;
    const QString path = dir.file("Settings.cds");
    SettingsTable t;
    t.OpenSettings(path);
    EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(QString(), t.Password());
    EXPECT_EQ(0, t.FontSize());
    t.close();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SettingsTable, RecordWithEmptyPasswordAndArialIsExactBytes) {
    TempFolder dir;
    const QString path = dir.file("Settings.cds");
    SettingsTable t;
    t.OpenSettings(path);
    t.insert();
    t.setPassword("");
    t.setFontName("Arial");
    t.setFontSize(10);
    t.setFontColor(0);
    t.post();
    t.close();
    EXPECT_EQ(hexDump(storetest::withRowCount(storetest::emptySettingsPacket(), 1) +
                      storetest::arialRow()),
              hexDump(dir.read("Settings.cds")));
    SettingsTable again;
    again.OpenSettings(path);
    ASSERT_FALSE(again.isEmpty());
    EXPECT_EQ(QString(), again.Password());
    EXPECT_FALSE(again.isBlank(kPasswordField));
    EXPECT_EQ(QStringLiteral("Arial"), again.FontName());
    EXPECT_EQ(10, again.FontSize());
}

TEST(SettingsTable, FontNameNeverSetIsBlank) {
    TempFolder dir;
    SettingsTable t;
    t.OpenSettings(dir.file("Settings.cds"));
    t.insert();
    t.setPassword("pw   ");
    t.setFontSize(12);
    t.setFontColor(0x0000FF);
    t.post();
    EXPECT_EQ(QStringLiteral("pw"), t.Password());
    EXPECT_TRUE(t.isBlank(kFontNameField));
    t.close();
    EXPECT_EQ("00 04 02 70 77 0C 00 00 00 FF 00 00 00", hexDump(dir.read("Settings.cds").mid(119)));
}

TEST(SettingsTable, FirstOfSeveralRecordsIsUsedAndEdited) {
    TempFolder dir;
    const QString path = dir.write("Settings.cds", twoRecordFile());
    SettingsTable t;
    t.OpenSettings(path);
    EXPECT_EQ(2, t.recordCount());
    EXPECT_EQ(QStringLiteral("one"), t.Password());
    EXPECT_EQ(255, t.FontColor());
    t.edit();
    t.setPassword("uno");
    EXPECT_EQ(QStringLiteral("uno"), t.Password());  // the buffer while editing
    t.cancel();
    EXPECT_EQ(QStringLiteral("one"), t.Password());
    EXPECT_FALSE(t.isModified());
    t.edit();
    t.setFontSize(14);
    t.post();
    t.close();
    SettingsTable again;
    again.OpenSettings(path);
    EXPECT_EQ(14, again.FontSize());
    EXPECT_EQ(QStringLiteral("one"), again.Password());
    EXPECT_EQ(2, again.recordCount());
}

TEST(SettingsTable, CancelledChangeWritesNothing) {
    TempFolder dir;
    const QByteArray original = twoRecordFile();
    const QString path = dir.write("Settings.cds", original);
    {
        SettingsTable t;
        t.OpenSettings(path);
        t.edit();
        t.setPassword("changed");
        t.cancel();
        t.close();
    }
    EXPECT_EQ(hexDump(original), hexDump(dir.read("Settings.cds")));
}

TEST(SettingsTable, PasswordTextBeyondLatin1RoundTrips) {
    TempFolder dir;
    const QString path = dir.file("Settings.cds");
    const QString password = QStringLiteral("p\u00e4ss\u20ac");
    {
        SettingsTable t;
        t.OpenSettings(path);
        t.insert();
        t.setPassword(password);
        t.setFontName(QStringLiteral("Caf\u00e9"));
        t.post();
        t.close();
    }
    SettingsTable again;
    again.OpenSettings(path);
    EXPECT_EQ(password, again.Password());
    EXPECT_EQ(QStringLiteral("Caf\u00e9"), again.FontName());
    // Latin-1 text stays one byte a character, as older files have it.
    EXPECT_EQ(QByteArray("Caf\xe9"), toFieldBytes(QStringLiteral("Caf\u00e9"), 50));
    // UTF-8 is cut at a character boundary.
    EXPECT_EQ(QByteArray("\xe2\x82\xac"), toFieldBytes(QStringLiteral("\u20ac\u20ac"), 5));
}

TEST(SettingsTable, ErrorsCarryTheTableName) {
    TempFolder dir;
    SettingsTable t;
    EXPECT_THROW_MSG(t.Password(), Error,
                     "tblPassword: Cannot perform this operation on a closed dataset");
    EXPECT_THROW_MSG(t.insert(), Error,
                     "tblPassword: Cannot perform this operation on a closed dataset");
    const QString journal = dir.write("Journal.cds", storetest::emptyJournalPacket());
    EXPECT_THROW_MSG(t.OpenSettings(journal), Error, "tblPassword: Field 'Password' not found");
    EXPECT_FALSE(t.isOpen());
}
