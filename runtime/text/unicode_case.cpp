#include "runtime/text/unicode_case.h"

#include <array>

namespace qv {
namespace {

constexpr CasePair kPairs[] = {
#include "runtime/text/unicode_case_table.inc"
};

// Direct 64K-entry maps, built once: a lookup per character must not search the table.
// Rows are entered from the last to the first, so where two rows share a value the first
// row wins.
struct CaseMaps {
    std::array<u16, 0x10000> to_upper;
    std::array<u16, 0x10000> to_lower;
    CaseMaps()
    {
        for (u32 i = 0; i < 0x10000; ++i)
            to_upper[i] = to_lower[i] = static_cast<u16>(i);
        for (size_t row = std::size(kPairs); row-- > 0;) {
            to_upper[kPairs[row].lower] = kPairs[row].upper;
            to_lower[kPairs[row].upper] = kPairs[row].lower;
        }
    }
};

const CaseMaps& maps()
{
    static const CaseMaps* s_maps = new CaseMaps;
    return *s_maps;
}

}  // namespace

std::span<const CasePair> unicode_case_pairs() { return kPairs; }

u32 unicode_to_upper(u32 code_point)
{
    const u16 mapped = maps().to_upper[code_point & 0xFFFF];
    return mapped == (code_point & 0xFFFF) ? code_point : mapped;
}

u32 unicode_to_lower(u32 code_point)
{
    const u16 mapped = maps().to_lower[code_point & 0xFFFF];
    return mapped == (code_point & 0xFFFF) ? code_point : mapped;
}

}  // namespace qv
