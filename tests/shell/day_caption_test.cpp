#include "shell/day_caption.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

struct CaptionCase {
    const char* label;
    QDate date;
    QLocale locale;
    const char* caption;
};

class DayCaptionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(DayCaptionTest, FormatsTwoDigitDayFullMonthFourDigitYear) {
    const CaptionCase& c = GetParam();
    EXPECT_EQ(QString::fromUtf8(c.caption), DayCaption(c.date, c.locale)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Days, DayCaptionTest,
    ::testing::Values(CaptionCase{"nominal: single-digit day padded", QDate(2024, 3, 5),
                                  QLocale(QLocale::English), "05 March 2024"},
                      CaptionCase{"nominal: end of year", QDate(1999, 12, 31),
                                  QLocale(QLocale::English), "31 December 1999"},
                      CaptionCase{"nominal: leap day", QDate(2024, 2, 29),
                                  QLocale(QLocale::English), "29 February 2024"},
                      CaptionCase{"robustness: early year padded", QDate(987, 1, 1),
                                  QLocale(QLocale::English), "01 January 0987"},
                      CaptionCase{"nominal: C locale names in English", QDate(2024, 5, 9),
                                  QLocale::c(), "09 May 2024"},
                      CaptionCase{"nominal: German month name", QDate(2024, 3, 5),
                                  QLocale(QLocale::German), "05 M\xc3\xa4rz 2024"}));

}  // namespace
}  // namespace quillmere
