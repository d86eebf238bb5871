// The Unicode case table: 724 pairs of an early edition of the database (what the generator
// takes is explained in runtime/text/generate_case_table.py), and the two lookups over it.
#include <gtest/gtest.h>

#include "runtime/text/unicode_case.h"

namespace {

using namespace qv;

TEST(UnicodeCaseTable, HoldsTheSevenHundredTwentyFourPairsWithTheNamedEnds)
{
    const auto pairs = unicode_case_pairs();
    ASSERT_EQ(pairs.size(), 724u);
    for (u16 i = 0; i < 26; ++i) {
        EXPECT_EQ(pairs[i].upper, 0x41 + i) << i;
        EXPECT_EQ(pairs[i].lower, 0x61 + i) << i;
        EXPECT_EQ(pairs[pairs.size() - 26 + i].upper, 0xFF21 + i) << i;
        EXPECT_EQ(pairs[pairs.size() - 26 + i].lower, 0xFF41 + i) << i;
    }
    EXPECT_EQ(pairs[26].upper, 0x00B5);
    EXPECT_EQ(pairs[26].lower, 0x03BC);
    EXPECT_EQ(pairs[27].upper, 0x00C0);
    EXPECT_EQ(pairs[27].lower, 0x00E0);
}

TEST(UnicodeCaseTable, IsSortedByItsUpperColumnWithEachUpperOnce)
{
    const auto pairs = unicode_case_pairs();
    for (size_t i = 1; i < pairs.size(); ++i)
        EXPECT_LT(pairs[i - 1].upper, pairs[i].upper) << "row " << i;
}

struct CaseCase {
    const char* name;
    u32 code_point;
    u32 upper;
    u32 lower;
};

// Where several rows share a value the first row wins, because the maps are filled from the
// last row to the first: upper-casing MU gives MICRO SIGN (row B5/3BC comes before 39C/3BC),
// and upper-casing IOTA gives COMBINING YPOGEGRAMMENI (345/3B9 before 399/3B9).
constexpr CaseCase kCases[] = {
    {"ASCII letter", 'a', 'A', 'a'},
    {"ASCII capital", 'Q', 'Q', 'q'},
    {"digit", '7', '7', '7'},
    {"Latin-1", 0x00E9, 0x00C9, 0x00E9},
    {"y diaeresis", 0x00FF, 0x0178, 0x00FF},
    {"capital I with dot lower-cases to i", 0x0130, 0x0130, 0x0069},
    {"i upper-cases to the first row's I", 0x0069, 0x0049, 0x0069},
    {"dotless i has no row", 0x0131, 0x0131, 0x0131},
    {"mu upper-cases to the micro sign", 0x03BC, 0x00B5, 0x03BC},
    {"micro sign lower-cases to mu", 0x00B5, 0x00B5, 0x03BC},
    {"capital mu", 0x039C, 0x039C, 0x03BC},
    {"iota", 0x03B9, 0x0345, 0x03B9},
    {"final sigma lower-cases to sigma", 0x03C2, 0x03C2, 0x03C3},
    {"Cyrillic", 0x0434, 0x0414, 0x0434},
    {"Kelvin sign", 0x212A, 0x212A, 0x006B},
    {"circled letter", 0x24D0, 0x24B6, 0x24D0},
    {"fullwidth letter", 0xFF41, 0xFF21, 0xFF41},
    {"hiragana has no case", 0x3042, 0x3042, 0x3042},
    {"Georgian capitals came later", 0x10A0, 0x10A0, 0x10A0},
    {"Cyrillic of Unicode 4.0 came later", 0x04C0, 0x04C0, 0x04C0},
    {"above the BMP: looked up by the low 16 bits", 0x10061, 0x0041, 0x10061},
    {"above the BMP without a row stays", 0x1F600, 0x1F600, 0x1F600},
};

TEST(UnicodeCaseTable, UpperAndLowerCaseThroughTheRows)
{
    for (const CaseCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(unicode_to_upper(c.code_point), c.upper);
        EXPECT_EQ(unicode_to_lower(c.code_point), c.lower);
    }
}

}  // namespace
