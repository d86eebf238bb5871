// Objects and classes: tables inherited from the base, initializers base first and
// finalizers derived first, counting, type tests, casts, interface tables, live-object list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/memory/pool_allocator.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_model.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/class_holder.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;

std::vector<std::string> g_calls;

TEST(ObjectFoundation, ClassTablesFollowTheHeaderAndCopyTheBase)
{
    ClassHolder holder;
    ClassRecord* base = holder.make(nullptr, "Base", 2, 1, 1, 0, 1);
    base->methodTable[1].routine = reinterpret_cast<void*>(0x1234);
    base->eventTable[0].routine = reinterpret_cast<void*>(0x5678);
    interface_table(base)[0].methodCount = 3;
    ClassRecord* derived = holder.make(base, "Derived", 3, 2, 1, 1, 2);
    auto* bytes = reinterpret_cast<u8*>(derived);
    EXPECT_EQ(reinterpret_cast<u8*>(derived->methodTable), bytes + 64 + 2 * 12);
    EXPECT_EQ(reinterpret_cast<u8*>(derived->eventTable), bytes + 64 + 24 + 3 * 8);
    EXPECT_EQ(reinterpret_cast<u8*>(derived->staticMethodTable), bytes + 64 + 24 + 24 + 8);
    EXPECT_EQ(reinterpret_cast<u8*>(derived->propertyTable), bytes + 64 + 24 + 24 + 8 + 8);
    EXPECT_EQ(derived->superclass, base);
    EXPECT_EQ(derived->methodTable[1].routine, reinterpret_cast<void*>(0x1234));
    EXPECT_EQ(derived->methodTable[2].routine, nullptr);
    EXPECT_EQ(derived->eventTable[0].routine, reinterpret_cast<void*>(0x5678));
    EXPECT_EQ(interface_table(derived)[0].methodCount, 3);
}

TEST(ObjectFoundation, SmallerCountThanTheBaseIsReportedAndCopiesOnlyWhatFits)
{
    ClassHolder holder;
    ClassRecord* base = holder.make(nullptr, "Base", 0, 0, 3);
    test::AssertionCapture capture;
    ClassRecord* derived = holder.make(base, "Derived", 0, 0, 1);
    ASSERT_EQ(capture.count(), 1u);
    EXPECT_NE(capture.reports()[0].find("out->eventCount >= base->eventCount"), std::string::npos);
    EXPECT_EQ(derived->eventCount, 1);
}

TEST(ObjectFoundation, InitializersBaseFirstFinalizersDerivedFirst)
{
    ClassHolder holder;
    ClassRecord* a = holder.make(nullptr, "A");
    ClassRecord* b = holder.make(a, "B");
    ClassRecord* c = holder.make(b, "C", 0, 0, 0, 0, 0, 40);
    a->initializer = [](RuntimeObject*) { g_calls.push_back("init A"); };
    b->initializer = [](RuntimeObject*) { g_calls.push_back("init B"); };
    c->initializer = [](RuntimeObject*) { g_calls.push_back("init C"); };
    a->finalizer = [](RuntimeObject*) { g_calls.push_back("final A"); };
    b->finalizer = [](RuntimeObject*) { g_calls.push_back("final B"); };
    c->finalizer = [](RuntimeObject*) { g_calls.push_back("final C"); };
    g_calls.clear();
    const i32 live_before = live_object_count();
    RuntimeObject* object = RuntimeNewObject(c);
    EXPECT_EQ(object->refCount, 1);
    EXPECT_EQ(object->classRecord, c);
    EXPECT_EQ(object->methods, c->methodTable);
    EXPECT_EQ(object->events, c->eventTable);
    EXPECT_EQ(reinterpret_cast<u32*>(object)[9], 0u);  // fields are zero-filled
    EXPECT_EQ(live_object_count(), live_before + 1);
    RuntimeLockObject(object);
    RuntimeUnlockObject(object);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"init A", "init B", "init C"}));
    RuntimeUnlockObject(object);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"init A", "init B", "init C", "final C", "final B", "final A"}));
    EXPECT_EQ(live_object_count(), live_before);
}

TEST(ObjectFoundation, CountingEdges)
{
    ClassHolder holder;
    RuntimeObject* x = RuntimeNewObject(holder.make(nullptr, "X"));
    RuntimeLockUnlockObjects(x, x);
    EXPECT_EQ(x->refCount, 1);
    RuntimeLockUnlockObjects(x, nullptr);
    EXPECT_EQ(x->refCount, 2);
    RuntimeLockUnlockObjects(nullptr, x);
    EXPECT_EQ(x->refCount, 1);
    RuntimeLockObject(nullptr);
    RuntimeUnlockObject(nullptr);
    RuntimeUnlockObject(x);
}

TEST(ObjectFoundation, TypeTestsAndCasts)
{
    ClassHolder holder;
    ClassRecord* shape = holder.make(nullptr, "Shape");
    ClassRecord* printable = holder.make(nullptr, "Printable");
    printable->isAnInterface = 1;
    ClassRecord* base = holder.make(shape, "Base", 0, 1);
    interface_table(base)[0] = {printable, 0, nullptr};
    ClassRecord* derived = holder.make(base, "Derived", 0, 1);
    ClassRecord* unrelated = holder.make(nullptr, "Unrelated");
    ClassHolder exceptions;
    ClassRecord* illegal_cast = exceptions.make(nullptr, "IllegalCastException", 0, 0, 0, 0, 0, 36);
    set_raise_slot(RaiseSlot::IllegalCast, illegal_cast);
    RuntimeObject* object = RuntimeNewObject(derived);

    EXPECT_FALSE(RuntimeObjectIsa(nullptr, shape));
    EXPECT_TRUE(RuntimeObjectIsa(object, nullptr));
    EXPECT_TRUE(RuntimeObjectIsa(object, derived));
    EXPECT_TRUE(RuntimeObjectIsa(object, shape));
    EXPECT_TRUE(RuntimeObjectIsa(object, printable));  // implemented by the base only
    EXPECT_FALSE(RuntimeObjectIsa(object, unrelated));

    RuntimeObject* same = RuntimeCheckCast(object, derived);
    EXPECT_EQ(same, object);
    EXPECT_EQ(object->refCount, 2);
    RuntimeUnlockObject(same);
    RuntimeUnlockObject(RuntimeCheckCast(object, printable));
    EXPECT_EQ(object->refCount, 1);

    static RuntimeObject* s_unhandled;
    s_unhandled = nullptr;
    ExceptionHook previous = set_unhandled_exception_hook([](RuntimeObject* e) {
        s_unhandled = e;
        RuntimeLockObject(e);
    });
    EXPECT_EQ(RuntimeCheckCast(object, unrelated), nullptr);
    set_unhandled_exception_hook(previous);
    ASSERT_NE(s_unhandled, nullptr);
    EXPECT_EQ(s_unhandled->classRecord, illegal_cast);
    EXPECT_EQ(object->refCount, 1);
    RuntimeUnlockObject(s_unhandled);
    RuntimeUnlockObject(object);
}

TEST(ObjectFoundation, InterfaceTableLookup)
{
    ClassHolder holder;
    ClassRecord* printable = holder.make(nullptr, "Printable");
    printable->isAnInterface = 1;
    ClassRecord* k = holder.make(nullptr, "K", 0, 1);
    MethodEntry* table = RuntimeNewVtable(2);
    interface_table(k)[0] = {printable, 2, table};
    RuntimeObject* object = RuntimeNewObject(k);
    EXPECT_EQ(RuntimeLookupInterfaceVtable(object, printable), table);
    RuntimeUnlockObject(object);
    GuardedDelete(table);
}

TEST(ObjectFoundation, DebugRoutinesWalkTheLiveList)
{
    ClassHolder holder;
    ClassRecord* k = holder.make(nullptr, "Visible");
    const i32 before = RuntimeDebugObjectCount(nullptr);
    RuntimeObject* first = RuntimeNewObject(k);
    RuntimeObject* second = RuntimeNewObject(k);
    EXPECT_EQ(RuntimeDebugObjectCount(nullptr), before + 2);
    EXPECT_EQ(RuntimeDebugObjectCount(second), before + 1);
    // Newest first, skipping the excluded object.
    EXPECT_EQ(RuntimeDebugObjectID(nullptr, 0), reinterpret_cast<u32>(second) ^ 0x15C7A3u);
    EXPECT_EQ(RuntimeDebugObjectID(second, 0), reinterpret_cast<u32>(first) ^ 0x15C7A3u);
    EXPECT_EQ(RuntimeDebugObjectID(nullptr, before + 2), 0u);
    RuntimeLockObject(first);
    EXPECT_EQ(RuntimeDebugObjectRefs(second, 0), 2);
    RuntimeString* name = RuntimeDebugObjectClass(nullptr, 1);
    EXPECT_EQ(test::text_of(name), "Visible");
    RuntimeUnlockString(name);
    RuntimeUnlockObject(first);
    RuntimeUnlockObject(first);
    RuntimeUnlockObject(second);
    EXPECT_EQ(RuntimeDebugObjectCount(nullptr), before);
    EXPECT_EQ(RuntimeDebugMemoryUsed(), static_cast<i32>(pool_bytes_in_use()));
}

}  // namespace
