// The window surface: a window's or control's device context, size and background.
#include "graphics/window_graphics.h"

#include <memory>
#include <new>

#include "graphics/graphics_class.h"

namespace qv::graphics {
namespace {

class WindowSurface final : public Surface {
public:
    WindowSurface(HWND window, const WindowSurfaceOptions& options) : m_window(window), m_options(options) { }

    HDC acquire_dc(bool& created) override
    {
        created = !m_options.paint_dc;
        return m_options.paint_dc ? m_options.paint_dc : GetDC(m_window);
    }
    void release_dc(HDC dc) override { ReleaseDC(m_window, dc); }
    i32 width() override
    {
        if (m_options.width >= 0)
            return m_options.width;
        RECT client{};
        GetClientRect(m_window, &client);
        return client.right - client.left;
    }
    i32 height() override
    {
        if (m_options.height >= 0)
            return m_options.height;
        RECT client{};
        GetClientRect(m_window, &client);
        return client.bottom - client.top;
    }
    Point position() override { return {m_options.left, m_options.top}; }
    HBRUSH clear_brush(bool& owned) override
    {
        owned = m_options.background.has_value();
        return owned ? CreateSolidBrush(*m_options.background) : GetSysColorBrush(COLOR_BTNFACE);
    }

private:
    HWND m_window;
    WindowSurfaceOptions m_options;
};

}  // namespace

RuntimeObject* make_window_graphics(HWND window, const WindowSurfaceOptions& options)
{
    auto surface = std::unique_ptr<WindowSurface>(new (std::nothrow) WindowSurface(window, options));
    return surface ? new_graphics(std::move(surface)) : nullptr;
}

}  // namespace qv::graphics
