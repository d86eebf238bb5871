// The built-in thread classes: Thread (an operating-system thread firing its Run event),
// Semaphore and CriticalSection (thin wrappers over the Win32 objects).
#pragma once

#include <cstddef>
#include <span>

#include "core/types.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"
#include "sdk/quaver.h"  // declares the routines listed here

namespace qv {

struct ThreadRecord;

struct ThreadObject {
    RuntimeObject header;
    ThreadRecord* record;  // set while the thread runs
    i32 stack_size;        // bytes; 0 or less: the default
    u32 reserved;
};
static_assert(offsetof(ThreadObject, record) == 28);
static_assert(offsetof(ThreadObject, stack_size) == 32);
static_assert(sizeof(ThreadObject) == 40);

// Thread's only event.
inline constexpr i32 kThreadRun = 0;

enum class ThreadClass : i32 { Thread, Semaphore, CriticalSection };

void register_thread_classes();
ObjectDefinition* thread_definition(ThreadClass which);
// The classes' tables, which name their exported routines.
ClassTableList thread_class_tables();

}  // namespace qv
