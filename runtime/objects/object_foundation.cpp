// Classes and objects: creation, counting with initializers and finalizers, type tests and
// casts, interface tables, and the live-object list.
#include <cstring>

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/memory/runtime_locks.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/known_classes.h"
#include "runtime/objects/object_model.h"

namespace qv {
namespace {

constexpr const char* kSource = "RuntimeObjectFoundation";

struct LiveList {
    RuntimeObject* head = nullptr;
    i32 count = 0;
    ObjectFreedHook freed_hook = nullptr;
};

LiveList& live()
{
    static LiveList s_live;
    return s_live;
}

void add_live(RuntimeObject* object)
{
    if (!object) {
        assertion_failed(kSource, 120, "objToAdd");
        return;
    }
    object->prevLive = nullptr;
    object->nextLive = live().head;
    if (live().head)
        live().head->prevLive = object;
    live().head = object;
}

void remove_live(RuntimeObject* object)
{
    if (!object) {
        assertion_failed(kSource, 140, "objToRemove");
        return;
    }
    if (object->prevLive)
        object->prevLive->nextLive = object->nextLive;
    else if (live().head == object)
        live().head = object->nextLive;
    if (object->nextLive)
        object->nextLive->prevLive = object->prevLive;
    object->prevLive = object->nextLive = nullptr;
}

void run_initializers(ClassRecord* c, RuntimeObject* object)
{
    if (!c)
        return;
    run_initializers(c->superclass, object);  // root first
    if (c->initializer)
        c->initializer(object);
}

// Copies the base's entries to the start of a new table, never past its end.
template <typename T>
void copy_base_entries(T* to, i32 to_count, const T* from, i32 from_count, const char* condition)
{
    if (to_count < from_count)
        assertion_failed(kSource, 60, condition);
    const i32 n = to_count < from_count ? to_count : from_count;
    if (n > 0)
        std::memcpy(to, from, sizeof(T) * static_cast<size_t>(n));
}

RuntimeObject* nth_live(RuntimeObject* exclude, i32 n)
{
    if (n < 0)
        return nullptr;
    for (RuntimeObject* object = live().head; object; object = object->nextLive) {
        if (object == exclude)
            continue;
        if (n-- == 0)
            return object;
    }
    return nullptr;
}

}  // namespace

i32 live_object_count() { return live().count; }
RuntimeObject* live_object_head() { return live().head; }

bool is_live_object(const RuntimeObject* object)
{
    if (!object)
        return false;
    LockGuard guard(allocator_lock());
    // No further than the count: a link the debugger overwrote cannot make it loop.
    i32 left = live().count;
    for (const RuntimeObject* o = live().head; o && left > 0; o = o->nextLive, --left)
        if (o == object)
            return true;
    return false;
}

ObjectFreedHook set_object_freed_hook(ObjectFreedHook hook)
{
    ObjectFreedHook previous = live().freed_hook;
    live().freed_hook = hook;
    return previous;
}

bool object_is_a(const RuntimeObject* object, const ClassRecord* c)
{
    ClassRecord* own = object->classRecord;
    if (!own)
        return false;
    if (c->isAnInterface) {
        const InterfaceEntry* entries = interface_table(own);
        for (i32 i = 0; i < own->interfaceCount; ++i)
            if (entries[i].interfaceClass == c)
                return true;
        return false;
    }
    for (const ClassRecord* k = own; k; k = k->superclass)
        if (k == c)
            return true;
    return false;
}

}  // namespace qv

using namespace qv;

extern "C" {

ClassRecord* RuntimeNewClass(ClassRecord* base, int32_t m, int32_t i, int32_t e, int32_t s, int32_t p)
{
    m = m < 0 ? 0 : m;
    i = i < 0 ? 0 : i;
    e = e < 0 ? 0 : e;
    s = s < 0 ? 0 : s;
    p = p < 0 ? 0 : p;
    const i64 size = 64 + 12 * i64{i} + 8 * i64{m} + 8 * i64{e} + 8 * i64{s} + 16 * i64{p};
    if (size > 0x3FFFFFFF) {
        assertion_failed(kSource, 50, "class tables too large");
        return nullptr;
    }
    auto* c = static_cast<ClassRecord*>(GuardedNew(static_cast<i32>(size)));
    std::memset(c, 0, static_cast<size_t>(size));
    u8* table = reinterpret_cast<u8*>(c) + 64 + 12 * i;
    c->interfaceCount = i;
    c->methodCount = m;
    c->methodTable = reinterpret_cast<MethodEntry*>(table);
    table += 8 * m;
    c->eventCount = e;
    c->eventTable = reinterpret_cast<MethodEntry*>(table);
    table += 8 * e;
    c->staticMethodCount = s;
    c->staticMethodTable = reinterpret_cast<MethodEntry*>(table);
    table += 8 * s;
    c->propertyCount = p;
    c->propertyTable = reinterpret_cast<PropertyEntry*>(table);
    if (base) {
        copy_base_entries(c->methodTable, m, base->methodTable, base->methodCount,
                          "out->methodCount >= base->methodCount");
        copy_base_entries(interface_table(c), i, interface_table(base), base->interfaceCount,
                          "out->interfaceCount >= base->interfaceCount");
        copy_base_entries(c->eventTable, e, base->eventTable, base->eventCount, "out->eventCount >= base->eventCount");
        copy_base_entries(c->staticMethodTable, s, base->staticMethodTable, base->staticMethodCount,
                          "out->staticMethodCount >= base->staticMethodCount");
        copy_base_entries(c->propertyTable, p, base->propertyTable, base->propertyCount,
                          "out->propertyCount >= base->propertyCount");
    }
    c->superclass = base;
    c->reserved = 0;
    remember_class(c);
    return c;
}

MethodEntry* RuntimeNewVtable(int32_t count)
{
    return static_cast<MethodEntry*>(GuardedNew(8 * (count < 0 ? 0 : count)));
}

RuntimeObject* RuntimeNewObject(ClassRecord* c)
{
    if (!c) {
        RaiseNilObject();
        return nullptr;
    }
    if (c->isAnInterface)
        assertion_failed(kSource, 200, "!parent->isAnInterface");
    i32 size = c->instanceSize;
    if (size < static_cast<i32>(sizeof(RuntimeObject)))
        size = sizeof(RuntimeObject);  // the header is always there, whatever the class says
    auto* object = static_cast<RuntimeObject*>(GuardedNew(size));
    std::memset(object, 0, static_cast<size_t>(size));
    {
        // Image threads make and free objects of their own: the live list is shared between them.
        LockGuard guard(allocator_lock());
        ++live().count;
        add_live(object);
    }
    object->classRecord = c;
    object->methods = c->methodTable;
    object->events = c->eventTable;
    object->refCount = 1;
    run_initializers(c, object);
    return object;
}

void RuntimeLockObject(RuntimeObject* object)
{
    if (object && object->refCount > 0)
        ++object->refCount;
}

void RuntimeUnlockObject(RuntimeObject* object)
{
    if (!object || object->refCount <= 0)
        return;
    if (--object->refCount > 0)
        return;
    for (ClassRecord* c = object->classRecord; c; c = c->superclass)  // most derived first
        if (c->finalizer)
            c->finalizer(object);
    if (live().freed_hook)
        live().freed_hook(object);
    {
        LockGuard guard(allocator_lock());
        remove_live(object);
        --live().count;
    }
    GuardedDelete(object);
}

void RuntimeLockUnlockObjects(RuntimeObject* newValue, RuntimeObject* oldValue)
{
    if (newValue == oldValue)
        return;
    RuntimeLockObject(newValue);
    RuntimeUnlockObject(oldValue);
}

void QuavLockObject(RuntimeObject* object) { RuntimeLockObject(object); }
void QuavUnlockObject(RuntimeObject* object) { RuntimeUnlockObject(object); }

int32_t RuntimeObjectIsa(RuntimeObject* object, ClassRecord* c)
{
    if (!object)
        return 0;
    if (!c)
        return 1;
    return object_is_a(object, c) ? 1 : 0;
}

RuntimeObject* RuntimeCheckCast(RuntimeObject* object, ClassRecord* c)
{
    if (!object)
        return nullptr;
    if (!c || object_is_a(object, c)) {
        RuntimeLockObject(object);
        return object;
    }
    RaiseIllegalCast();
    return nullptr;
}

MethodEntry* RuntimeLookupInterfaceVtable(RuntimeObject* object, ClassRecord* interface_class)
{
    if (!object || !interface_class) {
        RaiseNilObject();
        return nullptr;
    }
    if (interface_class->isAnInterface && object->classRecord) {
        ClassRecord* own = object->classRecord;
        InterfaceEntry* entries = interface_table(own);
        for (i32 i = 0; i < own->interfaceCount; ++i)
            if (entries[i].interfaceClass == interface_class)
                return entries[i].methods;
    }
    RaiseIllegalCast();
    return nullptr;
}

void RuntimeNilObject(void) { RaiseNilObject(); }

int32_t RuntimeDebugObjectCount(RuntimeObject* exclude)
{
    i32 count = live().count;
    if (exclude) {
        for (RuntimeObject* object = live().head; object; object = object->nextLive) {
            if (object == exclude) {
                --count;
                break;
            }
        }
    }
    return count;
}

uint32_t RuntimeDebugObjectID(RuntimeObject* exclude, int32_t n)
{
    RuntimeObject* object = nth_live(exclude, n);
    return object ? static_cast<u32>(reinterpret_cast<uintptr_t>(object)) ^ 0x15C7A3u : 0;
}

RuntimeString* RuntimeDebugObjectClass(RuntimeObject* exclude, int32_t n)
{
    RuntimeObject* object = nth_live(exclude, n);
    if (!object)
        return nullptr;
    if (!object->classRecord) {
        assertion_failed("RuntimeDebug", 40, "defn");
        return nullptr;
    }
    if (!object->classRecord->name) {
        assertion_failed("RuntimeDebug", 41, "defn->name");
        return nullptr;
    }
    return StringRef::share(object->classRecord->name).leak();
}

int32_t RuntimeDebugObjectRefs(RuntimeObject* exclude, int32_t n)
{
    RuntimeObject* object = nth_live(exclude, n);
    return object ? object->refCount : 0;
}

int32_t RuntimeDebugMemoryUsed(void) { return static_cast<i32>(pool_bytes_in_use()); }

}  // extern "C"
