// The real file system behind the file-access seam: both replacing writes
// leave either the old or the whole new content and no temporary files;
// whole-file reads give the exact bytes at every size.
#include "store/file_access.h"
#include "store/errors.h"
#include "store/file_fingerprint.h"
#include "store/memory_pages.h"

#include "test_support.h"

#include <QDir>
#include <QFileInfo>

#include <zlib.h>

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

namespace {

// Bytes of a given size that differ from one position to the next, so a
// piece read twice or left out shows.
QByteArray patterned(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    }
    return bytes;
}

}  // namespace

// Small files are read as they are; large ones go into a buffer whose pages
// are brought in first. Either way the bytes are the file's, exactly.
TEST(FileAccess, ReadAllGivesExactlyTheFilesBytesAtEverySize) {
    const qsizetype large = static_cast<qsizetype>(kPopulateMinimumBytes);
    for (const qsizetype size : {qsizetype(0), qsizetype(1), large - 1, large, large + 1,
                                 3 * large + 4097}) {
        TempFolder dir;
        const QByteArray bytes = patterned(size);
        const QString path = dir.write("Journal.cds", bytes);
        const QByteArray read = FileAccess().readAll(path);
        ASSERT_EQ(bytes.size(), read.size()) << "size " << size;
        EXPECT_TRUE(read == bytes) << "size " << size;
    }
}

// Bringing pages in is only a hint: whatever the buffer held stays, also at
// its unaligned ends and for buffers below the threshold.
TEST(MemoryPages, PopulatingKeepsTheContent) {
    for (const std::size_t size : {std::size_t(100), kPopulateMinimumBytes - 1,
                                   kPopulateMinimumBytes, 5 * kPopulateMinimumBytes + 123}) {
        QByteArray buffer = patterned(static_cast<qsizetype>(size + 7));
        const QByteArray before = buffer;
        PopulatePages(buffer.data() + 7, size);
        EXPECT_TRUE(buffer == before) << "size " << size;
    }
    PopulatePages(nullptr, kPopulateMinimumBytes);  // nothing to do, no crash
}

// The fingerprint's CRC is zlib's crc32 of the same bytes, so fingerprints
// taken by any version of the program compare.
TEST(FileFingerprint, CrcIsZlibsCrc32) {
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("a"), QByteArray("123456789"), patterned(3 * 1024 * 1024 + 5)}) {
        const FileFingerprint print = FileFingerprint::of(bytes);
        EXPECT_TRUE(print.existed);
        EXPECT_EQ(bytes.size(), print.size);
        EXPECT_EQ(static_cast<quint32>(crc32(0L, reinterpret_cast<const Bytef*>(bytes.constData()),
                                             static_cast<uInt>(bytes.size()))),
                  print.crc);
    }
    EXPECT_EQ(0xCBF43926u, FileFingerprint::of("123456789").crc);  // the CRC-32 check value
}
