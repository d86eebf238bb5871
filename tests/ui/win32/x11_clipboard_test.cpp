// The Clipboard class on the real clipboard under Wine, seen from X11: text written through the
// class is what xclip reads from the CLIPBOARD selection, and text xclip puts there is what the
// class reads back, Japanese included.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/registry/provided_routines.h"
#include "runtime/strings/string_ref.h"
#include "tests/support/string_helpers.h"
#include "tests/ui/win32/unix_commands.h"
#include "ui/ui_service_routines.h"
#include "ui/win32/ui_win32_services.h"

namespace qv::ui {
namespace {

std::string escaped(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += static_cast<char>(c);
    }
    return out;
}

class X11Clipboard : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        register_ui_service_classes();
        install_win32_clipboard();
        s_class = RuntimeLookupClass(StringRef::FromCString("Clipboard").get());
    }
    void SetUp() override
    {
        m_dir = "/tmp/qv-x11-clipboard-" + std::to_string(GetCurrentProcessId());
        if (!test::run_unix_shell("mkdir -p " + m_dir + " && command -v xclip >/dev/null && [ -n \"$DISPLAY\" ]"))
            GTEST_SKIP() << "needs Wine with xclip and an X display";
    }
    void TearDown() override
    {
        // An xclip left serving the selection is ended by its process id.
        test::run_unix_shell("[ -s " + m_dir + "/xclip.pid ] && kill $(cat " + m_dir + "/xclip.pid); rm -rf " + m_dir);
    }

    void put_through_class(const std::string& utf8)
    {
        RuntimeObject* clipboard = RuntimeNewObject(s_class);
        clipboardTextSetter(clipboard, 0, test::utf8(utf8).get());
        clipboardClose(clipboard);
        RuntimeUnlockObject(clipboard);
    }

    std::string read_through_class()
    {
        RuntimeObject* clipboard = RuntimeNewObject(s_class);
        StringRef text = StringRef::adopt(clipboardTextGetter(clipboard));
        clipboardClose(clipboard);
        RuntimeUnlockObject(clipboard);
        return text.is_nil() ? "<nil>" : test::text_of(text);
    }

    // What xclip reads from CLIPBOARD as UTF-8, polled until it is `wanted` or 10 s have passed
    // (Wine takes the X selection from its own clipboard thread, a moment after the close). A
    // request that meets the change of owner can go unanswered: each read gets 2 s.
    std::string xclip_output_until(const std::string& wanted)
    {
        std::string got;
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end; Sleep(50)) {
            test::run_unix_shell("timeout 2 xclip -selection clipboard -t UTF8_STRING -o >" + m_dir +
                                 "/out 2>/dev/null");
            got = test::read_unix_file(m_dir + "/out");
            if (got == wanted)
                break;
        }
        return got;
    }

    // xclip serves the bytes as UTF-8 text on CLIPBOARD, in the foreground of a background shell
    // job so that its process id is known.
    void put_through_xclip(const std::string& bytes)
    {
        test::write_unix_file(m_dir + "/in", bytes);
        ASSERT_TRUE(test::run_unix_shell("xclip -quiet -selection clipboard -t UTF8_STRING -i " + m_dir +
                                         "/in >/dev/null 2>&1 & echo $! >" + m_dir + "/xclip.pid"));
    }

    std::string read_through_class_until(const std::string& wanted)
    {
        std::string got;
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end; Sleep(50))
            if ((got = read_through_class()) == wanted)
                break;
        return got;
    }

    static inline ClassRecord* s_class = nullptr;
    std::string m_dir;
};

// Lone CRs reach X11 as they are; Wine writes each CR LF as LF towards X11. The Windows side
// keeps the text exactly as it was put.
TEST_F(X11Clipboard, TextWrittenThroughTheClassIsWhatX11Reads)
{
    const struct {
        std::string put, x11;
    } cases[] = {
        {"すごい!\r本当?\r改行の後", "すごい!\r本当?\r改行の後"},
        {"すごい!\r\n本当?\r\n", "すごい!\n本当?\n"},
        {"plain\nLF", "plain\nLF"},
    };
    for (const auto& c : cases) {
        put_through_class(c.put);
        EXPECT_EQ(escaped(xclip_output_until(c.x11)), escaped(c.x11)) << escaped(c.put);
        EXPECT_EQ(escaped(read_through_class()), escaped(c.put));
    }
}

// Wine writes each LF from X11 as CR LF; the class gives the text back as UTF-8.
TEST_F(X11Clipboard, TextFromX11IsReadBackAsUTF8)
{
    put_through_xclip("日本語の行\n二行目\rまで");
    EXPECT_EQ(escaped(read_through_class_until("日本語の行\r\n二行目\rまで")), escaped("日本語の行\r\n二行目\rまで"));
    RuntimeObject* clipboard = RuntimeNewObject(s_class);
    EXPECT_TRUE(clipboardTextAvailable(clipboard));
    StringRef text = StringRef::adopt(clipboardTextGetter(clipboard));
    EXPECT_EQ(text.encoding(), kEncodingUTF8);
    clipboardClose(clipboard);
    RuntimeUnlockObject(clipboard);
}

// Named data stays on the Windows side: another program of the session reads it by its name.
TEST_F(X11Clipboard, TextAndNamedDataThroughOneObjectAreBothThere)
{
    RuntimeObject* writer = RuntimeNewObject(s_class);
    clipboardSetText(writer, test::utf8("first").get());
    clipboardSetText(writer, test::utf8("second").get());
    clipboardAddMacData(writer, test::utf8("QuaverTestData").get(), test::bytes_of(std::string("ab\0cd", 5)).get());
    clipboardClose(writer);
    RuntimeUnlockObject(writer);
    RuntimeObject* reader = RuntimeNewObject(s_class);
    EXPECT_EQ(test::text_of(StringRef::adopt(clipboardTextGetter(reader))), "second");
    EXPECT_TRUE(clipboardMacDataAvailable(reader, test::utf8("QuaverTestData").get()));
    EXPECT_EQ(test::text_of(StringRef::adopt(clipboardMacData(reader, test::utf8("QuaverTestData").get()))), "ab");
    EXPECT_FALSE(clipboardPictureAvailable(reader));
    RuntimeUnlockObject(reader);  // destruction closes
    EXPECT_EQ(escaped(xclip_output_until("second")), "second");
}

// Whether a window of another thread can open the clipboard now: the system lets only one
// window at a time hold it open (Wine lets ownerless opens share it, so the test uses a window).
bool another_window_can_open()
{
    bool opened = false;
    std::thread([&] {
        HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        opened = window && OpenClipboard(window) != 0;
        if (opened)
            CloseClipboard();
        DestroyWindow(window);
    }).join();
    return opened;
}

// An object holds the clipboard open from its first use until Close or its destruction.
TEST_F(X11Clipboard, AnObjectHoldsTheClipboardOpenUntilClosedOrDestroyed)
{
    put_through_class("held");
    EXPECT_TRUE(another_window_can_open());
    RuntimeObject* holder = RuntimeNewObject(s_class);
    ASSERT_TRUE(clipboardTextAvailable(holder));
    EXPECT_FALSE(another_window_can_open());
    clipboardClose(holder);
    EXPECT_TRUE(another_window_can_open());
    EXPECT_EQ(test::text_of(StringRef::adopt(clipboardTextGetter(holder))), "held");  // reopens
    EXPECT_FALSE(another_window_can_open());
    RuntimeUnlockObject(holder);
    EXPECT_TRUE(another_window_can_open());
}

}  // namespace
}  // namespace qv::ui
