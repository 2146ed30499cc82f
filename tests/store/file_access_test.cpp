// The real file system behind the file-access seam: both replacing writes
// leave either the old or the whole new content and no temporary files.
#include "store/file_access.h"
#include "store/errors.h"

#include "test_support.h"

#include <QDir>
#include <QFileInfo>

using namespace quillmere;
using testsupport::TempFolder;

namespace {

using Write = void (FileAccess::*)(const QString&, const QByteArray&) const;

struct WriteCase {
    const char* label;
    Write write;
};

class ReplacingWrite : public ::testing::TestWithParam<WriteCase> {};

QStringList entriesOf(const TempFolder& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST_P(ReplacingWrite, CreatesThenReplacesWholeContentLeavingNoTemporaryFile) {
    TempFolder dir;
    const QString path = dir.file("2010-09-08.rtf");
    FileAccess files;
    (files.*GetParam().write)(path, "first version, rather long");
    EXPECT_EQ(QByteArray("first version, rather long"), dir.read("2010-09-08.rtf"));
    (files.*GetParam().write)(path, "second");
    EXPECT_EQ(QByteArray("second"), dir.read("2010-09-08.rtf"));
    (files.*GetParam().write)(path, QByteArray());
    EXPECT_EQ(QByteArray(), dir.read("2010-09-08.rtf"));
    EXPECT_EQ(QStringList{"2010-09-08.rtf"}, entriesOf(dir));
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::ReadOwner);
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
}

TEST_P(ReplacingWrite, MissingFolderThrowsNamingTheFile) {
    TempFolder dir;
    const QString path = dir.file("no-such-folder/Journal.cds");
    FileAccess files;
    try {
        (files.*GetParam().write)(path, "bytes");
        FAIL() << "expected FileError";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().startsWith("Cannot write \"" + path + "\": ")) << e.what();
    }
    EXPECT_TRUE(entriesOf(dir).isEmpty());
}

TEST_P(ReplacingWrite, TargetThatIsAFolderKeepsItAndLeavesNoTemporaryFile) {
    TempFolder dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));
    FileAccess files;
    EXPECT_THROW((files.*GetParam().write)(dir.file("taken"), "bytes"), FileError);
    EXPECT_TRUE(QFileInfo(dir.file("taken")).isDir());
    EXPECT_TRUE(entriesOf(dir).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(FileAccess, ReplacingWrite,
                         ::testing::Values(WriteCase{"atomic", &FileAccess::writeAtomic},
                                           WriteCase{"replacing", &FileAccess::writeReplacing}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FileAccess, ReadAllOfAMissingFileThrowsNamingIt) {
    TempFolder dir;
    const QString path = dir.file("Journal.cds");
    try {
        FileAccess().readAll(path);
        FAIL() << "expected FileError";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().startsWith("Cannot open \"" + path + "\": ")) << e.what();
    }
}

TEST(FileAccess, ExistsIsForFilesOnly) {
    TempFolder dir;
    dir.write("a.txt", "x");
    FileAccess files;
    EXPECT_TRUE(files.exists(dir.file("a.txt")));
    EXPECT_FALSE(files.exists(dir.path()));
    EXPECT_FALSE(files.exists(dir.file("b.txt")));
    EXPECT_TRUE(files.folderWritable(dir.path()));
    EXPECT_FALSE(files.folderWritable(dir.file("missing")));
}
