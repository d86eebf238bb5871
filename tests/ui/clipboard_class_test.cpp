// The Clipboard class over a fake system clipboard: when an object opens, empties and closes the
// clipboard, how text and named data are encoded both ways, and a clipboard held elsewhere.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/system_code_page.h"
#include "runtime/definitions/class_registry.h"
#include "tests/support/string_helpers.h"
#include "ui/clipboard/clipboard_class.h"
#include "ui/clipboard/system_clipboard.h"

namespace qv::ui {
namespace {

using test::text_of;
using test::utf8;

// Behaves like the Win32 clipboard for one process: formats replace each other's blocks,
// registered names get numbers from 0xC000 on.
class FakeClipboard final : public SystemClipboard {
public:
    bool wide = true;
    bool held_elsewhere = false;
    bool is_open = false;
    int opens = 0, closes = 0, empties = 0;
    std::map<u32, std::vector<u8>> blocks;
    std::map<std::string, u32> names;

    bool wide_text() const override { return wide; }
    bool open() override
    {
        if (held_elsewhere || is_open)
            return false;
        ++opens;
        return is_open = true;
    }
    void close() override
    {
        ++closes;
        is_open = false;
    }
    void empty() override
    {
        EXPECT_TRUE(is_open);
        ++empties;
        blocks.clear();
    }
    bool available(u32 format) override { return blocks.count(format) != 0; }
    u32 register_format(std::span<const u8> name) override
    {
        EXPECT_EQ(name.back(), 0);
        const std::string key(reinterpret_cast<const char*>(name.data()));
        return names.emplace(key, static_cast<u32>(0xC000 + names.size())).first->second;
    }
    void put(u32 format, std::span<const u8> block) override
    {
        EXPECT_TRUE(is_open);
        blocks[format].assign(block.begin(), block.end());
    }
    bool get(u32 format, std::vector<u8>& block) override
    {
        EXPECT_TRUE(is_open);
        const auto it = blocks.find(format);
        if (it == blocks.end())
            return false;
        block = it->second;
        return true;
    }

    std::string bytes(u32 format) const
    {
        const auto it = blocks.find(format);
        return it == blocks.end() ? "<none>" : std::string(it->second.begin(), it->second.end());
    }
};

std::string utf16_block(std::u16string text)
{
    text.push_back(0);
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

class ClipboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        register_clipboard_class();
        s_class = RuntimeLookupClass(test::ascii("Clipboard").get());
    }
    void SetUp() override { m_previous = set_system_clipboard(&m_system); }
    void TearDown() override
    {
        for (RuntimeObject* object : m_objects)
            RuntimeUnlockObject(object);
        set_system_clipboard(m_previous);
        platform::select_system_code_page_for_tests(0);
    }

    RuntimeObject* make()
    {
        m_objects.push_back(RuntimeNewObject(s_class));
        return m_objects.back();
    }
    static std::string read(RuntimeObject* clipboard)
    {
        StringRef text = StringRef::adopt(clipboardTextGetter(clipboard));
        return text.is_nil() ? "<nil>" : text_of(text);
    }

    static inline ClassRecord* s_class = nullptr;
    FakeClipboard m_system;
    SystemClipboard* m_previous = nullptr;
    std::vector<RuntimeObject*> m_objects;
};

TEST_F(ClipboardTest, TextGoesAsUnicodeTextAndComesBackAsUTF8ExactlyAsPut)
{
    RuntimeObject* clipboard = make();
    clipboardTextSetter(clipboard, 0, utf8("すごい!\r本当?\r\n").get());
    EXPECT_EQ(m_system.bytes(kClipboardUnicodeText), utf16_block(u"すごい!\r本当?\r\n"));
    EXPECT_EQ(m_system.blocks.size(), 1u);
    StringRef back = StringRef::adopt(clipboardTextGetter(clipboard));
    EXPECT_EQ(text_of(back), "すごい!\r本当?\r\n");
    EXPECT_EQ(back.encoding(), kEncodingUTF8);

    // Text is cut at its first zero unit; text in another encoding is converted on the way in.
    m_system.blocks[kClipboardUnicodeText] = std::vector<u8>{'a', 0, 0, 0, 'b', 0, 0, 0};
    EXPECT_EQ(read(clipboard), "a");
    clipboardSetText(clipboard, test::bytes_of("caf\xE9", kEncodingWindowsLatin1).get());
    EXPECT_EQ(read(clipboard), "café");
    clipboardSetText(clipboard, nullptr);
    EXPECT_EQ(m_system.bytes(kClipboardUnicodeText), std::string(2, '\0'));
    EXPECT_EQ(read(clipboard), "<nil>");
}

TEST_F(ClipboardTest, StaysOpenAcrossOperationsUntilCloseOrDestruction)
{
    RuntimeObject* clipboard = make();
    clipboardClose(clipboard);  // not open: nothing to close
    EXPECT_EQ(m_system.closes, 0);
    clipboardSetText(clipboard, utf8("one").get());
    EXPECT_EQ(read(clipboard), "one");
    EXPECT_TRUE(clipboardTextAvailable(clipboard));
    EXPECT_EQ(m_system.opens, 1);
    EXPECT_EQ(reinterpret_cast<ClipboardObject*>(clipboard)->open, 1);
    clipboardClose(clipboard);
    EXPECT_EQ(m_system.closes, 1);
    EXPECT_FALSE(m_system.is_open);
    EXPECT_EQ(reinterpret_cast<ClipboardObject*>(clipboard)->open, 0);

    // Another object can have it now; while that one holds it, the first reads nothing.
    RuntimeObject* other = make();
    EXPECT_EQ(read(other), "one");
    EXPECT_EQ(read(clipboard), "<nil>");
    RuntimeUnlockObject(other);  // destruction closes
    m_objects.pop_back();
    EXPECT_FALSE(m_system.is_open);
    EXPECT_EQ(read(clipboard), "one");
}

TEST_F(ClipboardTest, EmptiesBeforeTheObjectsFirstWriteOnly)
{
    m_system.blocks[kClipboardDib] = {1, 2, 3};  // from some other program
    RuntimeObject* clipboard = make();
    clipboardSetText(clipboard, utf8("first").get());
    clipboardSetText(clipboard, utf8("second").get());
    EXPECT_EQ(m_system.empties, 1);
    EXPECT_EQ(m_system.blocks.count(kClipboardDib), 0u);
    EXPECT_EQ(read(clipboard), "second");  // the format's block was replaced

    clipboardAddMacData(clipboard, utf8("QVDT").get(), utf8("data").get());
    EXPECT_EQ(read(clipboard), "second");  // both formats are there
    EXPECT_EQ(text_of(StringRef::adopt(clipboardMacData(clipboard, utf8("QVDT").get()))), "data");

    // Reopened after Close, the same object adds without emptying.
    clipboardClose(clipboard);
    clipboardAddMacData(clipboard, utf8("QVXX").get(), utf8("more").get());
    EXPECT_EQ(m_system.opens, 2);
    EXPECT_EQ(m_system.empties, 1);
    EXPECT_EQ(read(clipboard), "second");
    clipboardClose(clipboard);

    // A new object empties on its own first write.
    RuntimeObject* next = make();
    clipboardAddMacData(next, utf8("QVDT").get(), utf8("x").get());
    EXPECT_EQ(m_system.empties, 2);
    EXPECT_EQ(read(next), "<nil>");
}

TEST_F(ClipboardTest, NamedDataEndsAtItsFirstZeroByteAndHasNoKnownEncoding)
{
    RuntimeObject* clipboard = make();
    EXPECT_FALSE(clipboardMacDataAvailable(clipboard, utf8("QVDT").get()));
    EXPECT_EQ(StringRef::adopt(clipboardMacData(clipboard, utf8("QVDT").get())).get(), nullptr);
    clipboardAddMacData(clipboard, utf8("QVDT").get(), test::bytes_of(std::string("ab\0cd", 5)).get());
    EXPECT_EQ(m_system.bytes(m_system.names.at("QVDT")), std::string("ab\0cd\0", 6));
    EXPECT_TRUE(clipboardMacDataAvailable(clipboard, utf8("QVDT").get()));
    StringRef data = StringRef::adopt(clipboardMacData(clipboard, utf8("QVDT").get()));
    EXPECT_EQ(text_of(data), "ab");
    EXPECT_EQ(data.encoding(), kEncodingUnknown);
}

TEST_F(ClipboardTest, WithoutUnicodeTextTextTravelsInTheAnsiCodePage)
{
    platform::select_system_code_page_for_tests(932);
    m_system.wide = false;
    RuntimeObject* clipboard = make();
    clipboardSetText(clipboard, utf8("日本").get());
    EXPECT_EQ(m_system.bytes(kClipboardText), "\x93\xFA\x96\x7B" + std::string(1, '\0'));
    EXPECT_EQ(m_system.blocks.count(kClipboardUnicodeText), 0u);
    StringRef back = StringRef::adopt(clipboardTextGetter(clipboard));
    EXPECT_EQ(text_of(back), "\x93\xFA\x96\x7B");
    EXPECT_EQ(back.encoding(), kEncodingUnknown);
    // Named data is converted the same way on every system.
    m_system.wide = true;
    clipboardAddMacData(clipboard, utf8("QVDT").get(), utf8("本").get());
    EXPECT_EQ(m_system.bytes(m_system.names.at("QVDT")), "\x96\x7B" + std::string(1, '\0'));
}

TEST_F(ClipboardTest, TextAvailable)
{
    RuntimeObject* clipboard = make();
    EXPECT_FALSE(clipboardTextAvailable(clipboard));
    m_system.blocks[kClipboardText] = {'a', 0};
    EXPECT_TRUE(clipboardTextAvailable(clipboard));
    // Only Unicode text: read to see whether there is any.
    m_system.blocks.clear();
    m_system.blocks[kClipboardUnicodeText] = {'a', 0, 0, 0};
    EXPECT_TRUE(clipboardTextAvailable(clipboard));
    EXPECT_EQ(read(clipboard), "a");
    m_system.blocks[kClipboardUnicodeText] = {0, 0};
    EXPECT_FALSE(clipboardTextAvailable(clipboard));
    // Without Unicode text on the system, only CF_TEXT counts.
    m_system.wide = false;
    m_system.blocks[kClipboardUnicodeText] = {'a', 0, 0, 0};
    EXPECT_FALSE(clipboardTextAvailable(clipboard));
}

TEST_F(ClipboardTest, AClipboardHeldElsewhereReadsNothingAndTakesNoWrites)
{
    m_system.blocks[kClipboardUnicodeText] = {'a', 0, 0, 0};
    m_system.blocks[kClipboardDib] = {1};
    m_system.held_elsewhere = true;
    RuntimeObject* clipboard = make();
    EXPECT_EQ(read(clipboard), "<nil>");
    EXPECT_FALSE(clipboardTextAvailable(clipboard));
    EXPECT_FALSE(clipboardPictureAvailable(clipboard));
    EXPECT_FALSE(clipboardMacDataAvailable(clipboard, utf8("QVDT").get()));
    clipboardSetText(clipboard, utf8("lost").get());
    clipboardAddMacData(clipboard, utf8("QVDT").get(), utf8("lost").get());
    EXPECT_EQ(m_system.empties, 0);
    EXPECT_EQ(m_system.bytes(kClipboardUnicodeText), std::string("a\0\0\0", 4));
    EXPECT_EQ(reinterpret_cast<ClipboardObject*>(clipboard)->emptied, 0);

    // Once it is free, the object's first write still empties.
    m_system.held_elsewhere = false;
    EXPECT_TRUE(clipboardPictureAvailable(clipboard));
    clipboardSetText(clipboard, utf8("now").get());
    EXPECT_EQ(m_system.empties, 1);
    EXPECT_EQ(m_system.blocks.count(kClipboardDib), 0u);
}

// An edit field's paste reads the clipboard outside any object: open, read, close each time.
TEST_F(ClipboardTest, PasteReadsUnicodeTextToItsFirstZeroAndClosesAgain)
{
    struct Case {
        const char* what;
        std::vector<u8> block;  // none: no Unicode text at all
        std::u16string text;
    };
    const Case cases[] = {
        {"none", {}, u""},
        {"terminated", {0x42, 0x30, 'a', 0, 0, 0}, u"\u3042a"},
        {"cut at the first zero", {'a', 0, 0, 0, 'b', 0, 0, 0}, u"a"},
        {"no terminator", {'a', 0, 'b', 0}, u"ab"},
        {"odd byte left over", {'a', 0, 'b'}, u"a"},
        {"surrogate pair kept", {0x3D, 0xD8, 0x00, 0xDE, 0, 0}, u"\U0001F600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_system.blocks.clear();
        if (!c.block.empty())
            m_system.blocks[kClipboardUnicodeText] = c.block;
        const int opens = m_system.opens, closes = m_system.closes;
        EXPECT_EQ(system_clipboard_unicode_text(), c.text);
        EXPECT_EQ(m_system.opens, opens + 1);
        EXPECT_EQ(m_system.closes, closes + 1);
        EXPECT_FALSE(m_system.is_open);
    }

    // Whether there is text asks for CF_TEXT only, which the system makes from Unicode text.
    m_system.blocks.clear();
    m_system.blocks[kClipboardUnicodeText] = {'a', 0, 0, 0};
    EXPECT_FALSE(system_clipboard_has_text());
    m_system.blocks[kClipboardText] = {'a', 0};
    EXPECT_TRUE(system_clipboard_has_text());
    EXPECT_FALSE(m_system.is_open);

    // Held elsewhere, or no clipboard installed: nothing, and nothing to close.
    m_system.held_elsewhere = true;
    const int closes = m_system.closes;
    EXPECT_FALSE(system_clipboard_has_text());
    EXPECT_EQ(system_clipboard_unicode_text(), u"");
    EXPECT_EQ(m_system.closes, closes);
    m_system.held_elsewhere = false;
    set_system_clipboard(nullptr);
    EXPECT_FALSE(system_clipboard_has_text());
    EXPECT_EQ(system_clipboard_unicode_text(), u"");
    set_system_clipboard(&m_system);
}

// Pictures cross through the graphics layer's bridge; the clipboard only opens and hands over.
RuntimeObject* s_wrapped = nullptr;
std::vector<u8> s_dib_seen;
RuntimeObject* wrap_dib(const u8* dib, u32 size)
{
    s_dib_seen.assign(dib, dib + size);
    RuntimeLockObject(s_wrapped);
    return s_wrapped;
}
std::vector<RuntimeObject*> s_put;
void put_picture(RuntimeObject* picture) { s_put.push_back(picture); }

TEST_F(ClipboardTest, PicturesGoThroughTheGraphicsBridge)
{
    RuntimeObject* clipboard = make();
    EXPECT_EQ(clipboardPictureGetter(clipboard), nullptr);  // no bridge yet
    const ClipboardPictureBridge previous = clipboard_picture_seam().install({&wrap_dib, &put_picture});
    s_wrapped = make();
    EXPECT_EQ(clipboardPictureGetter(clipboard), nullptr);  // no CF_DIB
    m_system.blocks[kClipboardDib] = {7, 8, 9};
    RuntimeObject* picture = clipboardPictureGetter(clipboard);
    EXPECT_EQ(picture, s_wrapped);
    EXPECT_EQ(s_dib_seen, (std::vector<u8>{7, 8, 9}));
    RuntimeUnlockObject(picture);
    clipboardPictureSetter(clipboard, 0, s_wrapped);
    EXPECT_EQ(s_put, std::vector<RuntimeObject*>{s_wrapped});
    EXPECT_EQ(m_system.empties, 0);  // a picture does not empty the clipboard
    clipboard_picture_seam().restore(previous);
}

}  // namespace
}  // namespace qv::ui
