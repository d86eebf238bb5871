// The mass property table: the bytes with which compiled code sets many properties of one
// object (a control or a window) in one call. Each entry is a 2-byte big-endian property index
// into the object's flattened property table, then the value, encoded after the property's
// declared type. The reader never trusts the table: every read is checked against what is left
// of it, and every index against the target's property count.
#pragma once

#include <cstddef>
#include <span>

#include "core/types.h"

namespace qv::ui {

// What the table says for one entry, read from the table's own bytes.
struct MassValue {
    char type = 0;             // the property's type letter: b, c, i, f, d or s
    i32 integer = 0;           // b (0 or 1), c (red * 65536 + green * 256 + blue), i
    float single = 0;          // f
    double real = 0;           // d
    std::span<const u8> text;  // s: the string's bytes, inside the table
};

// What the target knows of the property at an index.
struct MassProperty {
    char type = 0;  // the first letter after "%" in its declaration; 0 when there is none
    bool has_setter = false;
};

// The object the table is applied to: its flattened property table and its setters. The
// reader asks only for indexes below property_count(), and calls set() only for a property
// with a setter, with a value of the type property_at() gave.
class MassPropertyTarget {
public:
    virtual i32 property_count() const = 0;
    virtual MassProperty property_at(i32 index) const = 0;
    virtual void set(i32 index, const MassValue& value) = 0;

protected:
    ~MassPropertyTarget() = default;
};

// Why a table application ended.
enum class MassTableEnd {
    Complete,     // every entry was read
    BadIndex,     // an index at or past the property count: its value cannot be measured
    IllegalType,  // a type letter the table has no encoding for: likewise
    Truncated,    // an index or a value runs past the table's end
};

struct MassTableResult {
    MassTableEnd end = MassTableEnd::Complete;
    i32 applied = 0;    // setters called
    i32 read_only = 0;  // entries skipped because their property has no setter
    size_t offset = 0;  // the table's length when complete, else where the entry that ended it starts
};

// The stable identifiers of the reports below (source "massProperty").
inline constexpr i32 kMassIndexLine = 2131;
inline constexpr i32 kMassSetterLine = 2136;
inline constexpr i32 kMassTypeLine = 2174;
inline constexpr i32 kMassLengthLine = 2180;

// Applies the entries in table order. An entry for a property without a setter is reported
// ("destProperty->setter") and its value skipped; an index not below the property count
// ("destIndex < propTableCount"), an unknown type letter ("Illegal type in mass property
// input.") or an entry cut off by the table's end ("offset + size <= tableLength") is reported
// and ends the application, since the rest of the table can no longer be read reliably.
//
// Setters may be image code, which may raise; a raise returns here normally and the remaining
// entries are applied, so nothing here owns memory across a set().
MassTableResult apply_mass_property_table(std::span<const u8> table, MassPropertyTarget& target);

}  // namespace qv::ui
