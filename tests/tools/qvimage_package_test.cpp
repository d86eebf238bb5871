// qvimage's outer forms and command line: resource records, the MDI options record, and the
// tool run end to end into a packaged file and separate segment files that the runtime's own
// reader accepts; a refused object writes nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "loader/image_container.h"
#include "loader/resource_segment.h"
#include "tests/tools/qvimage_test_support.h"
#include "tools/qvimage/command_line.h"
#include "tools/qvimage/image_package.h"
#include "tools/qvimage/tool.h"

namespace {

using namespace qvimage;
using namespace qvimage::test;

TEST(QvimageResources, ArgumentsAndRecords)
{
    qv::Result<ResourceArgument> resource = parse_resource_argument("BMP :65535:dir/a:b.bmp");
    ASSERT_TRUE(resource) << resource.error();
    EXPECT_EQ(resource->type, qv::four_char_code("BMP "));
    EXPECT_EQ(resource->id, 65535);
    EXPECT_EQ(resource->file, "dir/a:b.bmp");

    for (const char* bad : {"BMP:1:f", "BMP :65536:f", "BMP :x:f", "BMP ::f", "BMP :1:", "BMP "}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parse_resource_argument(bad).ok());
    }

    Bytes segment;
    ASSERT_TRUE(append_resource(segment, qv::four_char_code("BMP "), 7, Bytes{'B', 'M', 9}).ok());
    ASSERT_TRUE(append_resource(segment, qv::four_char_code("TEXT"), 1, Bytes{}).ok());
    const Bytes expected = {' ', 'P', 'M', 'B', 7,   0, 0, 0, 0, 0, 3, 0, 0, 0, 'B', 'M',
                            9,   'T', 'X', 'E', 'T', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(segment, expected);
}

TEST(QvimageOptions, MdiRecordCarriesTitleAndEncoding)
{
    struct Case {
        std::string title;
        Bytes stream;
    };
    const Case cases[] = {
        {"", {0, 0, 0, 0, 0}},
        {"Pad", {0, 3, 0, 0, 0, 'P', 'a', 'd', 0x00, 0x06, 0, 0}},
        {"\xc3\xa9", {0, 2, 0, 0, 0, 0xc3, 0xa9, 0x00, 0x01, 0x00, 0x08}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(make_mdi_options(c.title), c.stream);
    }
}

TEST(QvimageCommandLine, ParsesAndRefuses)
{
    qv::Result<QvimageOptions> full =
        parse_command_line({"--split", "segs", "--resource", "TEXT:3:t.txt", "-o", "app.img", "--mdi=", "--entry=Main",
                            "app.o", "--resource=BMP :0:b.bmp"});
    ASSERT_TRUE(full) << full.error();
    EXPECT_EQ(full->object, "app.o");
    EXPECT_EQ(full->output, "app.img");
    EXPECT_EQ(full->split_folder, "segs");
    EXPECT_EQ(full->entry, "Main");
    ASSERT_TRUE(full->mdi_title.has_value());
    EXPECT_EQ(*full->mdi_title, "");
    ASSERT_EQ(full->resources.size(), 2u);
    EXPECT_EQ(full->resources[1].file, "b.bmp");

    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"-o", "x"}, "no object file given"},
        {{"a.o"}, "nothing to write: give -o OUT and/or --split DIR"},
        {{"a.o", "b.o", "-o", "x"}, "give exactly one object file (got 'a.o' and 'b.o')"},
        {{"a.o", "--attach", "rt.exe", "--split", "d"}, "--attach needs -o OUT.exe for the executable it writes"},
        {{"a.o", "-o", "x", "-o", "y"}, "-o is given twice"},
        {{"a.o", "-o"}, "-o needs a value"},
        {{"a.o", "-o", "x", "--frobnicate", "1"}, "unknown option '--frobnicate'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        qv::Result<QvimageOptions> parsed = parse_command_line(c.args);
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.error(), c.message);
    }
}

TEST(QvimageTool, PackagedAndSplitOutputsReadBackThroughTheRuntimeReader)
{
    TempFolder folder;
    const std::string picture = folder.write("pic.bmp", Bytes{'B', 'M', 1, 2});
    QvimageOptions options;
    options.object = fixture_path("image_basic");
    options.output = folder.file("app.img");
    options.split_folder = folder.file("segments");
    options.resources.push_back({qv::four_char_code("BMP "), 0, picture});
    options.mdi_title = "Pad";
    const qv::Result<void> run = run_qvimage(options);
    ASSERT_TRUE(run) << run.error();

    qv::Result<ApplicationImage> expected = convert_fixture("image_basic");
    ASSERT_TRUE(expected) << expected.error();
    auto check = [&](qv::Result<qv::ImageSegments> read) {
        ASSERT_TRUE(read) << read.error();
        EXPECT_EQ(read->code, expected->code);
        EXPECT_EQ(read->data, expected->data);
        EXPECT_EQ(read->imports, expected->imports);
        EXPECT_EQ(read->resources, (Bytes{' ', 'P', 'M', 'B', 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 'B', 'M', 1, 2}));
        EXPECT_EQ(read->options, make_mdi_options("Pad"));
    };
    platform::InputFile packaged = platform::open_for_reading(options.output);
    check(qv::read_packaged_image(packaged, 0));
    // Five files, with no length words of their own.
    check(qv::read_separate_image(options.split_folder));
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(options.split_folder), std::filesystem::directory_iterator()),
        5);
    EXPECT_EQ(std::filesystem::file_size(options.split_folder + "/code.dat"), expected->code.size());
}

TEST(QvimageTool, RefusedObjectWritesNothing)
{
    TempFolder folder;
    QvimageOptions options;
    options.object = fixture_path("refuse_data_pointer");
    options.output = folder.file("app.img");
    options.split_folder = folder.file("segments");
    const qv::Result<void> run = run_qvimage(options);
    ASSERT_FALSE(run.ok());
    EXPECT_EQ(run.error().rfind(options.object + ": relocation in data section .data", 0), 0u) << run.error();
    EXPECT_FALSE(std::filesystem::exists(options.output));
    EXPECT_FALSE(std::filesystem::exists(options.split_folder));
}

}  // namespace
