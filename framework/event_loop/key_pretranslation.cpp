#include "framework/event_loop/key_pretranslation.h"

#include <string>

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/event_loop/event_loop.h"
#include "framework/event_loop/runtime_windows.h"
#include "framework/key_names.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/shortcut_registry.h"
#include "framework/window_services.h"

namespace qv {
namespace {

using platform::win32::key_held_at_message;

i16 key_scan(u8 character) { return VkKeyScanA(static_cast<CHAR>(character)); }

// Shift, Ctrl, Alt and the lock keys alone name no key: they are offered no KeyDown.
bool is_pure_modifier(u32 virtual_key)
{
    return (virtual_key >= 16 && virtual_key <= 20) || (virtual_key >= 91 && virtual_key <= 93) || virtual_key == 144 ||
        virtual_key == 145;
}

std::string shortcut_text_of(u32 virtual_key, u32 modifiers)
{
    KeyTranslationState state;
    state.caps_lock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    state.shift_held = (modifiers & kModifierShift) != 0;
    state.ctrl_held = (modifiers & kModifierCtrl) != 0;
    state.alt_held = (modifiers & kModifierAlt) != 0;
    const u32 typed = translate_key(virtual_key, state, &key_scan);
    return key_press_shortcut_text(modifiers, key_name(virtual_key, typed));
}

struct ShortcutContext {
    bool modal_front;
};

// Shortcut actions run image code: an exception in it stops here, where it counts as an
// action that took place, rather than unwinding through the registry walk.
bool act_on_shortcut(const ShortcutEntry& entry, const ShortcutContext& context)
{
    struct Action {
        u32 target, kind;
        bool modal_front, acted;
    } action{entry.target, entry.kind, context.modal_front, true};
    const bool completed = run_guarded([&action] {
        action.acted = action.kind == kShortcutMenuItem
            ? act_on_menu_shortcut(action.target, action.modal_front)
            : window_services().act_on_control_shortcut(action.target, action.kind);
    });
    return !completed || action.acted;
}

}  // namespace

u32 held_modifiers(bool windows_keys)
{
    u32 mask = 0;
    if (key_held_at_message(VK_CONTROL))
        mask |= kModifierCtrl;
    if (key_held_at_message(VK_MENU))
        mask |= kModifierAlt;
    if (key_held_at_message(VK_SHIFT))
        mask |= kModifierShift;
    if (windows_keys && (key_held_at_message(VK_LWIN) || key_held_at_message(VK_RWIN)))
        mask |= kModifierCommand;
    return mask;
}

bool pretranslate_message(const MSG& message)
{
    record_current_message(message.hwnd, message.message, message.wParam, message.lParam);
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    const u32 virtual_key = static_cast<u32>(message.wParam);
    if (virtual_key == 255)
        return false;
    const u32 modifiers = held_modifiers();
    gModifierState = modifiers;
    // Keypad Enter is Enter with the extended-key bit; the focus rules tell the two apart.
    const bool keypad_enter = virtual_key == VK_RETURN && (message.lParam & 0x1000000) != 0;
    const std::string text = shortcut_text_of(virtual_key, modifiers);
    if (modifiers & kModifierAlt)
        SendMessageW(message.hwnd, WM_CHANGEUISTATE, 0x20002, 0);  // show the keyboard underlines

    HWND runtime_window = runtime_window_containing(message.hwnd);
    const ShortcutContext context{window_services().front_window_is_modal()};
    if (shortcut_registry().Walk(text,
                                 [&context](const ShortcutEntry& entry) { return act_on_shortcut(entry, context); }))
        return true;
    if (!runtime_window)
        return false;
    return window_services().key_down(message.hwnd, runtime_window, keypad_enter ? kVirtualKeyKeypadEnter : virtual_key,
                                      modifiers, !is_pure_modifier(virtual_key));
}

}  // namespace qv
