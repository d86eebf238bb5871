// Style runs as TextStyleData carries them: written and read back unchanged, every malformed
// string refused, and runs fitted to the text they are set with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/style_runs.h"

namespace qv::ui {
namespace {

std::span<const u8> bytes(const std::string& s) { return {reinterpret_cast<const u8*>(s.data()), s.size()}; }

StyleRun run(i32 length, u32 color, i32 size, u8 style, std::string face)
{
    return {length, color, size, style, std::move(face)};
}

const std::vector<StyleRun> kRuns = {
    run(3, 0x000000, 12, 0, "System"),
    run(5, 0xFF0000, 18, kRunBold | kRunUnderline, "ＭＳ ゴシック"),
    run(1, 0x123456, 9, kRunItalic, ""),
};

TEST(StyleRuns, WrittenRunsReadBackUnchanged)
{
    const std::string data = encode_style_runs(kRuns);
    EXPECT_EQ(data.substr(0, 8), std::string("QVSR\x03\0\0\0", 8));
    EXPECT_EQ(data.substr(8, 4), std::string("\x03\0\0\0", 4));  // the first run's length
    const std::optional<std::vector<StyleRun>> read = decode_style_runs(bytes(data));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, kRuns);

    EXPECT_EQ(decode_style_runs({}), std::vector<StyleRun>{});  // no data: no runs
    EXPECT_EQ(decode_style_runs(bytes(encode_style_runs({}))), std::vector<StyleRun>{});
}

TEST(StyleRuns, EmptyRunsAreLeftOutAndLongFacesCutBetweenCharacters)
{
    std::vector<StyleRun> runs = kRuns;
    runs.insert(runs.begin() + 1, run(0, 0xABCDEF, 10, 0, "Nothing"));
    EXPECT_EQ(decode_style_runs(bytes(encode_style_runs(runs))), kRuns);

    std::string japanese;
    for (int i = 0; i < 90; ++i)
        japanese += "明";  // 3 bytes each: 270 bytes, cut to 85 characters
    const std::optional<std::vector<StyleRun>> read =
        decode_style_runs(bytes(encode_style_runs(std::vector<StyleRun>{run(1, 0, 10, 0, japanese)})));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->at(0).face.size(), 255u);
    EXPECT_EQ(read->at(0).face, japanese.substr(0, 255));
    std::string ascii(300, 'F');
    EXPECT_EQ(decode_style_runs(bytes(encode_style_runs(std::vector<StyleRun>{run(1, 0, 10, 0, ascii)})))->at(0).face,
              std::string(255, 'F'));
}

TEST(StyleRuns, MalformedStringsAreRefused)
{
    const std::string good = encode_style_runs(kRuns);
    const struct {
        const char* what;
        std::string data;
    } cases[] = {
        {"another header", "QVSX" + good.substr(4)},
        {"plain text", "Hello"},
        {"count above the runs", good.substr(0, 4) + std::string("\x04\0\0\0", 4) + good.substr(8)},
        {"count no data could hold", good.substr(0, 4) + std::string("\xFF\xFF\xFF\x0F", 4) + good.substr(8)},
        {"count below the runs", good.substr(0, 4) + std::string("\x02\0\0\0", 4) + good.substr(8)},
        {"a byte left over", good + "x"},
        {"the last face cut", good.substr(0, good.size() - 1)},
        {"a run of no length", good.substr(0, 8) + std::string("\0\0\0\0", 4) + good.substr(12)},
        {"a run past 2^31 - 1", good.substr(0, 8) + std::string("\0\0\0\x80", 4) + good.substr(12)},
        {"the header alone, cut", good.substr(0, 6)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(decode_style_runs(bytes(c.data))) << c.what;
}

TEST(StyleRuns, AdjacentRunsInOneFormatJoin)
{
    std::vector<StyleRun> runs;
    append_run(runs, run(2, 0xFF, 10, kRunBold, "A"));
    append_run(runs, run(3, 0xFF, 10, kRunBold, "A"));
    append_run(runs, run(0, 0x00, 10, 0, "B"));  // nothing to add
    append_run(runs, run(1, 0xFF, 10, 0, "A"));
    append_run(runs, run(4, 0xFF, 10, 0, "A"));
    EXPECT_EQ(runs, (std::vector<StyleRun>{run(5, 0xFF, 10, kRunBold, "A"), run(5, 0xFF, 10, 0, "A")}));
}

TEST(StyleRuns, RunsAreFittedToTheText)
{
    const struct {
        i32 length;
        std::vector<i32> lengths;
    } cases[] = {
        {9, {3, 5, 1}},  // exactly covered
        {20, {3, 5, 1}}, // the rest keeps the field's format
        {6, {3, 3}},     // cut inside the second run
        {3, {3}},        // ends with the first
        {0, {}},
    };
    for (const auto& c : cases) {
        std::vector<i32> lengths;
        for (const StyleRun& r : fit_runs(kRuns, c.length))
            lengths.push_back(r.length);
        EXPECT_EQ(lengths, c.lengths) << c.length;
    }
    EXPECT_EQ(fit_runs(kRuns, 6).at(1).face, "ＭＳ ゴシック");
}

}  // namespace
}  // namespace qv::ui
