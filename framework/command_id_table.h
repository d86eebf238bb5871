// Command identifiers of menu items: 1024 slots, the item in slot i answering to 1000 + i.
#pragma once

#include <bitset>

#include "core/types.h"

namespace qv {

class CommandIdTable {
public:
    static constexpr u32 kSlotCount = 1024;
    static constexpr u32 kFirstId = 1000;

    // Takes the first free slot; 0 when all are taken (such an item is shown but no command
    // identifier reaches it).
    u32 Acquire();
    // Frees the slot of `id`; 0 and identifiers the table never gives out are ignored.
    void Release(u32 id);
    bool in_use(u32 id) const;

private:
    std::bitset<kSlotCount> m_used;
};

}  // namespace qv
