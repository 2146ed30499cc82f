// Where the data files live.
#include "store/data_location.h"
#include "store/file_access.h"

#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
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
