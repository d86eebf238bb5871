#include "runtime/collections/string_map.h"

#include "runtime/strings/string_compare.h"

namespace qv {

u32 string_map_hash(const StringRef& key)
{
    u32 h = 0;
    const u8* bytes = key.bytes();
    for (i32 i = 0; i < key.length(); ++i) {
        u8 b = bytes[i];
        if (b >= 'a' && b <= 'z')
            b = static_cast<u8>(b - 'a' + 'A');
        h = h * 31 + static_cast<u32>(static_cast<i32>(static_cast<i8>(b)));
    }
    return h;
}

bool string_map_keys_equal(const StringRef& stored, const StringRef& key) { return stored.CompareNoCase(key) == 0; }

}  // namespace qv
