#include "editor/text_find.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quillmere {
namespace {

struct FindCase {
    const char* label;
    QString needle;
    int from;
    int to;
    FindOptions options;
    int expected;
};

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.label;
}

//                            0         1         2
//                            0123456789012345678901234
const QString kText = QStringLiteral("Cat cat concat CAT. cat_x");
constexpr int kEnd = 25;

constexpr FindOptions kAnywhere{true, false, false};
constexpr FindOptions kCase{true, true, false};
constexpr FindOptions kWord{true, false, true};
constexpr FindOptions kCaseWord{true, true, true};
constexpr FindOptions kBack{false, false, false};
constexpr FindOptions kBackCaseWord{false, true, true};

class FindInTextTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindInTextTest, FindsTheExpectedMatch) {
    const FindCase& c = GetParam();
    EXPECT_EQ(c.expected, findInText(kText, c.needle, c.from, c.to, c.options)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Forward, FindInTextTest,
    ::testing::Values(FindCase{"nominal: first match, any case", "cat", 0, kEnd, kAnywhere, 0},
                      FindCase{"nominal: search starts at from", "cat", 1, kEnd, kAnywhere, 4},
                      FindCase{"nominal: inside a word", "cat", 5, kEnd, kAnywhere, 11},
                      FindCase{"nominal: match case", "CAT", 0, kEnd, kCase, 15},
                      FindCase{"nominal: whole word skips concat", "cat", 5, kEnd, kWord, 15},
                      FindCase{"nominal: underscore is part of a word", "cat", 16, kEnd, kWord, -1},
                      FindCase{"nominal: case and whole word", "cat", 5, kEnd, kCaseWord, -1},
                      FindCase{"nominal: search-window search, capitals in a word", "ONCA", 0, kEnd,
                               kAnywhere, 9}));

INSTANTIATE_TEST_SUITE_P(
    Backward, FindInTextTest,
    ::testing::Values(FindCase{"nominal: last match", "cat", 0, kEnd, kBack, 20},
                      FindCase{"nominal: match must end before to", "cat", 0, 22, kBack, 15},
                      FindCase{"nominal: case and whole word", "cat", 0, kEnd, kBackCaseWord, 4},
                      FindCase{"nominal: nothing before", "cat", 0, 2, kBack, -1}));

INSTANTIATE_TEST_SUITE_P(
    Bounds, FindInTextTest,
    ::testing::Values(
        FindCase{"nominal: match must lie within the range", "cat", 0, 2, kAnywhere, -1},
        FindCase{"nominal: match ending on to", "cat", 0, 3, kAnywhere, 0},
        FindCase{"robustness: empty needle", "", 0, kEnd, kAnywhere, -1},
        FindCase{"robustness: from after to", "cat", 20, 4, kAnywhere, -1},
        FindCase{"robustness: bounds outside the text", "x", -5, 999, kAnywhere, 24},
        FindCase{"robustness: needle longer than the text", kText + "!", 0, kEnd, kAnywhere, -1}));

TEST(FindInTextTest, EmptyTextHasNoMatch) {
    EXPECT_EQ(-1, findInText(QString(), "a", 0, 0, kAnywhere));
}

}  // namespace
}  // namespace quillmere
