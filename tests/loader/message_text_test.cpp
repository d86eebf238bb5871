// Names from untrusted files in messages: nothing cuts the message or reaches the terminal raw,
// and readable names (Japanese file names among them) stay readable.
#include <gtest/gtest.h>

#include <string>

#include "loader/message_text.h"

namespace {

TEST(MessageText, EscapesWhatCouldHarmAndKeepsWhatReads)
{
    using namespace std::string_literals;
    const struct {
        std::string name, shown;
    } cases[] = {
        {"StringLeft", "StringLeft"},
        {"a\0b"s, "a\\x00b"},
        {"\x1b[2Jx", "\\x1b[2Jx"},  // a terminal escape
        {"back\\slash", "back\\\\slash"},
        {"\x7f", "\\x7f"},
        {"\xe3\x83\x97\xe3\x83\xad.o", "\xe3\x83\x97\xe3\x83\xad.o"},  // well-formed UTF-8 stays
        {"\xc2\x85", "\\xc2\\x85"},                                    // C1 control U+0085
        {"\xc0\xaf", "\\xc0\\xaf"},                                    // overlong "/"
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},                           // a surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},                  // above U+10FFFF
        {"\xe3\x83", "\\xe3\\x83"},                                    // cut short at the end
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},                      // four bytes, well-formed
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::escaped(c.name), c.shown) << c.shown;
}

}  // namespace
