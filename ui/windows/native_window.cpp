// Creating, listing and destroying native windows, and their stored state.
#include "ui/windows/native_window.h"

#include <algorithm>
#include <cstring>

#include "framework/event_loop/event_loop.h"
#include "framework/startup/mdi_frame.h"
#include "platform/win32/failed_call.h"

namespace qv::ui {
namespace {

constexpr wchar_t kWindowClass[] = L"QVWindow";
constexpr wchar_t kMdiChildClass[] = L"QV_MDICHILD";

std::vector<NativeWindow*> s_all;
std::vector<NativeWindow*> s_runtime;

void remove_from(std::vector<NativeWindow*>& list, NativeWindow* window)
{
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

// The owner of a window whose frame has one: the first visible modal window, else the MDI
// frame, else the active visible document window.
HWND owner_for_new_window()
{
    if (HWND modal = first_visible_modal())
        return modal;
    if (HWND frame = mdi_frame())
        return frame;
    HWND active = GetActiveWindow();
    NativeWindow* native = NativeWindow::FromHandle(active);
    if (native && IsWindowVisible(active) && (native->frame_type() == 0 || native->frame_type() == 8))
        return active;
    return nullptr;
}

}  // namespace

// Set while CreateWindowEx or CreateMDIWindow runs: the window's first messages find their
// object here before the extra bytes hold it.
NativeWindow* g_creating_window = nullptr;

NativeWindow::~NativeWindow()
{
    remove_from(s_all, this);
    remove_from(s_runtime, this);
    remove_modal(m_window);
}

bool NativeWindow::Create(const Creation& c)
{
    m_frame = c.native_frame;
    m_grow_icon = c.grow_icon;
    const FrameStyle fs = frame_style(m_frame, c.close_box, c.grow_icon, c.zoom_icon);
    RECT outer = c.content;
    AdjustWindowRectEx(&outer, fs.style, FALSE, fs.ex_style);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    g_creating_window = this;
    m_creating = true;
    if (mdi_client() && is_document_frame(m_frame)) {
        m_mdi_child = true;
        m_window = CreateMDIWindowW(kMdiChildClass, c.title, fs.style, outer.left, outer.top, outer.right - outer.left,
                                    outer.bottom - outer.top, mdi_client(), instance, 0);
    } else {
        register_window_class();
        m_window = CreateWindowExW(fs.ex_style, kWindowClass, c.title, fs.style, outer.left, outer.top,
                                   outer.right - outer.left, outer.bottom - outer.top,
                                   fs.has_owner ? owner_for_new_window() : nullptr, nullptr, instance, nullptr);
    }
    g_creating_window = nullptr;
    m_creating = false;
    if (!m_window) {
        platform::win32::note_failed_call(m_mdi_child ? "CreateMDIWindowW" : "CreateWindowExW", "runtime window");
        return false;
    }
    SetWindowLongPtrW(m_window, 0, reinterpret_cast<LONG_PTR>(this));
    // An MDI child comes up visible: the window stays hidden until it is shown.
    if (m_mdi_child)
        ShowWindow(m_window, SW_HIDE);
    m_content = NativeContentRect();
    s_all.insert(s_all.begin(), this);
    if (fs.on_modal_stack)
        push_modal(m_window);
    return true;
}

void NativeWindow::Destroy()
{
    if (!m_window)
        return;
    if (GetCapture() == m_window)
        ReleaseCapture();
    SetMenu(m_window, nullptr);
    remove_from(s_all, this);
    remove_from(s_runtime, this);
    remove_modal(m_window);
    // Hidden at once: what remains until the destruction message arrives is no longer a window.
    ShowWindow(m_window, SW_HIDE);
    // Posted, so that no code still running for this window finds its object deleted.
    PostMessageW(m_window, kDestroyWindowMessage, 1, 2);
}

NativeWindow* NativeWindow::FromHandle(HWND window)
{
    if (!window)
        return nullptr;
    wchar_t name[16];
    if (!GetClassNameW(window, name, 16) || (wcscmp(name, kWindowClass) != 0 && wcscmp(name, kMdiChildClass) != 0))
        return nullptr;
    return reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, 0));
}

RECT NativeWindow::NativeContentRect() const
{
    RECT r{};
    if (!m_window)
        return r;
    GetClientRect(m_window, &r);
    MapWindowPoints(m_window, m_mdi_child ? mdi_client() : nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void NativeWindow::MoveContentTo(const RECT& content)
{
    if (!m_window)
        return;
    const RECT now = NativeContentRect();
    RECT outer;
    GetWindowRect(m_window, &outer);
    if (m_mdi_child)
        MapWindowPoints(nullptr, mdi_client(), reinterpret_cast<POINT*>(&outer), 2);
    // The frame keeps its thickness: shift and grow the outer rectangle by the differences.
    outer.left += content.left - now.left;
    outer.top += content.top - now.top;
    outer.right += content.right - now.right;
    outer.bottom += content.bottom - now.bottom;
    MoveWindow(m_window, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top, TRUE);
}

void NativeWindow::SetBackColor(bool on, COLORREF colour)
{
    if (on == m_has_back_color && (!on || colour == m_back_color))
        return;
    m_has_back_color = on;
    m_back_color = colour;
    if (m_window)
        InvalidateRect(m_window, nullptr, TRUE);
}

bool NativeWindow::back_color(COLORREF* colour) const
{
    if (m_has_back_color && colour)
        *colour = m_back_color;
    return m_has_back_color;
}

void NativeWindow::SetProperty(const char* name, i32 value)
{
    for (auto& [key, stored] : m_properties) {
        if (key == name) {
            stored = value;
            return;
        }
    }
    m_properties.emplace_back(name, value);
}

i32 NativeWindow::Property(const char* name) const
{
    for (const auto& [key, stored] : m_properties) {
        if (key == name)
            return stored;
    }
    return 0;
}

void NativeWindow::DoPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    PaintInto(dc);
    EndPaint(m_window, &paint);
}

const std::vector<NativeWindow*>& native_windows() { return s_all; }
std::vector<NativeWindow*>& runtime_windows() { return s_runtime; }

SIZE frame_border(bool grow_icon)
{
    if (grow_icon)
        return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
    return {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
}

}  // namespace qv::ui
