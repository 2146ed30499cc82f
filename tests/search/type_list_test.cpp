// TTypeList: the days of a search in the order they were added.
#include "search/type_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TTypeListTest, StartsEmpty) {
    const quillmere::TTypeList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(0, list.Count());
    EXPECT_FALSE(list.contains(0));
    EXPECT_FALSE(list.contains(-1));
}

class TTypeListOrderTest : public ::testing::TestWithParam<std::vector<double>> {};

TEST_P(TTypeListOrderTest, KeepsTheOrderOfInsertionAndTheValuesUnchanged) {
    quillmere::TTypeList list;
    const std::vector<double>& values = GetParam();
    for (std::size_t i = 0; i < values.size(); ++i) {
        list.Add(values[i]);
        EXPECT_EQ(int(i + 1), list.Count());
        EXPECT_FALSE(list.IsEmpty());
    }
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(values[std::size_t(i)], list.GetDate(i)) << "position " << i;
        EXPECT_TRUE(list.contains(i));
    }
    EXPECT_FALSE(list.contains(list.Count()));
    EXPECT_FALSE(list.contains(-1));
}

INSTANTIATE_TEST_SUITE_P(Cases, TTypeListOrderTest,
                         ::testing::Values(std::vector<double>{40344},
                                           std::vector<double>{40344, 40345, 40400, 47000},
                                           // Not sorted, repeated, negative and fractional values
                                           // are kept exactly as added.
                                           std::vector<double>{3, 1, 2, 2, -693593, 40344.5, 0}));

}  // namespace
