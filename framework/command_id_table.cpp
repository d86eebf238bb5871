#include "framework/command_id_table.h"

namespace qv {

u32 CommandIdTable::Acquire()
{
    for (u32 i = 0; i < kSlotCount; ++i) {
        if (!m_used[i]) {
            m_used[i] = true;
            return kFirstId + i;
        }
    }
    return 0;
}

void CommandIdTable::Release(u32 id)
{
    if (id >= kFirstId && id - kFirstId < kSlotCount)
        m_used[id - kFirstId] = false;
}

bool CommandIdTable::in_use(u32 id) const
{
    return id >= kFirstId && id - kFirstId < kSlotCount && m_used[id - kFirstId];
}

}  // namespace qv
