// Date-time values in the dataset's millisecond form, both ways.
#include "store/timestamp.h"
#include "store/coding.h"
#include "store/dataset_error.h"
#include "store/day.h"

#include "test_support.h"

#include <cmath>

using namespace quillmere;

namespace {

struct StoredCase {
    const char* name;
    double value;
    double stored;
    double back;  // the value read back
};

class TimestampConversion : public ::testing::TestWithParam<StoredCase> {};

}  // namespace

TEST_P(TimestampConversion, BothWays) {
    const StoredCase& c = GetParam();
    EXPECT_EQ(c.stored, DateTimeToStored(c.value));
    EXPECT_EQ(c.back, StoredToDateTime(c.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TimestampConversion,
    ::testing::Values(StoredCase{"epoch", 0.0, 59926521600000.0, 0.0},
                      StoredCase{"june15of2010", 40344.0, 63412243200000.0, 40344.0},
                      StoredCase{"noonOfEpoch", 0.5, 59926564800000.0, 0.5},
                      // Before the epoch the time counts forward from the whole part's day.
                      StoredCase{"minusOneAndAQuarter", -1.25, 59926456800000.0, -1.25},
                      StoredCase{"minusHalfReadsAsNoonOfEpoch", -0.5, 59926564800000.0, 0.5},
                      StoredCase{"firstOfJanuaryYear1", -693593.0, 86400000.0, -693593.0},
                      // Half a millisecond rounds to even, one and a half up to two.
                      StoredCase{"halfMilliTiesToEven", 0.5 / 86400000.0, 59926521600000.0, 0.0},
                      StoredCase{"oneAndAHalfMillis", 1.5 / 86400000.0, 59926521600002.0,
                                 2.0 / 86400000.0},
                      StoredCase{"lastMilliOfADay", 40344.0 + 86399999.0 / 86400000.0,
                                 63412329599999.0, 40344.0 + 86399999.0 / 86400000.0},
                      StoredCase{"year9999", 2958465.0, 315537897600000.0, 2958465.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Timestamp, June15BytesInThePacket) {
    char bytes[8];
    EncodeFixed64(bytes, DoubleBits(DateTimeToStored(40344.0)));
    EXPECT_EQ("00 00 7C 1D 28 D6 CC 42", testsupport::hexDump(QByteArray(bytes, 8)));
}

TEST(Timestamp, ValuesBeforeYearOneAreRefused) {
    EXPECT_THROW_MSG(DateTimeToStored(-693594.0), DatasetError, "'0.0' is not a valid timestamp");
    EXPECT_THROW_MSG(DateTimeToStored(-693594.5), DatasetError,
                     "'0.43200000' is not a valid timestamp");
    EXPECT_THROW_MSG(DateTimeToStored(-700000.0), DatasetError,
                     "'-6406.0' is not a valid timestamp");
    EXPECT_THROW(DateTimeToStored(std::nan("")), DatasetError);
    EXPECT_THROW(DateTimeToStored(1e300), DatasetError);
}

TEST(DayValues, DatesAndDayNumbers) {
    EXPECT_EQ(40344.0, dayFromDate(QDate(2010, 6, 15)));
    EXPECT_EQ(0.0, dayFromDate(QDate(1899, 12, 30)));
    EXPECT_EQ(-1.0, dayFromDate(QDate(1899, 12, 29)));
    EXPECT_EQ(QDate(2010, 6, 15), dateFromDay(40344.75));
    EXPECT_EQ(QDate(1899, 12, 30), dateFromDay(-0.5));
    EXPECT_EQ(QDate(1899, 12, 29), dateFromDay(-1.25));
    EXPECT_FALSE(dateFromDay(std::nan("")).isValid());
    EXPECT_EQ(40345.0, addDays(40344.0, 1));
    EXPECT_EQ(40343.0, addDays(40344.0, -1));
    EXPECT_EQ(40344.0, wholeDay(40344.99));
    EXPECT_EQ(dayFromDate(QDate::currentDate()), today());
    EXPECT_EQ(0.0, today() - wholeDay(today()));
}
