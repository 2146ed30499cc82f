// The font lists show each family once, under its own name.
#include "editor/format/font_families.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

#include <ostream>

namespace quillmere {
namespace {

struct FamiliesCase {
    const char* label;
    QStringList databaseNames;
    QStringList listed;
};

void PrintTo(const FamiliesCase& c, std::ostream* os) {
    *os << c.label;
}

class UniqueFamilies : public ::testing::TestWithParam<FamiliesCase> {};

TEST_P(UniqueFamilies, ListsEachFamilyOnce) {
    EXPECT_EQ(GetParam().listed, uniqueFamilyNames(GetParam().databaseNames));
}

INSTANTIATE_TEST_SUITE_P(
    Names, UniqueFamilies,
    ::testing::Values(
        FamiliesCase{
            "nominal: one family of two foundries", {"C059 [UKWN]", "C059 [urw]"}, {"C059"}},
        FamiliesCase{"nominal: three foundries, one with a blank in its name",
                     {"Nimbus Sans [urw]", "Nimbus Sans [URW ]", "Nimbus Sans [UKWN]"},
                     {"Nimbus Sans"}},
        FamiliesCase{"nominal: a family of one foundry next to one of two",
                     {"Liberation Sans", "C059 [urw]", "DejaVu Sans", "C059 [UKWN]"},
                     {"C059", "DejaVu Sans", "Liberation Sans"}},
        FamiliesCase{"nominal: sorted without regard to case", {"b", "A", "c"}, {"A", "b", "c"}},
        FamiliesCase{
            "robustness: names differing only in case are one", {"Arial", "arial"}, {"Arial"}},
        FamiliesCase{
            "robustness: brackets inside a name stay", {"Font [Bold] Pro"}, {"Font [Bold] Pro"}},
        FamiliesCase{"robustness: empty names are dropped", {"", " [urw]", "Serif"}, {"Serif"}}));

TEST(FontFamilyList, HoldsNoFoundryAndNoFamilyTwice) {
    const QStringList families = fontFamilyList();
    ASSERT_FALSE(families.isEmpty());
    for (const QString& family : families) {
        EXPECT_FALSE(family.endsWith(u']')) << family.toStdString();
        EXPECT_EQ(1, families.count(family)) << family.toStdString();
    }
    for (const QString& family : QFontDatabase::families()) {
        const QString name = family.left(family.indexOf(QLatin1String(" [")));
        if (!QFontDatabase::isPrivateFamily(family)) {
            EXPECT_TRUE(families.contains(name)) << name.toStdString();
        }
    }
}

}  // namespace
}  // namespace quillmere
