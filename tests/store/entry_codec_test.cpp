#include "store/entry_codec.h"
#include "store/errors.h"

#include "test_support.h"

#include <zlib.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using quillmere::DecodeEntryContent;
using quillmere::EncodeEntryContent;
using quillmere::ZlibError;
using testsupport::hexBytes;
using testsupport::hexDump;

TEST(EntryCodec, EmptyDocumentStillGivesACompleteStream) {
    const QByteArray blob = EncodeEntryContent(QByteArray());
    ASSERT_GE(blob.size(), 2);
    EXPECT_EQ(0x78, static_cast<unsigned char>(blob[0]));
    EXPECT_EQ(0x01, static_cast<unsigned char>(blob[1]));
    EXPECT_EQ(QByteArray(), DecodeEntryContent(blob));
}

TEST(EntryCodec, LargeEntryRoundTrips) {
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 200000; ++i) {
        rtf += QByteArray::number(i * 7919 % 1000003) + ' ';
    }
    rtf += '}';
    const QByteArray blob = EncodeEntryContent(rtf);
    EXPECT_EQ(0x78, static_cast<unsigned char>(blob[0]));
    EXPECT_EQ(0x01, static_cast<unsigned char>(blob[1]));
    EXPECT_EQ(rtf, DecodeEntryContent(blob));
}

TEST(EntryCodec, DamagedAndTruncatedBlobsReportZlibTexts) {
    const QByteArray good = EncodeEntryContent("{\\rtf1 hello world, hello world}");
    QByteArray flipped = good;
    flipped[good.size() - 1] = static_cast<char>(flipped[good.size() - 1] ^ 0x55);
    EXPECT_THROW_MSG(DecodeEntryContent(flipped), ZlibError, "data error");
    EXPECT_THROW_MSG(DecodeEntryContent("not zlib at all"), ZlibError, "data error");
    for (int cut = 0; cut < good.size(); ++cut) {
        EXPECT_THROW(DecodeEntryContent(good.left(cut)), ZlibError) << "cut at " << cut;
    }
    EXPECT_THROW_MSG(DecodeEntryContent(good.left(good.size() - 2)), ZlibError, "buffer error");
}

// --- Decoding against zlib's own inflation ----------------------------------

namespace {

// What zlib's inflate makes of a blob: the bytes, or the text of its failure,
// as "bytes:<size>" / "error:<text>" so that outcomes compare as strings.
std::string zlibOutcome(const QByteArray& blob) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        return "error:init";
    }
    std::string out;
    char chunk[4096];
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(blob.constData()));
    zs.avail_in = static_cast<uInt>(blob.size());
    int rc = Z_OK;
    do {
        zs.next_out = reinterpret_cast<Bytef*>(chunk);
        zs.avail_out = sizeof chunk;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - zs.avail_out);
        if (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) {
            rc = Z_BUF_ERROR;  // the input ended inside the stream
        }
    } while (rc == Z_OK);
    inflateEnd(&zs);
    if (rc == Z_STREAM_END) {
        return "bytes:" + out;
    }
    if (rc == Z_NEED_DICT) {
        rc = Z_DATA_ERROR;
    }
    return std::string("error:") + quillmere::zlibErrorText(rc);
}

std::string decodeOutcome(const QByteArray& blob) {
    try {
        return "bytes:" + DecodeEntryContent(blob).toStdString();
    } catch (const ZlibError& e) {
        return "error:" + e.message().toStdString();
    }
}

// A stream made by zlib with other settings than the stored ones: what a
// file written elsewhere may hold.
QByteArray zlibCompress(const QByteArray& data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    EXPECT_EQ(Z_OK, compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                              reinterpret_cast<const Bytef*>(data.constData()),
                              static_cast<uLong>(data.size()), level));
    out.truncate(static_cast<qsizetype>(size));
    return out;
}

QByteArray sampleRtf(int words) {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard ";
    for (int i = 0; i < words; ++i) {
        rtf += QByteArray::number(i * 7919 % 10007) + (i % 13 == 0 ? "\\par " : " ");
    }
    return rtf + "}";
}

struct BlobCase {
    const char* label;
    QByteArray blob;
    const char* expected;  // the error text, or nullptr when it decodes
};

class DecodeBlobTest : public ::testing::TestWithParam<BlobCase> {};

TEST_P(DecodeBlobTest, GivesZlibsOutcome) {
    const BlobCase& c = GetParam();
    const std::string reference = zlibOutcome(c.blob);
    EXPECT_EQ(reference, decodeOutcome(c.blob)) << c.label;
    if (c.expected != nullptr) {
        EXPECT_EQ(std::string("error:") + c.expected, reference) << c.label;
    } else {
        EXPECT_EQ(0u, reference.rfind("bytes:", 0)) << c.label;
    }
}

QByteArray good() {
    return EncodeEntryContent("{\\rtf1 hello world, hello world}");
}

QByteArray withByte(QByteArray blob, qsizetype at, int value) {
    blob[at] = static_cast<char>(value);
    return blob;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeBlobTest,
    ::testing::Values(
        BlobCase{"nominal: stored level-1 stream", good(), nullptr},
        BlobCase{"nominal: bytes after the stream are ignored", good() + "trailing", nullptr},
        BlobCase{"nominal: level 9 stream", zlibCompress(sampleRtf(500), 9), nullptr},
        BlobCase{"nominal: stored (uncompressed) blocks", zlibCompress(sampleRtf(500), 0), nullptr},
        BlobCase{"robustness: empty blob", QByteArray(), "buffer error"},
        BlobCase{"robustness: header only", good().left(2), "buffer error"},
        BlobCase{"robustness: cut before the checksum", good().left(good().size() - 4),
                 "buffer error"},
        BlobCase{"robustness: not zlib at all", QByteArray("not zlib at all"), "data error"},
        BlobCase{"robustness: method other than deflate", withByte(good(), 0, 0x79), "data error"},
        BlobCase{"robustness: window larger than 32 KiB",
                 withByte(withByte(good(), 0, 0x88), 1, 0x1C), "data error"},
        BlobCase{"robustness: header check bits wrong", withByte(good(), 1, 0x02), "data error"},
        BlobCase{"robustness: preset dictionary asked for",
                 withByte(withByte(good(), 0, 0x78), 1, 0xBB), "data error"},
        BlobCase{"robustness: reserved block type", hexBytes("78 01 07 00"), "data error"},
        BlobCase{"robustness: distance before the start",
                 // fixed Huffman block: a length 3, distance 1 copy with no
                 // byte before it
                 hexBytes("78 01 03 02 00 00 00 00 01"), "data error"},
        BlobCase{"robustness: checksum damaged",
                 withByte(good(), good().size() - 1, good().back() ^ 0x55), "data error"}));

TEST(EntryCodec, EveryCutAndEveryDamagedByteReportsWhatZlibReports) {
    for (const QByteArray& blob :
         {EncodeEntryContent(QByteArray()), EncodeEntryContent(sampleRtf(40)),
          zlibCompress(sampleRtf(40), 6)}) {
        for (qsizetype cut = 0; cut < blob.size(); ++cut) {
            ASSERT_EQ(zlibOutcome(blob.left(cut)), decodeOutcome(blob.left(cut)))
                << "cut at " << cut << " of " << hexDump(blob);
        }
        for (qsizetype at = 0; at < blob.size(); ++at) {
            for (int mask : {0x01, 0x10, 0x80, 0xFF}) {
                const QByteArray damaged =
                    withByte(blob, at, static_cast<unsigned char>(blob[at]) ^ mask);
                ASSERT_EQ(zlibOutcome(damaged), decodeOutcome(damaged))
                    << "byte " << at << " ^ " << mask << " of " << hexDump(blob);
            }
        }
    }
}

TEST(EntryCodec, OutputFarLargerThanTheBlobIsDecodedWhole) {
    // A hundred-to-one stream: the first output guess is far too small.
    const QByteArray picture = "{\\rtf1{\\pict " + QByteArray(3 * 1024 * 1024, 'f') + "}}";
    const QByteArray blob = EncodeEntryContent(picture);
    ASSERT_LT(blob.size() * 100, picture.size());
    EXPECT_EQ(picture, DecodeEntryContent(blob));
    // The thread's buffer was given back; a small entry after it still decodes.
    EXPECT_EQ(QByteArray("{\\rtf1 small}"),
              DecodeEntryContent(EncodeEntryContent("{\\rtf1 small}")));
}

struct LimitCase {
    const char* label;
    qsizetype limit;
    const char* expected;  // nullptr: decodes
};

class DecodeLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(DecodeLimitTest, AnEntryLargerThanTheLimitIsInsufficientMemory) {
    const LimitCase& c = GetParam();
    const QByteArray rtf = sampleRtf(20000);  // about 100 KB
    ASSERT_EQ(103998, rtf.size());
    const QByteArray blob = EncodeEntryContent(rtf);
    if (c.expected == nullptr) {
        EXPECT_EQ(rtf, quillmere::DecodeEntryContent(blob, c.limit)) << c.label;
    } else {
        EXPECT_THROW_MSG(quillmere::DecodeEntryContent(blob, c.limit), ZlibError, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeLimitTest,
    ::testing::Values(LimitCase{"nominal: exactly the size", 103998, nullptr},
                      LimitCase{"nominal: far above", qsizetype(1) << 40, nullptr},
                      LimitCase{"robustness: one byte short", 103997, "insufficient memory"},
                      LimitCase{"robustness: nothing allowed", 0, "insufficient memory"}));

TEST(EntryCodec, ThreadsDecodeAtOnceWithTheSameResults) {
    std::vector<QByteArray> rtf;
    std::vector<QByteArray> blobs;
    for (int i = 0; i < 64; ++i) {
        rtf.push_back(sampleRtf(50 + i * 97));
        blobs.push_back(EncodeEntryContent(rtf.back()));
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                for (std::size_t i = 0; i < blobs.size(); ++i) {
                    const std::size_t at = (i + std::size_t(t) * 17) % blobs.size();
                    if (DecodeEntryContent(blobs[at]) != rtf[at]) {
                        ++wrong;
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(0, wrong.load());
}

}  // namespace
