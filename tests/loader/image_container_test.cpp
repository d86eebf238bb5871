// Reading images: the locator's meanings, the packaged layout with its length words, and
// separate segment files; lengths that run past the file refuse the image.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "loader/image_container.h"

namespace {

using namespace qv;
using Bytes = std::vector<u8>;
namespace fs = std::filesystem;

void put_u32(Bytes& out, u32 v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<u8>(v >> (8 * i)));
}

void append_segment(Bytes& out, const Bytes& segment)
{
    put_u32(out, static_cast<u32>(segment.size()));
    out.insert(out.end(), segment.begin(), segment.end());
}

class TempFolder {
public:
    TempFolder()
    {
        m_path = fs::temp_directory_path() /
            ("qv-image-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" + std::to_string(std::rand()));
        fs::create_directories(m_path);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    std::string write(const std::string& name, const Bytes& bytes)
    {
        const fs::path file = m_path / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::string path() const { return m_path.string(); }

private:
    fs::path m_path;
};

TEST(ImageLocator, PickOrMissingMeansSeparateFiles)
{
    EXPECT_FALSE(decode_locator(std::nullopt).packaged);
    EXPECT_FALSE(decode_locator(std::array<u8, 8>{'P', 'I', 'C', 'K', 'P', 'O', 'K', 'E'}).packaged);
    const ImageLocation shipped = decode_locator(std::array<u8, 8>{0x00, 0x6E, 0x16, 0x00, 'P', 'O', 'K', 'E'});
    EXPECT_TRUE(shipped.packaged);
    EXPECT_EQ(shipped.image_offset, 0x00166E00u);
    EXPECT_EQ(shipped.auxiliary_offset, 0x454B4F50u);
}

TEST(PackagedImage, ReadsTheFiveSegmentsAfterTheOffset)
{
    Bytes file = {'E', 'X', 'E', '!'};  // the executable's own bytes before the image
    append_segment(file, {0xC3});
    append_segment(file, {1, 2, 3});
    append_segment(file, {0, 0});
    append_segment(file, {'R', 'S'});
    append_segment(file, {});
    TempFolder folder;
    platform::InputFile input = platform::open_for_reading(folder.write("app.exe", file));
    Result<ImageSegments> image = read_packaged_image(input, 4);
    ASSERT_TRUE(image.ok()) << image.error();
    EXPECT_EQ(image->code, Bytes{0xC3});
    EXPECT_EQ(image->data, (Bytes{1, 2, 3}));
    EXPECT_EQ(image->imports, (Bytes{0, 0}));
    EXPECT_EQ(image->resources, (Bytes{'R', 'S'}));
    EXPECT_EQ(image->resource_file_position, 4u + 5 + 7 + 6 + 4);
    EXPECT_TRUE(image->options.empty());
}

TEST(PackagedImage, NegativeResourceLengthMeansNone)
{
    Bytes file;
    append_segment(file, {0xC3});
    append_segment(file, {});
    append_segment(file, {});
    put_u32(file, 0xFFFFFFFF);  // -1: no resources, nothing read
    put_u32(file, 0);
    TempFolder folder;
    platform::InputFile input = platform::open_for_reading(folder.write("img", file));
    Result<ImageSegments> image = read_packaged_image(input, 0);
    ASSERT_TRUE(image.ok()) << image.error();
    EXPECT_TRUE(image->resources.empty());
}

TEST(PackagedImage, LengthsBeyondTheFileAreRefused)
{
    struct Case {
        const char* name;
        Bytes file;
        u32 offset;
        const char* message_part;
    };
    Bytes huge_code;
    put_u32(huge_code, 0x7FFFFFF0);
    huge_code.push_back(0xC3);
    Bytes cut_after_code;
    append_segment(cut_after_code, {0xC3});
    const Case cases[] = {
        {"code length larger than the file", huge_code, 0, "code segment's length word says 2147483632 bytes"},
        {"file ends before the data length", cut_after_code, 0, "ends before the length of its data segment"},
        {"offset beyond the file", Bytes{1, 2}, 100, "lies beyond the end of the file"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::InputFile input = platform::open_for_reading(folder.write("img", c.file));
        Result<ImageSegments> image = read_packaged_image(input, c.offset);
        ASSERT_FALSE(image.ok());
        EXPECT_NE(image.error().find(c.message_part), std::string::npos) << image.error();
    }
}

TEST(SeparateFiles, ReadsEachSegmentWholeAndNamesAMissingOne)
{
    TempFolder folder;
    folder.write("import.dat", {0});
    folder.write("code.dat", {0xC3, 0x90});
    folder.write("data.dat", {});
    folder.write("rsrc.dat", {});
    Result<ImageSegments> missing = read_separate_image(folder.path());
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("options.dat"), std::string::npos) << missing.error();
    folder.write("options.dat", {});
    Result<ImageSegments> image = read_separate_image(folder.path());
    ASSERT_TRUE(image.ok()) << image.error();
    EXPECT_EQ(image->code, (Bytes{0xC3, 0x90}));
    EXPECT_EQ(image->imports, Bytes{0});
    EXPECT_EQ(image->resource_file_position, 0u);
}

}  // namespace
