#include "debugger/watch_list.h"

#include <algorithm>

#include "debugger/hex_values.h"
#include "debugger/wire_lines.h"

namespace qv::debugger {

void WatchList::add(u32 address)
{
    if (!contains(address))
        m_addresses.push_back(address);
}

bool WatchList::remove(u32 address)
{
    const auto found = std::find(m_addresses.begin(), m_addresses.end(), address);
    if (found == m_addresses.end())
        return false;
    m_addresses.erase(found);
    return true;
}

bool WatchList::contains(u32 address) const
{
    return std::find(m_addresses.begin(), m_addresses.end(), address) != m_addresses.end();
}

void object_freed(WatchList& objects, u32 address, std::string& out)
{
    if (objects.remove(address))
        append_line(out, "ODN", format_hex(address, 4));
}

void array_freed(const WatchList& arrays, u32 address, std::string& out)
{
    if (arrays.contains(address))
        append_line(out, "ADN", format_hex(address, 4));
}

}  // namespace qv::debugger
