// The UTF-8/UTF-16 crossing into and out of the wide Win32 functions (Windows build only: the
// conversion is the system's own): pairs, lone surrogates, embedded zeros and empty text.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

namespace {

using platform::win32::narrow;
using platform::win32::widen;
using platform::win32::widen_u16;

TEST(WindowsText, NarrowGivesUtf8ForEveryUnitItIsGiven)
{
    struct Case {
        const char* what;
        std::u16string utf16;
        std::string utf8;
    };
    const Case cases[] = {
        {"empty", u"", ""},
        {"ASCII", u"abc", "abc"},
        {"Japanese", u"\u3059\u3054\u3044!", "\xE3\x81\x99\xE3\x81\x94\xE3\x81\x84!"},
        {"surrogate pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
        {"lone high surrogate", std::u16string(1, char16_t(0xD83D)) + u"a",
         "\xEF\xBF\xBD"
         "a"},
        {"lone low surrogate", u"a" + std::u16string(1, char16_t(0xDE00)), "a\xEF\xBF\xBD"},
        {"embedded zero kept", std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(narrow(c.utf16), c.utf8);
        EXPECT_EQ(narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(c.utf16.data()), c.utf16.size())), c.utf8);
    }
}

TEST(WindowsText, WidenTakesEveryByteOfAViewButStopsAtTheZeroOfAPointer)
{
    EXPECT_EQ(widen_u16("\xF0\x9F\x98\x80!"), u"\U0001F600!");
    EXPECT_EQ(widen_u16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(widen(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_EQ(widen("a\0b"), L"a");
    EXPECT_EQ(widen(static_cast<const char*>(nullptr)), L"");
    EXPECT_EQ(widen_u16(""), u"");
    // Ill-formed UTF-8 becomes U+FFFD rather than being dropped.
    EXPECT_EQ(widen_u16("a\xFF"), u"a\uFFFD");
}

}  // namespace
#endif
