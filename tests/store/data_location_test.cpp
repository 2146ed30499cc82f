// Where the data files live.
#include "store/data_location.h"
#include "store/errors.h"
#include "store/file_access.h"

#include "failing_files.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

using namespace quillmere;

namespace {

class ReadOnlyFolders : public FileAccess {
public:
    bool folderWritable(const QString&) const override { return false; }
};

}  // namespace

TEST(DataLocation, ExecutableFolderWhenWritable) {
    testsupport::TempFolder dir;
    EXPECT_EQ(dir.path(), chooseDataFolder(dir.path()));
}

TEST(DataLocation, UserDataFolderWhenTheExecutableFolderIsReadOnly) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("QuillmereTest"));
    QCoreApplication::setApplicationName(QStringLiteral("store_tests"));
    const QString expected = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(expected).removeRecursively();
    ReadOnlyFolders readOnly;
    {
        ScopedFileAccess inject(&readOnly);
        EXPECT_EQ(expected, chooseDataFolder(QStringLiteral("/usr/bin")));
    }
    EXPECT_TRUE(QDir(expected).exists()) << "the folder is created";
    QDir(expected).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

// Only an executable folder that cannot be written counts as a fallback: an
// installed program keeps its diary in the user's data folder by design.
TEST(DataLocation, ChoiceNotesAFallbackFromTheExecutableFolderOnly) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("QuillmereTest"));
    QCoreApplication::setApplicationName(QStringLiteral("store_tests"));
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    testsupport::TempFolder prefix;
    QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/applications")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    QFile entry(root.filePath(
        QStringLiteral("share/applications/%1.desktop").arg(QLatin1String(kApplicationId))));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.close();

    const DataFolderChoice own = chooseDataFolderFor(prefix.path());
    EXPECT_EQ(prefix.path(), own.path) << "a folder that can be written";
    EXPECT_TRUE(own.fellBackFrom.isEmpty());
    const DataFolderChoice installed = chooseDataFolderFor(root.filePath(QStringLiteral("bin")));
    EXPECT_EQ(userFolder, installed.path);
    EXPECT_TRUE(installed.fellBackFrom.isEmpty()) << "no fallback for an installed program";
    ReadOnlyFolders readOnly;
    {
        ScopedFileAccess inject(&readOnly);
        const DataFolderChoice fallback = chooseDataFolderFor(prefix.path());
        EXPECT_EQ(userFolder, fallback.path);
        EXPECT_EQ(prefix.path(), fallback.fellBackFrom);
    }
    QDir(userFolder).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

namespace {

struct LayoutCase {
    const char* label;
    const char* executableFolder;  // relative to the temporary prefix
    bool withDesktopEntry;
    bool installed;
};

}  // namespace

class InstalledLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(InstalledLayout, RecognisedByTheDesktopEntryBesideTheBinFolder) {
    const LayoutCase& c = GetParam();
    testsupport::TempFolder prefix;
    QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QString::fromLatin1(c.executableFolder)));
    if (c.withDesktopEntry) {
        ASSERT_TRUE(root.mkpath(QStringLiteral("share/applications")));
        QFile entry(root.filePath(
            QStringLiteral("share/applications/%1.desktop").arg(QLatin1String(kApplicationId))));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    }
    const QString folder = root.filePath(QString::fromLatin1(c.executableFolder));
    EXPECT_EQ(c.installed, isInstalledLayout(folder)) << c.label;
    // The journal read ahead at start comes from the same place.
    const QString early = earlyDataFilePathFor(folder, QStringLiteral("Journal.cds"),
                                               QStringLiteral("QuillmereEarly"));
    EXPECT_EQ(c.installed ? QDir(earlyUserDataFolder(QStringLiteral("QuillmereEarly")))
                                .filePath(QStringLiteral("Journal.cds"))
                          : QDir(folder).filePath(QStringLiteral("Journal.cds")),
              early)
        << c.label;
}

TEST(DataLocation, EarlyPathOfAReadOnlyOrUnknownFolderIsTheUserFolder) {
    const QString inUserFolder = QDir(earlyUserDataFolder(QStringLiteral("QuillmereEarly")))
                                     .filePath(QStringLiteral("Journal.cds"));
    testsupport::TempFolder dir;
    ReadOnlyFolders readOnly;
    {
        ScopedFileAccess inject(&readOnly);
        EXPECT_EQ(inUserFolder, earlyDataFilePathFor(dir.path(), QStringLiteral("Journal.cds"),
                                                     QStringLiteral("QuillmereEarly")));
    }
    EXPECT_EQ(inUserFolder, earlyDataFilePathFor(QString(), QStringLiteral("Journal.cds"),
                                                 QStringLiteral("QuillmereEarly")));
}

INSTANTIATE_TEST_SUITE_P(
    DataLocation, InstalledLayout,
    ::testing::Values(LayoutCase{"nominal: an installed prefix", "bin", true, true},
                      LayoutCase{"nominal: a build folder beside an entry", "shell", true, false},
                      LayoutCase{"robustness: a bin folder without the entry", "bin", false, false},
                      LayoutCase{"robustness: a bin folder one level too deep", "usr/bin", true,
                                 false}));

TEST(DataLocation, NoFolderIsNotAnInstall) {
    EXPECT_FALSE(isInstalledLayout(QString()));
}

// The journal is read ahead before the application object exists; the folder
// worked out then must be the one the platform gives afterwards, or the
// preload is wasted.
TEST(DataLocation, EarlyUserDataFolderIsThePlatformsAppDataFolder) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("QuillmereEarly"));
    testsupport::TempFolder dir;
    for (const QByteArray& value :
         {QByteArray(), dir.path().toUtf8(), QByteArray("relative/data"), QByteArray()}) {
        if (value.isNull()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", value);
        }
        EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                  earlyUserDataFolder(QStringLiteral("QuillmereEarly")))
            << "XDG_DATA_HOME=" << value.toStdString();
    }
    if (wasSet) {
        qputenv("XDG_DATA_HOME", saved);
    }
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
}

// A diary beside a program whose folder can no longer be written is brought
// into the data folder once, so the diary is not split in two.
struct AdoptCase {
    const char* label;
    QStringList inOwnFolder;   // files beside the program
    QStringList inDataFolder;  // files already in the data folder
    QStringList copied;        // in the order copied
};

class AdoptDiaryTest : public ::testing::TestWithParam<AdoptCase> {};

TEST_P(AdoptDiaryTest, CopiesOnceAndNeverOverwrites) {
    const AdoptCase& c = GetParam();
    testsupport::TempFolder own, data;
    for (const QString& name : c.inOwnFolder) {
        own.write(name, "own " + name.toUtf8());
    }
    for (const QString& name : c.inDataFolder) {
        data.write(name, "data " + name.toUtf8());
    }
    EXPECT_EQ(c.copied, adoptDiaryFrom(own.path(), data.path())) << c.label;
    for (const QString& name : c.inOwnFolder) {
        EXPECT_EQ("own " + name.toUtf8(), own.read(name)) << c.label << ": left as it is";
        if (c.copied.contains(name)) {
            EXPECT_EQ("own " + name.toUtf8(), data.read(name)) << c.label;
        } else {
            EXPECT_EQ(c.inDataFolder.contains(name), QFile::exists(data.file(name))) << c.label;
        }
    }
    for (const QString& name : c.inDataFolder) {
        EXPECT_EQ("data " + name.toUtf8(), data.read(name)) << c.label << ": never overwritten";
    }
    EXPECT_TRUE(adoptDiaryFrom(own.path(), data.path()).isEmpty()) << c.label << ": once";
}

INSTANTIATE_TEST_SUITE_P(
    Folders, AdoptDiaryTest,
    ::testing::Values(
        AdoptCase{"nominal: the whole diary, the journal last",
                  {"Journal.cds", "Journal.cds.bak", "Settings.cds", "FontSettings.Ini",
                   "Journal.recovery"},
                  {},
                  {"Journal.cds.bak", "Settings.cds", "FontSettings.Ini", "Journal.recovery",
                   "Journal.cds"}},
        AdoptCase{"nominal: a log of another password put aside is brought too",
                  {"Journal.cds", "Journal.recovery.unread"},
                  {},
                  {"Journal.recovery.unread", "Journal.cds"}},
        AdoptCase{"robustness: a put-aside log there already is kept",
                  {"Journal.cds", "Journal.recovery.unread"},
                  {"Journal.recovery.unread"},
                  {"Journal.cds"}},
        AdoptCase{"nominal: settings without a journal", {"Settings.cds"}, {}, {"Settings.cds"}},
        AdoptCase{"nominal: nothing beside the program", {}, {}, {}},
        AdoptCase{"robustness: the data folder has a journal already",
                  {"Journal.cds", "Settings.cds"},
                  {"Journal.cds"},
                  {}},
        AdoptCase{"robustness: settings made there already are kept",
                  {"Journal.cds", "Settings.cds"},
                  {"Settings.cds"},
                  {"Journal.cds"}}));

TEST(DataLocation, AdoptionCutShortIsCompletedAtTheNextStart) {
    testsupport::TempFolder own, data;
    own.write(QStringLiteral("Journal.cds"), "journal");
    own.write(QStringLiteral("Settings.cds"), "settings");
    testsupport::FailingFiles failing({QStringLiteral("Journal.cds")});
    {
        ScopedFileAccess seam(&failing);
        EXPECT_THROW_MSG(
            adoptDiaryFrom(own.path(), data.path()), FileError,
            failing.messageFor(data.file(QStringLiteral("Journal.cds"))).toStdString());
    }
    EXPECT_FALSE(QFile::exists(data.file(QStringLiteral("Journal.cds"))));
    EXPECT_EQ(QStringList{QStringLiteral("Journal.cds")}, adoptDiaryFrom(own.path(), data.path()));
    EXPECT_EQ(QByteArray("journal"), data.read(QStringLiteral("Journal.cds")));
    EXPECT_EQ(QByteArray("settings"), data.read(QStringLiteral("Settings.cds")));
}
