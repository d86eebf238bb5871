// What the application object, the event loop and the menus need to know about windows and
// controls, which live in the layer above (ui/). That layer installs its services at start-up;
// until it does (and in programs without windows) the defaults answer as if no runtime window
// exists, except for the MDI frame that the framework itself owns.
//
// Objects are borrowed (no count is added) unless a comment says otherwise.
#pragma once

#include "core/seam.h"
#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

class MenuHandlerRegistry;

struct WindowServices {
    // The front runtime window's Window object (the foreground window; in MDI mode the active
    // visible MDI child), or nil.
    RuntimeObject* (*front_window)() = nullptr;
    // Whether that window is of a modal frame type (native frame 2, 3, 5 or 10).
    bool (*front_window_is_modal)() = nullptr;
    // A window's MenuBar, or nil.
    RuntimeObject* (*window_menu_bar)(RuntimeObject* window) = nullptr;
    // A window's menu handlers, or null when it has none.
    MenuHandlerRegistry* (*window_menu_handlers)(RuntimeObject* window) = nullptr;
    // Fires the window's EnableMenuItems event.
    void (*fire_window_enable_menu_items)(RuntimeObject* window) = nullptr;

    // The focused control of the runtime's focus model, or nil.
    RuntimeObject* (*focused_control)() = nullptr;
    // The control's menu handlers, or null.
    MenuHandlerRegistry* (*control_menu_handlers)(RuntimeObject* control) = nullptr;
    // The control enables the menu items it serves itself (the edit field's edit items).
    void (*control_enable_menu_items)(RuntimeObject* control) = nullptr;
    // The control's own handling of a chosen item (DoMenuCommand); true when it handled it.
    bool (*control_menu_command)(RuntimeObject* control, RuntimeObject* item) = nullptr;

    // Visits every runtime window's Window object, top-level windows first, then MDI
    // children; stops when `visit` returns false. Returns false if it was stopped.
    bool (*for_each_window)(bool (*visit)(RuntimeObject* window, void* context), void* context) = nullptr;
    // Fires the window's CancelClose; true when the window refuses to close.
    bool (*window_cancel_close)(RuntimeObject* window) = nullptr;
    // The normal close of a runtime window (its controls' and its own Close events).
    void (*close_window)(RuntimeObject* window) = nullptr;
    // Closes every runtime window, most recently created first (no CancelClose).
    void (*close_all_windows)() = nullptr;
    // Number of runtime windows that exist.
    i32 (*window_count)() = nullptr;
    // Runs the pending deferred geometry and shows windows marked to be shown (one loop
    // iteration's step 2).
    void (*apply_pending_layout)() = nullptr;

    // The event loop's turns that belong to windows and controls. Native handles are HWNDs.
    // Delivers the queued drops.
    void (*deliver_drops)() = nullptr;
    // Whether a window or control holds the mouse capture (the loop then polls instead of
    // waiting), and the mouse tracking that runs after every fetched message.
    bool (*capture_active)() = nullptr;
    void (*track_mouse)() = nullptr;
    // The first visible window of the modal stack (an HWND), or null: clicks on any other
    // window are refused.
    void* (*first_visible_modal)() = nullptr;
    // Help tips of every runtime window on or off (Application.BalloonHelpVisible).
    void (*set_help_tips_visible)(bool on) = nullptr;
    // The focused control's idle upkeep (caret and the like).
    void (*focus_idle)() = nullptr;
    // A control shortcut (kinds 1 to 4) matched a key press: true when it acted.
    bool (*act_on_control_shortcut)(u32 target, u32 kind) = nullptr;
    // A key press no shortcut took, in the runtime window `runtime_window` (the message's
    // window or its ancestor): KeyDown to the focused control and the window, then focus
    // navigation and default and cancel buttons. True when the key was consumed.
    bool (*key_down)(void* message_window, void* runtime_window, u32 virtual_key, u32 modifiers, bool named) = nullptr;
};

// Where the layer above installs its services: a null entry keeps what is installed (at first
// the default), so that each layer installs its own entries.
Seam<WindowServices>& window_services_seam();
// The installed services; every entry is non-null (defaults fill the gaps).
inline const WindowServices& window_services() { return window_services_seam().get(); }

}  // namespace qv
