// The static export table: 1491 names in table order, each bound to the runtime's routine of
// that name when it provides one.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "runtime/registry/entry_point_registry.h"
#include "runtime/registry/provided_routines.h"

namespace qv {
namespace {

constexpr const char* kStaticNames[] = {
#include "runtime/registry/export_names.inc"
};
static_assert(std::size(kStaticNames) == kStaticEntryPointCount);

bool name_less(const ProvidedRoutine* a, const ProvidedRoutine* b) { return std::strcmp(a->name, b->name) < 0; }

// Binding matches exact names: both sides are C identifiers, and a name listed twice in the
// table gets the same routine at both places.
struct StaticTable {
    EntryPoint entries[kStaticEntryPointCount];
    std::vector<const ProvidedRoutine*> outside;

    StaticTable()
    {
        const std::vector<std::span<const ProvidedRoutine>> lists = all_provided_routines();
        std::vector<const ProvidedRoutine*> sorted;
        for (std::span<const ProvidedRoutine> list : lists)
            for (const ProvidedRoutine& routine : list)
                sorted.push_back(&routine);
        std::sort(sorted.begin(), sorted.end(), name_less);
        std::vector<bool> bound(sorted.size(), false);
        for (i32 i = 0; i < kStaticEntryPointCount; ++i) {
            const ProvidedRoutine key{kStaticNames[i], nullptr};
            auto it = std::lower_bound(sorted.begin(), sorted.end(), &key, name_less);
            const bool found = it != sorted.end() && std::strcmp((*it)->name, key.name) == 0;
            entries[i] = {kStaticNames[i], found ? (*it)->routine : nullptr};
            if (found)
                bound[static_cast<size_t>(it - sorted.begin())] = true;
        }
        for (std::span<const ProvidedRoutine> list : lists) {
            for (const ProvidedRoutine& routine : list) {
                auto it = std::lower_bound(sorted.begin(), sorted.end(), &routine, name_less);
                if (!bound[static_cast<size_t>(it - sorted.begin())])
                    outside.push_back(&routine);
            }
        }
    }
};

const StaticTable& static_table()
{
    static const StaticTable s_table;
    return s_table;
}

}  // namespace

std::span<const EntryPoint> static_entry_points() { return static_table().entries; }

std::span<const ProvidedRoutine* const> provided_routines_outside_static_table() { return static_table().outside; }

}  // namespace qv
