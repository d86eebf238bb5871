// Keys as the event loop names them: the character a key types (the Key of KeyDown events),
// the key's name in shortcut text, and the shortcut text of a key press.
#pragma once

#include <string>
#include <string_view>

#include "core/types.h"

namespace qv {

// Modifier mask bits as the runtime records them (gModifierState).
constexpr u32 kModifierCommand = 0x100;  // the Windows keys
constexpr u32 kModifierShift = 0x200;
constexpr u32 kModifierAlt = 0x800;
constexpr u32 kModifierCtrl = 0x1000;

// The keypad Enter key, renumbered from 13 by the pre-translation (it has the extended bit).
constexpr u32 kVirtualKeyKeypadEnter = 151;

struct KeyTranslationState {
    bool shift = false;  // the Shift flag the translation is asked for
    bool caps_lock = false;
    bool shift_held = false;  // the keys physically held now
    bool ctrl_held = false;
    bool alt_held = false;
};

// The keyboard layout's answer for a character, as the system's key scan gives it: the
// virtual key in the low byte, 0x100 Shift, 0x200 Ctrl, 0x400 Alt; -1 when no key types it.
using KeyScanFunction = i16 (*)(u8 character);

// The character code a virtual key types: function keys and the keypad, fixed codes for the
// navigation keys, then the first character 32..255 the layout types with this key, the Shift
// flag and (exactly when both are held) Ctrl+Alt; the key code itself when none does.
u32 translate_key(u32 virtual_key, const KeyTranslationState& state, KeyScanFunction key_scan);

// The key's name in shortcut text: the fixed names ("Bsp", "PgUp", ...), "F" and the character
// (virtual key - 63) for the function keys (so F10 is "F:", F11 "F;"), and otherwise the one
// character `typed` that the key types without Shift.
std::string key_name(u32 virtual_key, u32 typed);

// "Ctrl+", "Shift+", "Alt+" as the mask holds them, then the key name.
std::string key_press_shortcut_text(u32 modifiers, std::string_view name);

}  // namespace qv
