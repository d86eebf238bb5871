// Window.DrawInto: a window's client area drawn as it would be painted now, into a bitmap that
// the graphics layer draws into a Graphics. Each window paints itself through WM_PRINTCLIENT, so
// a hidden or covered window draws as well as one on screen.
#include <algorithm>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/controls/window_access.h"
#include "ui/graphics_bridge.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

// Bottom of the Z order first: later ones are drawn over earlier ones.
std::vector<HWND> children_bottom_up(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    std::reverse(children.begin(), children.end());
    return children;
}

}  // namespace

void print_window_into(HWND window, HDC dc)
{
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    for (HWND child : children_bottom_up(window)) {
        if (!IsWindowVisible(child))
            continue;
        POINT origin{0, 0};
        MapWindowPoints(child, window, &origin, 1);
        RECT area{};
        GetClientRect(child, &area);
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        IntersectClipRect(dc, 0, 0, area.right, area.bottom);
        print_window_into(child, dc);
        RestoreDC(dc, saved);
    }
}

}  // namespace qv::ui

extern "C" {

void formDrawInto(RuntimeObject* self, RuntimeObject* g, int32_t x, int32_t y)
{
    HWND window = qv::ui::window_handle(self);
    RECT client{};
    if (!window || !g || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    if (dc && bitmap) {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        qv::ui::print_window_into(window, dc);
        SelectObject(dc, previous);
        qv::ui::draw_bitmap_into(g, bitmap, client.right, client.bottom, x, y);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
}

}  // extern "C"
