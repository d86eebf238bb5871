#include "ui/controls/plugin_control.h"

#include <utility>

#include "core/once.h"
#include "framework/plugins/plugin_registry.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/objects/object_ref.h"
#include "ui/binding/receiver_list.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/control_object.h"
#include "ui/controls/pane_windows.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"
#include "ui/graphics_bridge.h"

namespace qv::ui {
namespace {

// The base's instance: the control fields, then the action receivers; a plug-in class's own
// data follows.
struct PluginControlObject {
    ControlObject control;
    ReceiverList actionReceivers;
};

PluginControlObject* plugin_fields(RuntimeObject* object) { return reinterpret_cast<PluginControlObject*>(object); }

class PluginControlPane final : public SubPane {
public:
    PluginControlPane(RuntimeObject* control, const QvPluginControl* description)
        : SubPane(control), m_description(description)
    {
    }

    void PaintInto(HDC dc) override
    {
        if (!m_control || !m_description->paint)
            return;
        RECT client;
        GetClientRect(m_window, &client);
        GraphicsSurface surface;
        surface.window = m_window;
        surface.paint_dc = dc;
        const ObjectRef graphics = ObjectRef::adopt(make_graphics(surface));
        m_description->paint(m_control, dc, graphics.get(), client.right, client.bottom);
        detach_graphics(graphics.get());
    }

    bool DoMouseDown(i32 x, i32 y, u32) override
    {
        const POINT at = local(x, y);
        return m_control && m_description->mouseDown && m_description->mouseDown(m_control, at.x, at.y) != 0;
    }
    void DoMouseDrag(i32 x, i32 y) override
    {
        const POINT at = local(x, y);
        if (m_control && m_description->mouseDrag)
            m_description->mouseDrag(m_control, at.x, at.y);
    }
    void DoMouseUp(i32 x, i32 y) override
    {
        const POINT at = local(x, y);
        if (m_control && m_description->mouseUp)
            m_description->mouseUp(m_control, at.x, at.y);
    }
    void DoMouseEnter() override
    {
        if (m_control && m_description->mouseEnter)
            m_description->mouseEnter(m_control);
    }
    void DoMouseExit() override
    {
        if (m_control && m_description->mouseExit)
            m_description->mouseExit(m_control);
    }

private:
    // Window coordinates to the control's own.
    POINT local(i32 x, i32 y) const
    {
        const ControlBounds& b = control_fields(m_control)->bounds;
        return POINT{x - b.left, y - b.top};
    }

    const QvPluginControl* m_description;
};

void finalize_plugin_control(RuntimeObject* object) { clear_receivers(plugin_fields(object)->actionReceivers); }

const EventImplementationRecord kImplementations[] = {
    {"CreatePane", reinterpret_cast<void*>(&create_plugin_control_pane)}};

ObjectDefinition s_base;

ReceiverList* receivers_of(RuntimeObject* self)
{
    return plugin_control_of(self) ? &plugin_fields(self)->actionReceivers : nullptr;
}

}  // namespace

void register_plugin_control_class()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = kPluginControlBaseName;
        source.super_definition = rect_control_definition();
        source.instance_size = sizeof(PluginControlObject);
        source.event_implementations = kImplementations;
        source.finalizer = &finalize_plugin_control;
        build_definition(s_base, source);
        RegisterDefinition(&s_base);
    });
}

void create_plugin_control_pane(RuntimeObject* self)
{
    ControlObject* c = control_fields(self);
    const QvPluginControl* description = plugin_control_of(self);
    if (c->paneInstance || !description)
        return;
    HWND parent = static_cast<HWND>(peer_parent_window(self));
    if (!parent)
        return;
    HWND window = create_pane_window(kPaneClass, parent);
    if (!window)
        return;
    auto* pane = new PluginControlPane(self, description);
    pane->Attach(window, true);
    c->paneInstance = pane;
}

std::span<const ProvidedRoutine> plugin_control_routines()
{
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(PluginControlAddActionReceiver),
        QV_PROVIDED(PluginControlRemoveActionReceiver),
        QV_PROVIDED(PluginControlNotifyActionReceivers),
        QV_PROVIDED(PluginControlRefresh),
    };
    return kRoutines;
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" {

void PluginControlAddActionReceiver(RuntimeObject* self, RuntimeObject* receiver)
{
    if (ReceiverList* list = receivers_of(self))
        add_receiver(*list, receiver);
}

void PluginControlRemoveActionReceiver(RuntimeObject* self, RuntimeObject* receiver)
{
    if (ReceiverList* list = receivers_of(self))
        remove_receiver(*list, receiver);
}

void PluginControlNotifyActionReceivers(RuntimeObject* self)
{
    if (ReceiverList* list = receivers_of(self))
        notify_action_receivers(*list);
}

void PluginControlRefresh(RuntimeObject* self)
{
    if (!plugin_control_of(self))
        return;
    if (SubPane* pane = control_fields(self)->paneInstance)
        pane->Invalidate();
}

}  // extern "C"
