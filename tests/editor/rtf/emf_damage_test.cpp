// Metafiles whose bitmap records carry extreme coordinates: the rectangles
// built from them must neither overflow nor draw; sane values still draw.
#include "editor/rtf/emf.h"
#include "editor/rtf/rtf.h"
#include "rtf_test_support.h"
#include "store/coding.h"
#include "test_support.h"

#include <QFile>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

using namespace quillmere;
using namespace quillmere::rtf;

namespace {

constexpr int kRecord = 108;  // the stretch record follows the 108-byte header

void patchI32(QByteArray& bytes, int offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
}

QByteArray seedRtf() {
    QFile file(QStringLiteral(QUILLMERE_FUZZ_DIR "/editor/rtf/seeds/emf-destination-overflow.rtf"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The metafile's bytes from the hex of the seed's \pict group.
QByteArray seedEmf(const QByteArray& rtf) {
    const qsizetype start = rtf.indexOf("\\\n") + 2;
    QByteArray hex = rtf.mid(start);
    hex.chop(1);  // the closing brace
    return QByteArray::fromHex(hex);
}

}  // namespace

TEST(EmfDamage, FuzzedDestinationOverflowShowsNoBitmap) {
    const QByteArray rtf = seedRtf();
    ASSERT_FALSE(rtf.isEmpty());
    const QByteArray emf = seedEmf(rtf);
    ASSERT_EQ(236, emf.size());
    EXPECT_TRUE(readBitmapEmf(emf).isNull());

    // The entry holding it still reads, and the picture it cannot show is
    // written back with its bytes unchanged.
    QTextDocument doc;
    readRtf(rtf, doc);
    const QByteArray written = writeRtf(doc);
    EXPECT_TRUE(written.contains(emf.toHex().left(64)) ||
                written.contains(emf.toHex().toUpper().left(64)))
        << written.left(200).toStdString();
}

struct PatchedValue {
    const char* label;
    int offset;  // inside the stretch record
    std::int32_t value;
    bool drawn;
};

class EmfCoordinates : public ::testing::TestWithParam<PatchedValue> {};

TEST_P(EmfCoordinates, ExtremeValuesAreRefusedSaneOnesDraw) {
    const PatchedValue& p = GetParam();
    QByteArray emf = writeBitmapEmf(rtftest::quadrantImage(4, 4));
    patchI32(emf, kRecord + p.offset, p.value);
    const QImage shown = readBitmapEmf(emf);
    EXPECT_EQ(p.drawn, !shown.isNull()) << p.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EmfCoordinates,
    ::testing::Values(
        PatchedValue{"nominal: destination moved by one pixel", 24, 1, true},
        PatchedValue{"nominal: wider destination", 72, 8, true},
        PatchedValue{"robustness: xDest near INT_MIN", 24, INT_MIN + 4096, false},
        PatchedValue{"robustness: xDest INT_MAX", 24, INT_MAX, false},
        PatchedValue{"robustness: yDest INT_MAX", 28, INT_MAX, false},
        PatchedValue{"robustness: cxDest INT_MAX", 72, INT_MAX, false},
        PatchedValue{"robustness: cyDest INT_MAX", 76, INT_MAX, false},
        PatchedValue{"robustness: ySrc INT_MIN counted from the lower edge", 36, INT_MIN, false},
        PatchedValue{"robustness: ySrc INT_MAX counted from the lower edge", 36, INT_MAX, false},
        PatchedValue{"robustness: xSrc INT_MAX", 32, INT_MAX, false}),
    [](const ::testing::TestParamInfo<PatchedValue>& info) { return std::to_string(info.index); });
