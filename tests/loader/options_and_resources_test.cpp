// The options stream and the resource index: MDI records, unknown tags, lookups by type and
// 16-bit id, and segments whose records run past their end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/options_stream.h"
#include "loader/resource_segment.h"
#include "runtime/encodings/text_encoding_objects.h"
#include "sdk/quaver.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using Bytes = std::vector<u8>;

void put_u32(Bytes& out, u32 v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<u8>(v >> (8 * i)));
}

TEST(OptionsStream, EmptyStreamMeansNoMdi)
{
    Result<ImageOptions> options = parse_options_stream({});
    ASSERT_TRUE(options.ok());
    EXPECT_FALSE(options->mdi);
}

TEST(OptionsStream, TagZeroWithoutTitleSwitchesMdiOnAndTakesFiveBytes)
{
    Bytes stream = {0};
    put_u32(stream, 0);
    stream.push_back(0);  // a second record right after the first five bytes
    put_u32(stream, 3);
    stream.insert(stream.end(), {'M', 'D', 'I'});
    put_u32(stream, kEncodingASCII);
    Result<ImageOptions> options = parse_options_stream(stream);
    ASSERT_TRUE(options.ok()) << options.error();
    EXPECT_TRUE(options->mdi);
    EXPECT_EQ(test::text_of(options->mdi_title), "MDI");
    EXPECT_EQ(options->mdi_title.encoding(), kEncodingASCII);
}

TEST(OptionsStream, UnknownTagIsReportedAndSkippedByteByByte)
{
    Bytes stream = {7, 9, 0};
    put_u32(stream, 0);
    test::AssertionCapture capture;
    Result<ImageOptions> options = parse_options_stream(stream);
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(capture.count(), 2u);
    EXPECT_TRUE(capture.saw("loaderX86", 379));
    EXPECT_TRUE(options->mdi);
}

TEST(OptionsStream, TitleRunningPastTheEndIsRefused)
{
    Bytes stream = {0};
    put_u32(stream, 1000);
    stream.insert(stream.end(), {'a', 'b'});
    Result<ImageOptions> options = parse_options_stream(stream);
    ASSERT_FALSE(options.ok());
    EXPECT_NE(options.error().find("1000-byte title"), std::string::npos) << options.error();
    Bytes cut = {0, 1, 0};  // length word cut off
    EXPECT_FALSE(parse_options_stream(cut).ok());
}

Bytes resource_record(const char (&type)[5], u16 id, const std::string& data)
{
    Bytes out = {static_cast<u8>(type[3]), static_cast<u8>(type[2]), static_cast<u8>(type[1]),
                 static_cast<u8>(type[0]), static_cast<u8>(id),      static_cast<u8>(id >> 8)};
    put_u32(out, 0);
    put_u32(out, static_cast<u32>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST(ResourceIndex, IndexesRecordsInOrderWithFilePositions)
{
    Bytes segment = resource_record("BMP ", 0, "BMxx");
    Bytes second = resource_record("TEXT", 128, "hello");
    segment.insert(segment.end(), second.begin(), second.end());
    WindowsResourceManager index;
    ASSERT_TRUE(index_resource_segment(index, segment, 1000).ok());
    ASSERT_EQ(index.GetCount(), 2);
    const ResourceEntry bitmap = index.GetAt(0);
    EXPECT_EQ(bitmap.type, four_char_code("BMP "));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bitmap.data), 2), "BM");
    EXPECT_EQ(bitmap.file_position, 1000u + 14);
    const ResourceEntry text = index.Find(four_char_code("TEXT"), 128);
    EXPECT_EQ(text.length, 5u);
    EXPECT_EQ(text.file_position, 1000u + 14 + 4 + 14);
}

TEST(ResourceIndex, FirstMatchWinsAndIdsCompareIn16Bits)
{
    Bytes segment = resource_record("BMP ", 0, "first");
    Bytes twin = resource_record("BMP ", 0, "second");
    segment.insert(segment.end(), twin.begin(), twin.end());
    WindowsResourceManager index;
    ASSERT_TRUE(index_resource_segment(index, segment, 0).ok());
    EXPECT_EQ(index.Find(four_char_code("BMP "), 0).length, 5u);
    EXPECT_EQ(index.Find(four_char_code("BMP "), 65536).length, 5u);
    const ResourceEntry none = index.Find(four_char_code("CURS"), 0);
    EXPECT_EQ(none.data, nullptr);
    EXPECT_EQ(none.type, 0u);
}

TEST(ResourceIndex, EmptySegmentGivesAnEmptyIndex)
{
    WindowsResourceManager index;
    ASSERT_TRUE(index_resource_segment(index, {}, 0).ok());
    EXPECT_EQ(index.GetCount(), 0);
    test::AssertionCapture capture;
    EXPECT_EQ(index.GetAt(0).data, nullptr);
    EXPECT_TRUE(capture.saw("WindowsResourceManager", 60));
}

TEST(ResourceIndex, RecordsRunningPastTheSegmentAreRefusedWhole)
{
    Bytes good = resource_record("TEXT", 1, "ok");
    Bytes overlong = resource_record("TEXT", 2, "abc");
    overlong[10] = 0xFF;  // data length 255 with 3 bytes present
    Bytes segment = good;
    segment.insert(segment.end(), overlong.begin(), overlong.end());
    WindowsResourceManager index;
    Result<void> r = index_resource_segment(index, segment, 0);
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().find("declares 255 data bytes but only 3 remain"), std::string::npos) << r.error();
    EXPECT_EQ(index.GetCount(), 0);
    Bytes cut_header(good.begin(), good.begin() + 9);
    EXPECT_FALSE(index_resource_segment(index, cut_header, 0).ok());
}

}  // namespace

namespace {

using namespace qv;

// The process's index serves the image's typed lookups; text comes in the system encoding.
TEST(ResourceLookups, TextResourceByIdOthersNil)
{
    static const Bytes segment = resource_record("TEXT", 7, "readme");
    qv::WindowsResourceManager& index = qv::image_resources();
    if (index.Find(four_char_code("TEXT"), 7).data == nullptr) {
        ASSERT_TRUE(index_resource_segment(index, segment, 0).ok());
    }
    RuntimeString* text = RuntimeGetTextFileFromResourceManager(7 + 65536);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(test::text_of(text), "readme");
    EXPECT_EQ(text->encoding, qv::system_default_text_encoding());
    RuntimeUnlockString(text);
    EXPECT_EQ(RuntimeGetTextFileFromResourceManager(8), nullptr);
    EXPECT_EQ(RuntimeGetBitmapFromResourceManager(0), nullptr);
}

}  // namespace
