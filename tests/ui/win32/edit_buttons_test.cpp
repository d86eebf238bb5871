// Edit fields and buttons in a real window: text crosses as UTF-8 with lone CRs whatever the
// control holds, TextChange does not re-enter, password fields keep the typed text, and a
// click, a push from code and a value set from code do what a user and a program expect.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/application/event_firing.h"
#include "framework/application/folder_item.h"
#include "framework/application/mouse_cursor.h"
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <richedit.h>

#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "tests/support/class_holder.h"
#include "runtime/definitions/class_registry.h"
#include "ui/binding/builtin_interfaces.h"
#include "ui/binding/control_binding.h"
#include "ui/binding/receiver_list.h"
#include "ui/controls/buttons/button_classes.h"
#include "ui/controls/buttons/button_objects.h"
#include "ui/controls/buttons/button_pane.h"
#include "ui/controls/control_object.h"
#include "ui/controls/edit_field/edit_field_class.h"
#include "ui/controls/edit_field/edit_field_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_object.h"
#include "ui/style_runs.h"

namespace qv::ui {
namespace {

// Texts as an image makes them: UTF-8, which is what takes the field's own runtime-side path.
StringRef text(const char* s)
{
    StringRef t = StringRef::FromCString(s);
    t.set_encoding(QV_ENCODING_UTF8);
    return t;
}

std::string utf8(RuntimeString* s)
{
    StringRef ref = StringRef::adopt(s);
    return ref.is_nil() ? std::string("<nil>") : std::string(ref.CText(), static_cast<size_t>(ref.length()));
}

std::vector<std::string> g_events;
std::function<void(RuntimeObject*)> g_build;

void on_create_controls(RuntimeObject* window)
{
    if (g_build)
        g_build(window);
}

void on_layout(RuntimeObject* window)
{
    WindowObject* w = window_fields(window);
    w->bounds = ControlBounds{0, 0, 240, 400};
    w->visible = 1;
}

// A control of class `base` subclassed as `name`, placed and added to the window.
RuntimeObject* add(RuntimeObject* window, ClassRecord* c, const char* name, ControlBounds bounds)
{
    RuntimeObject* control = WindowAllocateObject(window, c);
    stringSetter(control, kControlNameOffset, text(name).get());
    control_fields(control)->bounds = bounds;
    WindowAddControl(window, control);
    RuntimeUnlockObject(control);
    return control;
}

void on_text_change(RuntimeObject* field)
{
    g_events.push_back("TextChange");
    // Setting its own text inside the handler must not run the handler again.
    editTextSetter(field, 0, text("set by the handler").get());
}
void on_text_change_counted(RuntimeObject*) { g_events.push_back("TextChange"); }
void on_action(RuntimeObject*) { g_events.push_back("Action"); }
u32 on_mouse_down_taken(RuntimeObject*, i32, i32)
{
    g_events.push_back("MouseDown");
    return 1;
}
u32 on_mouse_up(RuntimeObject*, i32, i32)
{
    g_events.push_back("MouseUp");
    return 0;
}

class EditAndButtons : public ::testing::Test {
protected:
    // Classes are made on first use and kept for the process: not a leak of the first test.
    static void SetUpTestSuite()
    {
        edit_field_class();
        push_button_class();
        check_box_class();
    }

    void SetUp() override
    {
        g_events.clear();
        ClassRecord* base = RuntimeLookupClass(text("Window").get());
        m_window_class = m_classes.make(base, "EditWindow", base->methodCount, base->interfaceCount, base->eventCount,
                                        base->staticMethodCount, base->propertyCount, base->instanceSize);
        m_window_class->eventTable[kWindowLayout].routine = reinterpret_cast<void*>(&on_layout);
        m_window_class->eventTable[kWindowCreateControls].routine = reinterpret_cast<void*>(&on_create_controls);
        m_field_class = subclass(edit_field_class(), "Field");
        m_button_class = subclass(push_button_class(), "Button");
        m_box_class = subclass(check_box_class(), "Box");
    }

    void TearDown() override
    {
        g_build = nullptr;
        if (m_window) {
            RuntimeCloseWindow(m_window);
            RuntimeUnlockObject(m_window);
        }
    }

    ClassRecord* subclass(ClassRecord* base, const char* name)
    {
        return m_classes.make(base, name, base->methodCount, base->interfaceCount, base->eventCount,
                              base->staticMethodCount, base->propertyCount, base->instanceSize);
    }

    void open(std::function<void(RuntimeObject*)> build)
    {
        g_build = std::move(build);
        m_window = RuntimeNewObject(m_window_class);
        WindowDefaultConstructor(m_window);
        RuntimeShowWindow(m_window);
    }

    RuntimeObject* control(const char* key) { return RuntimeControlFetch(m_window, text(key).get()); }

    ClassHolder m_classes;
    ClassRecord* m_window_class = nullptr;
    ClassRecord* m_field_class = nullptr;
    ClassRecord* m_button_class = nullptr;
    ClassRecord* m_box_class = nullptr;
    RuntimeObject* m_window = nullptr;
};

TEST_F(EditAndButtons, JapaneseTextWithLineBreaksComesBackExactlyWithLoneCarriageReturns)
{
    open([this](RuntimeObject* w) {
        RuntimeObject* field = add(w, m_field_class, "Field", {10, 10, 200, 380});
        edit_fields(field)->multiLine = 1;
        edit_fields(field)->scrollBarVertical = 1;
    });
    RuntimeObject* field = control("Field");
    ASSERT_NE(control_fields(field)->paneInstance, nullptr);
    std::string big;
    while (big.size() < 100 * 1024)
        big += "吾輩は猫である。名前はまだ無い。\r";
    editTextSetter(field, 0, text(big.c_str()).get());
    const std::string back = utf8(editTextGetter(field, 0));
    EXPECT_EQ(back.size(), big.size());
    EXPECT_TRUE(back == big) << "the text read back differs";

    // Line feeds and CR LF pairs set from code read back as lone CRs.
    editTextSetter(field, 0, text("一\n二\r\n三").get());
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "一\r二\r三");
}

// A multi-line field keeps a UTF-8 text that the control gives back exactly (lone CRs, no zero,
// valid UTF-8) and hands it to the control later; anything else goes to the control at once and
// is read back from it. Either way the reads and the control agree.
TEST_F(EditAndButtons, WhatTheFieldKeepsAndWhatItHandsToTheControl)
{
    open([this](RuntimeObject* w) {
        RuntimeObject* field = add(w, m_field_class, "Field", {10, 10, 200, 380});
        editMultiLineSetter(field, 0, 1);
    });
    RuntimeObject* field = control("Field");
    HWND native = control_fields(field)->paneInstance->handle();
    struct Case {
        const char* name;
        StringRef set;
        bool kept;  // read back as the very record that was set
        const char* read;
        const wchar_t* shown;  // the control's text, line feeds left out
    };
    StringRef ascii = StringRef::FromCString("plain\rtext");
    const Case cases[] = {
        {"Japanese with lone CRs", text("一\r二\r"), true, "一\r二\r", L"一\r二\r"},
        {"a character outside the BMP", text("旗\xF0\x9F\x8E\x8C"), true, "旗\xF0\x9F\x8E\x8C", L"旗\U0001F38C"},
        {"empty", text(""), true, "", L""},
        {"line feeds and CR LF", text("一\n二\r\n三"), false, "一\r二\r三", L"一\r二\r三"},
        {"tagged ASCII", ascii, false, "plain\rtext", L"plain\rtext"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editTextSetter(field, 0, c.set.get());
        StringRef back = StringRef::adopt(editTextGetter(field, 0));
        EXPECT_EQ(back.get() == c.set.get(), c.kept);
        EXPECT_EQ(std::string(back.CText(), static_cast<size_t>(back.length())), c.read);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        std::wstring shown(static_cast<size_t>(GetWindowTextLengthW(native)) + 1, L'\0');
        shown.resize(static_cast<size_t>(GetWindowTextW(native, shown.data(), static_cast<int>(shown.size()))));
        std::erase(shown, L'\n');
        EXPECT_EQ(shown, c.shown);
    }
}

// A field keeps the text set from code and the control gets it later: reads, TextChange, the
// user's typing and the control itself must all see the last text set.
TEST_F(EditAndButtons, TextSetFromCodeIsWhatReadsTypingAndTheControlSee)
{
    open([this](RuntimeObject* w) {
        RuntimeObject* field = add(w, m_field_class, "Field", {10, 10, 200, 380});
        editMultiLineSetter(field, 0, 1);
    });
    m_field_class->eventTable[kEditTextChange].routine = reinterpret_cast<void*>(&on_text_change_counted);
    RuntimeObject* field = control("Field");
    HWND native = control_fields(field)->paneInstance->handle();
    auto native_text = [native] {
        wchar_t shown[64] = {};
        GetWindowTextW(native, shown, 64);
        std::wstring text(shown);
        std::erase(text, L'\n');
        return text;
    };

    editTextSetter(field, 0, text("一\r二").get());
    editTextSetter(field, 0, text("三\r四").get());
    EXPECT_EQ(g_events, std::vector<std::string>({"TextChange", "TextChange"}));
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "三\r四");
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    EXPECT_EQ(native_text(), L"三\r四");

    // Typed at once after a set: into the new text, and read back with the typed character.
    editTextSetter(field, 0, text("日本").get());
    SendMessageW(native, EM_SETSEL, 2, 2);
    SendMessageW(native, WM_CHAR, L'x', 0);
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "日本x");
    EXPECT_EQ(native_text(), L"日本x");
}

TEST_F(EditAndButtons, TextChangeDoesNotRunAgainWhenItsHandlerSetsTheText)
{
    open([this](RuntimeObject* w) { add(w, m_field_class, "Field", {10, 10, 40, 200}); });
    m_field_class->eventTable[kEditTextChange].routine = reinterpret_cast<void*>(&on_text_change);
    RuntimeObject* field = control("Field");
    editTextSetter(field, 0, text("typed").get());
    EXPECT_EQ(g_events, std::vector<std::string>({"TextChange"}));
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "set by the handler");
}

TEST_F(EditAndButtons, APasswordFieldShowsAsterisksAndGivesBackTheTypedText)
{
    open([this](RuntimeObject* w) {
        RuntimeObject* field = add(w, m_field_class, "Field", {10, 10, 100, 200});
        edit_fields(field)->multiLine = 1;
    });
    RuntimeObject* field = control("Field");
    editTextSetter(field, 0, text("ab\rcd").get());
    editPasswordSetter(field, 0, 1);
    HWND native = control_fields(field)->paneInstance->handle();
    wchar_t shown[32] = {};
    GetWindowTextW(native, shown, 32);
    EXPECT_EQ(std::wstring(shown).find(L"ab"), std::wstring::npos);
    EXPECT_NE(std::wstring(shown).find(L"**"), std::wstring::npos);
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "ab\rcd");

    SendMessageW(native, EM_SETSEL, 5, 5);
    SendMessageW(native, WM_CHAR, L'e', 0);  // typed: the field keeps "e", the control shows "*"
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "ab\rcde");
    editPasswordSetter(field, 0, 0);
    GetWindowTextW(native, shown, 32);
    EXPECT_NE(std::wstring(shown).find(L"cde"), std::wstring::npos);
}

TEST_F(EditAndButtons, AClickRunsActionOnceAndAMouseDownHandlerThatTakesItStopsIt)
{
    open([this](RuntimeObject* w) { add(w, m_button_class, "OK", {10, 10, 40, 100}); });
    m_button_class->eventTable[kButtonAction].routine = reinterpret_cast<void*>(&on_action);
    RuntimeObject* button = control("OK");
    auto* pane = static_cast<ButtonPane*>(control_fields(button)->paneInstance);
    SendMessageW(pane->button(), BM_CLICK, 0, 0);
    EXPECT_EQ(g_events, std::vector<std::string>({"Action"}));

    g_events.clear();
    m_button_class->eventTable[kButtonMouseDown].routine = reinterpret_cast<void*>(&on_mouse_down_taken);
    m_button_class->eventTable[kButtonMouseUp].routine = reinterpret_cast<void*>(&on_mouse_up);
    SendMessageW(pane->button(), BM_CLICK, 0, 0);
    EXPECT_EQ(g_events, std::vector<std::string>({"MouseDown", "MouseUp"}));

    g_events.clear();
    pushButtonPush(button);
    EXPECT_EQ(g_events, std::vector<std::string>({"Action"}));
    controlEnabledSetter(button, 0, 0);
    pushButtonPush(button);  // a disabled button does nothing
    EXPECT_EQ(g_events.size(), 1u);
}

TEST_F(EditAndButtons, ACheckBoxClickedTogglesAndActsButSetFromCodeDoesNeither)
{
    open([this](RuntimeObject* w) { add(w, m_box_class, "Check", {10, 10, 30, 150}); });
    m_box_class->eventTable[kButtonAction].routine = reinterpret_cast<void*>(&on_action);
    RuntimeObject* box = control("Check");
    auto* pane = static_cast<ButtonPane*>(control_fields(box)->paneInstance);

    checkBoxValueSetter(box, 0, 1);
    EXPECT_TRUE(pane->Checked());
    EXPECT_TRUE(g_events.empty());

    SendMessageW(pane->button(), BM_CLICK, 0, 0);
    EXPECT_FALSE(pane->Checked());
    EXPECT_EQ(checkBoxValueGetter(box, 0), 0);
    EXPECT_EQ(g_events, std::vector<std::string>({"Action"}));
}

// The wheel scrolls the multi-line field it turns over, whoever gets the message: the field when
// it has the focus, the window, or a focused check box, whose pane passes it up to the window.
TEST_F(EditAndButtons, TheWheelScrollsTheMultiLineFieldUnderThePointer)
{
    open([this](RuntimeObject* w) {
        RuntimeObject* field = add(w, m_field_class, "Field", {10, 10, 110, 380});
        edit_fields(field)->multiLine = 1;
        edit_fields(field)->scrollBarVertical = 1;
        add(w, m_box_class, "Check", {150, 10, 170, 150});
    });
    RuntimeObject* field = control("Field");
    std::string lines;
    for (int i = 0; i < 200; ++i)
        lines += "line " + std::to_string(i) + "\r";
    editTextSetter(field, 0, text(lines.c_str()).get());
    HWND native = control_fields(field)->paneInstance->handle();
    HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(m_window, 0)));
    HWND box = static_cast<ButtonPane*>(control_fields(control("Check"))->paneInstance)->button();
    const auto centre = [](HWND of) {
        RECT r;
        GetWindowRect(of, &r);
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    const auto top_line_y = [native] {
        POINT at{};
        SendMessageW(native, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
        return at.y;
    };
    const auto wheel = [](HWND to, int delta, LPARAM at) {
        SendMessageW(to, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), at);
    };
    ASSERT_EQ(top_line_y(), 0);

    const struct {
        const char* name;
        HWND to;
    } kReceivers[] = {{"the field", native}, {"the window", window}, {"the check box", box}};
    for (const auto& r : kReceivers) {
        SCOPED_TRACE(r.name);
        wheel(r.to, -WHEEL_DELTA, centre(native));  // toward the user: down the text
        const LONG down = top_line_y();
        EXPECT_GT(down, 0);
        wheel(r.to, WHEEL_DELTA, centre(native));
        EXPECT_EQ(top_line_y(), 0);
    }
    // Over no field, the wheel scrolls nothing.
    wheel(window, -WHEEL_DELTA, centre(box));
    EXPECT_EQ(top_line_y(), 0);
}

// The help tip of tool `id` of `owner` in the tip window of `top`: its text ("" when there is
// no such tool) and its rectangle.
std::wstring tip_text(HWND top, HWND owner, HWND id, RECT* rect = nullptr)
{
    HWND tips = static_cast<HWND>(GetPropW(top, L"QVHelpTips"));
    if (!tips)
        return L"";
    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(id);
    tool.lpszText = text;
    if (!SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)))
        return L"";
    if (rect)
        *rect = tool.rect;
    return text;
}

// The window's BalloonHelp is its own tip (over its empty area); a disabled control's help is a
// tip of its parent over the control's rectangle, since a disabled window gets no mouse
// messages, and it follows the control's moves and goes when the control is enabled again.
TEST_F(EditAndButtons, TheWindowsAndTheDisabledControlsHelpTips)
{
    open([this](RuntimeObject* w) {
        RuntimeObject* box = add(w, m_box_class, "Check", {10, 10, 30, 150});
        stringSetter(box, offsetof(ControlObject, disabledBalloonHelp), text("使えません").get());
        control_fields(box)->enabled = 0;
    });
    HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(m_window, 0)));
    windowBalloonHelpSetter(m_window, 0, text("変換の窓").get());
    EXPECT_EQ(tip_text(window, window, window), L"変換の窓");
    windowBalloonHelpSetter(m_window, 0, text("").get());
    EXPECT_EQ(tip_text(window, window, window), L"");

    RuntimeObject* box = control("Check");
    HWND pane = control_fields(box)->paneInstance->handle();
    RECT area{};
    EXPECT_EQ(tip_text(window, window, pane, &area), L"使えません") << "disabled when made";
    EXPECT_EQ(area.left, 10);
    EXPECT_EQ(area.top, 10);
    ctlPosSetter(box, 0, 40);  // Left
    EXPECT_EQ(tip_text(window, window, pane, &area), L"使えません");
    EXPECT_EQ(area.left, 40);
    controlEnabledSetter(box, 0, 1);
    EXPECT_EQ(tip_text(window, window, pane), L"");
    controlEnabledSetter(box, 0, 0);
    EXPECT_EQ(tip_text(window, window, pane), L"使えません");
    controlDisabledBalloonHelpSetter(box, 0, text("").get());
    EXPECT_EQ(tip_text(window, window, pane), L"");
}

TEST_F(EditAndButtons, TheDefaultAndCancelButtonsAreTheEnabledShownOnesMarkedSo)
{
    open([this](RuntimeObject* w) {
        add(w, m_button_class, "OK", {10, 10, 40, 100});
        add(w, m_button_class, "Cancel", {10, 110, 40, 200});
    });
    RuntimeObject* ok = control("OK");
    RuntimeObject* cancel = control("Cancel");
    EXPECT_EQ(default_button_of(m_window), nullptr);
    pushButtonDefaultSetter(ok, 0, 1);
    pushButtonCancelSetter(cancel, 0, 1);
    EXPECT_EQ(default_button_of(m_window), control_fields(ok)->paneInstance);
    EXPECT_EQ(cancel_button_of(m_window), control_fields(cancel)->paneInstance);
    auto* ok_pane = static_cast<ButtonPane*>(control_fields(ok)->paneInstance);
    EXPECT_TRUE(GetWindowLongW(ok_pane->button(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    controlEnabledSetter(ok, 0, 0);
    EXPECT_EQ(default_button_of(m_window), nullptr);
}

// The rich edit control sets its own I-beam without asking its parent: a cursor given to the
// field, or to its window, is shown over it all the same, and the I-beam where none is given.
TEST_F(EditAndButtons, TheFieldsOrWindowsCursorWinsOverTheEditControlsOwn)
{
    open([this](RuntimeObject* w) { add(w, m_field_class, "Field", ControlBounds{10, 10, 40, 200}); });
    HWND native = control_fields(control("Field"))->paneInstance->handle();
    RECT area;
    GetWindowRect(native, &area);
    SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    const auto cursor_over_field = [native] {
        SetCursor(nullptr);
        SendMessageW(native, WM_SETCURSOR, reinterpret_cast<WPARAM>(native), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const ObjectRef hand = ObjectRef::adopt(new_mouse_cursor(LoadCursorW(nullptr, IDC_HAND), false));
    const ObjectRef watch = ObjectRef::adopt(getWatchCursor());

    EXPECT_EQ(cursor_over_field(), LoadCursorW(nullptr, IDC_IBEAM));
    formMouseCursorSetter(m_window, 0, watch.get());
    EXPECT_EQ(cursor_over_field(), LoadCursorW(nullptr, IDC_WAIT));
    controlMouseCursorSetter(control("Field"), offsetof(ControlObject, mouseCursor), hand.get());
    EXPECT_EQ(cursor_over_field(), LoadCursorW(nullptr, IDC_HAND));
    controlMouseCursorSetter(control("Field"), offsetof(ControlObject, mouseCursor), nullptr);
    formMouseCursorSetter(m_window, 0, nullptr);
    EXPECT_EQ(cursor_over_field(), LoadCursorW(nullptr, IDC_IBEAM));
}

StringRef style_data(const std::vector<StyleRun>& runs)
{
    const std::string data = encode_style_runs(runs);
    return StringRef::FromBytes(data.data(), static_cast<i32>(data.size()));
}

std::vector<StyleRun> runs_of(RuntimeObject* field)
{
    const StringRef data = StringRef::adopt(editTextStyleDataGetter(field, 0));
    const std::optional<std::vector<StyleRun>> runs =
        decode_style_runs({data.bytes(), static_cast<size_t>(data.length())});
    return runs ? *runs : std::vector<StyleRun>{{-1, 0, 0, 0, "undecodable"}};
}

// A file in the temporary folder, removed with the object.
struct TempFile {
    explicit TempFile(const char* name)
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        path = platform::win32::narrow(std::wstring_view(folder)) + name;
        item = ObjectRef::adopt(new_folder_item(text(path.c_str())));
    }
    ~TempFile() { DeleteFileW(platform::win32::widen(path).c_str()); }
    std::string bytes() const
    {
        std::string out;
        HANDLE file = CreateFileW(platform::win32::widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return out;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
            out.append(buffer, got);
        CloseHandle(file);
        return out;
    }
    void write(const std::string& bytes) const
    {
        HANDLE file =
            CreateFileW(platform::win32::widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::string path;
    ObjectRef item;
};

// Styled text as an image uses it: set with its runs, read back, saved as RTF and loaded into
// a second field with the same text and runs.
TEST_F(EditAndButtons, StyledTextReadsBackAndTravelsThroughAnRtfFile)
{
    open([this](RuntimeObject* w) {
        const ControlBounds above{10, 10, 110, 390}, below{120, 10, 230, 390};
        edit_fields(add(w, m_field_class, "Field", above))->multiLine = 1;
        edit_fields(add(w, m_field_class, "Second", below))->multiLine = 1;
    });
    RuntimeObject* field = control("Field");
    RuntimeObject* second = control("Second");
    const std::vector<StyleRun> runs = {
        {3, 0xC00000, 14, kRunBold, "Arial"},
        {5, 0x0000FF, 10, kRunItalic | kRunUnderline, "Courier New"},
        {4, 0x000000, 12, 0, "Arial"},
    };
    const std::string styled = "abc日本語\r二行\rxy";  // 3 + 5 + 4 units
    editSetTextAndStyle(field, text(styled.c_str()).get(), style_data(runs).get());
    EXPECT_EQ(utf8(editTextGetter(field, 0)), styled);
    EXPECT_EQ(runs_of(field), runs);

    TempFile file("qv-styled-text.rtf");
    FolderItemSaveStyledEditField(file.item.get(), field);
    EXPECT_EQ(file.bytes().substr(0, 5), "{\\rtf");
    g_events.clear();
    m_field_class->eventTable[kEditTextChange].routine = reinterpret_cast<void*>(&on_text_change_counted);
    FolderItemOpenStyledEditField(file.item.get(), second);
    EXPECT_EQ(utf8(editTextGetter(second, 0)), styled);
    EXPECT_EQ(runs_of(second), runs);
    EXPECT_EQ(g_events, std::vector<std::string>{"TextChange"});

    // A file that does not start as RTF is loaded as plain text, in the field's own format.
    file.write("{rtf1 is not RTF");
    FolderItemOpenStyledEditField(file.item.get(), second);
    EXPECT_EQ(utf8(editTextGetter(second, 0)), "{rtf1 is not RTF");
    EXPECT_EQ(runs_of(second).size(), 1u);
    // Style data that is not runs sets the text alone; runs longer than the text are cut.
    editSetTextAndStyle(second, text("plain").get(), text("not style data").get());
    EXPECT_EQ(utf8(editTextGetter(second, 0)), "plain");
    EXPECT_EQ(runs_of(second).size(), 1u);
    editSetTextAndStyle(second, text("ab").get(), style_data(runs).get());
    EXPECT_EQ(runs_of(second), (std::vector<StyleRun>{{2, 0xC00000, 14, kRunBold, "Arial"}}));
    // A missing file leaves the field as it was.
    DeleteFileW(platform::win32::widen(file.path).c_str());
    FolderItemOpenStyledEditField(file.item.get(), second);
    EXPECT_EQ(utf8(editTextGetter(second, 0)), "ab");
}

// A data source as image code would write one: a string it gives and takes, and the data
// receivers it tells when that string changes.
struct StringSourceObject {
    RuntimeObject header;
    RuntimeString* text;
    ReceiverList receivers;
};

StringSourceObject* source_fields(RuntimeObject* self) { return reinterpret_cast<StringSourceObject*>(self); }

RuntimeString* source_get_string(RuntimeObject* self)
{
    return StringRef::share(source_fields(self)->text).leak();
}
void source_set_string(RuntimeObject* self, RuntimeString* text)
{
    g_events.push_back("source setString " + utf8(StringRef::share(text).leak()));
    StringRef::adopt(std::exchange(source_fields(self)->text, StringRef::share(text).leak()));
    notify_data_receivers(source_fields(self)->receivers);  // a source tells its receivers
}
void source_add(RuntimeObject* self, RuntimeObject* r) { add_receiver(source_fields(self)->receivers, r); }
void source_remove(RuntimeObject* self, RuntimeObject* r) { remove_receiver(source_fields(self)->receivers, r); }
void source_finalize(RuntimeObject* self)
{
    clear_receivers(source_fields(self)->receivers);
    StringRef::adopt(std::exchange(source_fields(self)->text, nullptr));
}

ClassRecord* string_source_class()
{
    static const MethodRecord s_methods[] = {
        {"getString", nullptr, nullptr, 0, reinterpret_cast<void*>(&source_get_string), nullptr, nullptr, nullptr, 0},
        {"setString", nullptr, nullptr, 0, reinterpret_cast<void*>(&source_set_string), nullptr, nullptr, nullptr, 0},
        {"addDataNotificationReceiver", nullptr, nullptr, 0, reinterpret_cast<void*>(&source_add), nullptr, nullptr,
         nullptr, 0},
        {"removeDataNotificationReceiver", nullptr, nullptr, 0, reinterpret_cast<void*>(&source_remove), nullptr,
         nullptr, nullptr, 0},
    };
    static ObjectDefinition* const s_interfaces[] = {interface_definition(BuiltInInterface::StringProvider),
                                                     interface_definition(BuiltInInterface::StringInterface),
                                                     interface_definition(BuiltInInterface::DataNotifier)};
    static ObjectDefinition s_definition;
    static ClassRecord* s_class = [] {
        DefinitionSource source{};
        source.name = "TestStringSource";
        source.instance_size = sizeof(StringSourceObject);
        source.methods = s_methods;
        source.interfaces = s_interfaces;
        source.finalizer = &source_finalize;
        build_definition(s_definition, source);
        RegisterDefinition(&s_definition);
        return ClassFromDefinition(&s_definition);
    }();
    return s_class;
}

// The field shows the source's string, is one of its receivers, and what the user types goes
// to the source once; text set from code stays in the field.
TEST_F(EditAndButtons, ABoundFieldSubscribesToItsSourceAndPushesWhatTheUserTypes)
{
    open([this](RuntimeObject* w) { add(w, m_field_class, "Field", {10, 10, 40, 200}); });
    m_field_class->eventTable[kEditTextChange].routine = reinterpret_cast<void*>(&on_text_change_counted);
    RuntimeObject* field = control("Field");
    const ObjectRef source = ObjectRef::adopt(RuntimeNewObject(string_source_class()));
    source_fields(source.get())->text = text("from source").leak();
    const ObjectRef binder = ObjectRef::adopt(RuntimeNewObject(RuntimeLookupClass(text("stringBinder").get())));
    ASSERT_FALSE(binder.is_nil());
    stringBinderBind(binder.get(), source.get(), field);
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "from source");
    EXPECT_EQ(receiver_count(source_fields(source.get())->receivers), 2);  // the binder and the field
    EXPECT_EQ(edit_fields(field)->boundDataSource, source.get());

    g_events.clear();
    HWND native = control_fields(field)->paneInstance->handle();
    SendMessageW(native, EM_SETSEL, 11, 11);
    SendMessageW(native, WM_CHAR, L'!', 0);
    EXPECT_EQ(utf8(source_get_string(source.get())), "from source!");
    EXPECT_EQ(utf8(editTextGetter(field, 0)), "from source!");
    EXPECT_EQ(g_events, std::vector<std::string>({"source setString from source!", "TextChange"}));

    g_events.clear();
    editTextSetter(field, 0, text("from code").get());
    EXPECT_EQ(g_events, std::vector<std::string>{"TextChange"});
    EXPECT_EQ(utf8(source_get_string(source.get())), "from source!");

    // Given no source, the field leaves this one's receivers; the cycle of counts is gone.
    stringBinderBind(binder.get(), nullptr, nullptr);
    control_binding_hooks().set_edit_data_source(field, nullptr);
    EXPECT_EQ(edit_fields(field)->boundDataSource, nullptr);
    EXPECT_EQ(receiver_count(source_fields(source.get())->receivers), 0);
}

}  // namespace
}  // namespace qv::ui
