// Two-layer runtime allocator: pooled small blocks and guarded objects.
#include "runtime/memory/pool_allocator.h"

#include <cstdlib>
#include <cstring>

#include "platform/process.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/runtime_locks.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define QV_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define QV_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define QV_POISON(p, n) ((void)(p), (void)(n))
#define QV_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace qv {
namespace {

constexpr i32 kGranule = 4;
constexpr i32 kPooledGranules = 64;  // blocks of this many granules or more come from the heap
constexpr i32 kChunkSize = 8192;
// Heap blocks at least this large are kept for reuse when freed (one at a time): a text
// rewritten step by step allocates its new form and then frees the old one, and the C heap
// would otherwise hand back fresh, page-faulting memory from the system every time.
constexpr i32 kReusedHeapBlock = 64 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

struct Pool {
    FreeBlock* free_lists[kPooledGranules] = {};  // index 0 unused
    u8* chunks = nullptr;                         // every chunk, linked through its first word
    u8* chunk_next = nullptr;
    i32 chunk_left = 0;
    i64 bytes_in_use = 0;
    i32 fail_countdown = -1;
    void* spare_block = nullptr;  // the last large heap block freed (its header)
    ReleaseHook release_hook = nullptr;
};

Pool& pool()
{
    static Pool s_pool;
    return s_pool;
}

// Called with the allocator lock released: the release hook frees blocks, and the dialog may
// stay up while other threads go on allocating. The process ends whatever the user answers.
[[noreturn]] void out_of_memory()
{
    ReleaseHook hook;
    {
        LockGuard guard(allocator_lock());
        hook = pool().release_hook;
    }
    if (hook)
        hook();
    // The debug-output hook would get "This application has run out of memory and must quit
    // now." here; it prints nothing on these platforms.
    assertion_failed("utility", 842, "0", "This application has run out of memory and must quit now.");
    platform::exit_process(0);
}

bool injected_failure()
{
    Pool& p = pool();
    if (p.fail_countdown < 0)
        return false;
    if (p.fail_countdown == 0) {
        p.fail_countdown = -1;
        return true;
    }
    --p.fail_countdown;
    return false;
}

// Blocks of kReusedHeapBlock bytes or more carry their capacity in an 8-byte header and get
// an eighth more room than asked for, so that a text that grows a little at each step still
// fits the spare left by the step before.
struct LargeHeader {
    i32 capacity;
    i32 reserved;
};

void* heap_block(i32 size)
{
    if (size < kReusedHeapBlock)
        return std::malloc(static_cast<size_t>(size));
    Pool& p = pool();
    if (p.spare_block) {
        auto* header = static_cast<LargeHeader*>(p.spare_block);
        QV_UNPOISON(header, sizeof(LargeHeader));
        // The spare serves requests that fit and would not waste more than half of it.
        if (size <= header->capacity && size >= header->capacity / 2) {
            p.spare_block = nullptr;
            QV_UNPOISON(header + 1, header->capacity);
            return header + 1;
        }
        QV_POISON(header, sizeof(LargeHeader));
    }
    const i64 capacity = i64{size} + size / 8;
    auto* header = static_cast<LargeHeader*>(capacity + i64{sizeof(LargeHeader)} > 0x7FFFFFFF
                                                 ? nullptr
                                                 : std::malloc(static_cast<size_t>(capacity) + sizeof(LargeHeader)));
    if (!header)
        return nullptr;
    header->capacity = static_cast<i32>(capacity);
    header->reserved = 0;
    return header + 1;
}

void* pooled_block(i32 granules)
{
    Pool& p = pool();
    if (FreeBlock* block = p.free_lists[granules]) {
        QV_UNPOISON(block, granules * kGranule);
        p.free_lists[granules] = block->next;
        return block;
    }
    const i32 bytes = granules * kGranule;
    if (p.chunk_left < bytes) {
        // The rest of the old chunk is abandoned; pooled memory never goes back to the heap.
        u8* chunk = static_cast<u8*>(std::malloc(kChunkSize));
        if (!chunk)
            return nullptr;
        // Chunks stay linked so that the memory stays reachable (leak checkers see no leak,
        // since pooled memory is never given back by design).
        std::memcpy(chunk, &p.chunks, sizeof(u8*));
        p.chunks = chunk;
        QV_POISON(chunk + sizeof(u8*), kChunkSize - sizeof(u8*));
        p.chunk_next = chunk + sizeof(u8*);
        p.chunk_left = kChunkSize - static_cast<i32>(sizeof(u8*));
    }
    u8* block = p.chunk_next;
    p.chunk_next += bytes;
    p.chunk_left -= bytes;
    QV_UNPOISON(block, bytes);
    return block;
}

}  // namespace

i64 pool_bytes_in_use()
{
    LockGuard guard(allocator_lock());
    return pool().bytes_in_use;
}

void pool_fail_after(i32 count)
{
    LockGuard guard(allocator_lock());
    pool().fail_countdown = count;
}

void exit_out_of_memory() { out_of_memory(); }

void set_out_of_memory_release_hook(ReleaseHook hook)
{
    LockGuard guard(allocator_lock());
    pool().release_hook = hook;
}

void* PoolAlloc(i32 size, MayFail may_fail)
{
    if (size <= 0)
        return nullptr;
    const i32 granules = static_cast<i32>((static_cast<u32>(size) + 3) / 4);
    void* block = nullptr;
    {
        LockGuard guard(allocator_lock());
        if (!injected_failure()) {
            block = granules >= kPooledGranules ? heap_block(size) : pooled_block(granules);
            if (block)
                pool().bytes_in_use += size;
        }
    }
    if (!block && may_fail == MayFail::No)
        out_of_memory();
    return block;
}

void PoolFree(void* block, i32 size)
{
    if (!block || size <= 0)
        return;
    const i32 granules = static_cast<i32>((static_cast<u32>(size) + 3) / 4);
    LockGuard guard(allocator_lock());
    pool().bytes_in_use -= size;
    if (granules >= kPooledGranules) {
        Pool& p = pool();
        if (size < kReusedHeapBlock) {
            std::free(block);
            return;
        }
        auto* header = static_cast<LargeHeader*>(block) - 1;
        std::free(p.spare_block);
        p.spare_block = header;  // the base, so that the block stays reachable
        QV_POISON(header, header->capacity + static_cast<i32>(sizeof(LargeHeader)));
        return;
    }
    auto* free_block = static_cast<FreeBlock*>(block);
    free_block->next = pool().free_lists[granules];
    pool().free_lists[granules] = free_block;
    QV_POISON(block, granules * kGranule);
}

void* GuardedNew(i32 size)
{
    if (size < 0)
        size = 0;
    auto* raw = static_cast<u32*>(PoolAlloc(size + 8, MayFail::No));
    raw[0] = static_cast<u32>(size);
    raw[1] = qv::kGuardWord;
    return raw + 2;
}

void GuardedDelete(void* block)
{
    if (!block)
        return;
    u32* raw = static_cast<u32*>(block) - 2;
    if (raw[1] != qv::kGuardWord)
        qv::assertion_failed("dump", 99, "overwrote start of block");
    raw[1] = qv::kFreedGuardWord;
    PoolFree(raw, static_cast<i32>(raw[0]) + 8);
}

}  // namespace qv
