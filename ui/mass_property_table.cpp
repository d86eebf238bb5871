// Reading and applying mass property tables.
#include "ui/mass_property_table.h"

#include <bit>

#include "runtime/diagnostics/assertion.h"

namespace qv::ui {
namespace {

const char* const kSource = "massProperty";

// A forward-only view of the table that refuses to read past its end.
class TableCursor {
public:
    explicit TableCursor(std::span<const u8> table) : m_table(table) { }

    size_t offset() const { return m_offset; }
    bool at_end() const { return m_offset == m_table.size(); }
    bool has(u64 count) const { return count <= m_table.size() - m_offset; }

    // Big-endian unsigned value of `count` (at most 8) bytes; the caller checked has(count).
    u64 take(size_t count)
    {
        u64 value = 0;
        for (size_t i = 0; i < count; ++i)
            value = value << 8 | m_table[m_offset + i];
        m_offset += count;
        return value;
    }
    std::span<const u8> take_bytes(size_t count)
    {
        std::span<const u8> bytes = m_table.subspan(m_offset, count);
        m_offset += count;
        return bytes;
    }

private:
    std::span<const u8> m_table;
    size_t m_offset = 0;
};

// Bytes of the value before any string text; 0 for a letter without an encoding.
size_t fixed_size(char type)
{
    switch (type) {
    case 'b': return 1;
    case 'c': return 3;
    case 'i':
    case 'f':
    case 's': return 4;
    case 'd': return 8;
    default: return 0;
    }
}

void report_truncated() { assertion_failed(kSource, kMassLengthLine, "offset + size <= tableLength"); }

// Reads the value of a property of type `type`; false (after the report) when the table ends
// inside it.
bool read_value(TableCursor& cursor, char type, MassValue& value)
{
    const size_t size = fixed_size(type);
    if (!cursor.has(size)) {
        report_truncated();
        return false;
    }
    value.type = type;
    switch (type) {
    case 'b': value.integer = cursor.take(1) != 0; break;
    case 'c':
    case 'i': value.integer = static_cast<i32>(static_cast<u32>(cursor.take(size))); break;
    case 'f': value.single = std::bit_cast<float>(static_cast<u32>(cursor.take(4))); break;
    case 'd': value.real = std::bit_cast<double>(cursor.take(8)); break;
    case 's': {
        const u64 length = cursor.take(4);
        if (!cursor.has(length)) {
            report_truncated();
            return false;
        }
        value.text = cursor.take_bytes(static_cast<size_t>(length));
        break;
    }
    }
    return true;
}

}  // namespace

MassTableResult apply_mass_property_table(std::span<const u8> table, MassPropertyTarget& target)
{
    MassTableResult result;
    TableCursor cursor(table);
    const i32 count = target.property_count();
    for (;;) {
        result.offset = cursor.offset();
        if (cursor.at_end())
            return result;
        if (!cursor.has(2)) {
            report_truncated();
            result.end = MassTableEnd::Truncated;
            return result;
        }
        const i32 index = static_cast<i32>(cursor.take(2));
        if (index >= count) {
            assertion_failed(kSource, kMassIndexLine, "destIndex < propTableCount");
            result.end = MassTableEnd::BadIndex;
            return result;
        }
        const MassProperty property = target.property_at(index);
        if (!property.has_setter)
            assertion_failed(kSource, kMassSetterLine, "destProperty->setter", "Assignment to a read-only property.");
        if (fixed_size(property.type) == 0) {
            assertion_failed(kSource, kMassTypeLine, "0", "Illegal type in mass property input.");
            result.end = MassTableEnd::IllegalType;
            return result;
        }
        MassValue value;
        if (!read_value(cursor, property.type, value)) {
            result.end = MassTableEnd::Truncated;
            return result;
        }
        if (property.has_setter) {
            target.set(index, value);
            ++result.applied;
        } else {
            ++result.read_only;
        }
    }
}

}  // namespace qv::ui
