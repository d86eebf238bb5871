// Plug-in libraries from the image's "QVPl" resources: record parsing and collection order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/embedded_library_records.h"

namespace {

using namespace qv;

std::vector<u8> record(const std::string& name, const std::string& bytes, int name_length = -1)
{
    std::vector<u8> out;
    out.push_back(static_cast<u8>(name_length < 0 ? name.size() : name_length));
    out.insert(out.end(), name.begin(), name.end());
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

std::string text(std::span<const u8> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(EmbeddedLibraryRecords, ParsesNameAndBytes)
{
    const std::string bytes("MZ\x90\x00payload", 11);  // a zero byte does not end the data
    const std::vector<u8> data = record("Bevel.dll", bytes);
    const auto library = parse_embedded_library(data);
    ASSERT_TRUE(library);
    EXPECT_EQ(library->file_name, "Bevel.dll");
    EXPECT_EQ(text(library->bytes), bytes);
    EXPECT_EQ(library->bytes.data(), data.data() + 10);  // points into the record, no copy

    const auto name_only = parse_embedded_library(record("Empty.dll", ""));
    ASSERT_TRUE(name_only);
    EXPECT_TRUE(name_only->bytes.empty());
}

TEST(EmbeddedLibraryRecords, MalformedRecordsAreRefused)
{
    const std::vector<u8> cases[] = {
        {},                             // no length byte
        record("", "bytes"),            // empty name
        record("Lib.dll", "", 8),       // name runs one byte past the data
        record("Lib.dll", "xyz", 255),  // far past it
        record("..", "MZ"),             // names that would leave the folder
        record("sub\\Lib.dll", "MZ"),   //
        record("sub/Lib.dll", "MZ"),    //
        record("C:Lib.dll", "MZ"),      //
        record(std::string("Lib\0.dll", 8), "MZ"),
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_FALSE(parse_embedded_library(cases[i])) << "case " << i;
}

TEST(EmbeddedLibraryRecords, CollectsUsableRecordsOfTheTypeInReverseIndexOrder)
{
    const std::vector<u8> first = record("First.dll", "one");
    const std::vector<u8> broken = record("Broken.dll", "", 200);
    const std::vector<u8> other = record("Other.dll", "two");
    const std::vector<u8> second = record("Second.dll", "three");
    WindowsResourceManager resources;
    resources.Add(kEmbeddedLibraryType, 128, first.data(), static_cast<u32>(first.size()), 0);
    resources.Add(kEmbeddedLibraryType, 129, broken.data(), static_cast<u32>(broken.size()), 0);
    resources.Add(four_char_code("TEXT"), 130, other.data(), static_cast<u32>(other.size()), 0);
    resources.Add(kEmbeddedLibraryType, 131, second.data(), static_cast<u32>(second.size()), 0);

    const std::vector<EmbeddedLibrary> libraries = collect_embedded_libraries(resources);
    ASSERT_EQ(libraries.size(), 2u);
    EXPECT_EQ(libraries[0].file_name, "Second.dll");
    EXPECT_EQ(text(libraries[0].bytes), "three");
    EXPECT_EQ(libraries[1].file_name, "First.dll");
    EXPECT_EQ(text(libraries[1].bytes), "one");
    EXPECT_TRUE(collect_embedded_libraries(WindowsResourceManager{}).empty());
}

}  // namespace
