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
#include "tests/support/image_file_builder.h"

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

// Loads the image through a temporary file, as qvrun would.
Result<LinkReport> load_built(const test::ImageFileBuilder& image)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("qv-built-" + std::to_string(std::rand()) + ".qvi");
    {
        const std::vector<u8> bytes = image.packaged();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Result<LinkReport> report = load_packaged(path.string());
    std::filesystem::remove(path);
    return report;
}

void expect_refused_with_one_line(const Result<LinkReport>& report, const std::string& message_part)
{
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.error().find(message_part), std::string::npos) << report.error();
    EXPECT_TRUE(is_one_printable_line(report.error())) << report.error();
}

TEST(LoadAndLinkImage, HostileImagesAreRefused)
{
    // The name runs on past a NUL and control bytes; the message shows all of it.
    expect_refused_with_one_line(load_packaged(std::string(LOADER_FIXTURE_DIR) + "/import_name_with_nul.qvi"),
                                 "import 'untimeMsgBox\\x00\\x01\\x01\\x90\\x00\\x00\\x00\\x13RuntimeUnlockStri");
}

// Code that begins with the entry's own instructions, as a hand-written image's may: only a
// site that does not fit in the code, or that a second fixup patches too, is refused.
TEST(LoadAndLinkImage, SitesThatCannotBePatchedAreRefused)
{
    const std::vector<u8> push_and_call = {0x55, 0x89, 0xE5, 0x68, 0, 0, 0, 0, 0xE8, 0, 0, 0, 0, 0xC9, 0xC3};
    {
        SCOPED_TRACE("call operand straddling the end of the code");
        test::ImageFileBuilder image;
        image.code = {0x90, 0x90, 0xE8, 0, 0, 0};  // the call's operand runs one byte past the code
        image.imports = {1, 1, 3, 0, 0, 0, 13, 'R', 'u', 'n', 't', 'i', 'm', 'e', 'M', 's', 'g', 'B', 'o', 'x', 0};
        expect_refused_with_one_line(load_built(image),
                                     "import 'RuntimeMsgBox' names site 0x3, outside the 6-byte code segment");
    }
    {
        SCOPED_TRACE("string fixup and import chain on one site");
        test::ImageFileBuilder image;
        image.code = push_and_call;
        image.string_constant("text");  // at data offset 0: the chain's last link, which site 4 holds
        image.fixup(ImportTag::StringFixup, 4);
        image.runtime_import(ImportMode::Relative, "RuntimeMsgBox", {9, 4});
        expect_refused_with_one_line(load_built(image),
                                     "import 'RuntimeMsgBox' patches site 0x4, which another fixup already patches");
    }
    {
        SCOPED_TRACE("two data fixups on overlapping bytes");
        test::ImageFileBuilder image;
        image.code = push_and_call;
        image.raw_data("slot");
        image.fixup(ImportTag::DataFixup, 4);
        image.fixup(ImportTag::DataFixup, 2);
        expect_refused_with_one_line(load_built(image), "fixup patches site 0x2, which another fixup already patches");
    }
}

// The format limits no segment: one larger than qvimage ever writes is read and linked (the
// cut-off fixup after it keeps the image from loading for good).
TEST(LoadAndLinkImage, SegmentsLargerThanQvimageWritesAreLinked)
{
    test::ImageFileBuilder image;
    image.code = {0xC3};
    image.data.assign((64u << 20) + 1, 0);
    image.imports = {static_cast<u8>(ImportTag::DataFixup), 0};
    const Result<LinkReport> report = load_built(image);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.error(), "import stream record at offset 0: fixup is cut off before its site");
}

}  // namespace
