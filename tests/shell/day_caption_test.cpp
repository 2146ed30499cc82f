#include "store/day_caption.h"

#include "search/db_search_form.h"
#include "store/day.h"

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
                                  QLocale(QLocale::German), "05 M\xc3\xa4rz 2024"},
                      CaptionCase{"nominal: French month name", QDate(2024, 8, 15),
                                  QLocale(QLocale::French, QLocale::France), "15 ao\xc3\xbbt 2024"},
                      CaptionCase{"nominal: Polish month as written within a date",
                                  QDate(2024, 3, 5), QLocale(QLocale::Polish), "05 marca 2024"},
                      CaptionCase{"robustness: a locale of no known language names in English",
                                  QDate(2024, 10, 1), QLocale(QStringLiteral("xx_YY")),
                                  "01 October 2024"}));

// A message about one day's entry starts with the day as the header shows it.
TEST(DayCaptionTest, DayMessageNamesTheDayBeforeTheMessage) {
    const QLocale english(QLocale::English);
    EXPECT_EQ(QStringLiteral("15 June 2010: data error"),
              DayMessage(dayFromDate(QDate(2010, 6, 15)), QStringLiteral("data error"), english));
    EXPECT_EQ(QString::fromUtf8("05 M\xc3\xa4rz 2024: Failed to Load Stream"),
              DayMessage(dayFromDate(QDate(2024, 3, 5)) + 0.75,
                         QStringLiteral("Failed to Load Stream"), QLocale(QLocale::German)))
        << "the time of day is ignored";
    EXPECT_EQ(QStringLiteral("data error"), DayMessage(1e12, QStringLiteral("data error"), english))
        << "a value that names no date gives the message alone";
}

// The header and the search's result list show a day in the same words.
TEST(DayCaptionTest, ResultListShowsTheDayAsTheHeaderDoes) {
    const QDate date(2024, 3, 5);
    for (const QLocale& locale :
         {QLocale(QLocale::English), QLocale(QLocale::German), QLocale(QLocale::French),
          QLocale(QLocale::Polish), QLocale(QLocale::Russian)}) {
        EXPECT_EQ(DayCaption(date, locale),
                  TfrmDBSearch::formatResultDay(dayFromDate(date), locale))
            << locale.name().toStdString();
    }
}

}  // namespace
}  // namespace quillmere
