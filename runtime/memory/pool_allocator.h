// The runtime allocator. Block layer: PoolAlloc/PoolFree serve blocks of up to 252 bytes from
// 63 free lists (one per 4-byte granule count) carved from 8192-byte chunks, larger blocks
// from the C heap; callers pass the size again when freeing. Object layer: GuardedNew and
// GuardedDelete put the size and a guard word in front of every other runtime structure.
#pragma once

#include "core/types.h"

namespace qv {

enum class MayFail { No, Yes };

// Null for size <= 0. A must-succeed request that cannot be met reports the failed assertion
// ("utility", 842, "0") and then ends the process with exit code 0, whatever the answer.
void* PoolAlloc(i32 size, MayFail may_fail);
void PoolFree(void* block, i32 size);

void* GuardedNew(i32 size);
void GuardedDelete(void* block);

inline constexpr u32 kGuardWord = 0xDEADBEEF;
inline constexpr u32 kFreedGuardWord = 0xDEADDEAD;

// Bytes requested through PoolAlloc and not yet freed (what RuntimeDebugMemoryUsed reports).
i64 pool_bytes_in_use();

// Test seam: the allocation after the next `count` ones fails (may-fail requests return null,
// must-succeed ones take the out-of-memory exit). A negative count disarms it.
void pool_fail_after(i32 count);

// The out-of-memory exit itself, for memory that ran out outside the allocator (a C++
// allocation on a system callback's path): the release hook, the report, exit code 0.
[[noreturn]] void exit_out_of_memory();

// Called before the out-of-memory exit so the graphics layer can let go of what it holds.
using ReleaseHook = void (*)();
void set_out_of_memory_release_hook(ReleaseHook hook);

}  // namespace qv
