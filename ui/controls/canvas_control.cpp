#include "ui/controls/canvas_control.h"

#include "framework/application/event_firing.h"
#include "runtime/objects/object_ref.h"
#include "ui/controls/control_object.h"
#include "ui/controls/pane_windows.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"
#include "ui/graphics_bridge.h"

namespace qv::ui {
namespace {

class CanvasPane final : public SubPane {
public:
    using SubPane::SubPane;

    void PaintInto(HDC dc) override
    {
        if (!m_control || !event_implemented(m_control, kCanvasPaint))
            return;
        GraphicsSurface surface;
        surface.window = m_window;
        surface.paint_dc = dc;
        if (const ObjectRef g = ObjectRef::adopt(make_graphics(surface)); !g.is_nil()) {
            fire_event(m_control, kCanvasPaint, g.get());
            detach_graphics(g.get());
        }
    }

    bool DoMouseDown(i32 x, i32 y, u32) override
    {
        const POINT at = local(x, y);
        return m_control && fire_boolean_event(m_control, kCanvasMouseDown, false, at.x, at.y);
    }
    void DoMouseDrag(i32 x, i32 y) override
    {
        const POINT at = local(x, y);
        if (m_control)
            fire_event(m_control, kCanvasMouseDrag, at.x, at.y);
    }
    void DoMouseUp(i32 x, i32 y) override
    {
        const POINT at = local(x, y);
        if (m_control)
            fire_event(m_control, kCanvasMouseUp, at.x, at.y);
    }

private:
    // Window coordinates to the control's own.
    POINT local(i32 x, i32 y) const
    {
        if (!m_control)
            return POINT{x, y};
        const ControlBounds& b = control_fields(m_control)->bounds;
        return POINT{x - b.left, y - b.top};
    }
};

}  // namespace

void create_canvas_pane(RuntimeObject* self)
{
    ControlObject* c = control_fields(self);
    if (c->paneInstance)
        return;
    HWND parent = static_cast<HWND>(peer_parent_window(self));
    if (!parent)
        return;
    HWND window = create_pane_window(kCanvasPaneClass, parent);
    if (!window)
        return;
    auto* pane = new CanvasPane(self);
    pane->Attach(window, true);
    c->paneInstance = pane;
}

}  // namespace qv::ui
