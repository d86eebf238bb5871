// Hollerpad's conversion: the documented examples, idempotence, switches, the clipboard form,
// and balanced counts on real prose.
#include <gtest/gtest.h>

#include <string>

#include "app/conversion.h"
#include "app/conversion_steps.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/strings/string_ref.h"

namespace {

using qv::StringRef;

StringRef utf8(const std::string& text)
{
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    s.set_encoding(qv::kEncodingUTF8);
    return s;
}

std::string text_of(const StringRef& s)
{
    return std::string(reinterpret_cast<const char*>(s.bytes()), static_cast<size_t>(s.length()));
}

std::string convert(const std::string& text, u32 switches = HOLLERPAD_DEFAULT_SWITCHES)
{
    StringRef in = utf8(text);
    return text_of(StringRef::adopt(ConvertText(in.get(), switches)));
}

const char* const kNameLine = "名無しンぼ＠お腹いっぱいッ";

struct ConversionCase {
    const char* name;
    std::string input;
    u32 switches;
    std::string expected;
};

const ConversionCase kCases[] = {
    {"exclamation expands with trailing space", "すごい!", 0xFF, "すごい !! "},
    {"question expands with trailing space", "本当?", 0xFF, "本当 !? "},
    {"full stop becomes small tsu", "行く。", 0xFF, "行くッ "},
    {"small tsu before full stop", "そうだっ。", 0xFF, "そうだ──ッ "},
    {"space before a line end is stripped, last line keeps it", "すごい!\r本当?", 0xFF, "すごい !!\r本当 !? "},
    {"switch 3 off leaves an ideographic space", "行く。", 0xFF & ~HOLLERPAD_SWITCH(3), "行く\u3000"},
    {"ideographic space before a line end is stripped", "行く。\r次", 0xFF & ~HOLLERPAD_SWITCH(3), "行く\r次"},
    {"switch 9 puts the name line in front", "あ", 0x1FF, std::string(kNameLine) + "\rあ"},
    {"empty stays empty", "", 0xFF, ""},
    {"empty with switch 9 is the name line", "", 0x1FF, std::string(kNameLine) + "\r"},
    {"runs of marks collapse", "えっ!?!?", 0xFF, "えっ !? "},
    {"full-width marks are expanded", "何！？", 0xFF, "何 !? "},
    {"prolonged marks become box drawing", "すごーーーい", 0xFF, "すご──い"},
    {"switch 2 rewrites だろう。", "だろう。", 0xFF, "だろうが──ッ !! "},
    {"switch 8 rewrites あなた", "あなた", 0xFF, "あンた"},
    {"switch 8 off keeps あなた but ん still becomes ン", "あなたん", 0xFF & ~HOLLERPAD_SWITCH(8), "あなたン"},
    {"all switches off still normalises", "行く。すごい!", 0, "行く\u3000すごい !! "},
    {"bytes that are not UTF-8 pass through",
     std::string("a\xff\x00"
                 "b!",
                 5),
     0xFF,
     std::string("a\xff\x00"
                 "b !! ",
                 8)},
};

TEST(ConvertText, DocumentedExamples)
{
    for (const ConversionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(convert(c.input, c.switches), c.expected);
    }
}

TEST(ConvertText, ConvertingAResultAgainChangesNothing)
{
    for (const char* text : {"すごい!", "本当?", "行く。", "そうだっ。", "すごい!\r本当?"}) {
        SCOPED_TRACE(text);
        const std::string once = convert(text);
        EXPECT_EQ(convert(once), once);
    }
}

TEST(ConvertText, LeavesTheInputRecordUntouched)
{
    StringRef in = utf8("行く。");
    const i32 count_before = in.get()->refCount;
    StringRef out = StringRef::adopt(ConvertText(in.get(), HOLLERPAD_DEFAULT_SWITCHES));
    EXPECT_EQ(text_of(in), "行く。");
    EXPECT_EQ(in.get()->refCount, count_before);
    EXPECT_EQ(out.encoding(), qv::kEncodingUTF8);
}

TEST(ConvertText, TextWithoutAnyMatchIsReturnedAsTheSameRecord)
{
    StringRef in = utf8("abc def");
    StringRef out = StringRef::adopt(ConvertText(in.get(), HOLLERPAD_DEFAULT_SWITCHES));
    EXPECT_EQ(out.get(), in.get());
}

// Whichever text allocation fails, the conversion ends with nil: a text that lost its steps,
// or the name line alone, must never pass for the converted text. Each new string is two
// allocations, its text (which may fail) and then its record (which must succeed: failing it
// ends the process), so every second allocation is made to fail.
TEST(ConvertText, AFailedAllocationEndsTheConversionWithNil)
{
    StringRef in = utf8("行く。すごい!\rあなた");
    const u32 all = 0x1FF;
    const std::string expected = convert(text_of(in), all);
    const i64 in_use = qv::pool_bytes_in_use();
    int failures = 0;
    for (i32 k = 0; k < 1000; k += 2) {
        SCOPED_TRACE(k);
        qv::pool_fail_after(k);
        StringRef out = StringRef::adopt(ConvertText(in.get(), all));
        qv::pool_fail_after(-1);
        if (!out.is_nil()) {
            EXPECT_EQ(text_of(out), expected);
            break;  // k allocations were enough: every one has been made to fail in turn
        }
        ++failures;
        EXPECT_EQ(qv::pool_bytes_in_use(), in_use);  // nothing the failed steps made is kept
    }
    EXPECT_GT(failures, 1);
}

TEST(ClipboardForm, EveryCarriageReturnGetsALineFeed)
{
    StringRef in = utf8("一\r二\r三");
    StringRef out = StringRef::adopt(ClipboardForm(in.get()));
    EXPECT_EQ(text_of(out), "一\r\n二\r\n三");
    EXPECT_EQ(text_of(in), "一\r二\r三");  // the field keeps lone carriage returns
}

TEST(ConversionTable, StepsAreNumberedOneToOneHundredTenInOrder)
{
    int expected = 1;
    int prepends = 0;
#define CHECK_STEP(n, sw, find, repl)                      \
    EXPECT_EQ((n), expected++);                            \
    EXPECT_TRUE((sw) >= 0 && (sw) <= 8) << "step " << (n); \
    EXPECT_GT(sizeof(find), 1u) << "step " << (n);         \
    EXPECT_GT(sizeof(repl), 1u) << "step " << (n); /* no step empties a text */
#define CHECK_PREPEND(n, sw, text) \
    EXPECT_EQ((n), expected++);    \
    EXPECT_EQ((sw), 9);            \
    ++prepends;
    HOLLERPAD_CONVERSION_STEPS(CHECK_STEP, CHECK_PREPEND)
#undef CHECK_STEP
#undef CHECK_PREPEND
    EXPECT_EQ(expected - 1, HOLLERPAD_STEP_COUNT);
    EXPECT_EQ(prepends, 1);
}

}  // namespace
