// The object and class layouts shared with image code, pinned to their byte offsets, and the
// runtime's internal view of the live-object list and the object hooks.
#pragma once

#include <cstddef>

#include "core/types.h"
#include "sdk/quaver.h"

static_assert(sizeof(RuntimeObject) == 28);
static_assert(offsetof(RuntimeObject, methods) == 4);
static_assert(offsetof(RuntimeObject, classRecord) == 8);
static_assert(offsetof(RuntimeObject, events) == 12);
static_assert(offsetof(RuntimeObject, refCount) == 16);
static_assert(offsetof(RuntimeObject, prevLive) == 20);
static_assert(offsetof(RuntimeObject, nextLive) == 24);

static_assert(sizeof(ClassRecord) == 64);
static_assert(offsetof(ClassRecord, superclass) == 0);
static_assert(offsetof(ClassRecord, name) == 4);
static_assert(offsetof(ClassRecord, instanceSize) == 12);
static_assert(offsetof(ClassRecord, isAnInterface) == 16);
static_assert(offsetof(ClassRecord, initializer) == 20);
static_assert(offsetof(ClassRecord, finalizer) == 24);
static_assert(offsetof(ClassRecord, methodCount) == 28);
static_assert(offsetof(ClassRecord, methodTable) == 32);
static_assert(offsetof(ClassRecord, eventCount) == 36);
static_assert(offsetof(ClassRecord, eventTable) == 40);
static_assert(offsetof(ClassRecord, staticMethodCount) == 44);
static_assert(offsetof(ClassRecord, staticMethodTable) == 48);
static_assert(offsetof(ClassRecord, propertyCount) == 52);
static_assert(offsetof(ClassRecord, propertyTable) == 56);
static_assert(offsetof(ClassRecord, interfaceCount) == 60);
static_assert(sizeof(MethodEntry) == 8);
static_assert(sizeof(PropertyEntry) == 16);
static_assert(sizeof(InterfaceEntry) == 12);

namespace qv {

inline InterfaceEntry* interface_table(ClassRecord* c)
{
    return reinterpret_cast<InterfaceEntry*>(reinterpret_cast<u8*>(c) + sizeof(ClassRecord));
}

// Number of live objects (made by RuntimeNewObject and not yet freed).
i32 live_object_count();
RuntimeObject* live_object_head();
// Whether the address is a live object: one walk of the list, for callers handed an address
// they cannot trust (the debugger).
bool is_live_object(const RuntimeObject* object);

// Called with every object about to be freed (the debugger support sets it).
using ObjectFreedHook = void (*)(RuntimeObject* object);
ObjectFreedHook set_object_freed_hook(ObjectFreedHook hook);

// Type test: the class, one of its superclasses, or an interface in its interface table.
bool object_is_a(const RuntimeObject* object, const ClassRecord* c);

}  // namespace qv
