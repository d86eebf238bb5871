// The keyboard shortcuts the event loop matches key presses against: entries of target, kind
// and shortcut text, most recently registered first, at most one per (target, kind).
// A menu item's target packs its native menu handle in the high 16 bits and its command
// identifier in the low 16; a control's is its native window handle. Kinds are listed in
// ShortcutKind; a tab panel's kind carries the tab index in its high 16 bits.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/types.h"

namespace qv {

enum ShortcutKind : u32 {
    kShortcutMenuItem = 0,
    kShortcutControl = 1,
    kShortcutTab = 2,
    kShortcutClickControl = 3,
    kShortcutLabel = 4,
};

struct ShortcutEntry {
    u32 target;
    u32 kind;
    std::string text;
};

class ShortcutRegistry {
public:
    // Replaces any entry for (target, kind); the new entry goes to the front.
    void Register(u32 target, u32 kind, std::string_view text);
    void Unregister(u32 target, u32 kind);

    // Offers `act` every entry whose text equals `text` ignoring case, front first, until it
    // returns true (the key press was acted on); returns whether one did. An action may
    // register and unregister shortcuts: the walk goes over the entries that matched when it
    // began, and skips one that is no longer registered with that text when its turn comes.
    bool Walk(std::string_view text, const std::function<bool(const ShortcutEntry&)>& act) const;

    const std::vector<ShortcutEntry>& entries() const { return m_entries; }

private:
    std::vector<ShortcutEntry>::const_iterator find(u32 target, u32 kind) const;

    std::vector<ShortcutEntry> m_entries;  // front = most recent
};

// The process's registry, which the event loop matches key presses against.
ShortcutRegistry& shortcut_registry();

}  // namespace qv
