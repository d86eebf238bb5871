// The addresses of objects or arrays whose freeing the debugger wants to hear of.
#pragma once

#include <string>
#include <vector>

#include "core/types.h"

namespace qv::debugger {

class WatchList {
public:
    // Watching an address already watched changes nothing, so one free gives one notice.
    void add(u32 address);
    // False when the address was not watched.
    bool remove(u32 address);
    bool contains(u32 address) const;
    size_t size() const { return m_addresses.size(); }

private:
    std::vector<u32> m_addresses;
};

// Called as an object is freed: a watched one leaves the list and its "ODN" line is
// appended to `out`.
void object_freed(WatchList& objects, u32 address, std::string& out);
// Called as an array is freed: "ADN" for a watched one, which stays watched until "AWLR".
void array_freed(const WatchList& arrays, u32 address, std::string& out);

}  // namespace qv::debugger
