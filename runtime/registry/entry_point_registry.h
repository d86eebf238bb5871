// EntryPointRegistry: the exported routines by name, which the loader binds imports through.
// A fixed table of static entries (its indices are part of the image format), then entries
// appended at run time, and a case-insensitive name index over both. The PascalCase members
// are the registry's operations that other components call by name; snake_case ones are helpers.
#pragma once

#include <span>
#include <string_view>

#include "core/types.h"
#include "runtime/collections/string_map.h"
#include "runtime/strings/string_ref.h"

namespace qv {

// A routine under its export name. `code` is null for a static name the runtime does not
// provide: the entry keeps its index but is never bound.
struct EntryPoint {
    const char* name;
    void* code;
};

inline constexpr i32 kStaticEntryPointCount = 1491;

// The comparison the loader's binding uses: the bytes match after upper-casing through the
// runtime's byte table (a-z, and the Mac OS Roman letters).
bool export_names_equal(std::string_view a, std::string_view b);

class EntryPointRegistry {
public:
    // `static_entries` must outlive the registry. Appended capacity grows by `growth_increment`
    // entries, or doubles when it is 0, and is never below 16.
    explicit EntryPointRegistry(std::span<const EntryPoint> static_entries, i32 growth_increment = 0);
    ~EntryPointRegistry();
    EntryPointRegistry(const EntryPointRegistry&) = delete;
    EntryPointRegistry& operator=(const EntryPointRegistry&) = delete;

    // Nothing for a null routine. A name already indexed must come with the routine it has
    // (else an assertion, and the first stays); otherwise the entry is appended and indexed.
    // The name is kept, not copied: pass text that lives as long as the registry.
    void RegisterEntryPoint(const char* name, void* routine);

    i32 EntryPointCount() const { return static_cast<i32>(m_static.size()) + m_appended_count; }
    // Static entries first, then appended ones; null outside 0..count-1.
    const EntryPoint* EntryPointAt(i32 index) const;

    // The first entry, in EntryPointAt order, whose name matches ignoring case, or null when
    // there is none or that entry has no routine (a later entry of the same name never
    // shadows it). Served from the name index.
    const EntryPoint* FindEntryPoint(const StringRef& name);
    const EntryPoint* FindEntryPoint(std::string_view name);

    // The same answer by walking every entry: the reference the index must agree with.
    const EntryPoint* find_by_scan(std::string_view name) const;

    i32 appended_capacity() const { return m_appended_capacity; }

private:
    // The first entry of the name, routine or not.
    const EntryPoint* first_match(const StringRef& name);
    const EntryPoint* first_match(std::string_view name);
    void build_index();
    void index_entry(const EntryPoint* entry);
    void grow_appended();

    std::span<const EntryPoint> m_static;
    EntryPoint** m_appended = nullptr;
    i32 m_appended_count = 0;
    i32 m_appended_capacity = 0;
    i32 m_growth_increment;
    bool m_index_built = false;
    StringMap<const EntryPoint*> m_index;
};

// The process's registry: the 1491 static entries with the runtime's routines bound, and the
// runtime's routines that the static table lacks appended. Created on first use.
EntryPointRegistry& entry_point_registry();

// Shorthands for the process's registry.
void RegisterEntryPoint(const char* name, void* routine);
i32 EntryPointCount();
const EntryPoint* EntryPointAt(i32 index);
const EntryPoint* FindEntryPoint(const StringRef& name);
const EntryPoint* FindEntryPoint(std::string_view name);

// The static table (names in table order, routines bound), and the provided routines whose
// names it lacks, in list order.
std::span<const EntryPoint> static_entry_points();
struct ProvidedRoutine;
std::span<const ProvidedRoutine* const> provided_routines_outside_static_table();

}  // namespace qv
