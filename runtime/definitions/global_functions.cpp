// The global function table: a growable vector of record pointers.
#include "runtime/definitions/global_functions.h"

#include <cstring>

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/registry/entry_point_registry.h"

namespace qv {
namespace {

struct GlobalFunctionTable {
    const MethodRecord** items = nullptr;
    i32 count = 0;
    i32 capacity = 0;
};

GlobalFunctionTable& table()
{
    static GlobalFunctionTable s_table;
    return s_table;
}

void append(const MethodRecord* item)
{
    GlobalFunctionTable& t = table();
    if (t.count == t.capacity) {
        const i32 capacity = t.capacity ? 2 * t.capacity : 16;
        auto** grown = static_cast<const MethodRecord**>(GuardedNew(capacity * static_cast<i32>(sizeof(void*))));
        if (t.count)
            std::memcpy(grown, t.items, sizeof(void*) * static_cast<size_t>(t.count));
        GuardedDelete(t.items);
        t.items = grown;
        t.capacity = capacity;
    }
    t.items[t.count++] = item;
}

}  // namespace

void RegisterGlobalFunction(const MethodRecord* item)
{
    if (!item) {
        assertion_failed("intrinsicFunction", 30, "item");
        return;
    }
    append(item);
    if (item->exportName && item->routine)
        RegisterEntryPoint(item->exportName, item->routine);
    if (item->secondExportName && item->secondRoutine)
        RegisterEntryPoint(item->secondExportName, item->secondRoutine);
}

i32 global_function_count() { return table().count; }

const MethodRecord* global_function_at(i32 index)
{
    return index >= 0 && index < table().count ? table().items[index] : nullptr;
}

void register_global_functions_once(std::span<const MethodRecord> records, std::span<const int> order, Once& once)
{
    once([&] {
        for (int index : order)
            RegisterGlobalFunction(&records[static_cast<size_t>(index)]);
    });
}

}  // namespace qv
