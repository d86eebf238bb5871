#include "runtime/resources/resource_manager.h"

#include "runtime/diagnostics/assertion.h"

namespace qv {

void WindowsResourceManager::Add(u32 type, u16 id, const u8* data, u32 length, u32 file_position)
{
    m_entries.push_back({type, id, data, length, file_position});
}

ResourceEntry WindowsResourceManager::GetAt(i32 index) const
{
    if (index < 0 || index >= GetCount()) {
        assertion_failed("WindowsResourceManager", 60, "index < GetCount()");
        return {};
    }
    return m_entries[static_cast<size_t>(index)];
}

ResourceEntry WindowsResourceManager::Find(u32 type, i32 id) const
{
    // The segment holds a handful of records: a scan in record order is what "first match"
    // means, and costs nothing.
    const u16 wanted = static_cast<u16>(id);
    for (const ResourceEntry& entry : m_entries)
        if (entry.type == type && static_cast<u16>(entry.id) == wanted)
            return entry;
    return {};
}

WindowsResourceManager& image_resources()
{
    static auto* s_index = new WindowsResourceManager;
    return *s_index;
}

}  // namespace qv
