// How a lower layer calls up into a layer above without including it. The lower layer owns a
// Seam over a table of routines (a struct of function pointers, or one function pointer) with
// what a program without the layer above gets: nulls, or defaults. The layer above installs
// its routines when its classes are registered, before anything uses them: install() takes the
// slots the installer filled and keeps the others, so several layers can fill one table in any
// order. It returns the table as it was, which a test puts back with restore().
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <type_traits>

namespace qv {

template <typename Table>
class Seam {
    // Every slot is one pointer: the table is read and merged slot by slot.
    static_assert(std::is_trivially_copyable_v<Table> && sizeof(Table) % sizeof(std::uintptr_t) == 0,
                  "a seam's table holds function pointers only");
    using Slots = std::array<std::uintptr_t, sizeof(Table) / sizeof(std::uintptr_t)>;

public:
    constexpr Seam() = default;
    constexpr explicit Seam(const Table& defaults) : m_table(defaults) { }

    const Table& get() const { return m_table; }

    Table install(const Table& offered)
    {
        const Table previous = m_table;
        Slots current = std::bit_cast<Slots>(m_table);
        const Slots taken = std::bit_cast<Slots>(offered);
        for (std::size_t i = 0; i < current.size(); ++i)
            if (taken[i])
                current[i] = taken[i];
        m_table = std::bit_cast<Table>(current);
        return previous;
    }

    void restore(const Table& table) { m_table = table; }

private:
    Table m_table{};
};

}  // namespace qv
