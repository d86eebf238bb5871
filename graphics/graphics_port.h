// The drawing port behind every Graphics object: the drawing state (colour, pen, font), the
// surface it draws on, and the operations that render through GDI. One port is current in
// the process at a time; every operation first makes its port current (see PortScope).
#pragma once

#include <memory>

#include "platform/win32/windows_api.h"

#include "graphics/color_components.h"
#include "graphics/drawing_geometry.h"
#include "ui/controls/font_cache.h"
#include "graphics/picture_placement.h"
#include "runtime/strings/string_ref.h"

namespace qv::graphics {

// What a port draws on: a window or control, a picture, a printer page.
class Surface {
public:
    virtual ~Surface() = default;
    // The device context to draw into; `created` tells whether release_dc must give it back
    // once the port is deactivated. Null when there is nothing to draw on.
    virtual HDC acquire_dc(bool& created) = 0;
    virtual void release_dc(HDC dc) = 0;
    virtual i32 width() = 0;
    virtual i32 height() = 0;
    // Added to every coordinate: a control's position inside its window.
    virtual Point position() { return {}; }
    // ClearRect's brush; `owned` brushes are deleted after use.
    virtual HBRUSH clear_brush(bool& owned)
    {
        owned = false;
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }
    virtual void next_page() { }
    // The bitmap selected into this surface's device context, if it is a picture's.
    virtual HBITMAP bitmap() { return nullptr; }
};

// The system icons' resource numbers: IDI_HAND, IDI_ASTERISK, IDI_EXCLAMATION.
inline constexpr u16 kStopIcon = 32513;
inline constexpr u16 kNoteIcon = 32516;
inline constexpr u16 kCautionIcon = 32515;

inline constexpr u32 kStyleBold = 1;
inline constexpr u32 kStyleItalic = 2;
inline constexpr u32 kStyleUnderline = 4;

// A bitmap to draw from: DrawPicture's source.
struct SourceBitmap {
    HBITMAP bitmap = nullptr;
    i32 width = 0;
    i32 height = 0;
    bool white_is_transparent = false;
};

class GraphicsPort {
public:
    explicit GraphicsPort(std::unique_ptr<Surface> surface);
    ~GraphicsPort();
    GraphicsPort(const GraphicsPort&) = delete;
    GraphicsPort& operator=(const GraphicsPort&) = delete;

    // Drops the surface (its window or picture is going away); later operations draw nothing.
    void detach_surface();
    Surface* surface() const { return m_surface.get(); }

    // ---- State --------------------------------------------------------------------------
    u32 fore_color() const { return color_from_components(m_fore_color); }
    void set_fore_color(u32 color) { m_fore_color = components_from_color(color); }
    StringRef text_font() const { return m_font_name; }
    void set_text_font(const StringRef& name);
    i32 text_size() const { return m_text_size; }
    void set_text_size(i32 points);
    bool has_style(u32 bit) const { return (m_text_style & bit) != 0; }
    void set_style(u32 bit, bool on);
    i32 pen_width() const { return m_pen_width; }
    i32 pen_height() const { return m_pen_height; }
    void set_pen_size(i32 width, i32 height)
    {
        m_pen_width = width;
        m_pen_height = height;
    }
    Point pen_position() const { return m_pen_position; }
    bool new_renderer() const { return m_new_renderer; }
    void set_new_renderer(bool on) { m_new_renderer = on; }
    // Subtracted from every coordinate before it reaches GDI.
    void set_device_origin(Point origin) { m_device_origin = origin; }
    // Two optional clip regions (the port keeps copies), intersected with each other and with
    // the device context's own clip region while the port is current. Null removes one.
    void set_clip_region(int which, HRGN region);

    i32 width() const { return m_surface ? m_surface->width() : 0; }
    i32 height() const { return m_surface ? m_surface->height() : 0; }

    // ---- Drawing (coordinates relative to the surface's top-left corner) -----------------
    void draw_line(Point first, Point second);
    void draw_rect(i32 x, i32 y, i32 width, i32 height);
    void draw_oval(i32 x, i32 y, i32 width, i32 height);
    void draw_round_rect(i32 x, i32 y, i32 width, i32 height, i32 oval_width, i32 oval_height);
    void fill_rect(i32 x, i32 y, i32 width, i32 height);
    void fill_oval(i32 x, i32 y, i32 width, i32 height);
    void fill_round_rect(i32 x, i32 y, i32 width, i32 height, i32 oval_width, i32 oval_height);
    void clear_rect(i32 x, i32 y, i32 width, i32 height);
    void draw_polygon(const std::vector<Point>& points);
    void fill_polygon(const std::vector<Point>& points);
    // 0x00RRGGBB; 0 when there is nothing to read.
    u32 pixel(i32 x, i32 y);
    void set_pixel(i32 x, i32 y, u32 color);
    // A system icon (kStopIcon, kNoteIcon, kCautionIcon) with its top-left corner at x, y.
    void draw_system_icon(u16 icon_id, i32 x, i32 y);
    void draw_picture(const SourceBitmap& source, const PicturePlacement& placement);
    void next_page();

    // ---- Text ---------------------------------------------------------------------------
    // y is the baseline; wrap_width 0 draws without wrapping. Line breaks start new lines.
    void draw_string(const StringRef& text, i32 x, i32 y, i32 wrap_width);
    // Text in a rectangle, left (0), centred (1) or right (2) aligned, wrapped at its width:
    // what drawn static text uses.
    void draw_text_in_rect(const StringRef& text, const Rect& rect, i32 alignment);
    // One line at a baseline point, optionally clipped to a rectangle.
    void draw_text_at(const StringRef& text, Point baseline, const Rect* clip);
    i32 string_width(const StringRef& text);
    i32 string_height(const StringRef& text, i32 wrap_width);
    i32 text_height();
    i32 text_ascent();

    // Makes this port the current one (deactivating the previous) and returns its device
    // context, or null when it has none. Called by the operations above under the lock.
    HDC activate();

private:
    friend class PortScope;
    friend void release_current_port();
    void deactivate();
    void select_font(HDC dc);
    const TEXTMETRICW& metrics(HDC dc);
    Point device_point(i32 x, i32 y) const;
    Rect device_rect(i32 x, i32 y, i32 width, i32 height) const;
    COLORREF colorref() const { return colorref_from_color(fore_color()); }

    std::unique_ptr<Surface> m_surface;
    HDC m_dc = nullptr;
    bool m_dc_created = false;
    Point m_device_origin;
    StringRef m_font_name;
    i32 m_text_size = 0;
    u32 m_text_style = 0;
    ui::FontRef m_font;
    bool m_font_valid = false;
    TEXTMETRICW m_metrics{};
    bool m_metrics_valid = false;
    i32 m_pen_width = 1;
    i32 m_pen_height = 1;
    Point m_pen_position;
    ColorComponents m_fore_color;
    HRGN m_clip[2] = {nullptr, nullptr};
    HRGN m_saved_clip = nullptr;  // the device context's own clip region while current
    bool m_new_renderer = false;
};

// Holds the process-wide activation lock for one operation and makes the port current.
// The lock belongs to one thread at a time; its owner may take it again.
class PortScope {
public:
    explicit PortScope(GraphicsPort& port);
    ~PortScope();
    PortScope(const PortScope&) = delete;
    PortScope& operator=(const PortScope&) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
};

// The port that is current, or null; for tests.
GraphicsPort* current_port();

// Lets the current port give back its device context and the font selected into it. Skipped
// when another thread is drawing: memory has run out, and waiting for it could never end.
void release_current_port();

}  // namespace qv::graphics
