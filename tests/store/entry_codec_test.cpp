#include "store/entry_codec.h"
#include "store/errors.h"

#include "test_support.h"

using quillmere::DecodeEntryContent;
using quillmere::EncodeEntryContent;
using quillmere::ZlibError;

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
