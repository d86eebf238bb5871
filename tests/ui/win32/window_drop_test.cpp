// Drag and drop on a runtime window, through the window's own drop target called as the system
// calls it: the target is registered when the window is built; DragEnter and DragOver answer
// from what the window and its controls accept at the point; a drop is queued and reaches
// DropObject at the loop's next turn, files as FolderItems and text as text; and a DragItem's
// drag carries its text and files out in the forms other programs read.
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/application/folder_item.h"
#include "framework/event_loop/event_loop.h"
#include "runtime/text/encoding_tags.h"
#include "tests/ui/win32/window_fixture.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/control_object.h"
#include "ui/drag_drop/drag_item.h"
#include "ui/windows/drag_source.h"
#include "ui/windows/window_drop_target.h"

namespace qv::ui::test {
namespace {

StringRef utf8_text(const std::string& s)
{
    StringRef r = StringRef::FromBytes(s.data(), static_cast<i32>(s.size()));
    r.set_encoding(kEncodingUTF8);
    return r;
}

std::string utf8_of(RuntimeString* s)
{
    const StringRef held = StringRef::adopt(s);
    const StringRef utf8 = held.ToUTF8();
    return utf8.is_nil() ? std::string() : std::string(reinterpret_cast<const char*>(utf8.bytes()), utf8.length());
}

// What a DropObject handler found in its DragItem, walking every item.
struct Received {
    std::string receiver;
    i32 left = 0, top = 0;
    int items = 0;
    std::vector<std::string> paths;
    std::string text;
};
std::vector<Received> g_received;

void record(const char* receiver, RuntimeObject* item)
{
    Received r;
    r.receiver = receiver;
    r.left = dragItemDropLeft(item, 0);
    r.top = dragItemDropTop(item, 0);
    do {
        ++r.items;
        if (DragItemFolderItemAvailable(item)) {
            const ObjectRef folder = ObjectRef::adopt(dragItemFolderItemGetter(item, 0));
            r.paths.push_back(utf8_of(fileAbsolutePathGetter(folder.get(), 0)));
        }
        if (DragItemTextAvailable(item))
            r.text += utf8_of(dragItemTextGetter(item, 0));
    } while (DragItemNextItem(item));
    g_received.push_back(r);
}
void on_window_drop(RuntimeObject*, RuntimeObject* item) { record("window", item); }
void on_well_drop(RuntimeObject* control, RuntimeObject* item)
{
    record(utf8_of(stringGetter(control, kControlNameOffset)).c_str(), item);
}

ClassRecord* g_well_class = nullptr;

// Two canvases: Well (left 20, top 20, 100 x 60) and, on top of it, Strip (left 60, top 40,
// 100 x 20), later in tab order.
void add_well(RuntimeObject* window, const char* name, i16 left, i16 top, i16 width, i16 height)
{
    RuntimeObject* well = WindowAllocateObject(window, g_well_class);
    stringSetter(well, kControlNameOffset, StringRef::FromCString(name).get());
    control_fields(well)->bounds =
        ControlBounds{top, left, static_cast<i16>(top + height), static_cast<i16>(left + width)};
    WindowAddControl(window, well);
    RuntimeUnlockObject(well);
}
void build_wells(RuntimeObject* window)
{
    add_well(window, "Well", 20, 20, 100, 60);
    add_well(window, "Strip", 60, 40, 100, 20);
}

HGLOBAL block_of(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}

// A file drop as the shell writes one: DROPFILES, then each wide path and its zero, then a zero.
HGLOBAL hdrop_of(const std::vector<std::wstring>& paths)
{
    std::wstring list;
    for (const std::wstring& p : paths)
        list += p + L'\0';
    list += L'\0';
    std::vector<char> bytes(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = reinterpret_cast<DROPFILES*>(bytes.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(bytes.data() + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    return block_of(bytes.data(), bytes.size());
}

HGLOBAL unicode_text_of(const std::wstring& text) { return block_of(text.c_str(), (text.size() + 1) * 2); }

// Reading back what a data object gives, with the system's own calls.
std::wstring unicode_text_in(IDataObject* data)
{
    FORMATETC format{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK)
        return L"<none>";
    std::wstring text(static_cast<const wchar_t*>(GlobalLock(medium.hGlobal)));
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return text;
}
std::vector<std::wstring> files_in(IDataObject* data)
{
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    std::vector<std::wstring> paths;
    if (data->GetData(&format, &medium) != S_OK)
        return paths;
    auto drop = static_cast<HDROP>(medium.hGlobal);
    for (UINT i = 0, n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i) {
        wchar_t path[MAX_PATH];
        DragQueryFileW(drop, i, path, MAX_PATH);
        paths.emplace_back(path);
    }
    ReleaseStgMedium(&medium);
    return paths;
}

class Drops : public WindowTest {
protected:
    static void SetUpTestSuite()
    {
        WindowTest::SetUpTestSuite();
        RuntimeRegisterFileType(StringRef::FromCString("drop test picture").get(), nullptr, nullptr,
                                StringRef::FromCString(".png").get());
    }

    void SetUp() override
    {
        WindowTest::SetUp();
        g_received.clear();
        ClassRecord* canvas = canvas_class();
        g_well_class =
            m_classes.make(canvas, "DropWell", canvas->methodCount, canvas->interfaceCount, canvas->eventCount,
                           canvas->staticMethodCount, canvas->propertyCount, canvas->instanceSize);
        g_well_class->eventTable[kRectControlDropObject].routine = reinterpret_cast<void*>(&on_well_drop);
        set_event(m_class, kWindowCreateControls, &build_wells);
        set_event(m_class, kWindowDropObject, &on_window_drop);
        m_window = open_window();
        turn();
        m_target = view_of(m_window)->drop_target();
        m_data = new DragDataObject();
    }
    void TearDown() override
    {
        m_data->Release();
        RuntimeCloseWindow(m_window);
        RuntimeUnlockObject(m_window);
        WindowTest::TearDown();
    }

    RuntimeObject* control(const char* name)
    {
        return RuntimeControlFetch(m_window, StringRef::FromCString(name).get());
    }

    // A point of the window's content, in screen coordinates as the system passes it.
    POINTL at(i32 x, i32 y) const
    {
        const RECT content = client_on_screen(handle_of(m_window));
        return {content.left + x, content.top + y};
    }

    DWORD drag_enter(i32 x, i32 y)
    {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(m_target->DragEnter(m_data, MK_LBUTTON, at(x, y), &effect), S_OK);
        return effect;
    }
    DWORD drag_over(i32 x, i32 y)
    {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(m_target->DragOver(MK_LBUTTON, at(x, y), &effect), S_OK);
        return effect;
    }
    DWORD drop(i32 x, i32 y)
    {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(m_target->Drop(m_data, 0, at(x, y), &effect), S_OK);
        return effect;
    }

    // One turn of the real loop. The drop target wakes it with a posted message; should it
    // not, the turn would wait in GetMessage, so that is checked first.
    void next_turn()
    {
        MSG waiting;
        ASSERT_TRUE(PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE)) << "nothing wakes the loop for the drop";
        run_guarded_loop_iteration();
    }

    RuntimeObject* m_window = nullptr;
    WindowDropTarget* m_target = nullptr;
    DragDataObject* m_data = nullptr;
};

TEST_F(Drops, TheWindowRegistersItsDropTargetWhenBuilt)
{
    ASSERT_NE(m_target, nullptr);
    EXPECT_EQ(RegisterDragDrop(handle_of(m_window), m_target), DRAGDROP_E_ALREADYREGISTERED);
}

TEST_F(Drops, FilesDroppedOnAnAcceptingControlArriveAsFolderItemsAtTheNextTurn)
{
    controlAcceptFileDrop(control("Well"), StringRef::FromCString("Drop Test Picture").get());
    m_data->Add(CF_HDROP, hdrop_of({L"C:\\drops\\one.png", L"C:\\drops\\notes.txt", L"C:\\drops\\写真.PNG"}));

    EXPECT_EQ(drag_enter(30, 30), static_cast<DWORD>(DROPEFFECT_COPY)) << "over Well";
    EXPECT_EQ(drag_over(200, 150), static_cast<DWORD>(DROPEFFECT_NONE)) << "the window takes no files";
    EXPECT_EQ(drag_over(70, 45), static_cast<DWORD>(DROPEFFECT_COPY)) << "Strip takes nothing: Well below it does";
    EXPECT_EQ(drop(70, 45), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(g_received.empty()) << "no image code runs inside the system's drag loop";

    next_turn();
    ASSERT_EQ(g_received.size(), 1u);
    const Received& r = g_received.front();
    EXPECT_EQ(r.receiver, "Well");
    EXPECT_EQ(r.items, 2);
    EXPECT_EQ(r.paths, (std::vector<std::string>{"C:\\drops\\one.png", "C:\\drops\\写真.PNG"}));
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 45);
    window_services().deliver_drops();
    EXPECT_EQ(g_received.size(), 1u) << "delivered once";
}

struct TextCase {
    const char* name;
    CLIPFORMAT format;
    std::vector<char> block;
    std::string want;
};

TEST_F(Drops, TextGoesToTheWindowWhenNoControlUnderThePointTakesText)
{
    formAcceptTextDrop(m_window);
    controlAcceptFileDrop(control("Well"), StringRef::FromCString("Drop Test Picture").get());
    const std::wstring wide = L"ドロップ\r\nされた";
    const TextCase cases[] = {
        {"Unicode text", CF_UNICODETEXT,
         std::vector<char>(reinterpret_cast<const char*>(wide.c_str()),
                           reinterpret_cast<const char*>(wide.c_str() + wide.size() + 1)),
         "ドロップ\r\nされた"},
        {"ANSI text only", CF_TEXT, {'p', 'l', 'a', 'i', 'n', '\0', 'x'}, "plain"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_received.clear();
        m_data->Release();
        m_data = new DragDataObject();
        m_data->Add(c.format, block_of(c.block.data(), c.block.size()));
        EXPECT_EQ(drag_enter(30, 30), static_cast<DWORD>(DROPEFFECT_COPY));
        EXPECT_EQ(drop(30, 30), static_cast<DWORD>(DROPEFFECT_COPY));
        next_turn();
        ASSERT_EQ(g_received.size(), 1u);
        EXPECT_EQ(g_received.front().receiver, "window");
        EXPECT_EQ(g_received.front().text, c.want);
        EXPECT_TRUE(g_received.front().paths.empty());
    }
}

TEST_F(Drops, WhatNobodyAcceptsIsRefusedAndADropForAClosedWindowIsNotDelivered)
{
    controlAcceptFileDrop(control("Well"), StringRef::FromCString("Drop Test Picture").get());
    m_data->Add(CF_HDROP, hdrop_of({L"C:\\drops\\notes.txt"}));
    m_data->Add(CF_UNICODETEXT, unicode_text_of(L"text nobody takes"));
    EXPECT_EQ(drag_enter(30, 30), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drop(30, 30), static_cast<DWORD>(DROPEFFECT_NONE));
    window_services().deliver_drops();
    EXPECT_TRUE(g_received.empty());

    formAcceptTextDrop(m_window);
    EXPECT_EQ(drop(30, 30), static_cast<DWORD>(DROPEFFECT_COPY));
    RuntimeCloseWindow(m_window);
    window_services().deliver_drops();
    EXPECT_TRUE(g_received.empty()) << "the window closed before the turn";
}

TEST_F(Drops, ADragItemsDragCarriesItsTextAndFilesAndAnotherControlReceivesThem)
{
    const ObjectRef item = ObjectRef::adopt(formNewDragItem(m_window, 20, 20, 100, 60));
    ASSERT_FALSE(item.is_nil());
    dragItemTextSetter(item.get(), 0, utf8_text("引きずる text").get());
    DragItemSetMacData(item.get(), StringRef::FromCString("Drop Test Row").get(),
                       StringRef::FromCString("row 1").get());
    DragItemSetPrivateMacData(item.get(), StringRef::FromCString("Drop Test Secret").get(),
                              StringRef::FromCString("s").get());
    const char* paths[] = {"C:\\drops\\a.png", "C:\\drops\\b.png"};
    for (size_t i = 0; i < std::size(paths); ++i) {
        if (i > 0)
            DragItemAddItem(item.get(), 0, 0, 0, 0);
        const ObjectRef folder = ObjectRef::adopt(new_folder_item(StringRef::FromCString(paths[i])));
        dragItemFolderItemSetter(item.get(), 0, folder.get());
    }

    m_data->Release();
    m_data = drag_data_for(item.get());
    EXPECT_EQ(unicode_text_in(m_data), L"引きずる text");
    EXPECT_EQ(files_in(m_data), (std::vector<std::wstring>{L"C:\\drops\\a.png", L"C:\\drops\\b.png"}));
    FORMATETC row{static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Drop Test Row")), nullptr, DVASPECT_CONTENT, -1,
                  TYMED_HGLOBAL};
    FORMATETC secret{static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Drop Test Secret")), nullptr, DVASPECT_CONTENT,
                     -1, TYMED_HGLOBAL};
    EXPECT_EQ(m_data->QueryGetData(&row), S_OK);
    EXPECT_NE(m_data->QueryGetData(&secret), S_OK) << "private data stays in the program";

    // Dropped on Strip, which takes text and named data: the text arrives as it left.
    controlAcceptTextDrop(control("Strip"));
    EXPECT_EQ(drag_enter(100, 50), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(drop(100, 50), static_cast<DWORD>(DROPEFFECT_COPY));
    next_turn();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received.front().receiver, "Strip");
    EXPECT_EQ(g_received.front().text, "引きずる text");
}

}  // namespace
}  // namespace qv::ui::test
