// The substring search behind InStrB and ReplaceAllB: every needle length and alignment
// against std::string::find, and degenerate texts that force the linear fallback.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/strings/byte_search.h"

namespace {

using qv::ByteSearcher;

i32 find_all_count(ByteSearcher& searcher, const std::string& text)
{
    const auto* bytes = reinterpret_cast<const u8*>(text.data());
    i32 count = 0;
    for (i32 at = searcher.find(bytes, static_cast<i32>(text.size()), 0); at >= 0;
         at = searcher.find(bytes, static_cast<i32>(text.size()), at + searcher.needle_length()))
        ++count;
    return count;
}

TEST(ByteSearch, MatchesStdFindAtEveryPositionAndLength)
{
    // Needles placed at every offset of texts around the 16-byte block boundaries.
    const std::string needle_source = "\xe3\x83\xbc\xe3\x83\x83 !! \xe3\x80\x82xyz\r";
    for (size_t length = 1; length <= needle_source.size(); ++length) {
        const std::string needle = needle_source.substr(0, length);
        for (size_t text_length = length; text_length <= 70; ++text_length) {
            for (size_t at = 0; at + length <= text_length; at += 3) {
                std::string text(text_length, '\xe3');
                text.replace(at, length, needle);
                const auto* bytes = reinterpret_cast<const u8*>(text.data());
                for (i32 from : {0, 1, static_cast<i32>(at)}) {
                    const size_t want = text.find(needle, static_cast<size_t>(from));
                    ASSERT_EQ(qv::find_bytes(bytes, static_cast<i32>(text.size()),
                                             reinterpret_cast<const u8*>(needle.data()), static_cast<i32>(length),
                                             from),
                              want == std::string::npos ? -1 : static_cast<i32>(want))
                        << "length " << length << " text " << text_length << " at " << at << " from " << from;
                }
            }
        }
    }
}

TEST(ByteSearch, FromBeyondTheEndFindsNothing)
{
    const std::string text = "abcabc";
    const auto* bytes = reinterpret_cast<const u8*>(text.data());
    EXPECT_EQ(qv::find_bytes(bytes, 6, reinterpret_cast<const u8*>("bc"), 2, 5), -1);
    EXPECT_EQ(qv::find_bytes(bytes, 6, reinterpret_cast<const u8*>("bc"), 2, 100), -1);
    EXPECT_EQ(qv::find_bytes(bytes, 6, reinterpret_cast<const u8*>("c"), 1, 5), 5);
}

TEST(ByteSearch, DegenerateTextSwitchesToTheLinearSearchWithoutMissingHits)
{
    // Every position passes a two-byte filter on "aaaa...ab"; only the full compare fails.
    std::string needle(40, 'a');
    needle += 'b';
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += std::string(100 + i % 7, 'a') + "b";
    ByteSearcher searcher(reinterpret_cast<const u8*>(needle.data()), static_cast<i32>(needle.size()));
    EXPECT_EQ(find_all_count(searcher, text), 200);
}

// "!" is searched for with memchr, which here stops at nearly every byte: a short needle
// wears out the stops allowed and goes back to the filter, a long one wears out the budget for
// comparing and goes on with KMP. Either way from the middle of a search.
TEST(ByteSearch, ARareByteFoundEverywhereLeavesMemchrWithoutMissingHits)
{
    struct Case {
        const char* name;
        std::string needle;
        size_t run;  // of '!' before each "x!"
    };
    const Case cases[] = {
        {"stops too frequent: back to the filter", "!!x!", 20},
        {"verification too costly: on to KMP", std::string(200, '!') + "x!", 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        for (size_t i = 0; i < 300; ++i)
            text += std::string(c.run + i % 11, '!') + "x!" + std::string(i % 3, 'y');
        ByteSearcher searcher(reinterpret_cast<const u8*>(c.needle.data()), static_cast<i32>(c.needle.size()));
        i32 expected = 0;
        for (size_t at = text.find(c.needle); at != std::string::npos; at = text.find(c.needle, at + c.needle.size()))
            ++expected;
        EXPECT_EQ(expected, 300);
        EXPECT_EQ(find_all_count(searcher, text), expected);
    }
}

TEST(ByteSearch, RandomTextsAgreeWithStdFind)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text(static_cast<size_t>(random() % 2000), '\0');
        for (char& c : text)
            c = "ab!\xe3\x81"[random() % 5];
        std::string needle(1 + static_cast<size_t>(random() % 12), '\0');
        for (char& c : needle)
            c = "ab!\xe3\x81"[random() % 5];
        ByteSearcher searcher(reinterpret_cast<const u8*>(needle.data()), static_cast<i32>(needle.size()));
        i32 expected = 0;
        for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size()))
            ++expected;
        ASSERT_EQ(find_all_count(searcher, text), expected) << "round " << round;
    }
}

}  // namespace
