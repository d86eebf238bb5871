// Allocation and release of string records on the runtime allocator.
#include "runtime/strings/runtime_string.h"

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/memory/runtime_locks.h"

namespace qv {
namespace {

i64 s_live_strings = 0;  // under the string lock

}  // namespace

RuntimeString* allocate_string_with_terminator(i32 n, i32 zero_bytes)
{
    if (n <= 0)
        return nullptr;
    const i64 capacity = i64{n} + 1 + zero_bytes;
    if (capacity > 0x7FFFFFFF)
        return nullptr;
    LockGuard guard(string_lock());
    auto* buffer = static_cast<u8*>(PoolAlloc(static_cast<i32>(capacity), MayFail::Yes));
    if (!buffer)
        return nullptr;
    auto* s = static_cast<RuntimeString*>(PoolAlloc(sizeof(RuntimeString), MayFail::No));
    s->refCount = 1;
    s->buffer = buffer;
    s->capacity = static_cast<u32>(capacity);
    s->length = n;
    s->encoding = kEncodingUnknown;
    ++s_live_strings;
    buffer[0] = static_cast<u8>(n > 255 ? 255 : n);
    for (i32 i = 0; i < zero_bytes; ++i)
        buffer[1 + n + i] = 0;
    return s;
}

RuntimeString* allocate_string(i32 n) { return allocate_string_with_terminator(n, 1); }

void release_string(RuntimeString* s)
{
    if (!s)
        return;
    LockGuard guard(string_lock());
    if (s->refCount <= 0) {
        // A count that is already gone means an unbalanced release; freeing again would
        // corrupt the pool, so the record is left alone.
        assertion_failed("string", 160, "refCount > 0", "string released more often than held");
        return;
    }
    if (--s->refCount == 0) {
        PoolFree(s->buffer, static_cast<i32>(s->capacity));
        PoolFree(s, sizeof(RuntimeString));
        --s_live_strings;
    }
}

i64 live_string_count()
{
    LockGuard guard(string_lock());
    return s_live_strings;
}

}  // namespace qv
