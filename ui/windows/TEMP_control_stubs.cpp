// TEMPORARY: minimal stand-ins for the control side until it is merged, so the window layer
// links. No controls exist with these: is_control answers false for every object.
#include "runtime/registry/provided_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {

SubPane::SubPane(RuntimeObject* control) : m_control(control) { }
SubPane::~SubPane()
{
    if (m_window)
        RemovePropW(m_window, L"QVInstance");
}
void SubPane::Attach(HWND window, bool owns_window)
{
    m_window = window;
    m_owns_window = owns_window;
    SetPropW(window, L"QVInstance", this);
}
SubPane* SubPane::FromHandle(HWND window)
{
    return window ? static_cast<SubPane*>(GetPropW(window, L"QVInstance")) : nullptr;
}
void SubPane::SetState(i32) { }
void SubPane::SetBounds(const ControlBounds&, bool) { }
void SubPane::Invalidate(bool) { }
void SubPane::InvalidateRect(const RECT&, bool) { }
void SubPane::UpdateNow() { }
bool SubPane::Contains(const SubPane*, bool) const { return false; }
SubPane* SubPane::ParentPane() const { return nullptr; }
void SubPane::Reparent(SubPane*) { }
SubPane* SubPane::WindowPane() const { return nullptr; }
bool SubPane::CanTakeFocus() const { return false; }
void SubPane::GainFocus() { }
void SubPane::LoseFocus() { }
void SubPane::SetHelpTag(const char*) { }
void SubPane::SetBalloonHelp(const char*) { }
void SubPane::SetDisabledBalloonHelp(const char*) { }
void SubPane::DoPaint() { }

bool is_control(RuntimeObject*) { return false; }
bool is_rect_control(RuntimeObject*) { return false; }
void create_control_pane(RuntimeObject*) { }
void fire_control_open(RuntimeObject*) { }
void fire_control_close(RuntimeObject*) { }
void set_control_bounds(RuntimeObject*, const ControlBounds&) { }
bool control_accepts_point(RuntimeObject*, i32, i32) { return false; }
bool control_mouse_down(RuntimeObject*, i32, i32, u32, bool) { return false; }
void control_mouse_enter(RuntimeObject*) { }
void control_mouse_exit(RuntimeObject*) { }
void control_mouse_moved(RuntimeObject*, i32, i32) { }
SubPane* focus_pane() { return nullptr; }
void move_focus(SubPane*) { }
void clear_focus_within(void*) { }

}  // namespace qv::ui

extern "C" RuntimeObject* RuntimeControlReference(RuntimeObject*, RuntimeString*) { return nullptr; }
extern "C" RuntimeObject* RuntimeControlArrayItemReference(RuntimeObject*, RuntimeString*, int32_t) { return nullptr; }
extern "C" int32_t shortGetter(RuntimeObject* object, int32_t param)
{
    return object ? *reinterpret_cast<i16*>(reinterpret_cast<u8*>(object) + param) : 0;
}
extern "C" void shortSetter(RuntimeObject* object, int32_t param, int32_t value)
{
    if (object)
        *reinterpret_cast<i16*>(reinterpret_cast<u8*>(object) + param) = static_cast<i16>(value);
}

namespace {
// The control side lists these itself; until then the registry learns them here.
const qv::ProvidedRoutine kTemporaryRoutines[] = {
    {"shortGetter", reinterpret_cast<void*>(&shortGetter)},
    {"shortSetter", reinterpret_cast<void*>(&shortSetter)},
    {"RuntimeControlReference", reinterpret_cast<void*>(&RuntimeControlReference)},
    {"RuntimeControlArrayItemReference", reinterpret_cast<void*>(&RuntimeControlArrayItemReference)},
};
const bool s_added = (qv::add_provided_routines(kTemporaryRoutines), true);
}  // namespace
