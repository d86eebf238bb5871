// Version properties from the texts of the version resource.
#include <gtest/gtest.h>

#include "framework/version_properties.h"

namespace {

using namespace qv;

TEST(VersionProperties, IntegersFromFileVersionAndRelease)
{
    const struct {
        const char* file_version;
        const char* release;
        i32 major, minor, bug, stage, non_release, region;
    } cases[] = {
        {"1.2.3.4", "beta", 1, 2, 3, 2, 4, -1},
        {"10.0", "Final", 10, 0, 0, 3, 0, -1},
        {"", "", 0, 0, 0, -1, 0, -1},
        {"1, 2, 3, 4", "DEVELOPMENT", 1, 0, 0, 0, 0, -1},
        {"7.x.-2.4b", "Alphas", 7, 0, -2, -1, 4, -1},
        {"2..5", "alpha", 2, 0, 5, 1, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file_version);
        EXPECT_EQ(version_integer(0, c.file_version, c.release), c.major);
        EXPECT_EQ(version_integer(1, c.file_version, c.release), c.minor);
        EXPECT_EQ(version_integer(2, c.file_version, c.release), c.bug);
        EXPECT_EQ(version_integer(3, c.file_version, c.release), c.stage);
        EXPECT_EQ(version_integer(4, c.file_version, c.release), c.non_release);
        EXPECT_EQ(version_integer(5, c.file_version, c.release), c.region);
    }
    EXPECT_EQ(version_integer(6, "1.2.3.4", "Final"), -1);
    EXPECT_EQ(version_integer(-1, "1.2.3.4", "Final"), -1);
}

TEST(VersionProperties, LeadingIntegerWrapsInsteadOfOverflowing)
{
    EXPECT_EQ(leading_integer("  42abc"), 42);
    EXPECT_EQ(leading_integer("-7"), -7);
    EXPECT_EQ(leading_integer("+"), 0);
    EXPECT_EQ(leading_integer("2147483648"), static_cast<i32>(0x80000000u));
    EXPECT_EQ(leading_integer("4294967297"), 1);
}

TEST(VersionProperties, StringSelectorsAndThePathTheyAreReadUnder)
{
    EXPECT_EQ(version_string_value_name(0), "Product Version");
    EXPECT_EQ(version_string_value_name(1), "LegalCopyright");
    EXPECT_EQ(version_string_value_name(2), "FileDescription");
    EXPECT_EQ(version_string_value_name(3), "");
    EXPECT_EQ(version_value_path("FileVersion"), "\\StringFileInfo\\040904E4\\FileVersion");
}

}  // namespace
