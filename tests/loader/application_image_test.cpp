// load_and_link_image on hostile packaged images: each is refused before it runs, with one
// line that shows any name escaped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "loader/application_image.h"
#include "loader/image_format.h"

namespace {

using namespace qv;

bool is_one_printable_line(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<u8>(c) < 0x20 || static_cast<u8>(c) > 0x7e)
            return false;
    }
    return true;
}

Result<LinkReport> load_packaged(const std::string& path)
{
    return load_and_link_image(ImageSource{ImageSource::Kind::PackagedFile, path, 0});
}

TEST(LoadAndLinkImage, HostileImagesAreRefused)
{
    struct Case {
        const char* file;
        const char* message_part;
    };
    const Case cases[] = {
        // A chain whose head is code offset 1 would rewrite the entry jump.
        {"import_chain_in_entry_jump.qvi", "import 'RuntimeMsgBox' names site 0x1, inside the entry jump"},
        // The name runs on past a NUL and control bytes; the message shows all of it.
        {"import_name_with_nul.qvi", "import 'untimeMsgBox\\x00\\x01\\x01\\x90\\x00\\x00\\x00\\x13RuntimeUnlockStri"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Result<LinkReport> report = load_packaged(std::string(LOADER_FIXTURE_DIR) + "/" + c.file);
        ASSERT_FALSE(report.ok());
        EXPECT_NE(report.error().find(c.message_part), std::string::npos) << report.error();
        EXPECT_TRUE(is_one_printable_line(report.error())) << report.error();
    }
}

TEST(LoadAndLinkImage, SegmentsOverTheLimitAreRefused)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("qv-large-data-" + std::to_string(std::rand()) + ".qvi");
    {
        std::vector<u8> head;
        append_u32(head, 1);
        append_u8(head, 0xC3);
        append_u32(head, kMaxSegmentSize + 1);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
        const std::vector<char> zeros(kMaxSegmentSize + 1, 0);
        out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
        const u8 empty_rest[12] = {};
        out.write(reinterpret_cast<const char*>(empty_rest), sizeof empty_rest);
    }
    const Result<LinkReport> report = load_packaged(path.string());
    std::filesystem::remove(path);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.error(), "the image's data segment of 67108865 bytes is larger than the 64 MB an image may have");
}

}  // namespace
