// What the window tests share: a Window subclass whose hidden Layout event applies the case's
// stored properties, handlers that log the events in order, and turning the event loop by hand
// (the layout step, then every waiting message) so no test blocks in GetMessage.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/application/application_object.h"
#include "framework/startup/windows_startup.h"
#include "framework/window_services.h"
#include "graphics/graphics_routines.h"
#include "platform/win32/windows_api.h"
#include "runtime/objects/object_model.h"
#include "runtime/strings/string_ref.h"
#include "tests/support/class_holder.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui::test {

// The stored properties the Layout handler sets, as the image's compiled code would.
struct WindowSetup {
    i32 frame = 0;
    i32 placement = 0;
    ControlBounds bounds{100, 100, 300, 400};  // top, left, bottom, right
    bool visible = true;
    bool close_box = true;
    bool grow_icon = false;
    bool zoom_icon = false;
    i16 min_width = 0;
    i16 max_width = 0;
    const char* title = "Window test";
};

struct WindowLog {
    WindowSetup setup;
    std::vector<std::string> events;
    bool cancel_close = false;
    bool close_in_open = false;
    int count(const std::string& event) const
    {
        int n = 0;
        for (const std::string& e : events)
            n += e == event;
        return n;
    }
};

inline WindowLog g_log;

inline void log_event(const char* name) { g_log.events.emplace_back(name); }

inline void on_layout(RuntimeObject* self)
{
    log_event("Layout");
    const WindowSetup& s = g_log.setup;
    windowFrameSetter(self, 0, s.frame);
    windowPlacementSetter(self, 0, s.placement);
    window_fields(self)->bounds = s.bounds;
    WindowVisibleSetter(self, 0, s.visible);
    windowCloseBoxSetter(self, 0, s.close_box);
    windowGrowIconSetter(self, 0, s.grow_icon);
    windowZoomIconSetter(self, 0, s.zoom_icon);
    window_fields(self)->minWidth = s.min_width;
    window_fields(self)->maxWidth = s.max_width;
    StringRef title = StringRef::FromCString(s.title);
    windowTitleSetter(self, 0, title.get());
}
inline void on_create_controls(RuntimeObject*) { log_event("CreateControls"); }
inline void on_setup_bindings(RuntimeObject*) { log_event("SetupBindings"); }
inline void on_open(RuntimeObject* self)
{
    log_event("Open");
    if (g_log.close_in_open)
        RuntimeCloseWindow(self);
}
inline void on_close(RuntimeObject*) { log_event("Close"); }
inline u32 on_cancel_close(RuntimeObject*)
{
    log_event("CancelClose");
    return g_log.cancel_close ? 1 : 0;
}
inline void on_resized(RuntimeObject*) { log_event("Resized"); }
inline void on_moved(RuntimeObject*) { log_event("Moved"); }

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The layers are registered by the suite's environment (ui_environment.cpp).
        // Built-in classes are made once, on first lookup: not a leak of the first test.
        (void)window_base();
        (void)RuntimeLookupClass(StringRef::FromCString("Graphics").get());
        (void)RuntimeLookupClass(StringRef::FromCString("_PaneChild").get());
        (void)RuntimeLookupClass(StringRef::FromCString("_MenuBarInstaller").get());
    }

    void SetUp() override
    {
        g_log = WindowLog{};
        gQuitRequested = false;
        m_objects_before = live_object_count();
        m_class = subclass("TestWindow");
    }

    void TearDown() override
    {
        window_services().close_all_windows();
        turn();
        reset_implicit_windows();
        gQuitRequested = false;
    }

    static ClassRecord* window_base() { return RuntimeLookupClass(StringRef::FromCString("Window").get()); }

    ClassRecord* subclass(const char* name)
    {
        ClassRecord* base = window_base();
        ClassRecord* c = m_classes.make(base, name, base->methodCount, base->interfaceCount, base->eventCount,
                                        base->staticMethodCount, base->propertyCount, base->instanceSize);
        c->initializer = nullptr;  // the base's constructor runs anyway
        c->finalizer = nullptr;
        set_event(c, kWindowLayout, &on_layout);
        set_event(c, kWindowCreateControls, &on_create_controls);
        set_event(c, kWindowSetupBindings, &on_setup_bindings);
        set_event(c, kWindowOpen, &on_open);
        set_event(c, kWindowClose, &on_close);
        set_event(c, kWindowCancelClose, &on_cancel_close);
        set_event(c, kWindowResized, &on_resized);
        set_event(c, kWindowMoved, &on_moved);
        return c;
    }

    template <typename F>
    static void set_event(ClassRecord* c, i32 index, F* handler)
    {
        c->eventTable[index].routine = reinterpret_cast<void*>(handler);
    }

    // What the image's code does: create (hidden events), then its constructor's call.
    RuntimeObject* open_window(ClassRecord* c = nullptr)
    {
        RuntimeObject* window = RuntimeNewObject(c ? c : m_class);
        WindowDefaultConstructor(window);
        return window;
    }

    static HWND handle_of(RuntimeObject* window)
    {
        return reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(window, 0)));
    }

    // One loop turn without waiting: the layout step, then every message already queued.
    static void turn()
    {
        window_services().apply_pending_layout();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    static RECT client_on_screen(HWND window)
    {
        RECT r;
        GetClientRect(window, &r);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    ClassHolder m_classes;
    ClassRecord* m_class = nullptr;
    i32 m_objects_before = 0;
};

}  // namespace qv::ui::test
