// EntryPointRegistry: appending, the name index, and lookup by index or by scan.
#include "runtime/registry/entry_point_registry.h"

#include <cstring>

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/registry/provided_routines.h"
#include "runtime/strings/string_compare.h"

namespace qv {
namespace {

constexpr const char* kSource = "relocentry";
constexpr i32 kMinimumCapacity = 16;

std::string_view view_of(const StringRef& s)
{
    return {reinterpret_cast<const char*>(s.bytes()), static_cast<size_t>(s.length())};
}

// upper_case_byte as a local table: lookups fold every byte of a name twice (hash, compare).
struct UpperTable {
    u8 bytes[256];
    UpperTable()
    {
        for (int i = 0; i < 256; ++i)
            bytes[i] = upper_case_byte(static_cast<u8>(i));
    }
};

const u8* upper_table()
{
    static const UpperTable s_table;
    return s_table.bytes;
}

bool equal_folded(const u8* a, const u8* b, size_t n)
{
    const u8* upper = upper_table();
    for (size_t i = 0; i < n; ++i)
        if (upper[a[i]] != upper[b[i]])
            return false;
    return true;
}

// The map's usual hash folds only a-z; this one folds through the same table as the
// comparison, so names that compare equal always land in the same bucket. For ASCII names
// the two give the same value.
u32 export_name_hash(const StringRef& key)
{
    const u8* upper = upper_table();
    const u8* bytes = key.bytes();
    u32 h = 0;
    for (i32 i = 0; i < key.length(); ++i)
        h = h * 31 + static_cast<u32>(static_cast<i32>(static_cast<i8>(upper[bytes[i]])));
    return h;
}

bool export_name_keys_equal(const StringRef& stored, const StringRef& key)
{
    return export_names_equal(view_of(stored), view_of(key));
}

// Runs `find` with a RuntimeString that borrows `name`, built on the stack when it is short
// enough, so that a lookup allocates nothing.
template <typename Find>
const EntryPoint* with_borrowed_string(std::string_view name, Find find)
{
    constexpr size_t kInline = 256;
    if (name.size() > kInline)
        return find(StringRef::FromBytes(name.data(), static_cast<i32>(name.size())));
    u8 buffer[kInline + 2];
    buffer[0] = static_cast<u8>(name.size() > 255 ? 255 : name.size());
    if (!name.empty())
        std::memcpy(buffer + 1, name.data(), name.size());
    buffer[name.size() + 1] = 0;
    RuntimeString record{1, buffer, static_cast<u32>(name.size() + 2), static_cast<i32>(name.size()), kEncodingUnknown};
    StringRef key = StringRef::adopt(name.empty() ? nullptr : &record);
    const EntryPoint* found = find(key);
    (void)key.leak();  // the record is not the map's to release
    return found;
}

}  // namespace

bool export_names_equal(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
        equal_folded(reinterpret_cast<const u8*>(a.data()), reinterpret_cast<const u8*>(b.data()), a.size());
}

EntryPointRegistry::EntryPointRegistry(std::span<const EntryPoint> static_entries, i32 growth_increment)
    : m_static(static_entries),
      m_growth_increment(growth_increment < 0 ? 0 : growth_increment),
      m_index(256, {nullptr, &export_name_hash, &export_name_keys_equal})
{
}

EntryPointRegistry::~EntryPointRegistry()
{
    for (i32 i = 0; i < m_appended_count; ++i)
        PoolFree(m_appended[i], sizeof(EntryPoint));
    if (m_appended)
        GuardedDelete(m_appended);
}

const EntryPoint* EntryPointRegistry::EntryPointAt(i32 index) const
{
    const i32 static_count = static_cast<i32>(m_static.size());
    if (index < 0)
        return nullptr;
    if (index < static_count)
        return &m_static[static_cast<size_t>(index)];
    if (index - static_count < m_appended_count)
        return m_appended[index - static_count];
    return nullptr;
}

// Only the first entry of each name goes in, so the index answers exactly what a walk from
// entry 0 would find first.
void EntryPointRegistry::index_entry(const EntryPoint* entry)
{
    if (!entry->name)
        return;
    StringRef key = StringRef::FromCString(entry->name);
    if (!m_index.Find(key, nullptr))
        m_index.Insert(key, entry);
}

void EntryPointRegistry::build_index()
{
    if (m_index_built)
        return;
    m_index_built = true;
    for (const EntryPoint& entry : m_static)
        index_entry(&entry);
    for (i32 i = 0; i < m_appended_count; ++i)
        index_entry(m_appended[i]);
}

void EntryPointRegistry::grow_appended()
{
    i32 capacity = m_growth_increment ? m_appended_capacity + m_growth_increment : 2 * m_appended_capacity;
    if (capacity < kMinimumCapacity)
        capacity = kMinimumCapacity;
    auto** grown = static_cast<EntryPoint**>(GuardedNew(capacity * static_cast<i32>(sizeof(EntryPoint*))));
    if (m_appended_count)
        std::memcpy(grown, m_appended, sizeof(EntryPoint*) * static_cast<size_t>(m_appended_count));
    if (m_appended)
        GuardedDelete(m_appended);
    m_appended = grown;
    m_appended_capacity = capacity;
}

void EntryPointRegistry::RegisterEntryPoint(const char* name, void* routine)
{
    if (!routine)
        return;
    if (name) {
        if (const EntryPoint* old_entry = first_match(name)) {
            if (routine != old_entry->code)
                assertion_failed(kSource, 2240, "functionPtr == oldEntry->code");
            return;
        }
    }
    auto* entry = static_cast<EntryPoint*>(PoolAlloc(sizeof(EntryPoint), MayFail::Yes));
    if (!entry) {
        assertion_failed(kSource, 2251, "newEntry");
        return;
    }
    *entry = {name, routine};
    if (m_appended_count == m_appended_capacity)
        grow_appended();
    m_appended[m_appended_count++] = entry;
    index_entry(entry);
}

const EntryPoint* EntryPointRegistry::first_match(const StringRef& name)
{
    build_index();
    const EntryPoint* entry = nullptr;
    return m_index.Find(name, &entry) ? entry : nullptr;
}

const EntryPoint* EntryPointRegistry::first_match(std::string_view name)
{
    return with_borrowed_string(name, [this](const StringRef& key) { return first_match(key); });
}

const EntryPoint* EntryPointRegistry::FindEntryPoint(const StringRef& name)
{
    const EntryPoint* entry = first_match(name);
    return entry && entry->code ? entry : nullptr;
}

const EntryPoint* EntryPointRegistry::FindEntryPoint(std::string_view name)
{
    const EntryPoint* entry = first_match(name);
    return entry && entry->code ? entry : nullptr;
}

const EntryPoint* EntryPointRegistry::find_by_scan(std::string_view name) const
{
    const i32 count = EntryPointCount();
    for (i32 i = 0; i < count; ++i) {
        const EntryPoint* entry = EntryPointAt(i);
        if (entry->name && export_names_equal(entry->name, name))
            return entry->code ? entry : nullptr;
    }
    return nullptr;
}

EntryPointRegistry& entry_point_registry()
{
    static EntryPointRegistry& s_registry = [](void) -> EntryPointRegistry& {
        // Never destroyed: routines may be looked up while the process winds down.
        auto* registry = new EntryPointRegistry(static_entry_points());
        for (const ProvidedRoutine* routine : provided_routines_outside_static_table())
            registry->RegisterEntryPoint(routine->name, routine->routine);
        return *registry;
    }();
    return s_registry;
}

void RegisterEntryPoint(const char* name, void* routine) { entry_point_registry().RegisterEntryPoint(name, routine); }
i32 EntryPointCount() { return entry_point_registry().EntryPointCount(); }
const EntryPoint* EntryPointAt(i32 index) { return entry_point_registry().EntryPointAt(index); }
const EntryPoint* FindEntryPoint(const StringRef& name) { return entry_point_registry().FindEntryPoint(name); }
const EntryPoint* FindEntryPoint(std::string_view name) { return entry_point_registry().FindEntryPoint(name); }

}  // namespace qv
