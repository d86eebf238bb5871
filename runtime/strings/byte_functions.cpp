#include "runtime/strings/byte_functions.h"

#include <cstring>
#include <new>
#include <vector>

#include "runtime/strings/byte_search.h"

namespace qv {

i32 in_str_b(i32 start, const StringRef& source, const StringRef& find)
{
    if (source.is_nil())
        return 0;
    if (find.is_nil())
        return start;
    if (start < 1)
        start = 1;
    if (start > source.length() || find.length() > source.length() - (start - 1))
        return 0;
    const i32 hit = find_bytes(source.bytes(), source.length(), find.bytes(), find.length(), start - 1);
    return hit < 0 ? 0 : hit + 1;
}

StringRef replace_b(const StringRef& source, const StringRef& find, const StringRef& replacement, ReplaceCount count)
{
    if (find.length() == 0 || source.length() == 0)
        return source;
    const u8* text = source.bytes();
    const i32 length = source.length();
    const i32 find_length = find.length();
    ByteSearcher searcher(find.bytes(), find_length);

    // Kept between calls: a text rewritten step by step would otherwise grow and free a large
    // vector at every step. Very large ones are not kept.
    static thread_local std::vector<i32> hits;
    hits.clear();
    struct Trim {
        ~Trim()
        {
            if (hits.capacity() > (1u << 20))
                std::vector<i32>().swap(hits);
        }
    } trim;
    // Exported routines report a failed allocation as nil: no C++ exception may leave them.
    try {
        for (i32 at = searcher.find(text, length, 0); at >= 0; at = searcher.find(text, length, at + find_length)) {
            hits.push_back(at);
            if (count == ReplaceCount::First)
                break;
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (hits.empty())
        return source;

    const i32 replacement_length = replacement.length();
    const i64 result_length = i64{length} + static_cast<i64>(hits.size()) * (i64{replacement_length} - find_length);
    if (result_length <= 0)
        return {};
    if (result_length > 0x7FFFFFF0)
        return {};  // cannot be held in one string; the caller sees nil like any failed allocation
    StringRef result = StringRef::adopt(allocate_string(static_cast<i32>(result_length)));
    if (result.is_nil())
        return result;
    u8* out = result.get()->buffer + 1;
    const u8* with = replacement.bytes();
    i32 copied_to = 0;
    // Short pieces are copied inline: with dense hits a library call per piece would cost
    // more than the bytes it moves.
    auto copy = [](u8* to, const u8* from, i32 n) {
        if (n <= 16) {
            for (i32 i = 0; i < n; ++i)
                to[i] = from[i];
        } else {
            std::memcpy(to, from, static_cast<size_t>(n));
        }
    };
    for (i32 at : hits) {
        copy(out, text + copied_to, at - copied_to);
        out += at - copied_to;
        copy(out, with, replacement_length);
        out += replacement_length;
        copied_to = at + find_length;
    }
    std::memcpy(out, text + copied_to, static_cast<size_t>(length - copied_to));
    result.set_encoding(source.encoding());
    return result;
}

StringRef chr_b(i32 value)
{
    const u8 byte = static_cast<u8>(value & 0xFF);
    StringRef s = StringRef::FromBytes(&byte, 1);
    s.set_encoding(value >= 0 && value <= 127 ? kEncodingASCII : kEncodingUnknown);
    return s;
}

StringRef dbcs_chr(i32 value)
{
    if (value <= 255)
        return chr_b(value);
    const u8 bytes[2] = {static_cast<u8>((value >> 8) & 0xFF), static_cast<u8>(value & 0xFF)};
    return StringRef::FromBytes(bytes, 2);  // encoding stays unknown
}

}  // namespace qv
