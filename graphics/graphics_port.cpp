// The port's state, its activation as the process's current port, and its font.
#include "graphics/graphics_port.h"

#include <atomic>
#include <utility>

#include "ui/controls/wide_text.h"

namespace qv::graphics {
namespace {

GraphicsPort* s_current = nullptr;

// The activation lock: a thread identifier and a depth. Cooperative threads draw too, and a
// port's device context and selected objects must not change under another thread's feet.
std::atomic<DWORD> s_owner{0};
i32 s_depth = 0;  // touched only by the owner

void lock_activation()
{
    const DWORD self = GetCurrentThreadId();
    if (s_owner.load() == self) {
        ++s_depth;
        return;
    }
    for (DWORD expected = 0; !s_owner.compare_exchange_weak(expected, self); expected = 0)
        Sleep(0);
    s_depth = 1;
}

void unlock_activation()
{
    if (--s_depth == 0)
        s_owner.store(0);
}

}  // namespace

GraphicsPort* current_port() { return s_current; }

void release_current_port()
{
    const DWORD self = GetCurrentThreadId();
    DWORD expected = 0;
    if (s_owner.load() != self && !s_owner.compare_exchange_strong(expected, self))
        return;
    ++s_depth;
    if (s_current)
        s_current->deactivate();
    unlock_activation();
}

GraphicsPort::GraphicsPort(std::unique_ptr<Surface> surface) : m_surface(std::move(surface)) { }

GraphicsPort::~GraphicsPort()
{
    lock_activation();
    if (s_current == this)
        deactivate();
    unlock_activation();
    m_font = ui::FontRef();
    for (HRGN& region : m_clip) {
        if (region)
            DeleteObject(std::exchange(region, nullptr));
    }
}

void GraphicsPort::detach_surface()
{
    lock_activation();
    if (s_current == this)
        deactivate();
    m_surface.reset();
    unlock_activation();
}

void GraphicsPort::set_text_font(const StringRef& name)
{
    m_font_name = name;
    m_font_valid = false;
}

void GraphicsPort::set_text_size(i32 points)
{
    m_text_size = points;
    m_font_valid = false;
}

void GraphicsPort::set_style(u32 bit, bool on)
{
    m_text_style = on ? (m_text_style | bit) : (m_text_style & ~bit);
    m_font_valid = false;
}

void GraphicsPort::set_clip_region(int which, HRGN region)
{
    if (which < 0 || which > 1)
        return;
    lock_activation();
    const bool current = s_current == this;
    if (current)
        deactivate();
    if (m_clip[which])
        DeleteObject(std::exchange(m_clip[which], nullptr));
    if (region) {
        m_clip[which] = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(m_clip[which], region, nullptr, RGN_COPY);
    }
    unlock_activation();
}

HDC GraphicsPort::activate()
{
    if (s_current == this)
        return m_dc;
    if (s_current)
        s_current->deactivate();
    if (!m_surface)
        return nullptr;
    m_dc = m_surface->acquire_dc(m_dc_created);
    if (!m_dc)
        return nullptr;
    s_current = this;
    m_font_valid = false;  // the font is selected into this device context anew
    select_font(m_dc);
    SetBkMode(m_dc, TRANSPARENT);
    m_saved_clip = CreateRectRgn(0, 0, 0, 0);
    if (GetClipRgn(m_dc, m_saved_clip) != 1)
        DeleteObject(std::exchange(m_saved_clip, nullptr));
    if (m_clip[0] || m_clip[1]) {
        HRGN clip = CreateRectRgn(0, 0, 0, 0);
        bool started = false;
        if (m_saved_clip) {
            CombineRgn(clip, m_saved_clip, nullptr, RGN_COPY);
            started = true;
        }
        for (HRGN region : m_clip) {
            if (!region)
                continue;
            CombineRgn(clip, started ? clip : region, region, started ? RGN_AND : RGN_COPY);
            started = true;
        }
        SelectClipRgn(m_dc, clip);
        DeleteObject(clip);
    }
    return m_dc;
}

void GraphicsPort::deactivate()
{
    if (s_current != this)
        return;
    s_current = nullptr;
    if (!m_dc)
        return;
    SelectClipRgn(m_dc, m_saved_clip);  // null puts back "no clip region"
    if (m_saved_clip)
        DeleteObject(std::exchange(m_saved_clip, nullptr));
    SelectObject(m_dc, GetStockObject(SYSTEM_FONT));
    if (m_dc_created && m_surface)
        m_surface->release_dc(m_dc);
    m_dc = nullptr;
    m_dc_created = false;
}

void GraphicsPort::select_font(HDC dc)
{
    if (m_font_valid)
        return;
    m_font_valid = true;
    // The process's one font cache, with its face-name mapping and 12 for size 0; a port
    // without a font name draws in "System".
    ui::FontDescription description{ui::wide_text(m_font_name), m_text_size, (m_text_style & kStyleBold) != 0,
                                    (m_text_style & kStyleItalic) != 0, (m_text_style & kStyleUnderline) != 0};
    if (description.name.empty())
        description.name = L"System";
    ui::FontRef font = ui::acquire_font(description);
    if (!font)
        return;  // the font in use stays: releasing it could delete a font still selected
    SelectObject(dc, font.get());
    m_font = std::move(font);  // the previous font goes once the new one is selected
    m_metrics_valid = false;
}

const TEXTMETRICW& GraphicsPort::metrics(HDC dc)
{
    select_font(dc);
    if (!m_metrics_valid) {
        m_metrics = {};
        GetTextMetricsW(dc, &m_metrics);
        m_metrics_valid = true;
    }
    return m_metrics;
}

Point GraphicsPort::device_point(i32 x, i32 y) const
{
    const Point at = m_surface ? m_surface->position() : Point{};
    return {x + at.x - m_device_origin.x, y + at.y - m_device_origin.y};
}

Rect GraphicsPort::device_rect(i32 x, i32 y, i32 width, i32 height) const
{
    const Point at = device_point(x, y);
    return rect_from_size(at.x, at.y, width, height);
}

PortScope::PortScope(GraphicsPort& port)
{
    lock_activation();
    m_dc = port.activate();
    if (m_dc)
        port.select_font(m_dc);  // a font changed since the last operation is selected now
}

PortScope::~PortScope() { unlock_activation(); }

}  // namespace qv::graphics
