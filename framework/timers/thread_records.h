// Thread records: one per running Thread, on the active list while its operating-system thread
// runs, then kept on a free list for the next Run. The start routine that runs on the new
// thread lives here too.
#pragma once

#include <cstdint>

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

struct ThreadRecord {
    u32 thread_id;          // the operating system's identifier
    uintptr_t stack_limit;  // the bounds the stack checker recorded at the start
    uintptr_t stack_top;
    RuntimeObject* thread;  // the Thread, with the count the runtime holds while it runs
    i32 stack_size;
    ThreadRecord* next;
};

// A record from the free list (or a new one), on the active list, holding a count on `thread`.
ThreadRecord* begin_thread_record(RuntimeObject* thread, i32 stack_size);
// Undoes begin_thread_record when the thread could not be created.
void abandon_thread_record(ThreadRecord* record);

// The start routine CreateThread is given, with the record as its parameter.
unsigned long __stdcall thread_start_routine(void* record);

// Records on the active list: threads whose Run has not finished.
i32 running_thread_count();

}  // namespace qv
