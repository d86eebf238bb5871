// The keyboard pre-translation every fetched message goes through: menu and control
// shortcuts, then KeyDown and focus navigation for keys no shortcut took.
#pragma once

#include "platform/win32/windows_api.h"

#include "core/types.h"

namespace qv {

// True when the message was consumed and must not be dispatched.
bool pretranslate_message(const MSG& message);

// The modifier mask of the keys held when the message being handled was sent (Ctrl 0x1000, Alt 0x800, Shift 0x200; with
// `windows_keys`, 0x100 for either Windows key).
u32 held_modifiers(bool windows_keys = false);

}  // namespace qv
