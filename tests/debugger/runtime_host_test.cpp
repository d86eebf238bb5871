// Property reads against the process itself: classes the runtime made answer through their
// getters, and no address the debugger names, nor a class record it has overwritten, can take
// the program down or keep it busy.
#include "debugger/runtime_host.h"

#include <gtest/gtest.h>

#include "debugger/command_execution.h"
#include "debugger/process_memory.h"
#include "runtime/strings/string_ref.h"
#include "tests/support/class_holder.h"

namespace qv::debugger {
namespace {

u32 address_of(const void* p) { return static_cast<u32>(reinterpret_cast<uintptr_t>(p)); }

// Both systems keep the first 64 KB of a 32-bit process unmapped.
constexpr u32 kUnmapped = 0x00001000;

int s_getter_calls = 0;

i32 left_getter(RuntimeObject*, i32 parameter)
{
    ++s_getter_calls;
    return parameter * 6;
}

// A class with one Integer property, Left, whose getter answers 42; an object of it.
class RuntimeHostProperties : public ::testing::Test {
protected:
    RuntimeHostProperties()
    {
        s_getter_calls = 0;
        window_class = classes.make(nullptr, "Window1", 0, 0, 0, 0, 1);
        window_class->propertyTable[0] = {left_name.get(), 7, reinterpret_cast<void*>(&left_getter), nullptr};
        object = RuntimeNewObject(window_class);
    }
    ~RuntimeHostProperties() override { RuntimeUnlockObject(object); }

    std::string send(const std::string& line)
    {
        std::string replies;
        execute_command(*parse_command(line), state, memory, host, replies);
        return replies;
    }
    std::string read_left(u32 address) { return send("DPVI " + format_hex(address, 4) + " Left"); }
    std::string no_value(u32 address) { return "VALPVI " + format_hex(address, 4) + " Left\r"; }

    ClassHolder classes;
    StringRef left_name = StringRef::FromCString("Left%i");
    ClassRecord* window_class = nullptr;
    RuntimeObject* object = nullptr;
    ProcessMemory memory;
    RuntimeHost host;
    DebuggerState state;
};

TEST_F(RuntimeHostProperties, ReadsThroughTheGettersOfClassesTheRuntimeMade)
{
    EXPECT_EQ(read_left(address_of(object)), "VALPVI " + format_hex(address_of(object), 4) + " Left 0000002A\r");
    // Found in the superclass, when the subclass's table holds another property in its place.
    ClassRecord* subclass = classes.make(window_class, "Window2", 0, 0, 0, 0, 1);
    StringRef top_name = StringRef::FromCString("Top%i");
    subclass->propertyTable[0].name = top_name.get();
    RuntimeObject* sub_object = RuntimeNewObject(subclass);
    EXPECT_EQ(read_left(address_of(sub_object)),
              "VALPVI " + format_hex(address_of(sub_object), 4) + " Left 0000002A\r");
    RuntimeUnlockObject(sub_object);
    EXPECT_EQ(s_getter_calls, 2);
}

TEST_F(RuntimeHostProperties, AClassRecordWithAWrongCountOrTableAnswersWithoutAValue)
{
    // As a debugger's memory writes can leave a class record.
    const struct {
        const char* what;
        i32 count;
        u32 table;
    } cases[] = {
        {"count whose table size wraps to nothing", 0x10000000, kUnmapped},
        {"count whose table size wraps to 750 KB", 0x4000B70C, kUnmapped},
        {"count no class has, over a readable table", 0x0FFFFFFF, address_of(window_class->propertyTable)},
        {"negative count", -1, address_of(window_class->propertyTable)},
        {"one entry, unmapped", 1, kUnmapped},
    };
    const i32 count = window_class->propertyCount;
    PropertyEntry* table = window_class->propertyTable;
    for (const auto& c : cases) {
        window_class->propertyCount = c.count;
        window_class->propertyTable = reinterpret_cast<PropertyEntry*>(static_cast<uintptr_t>(c.table));
        EXPECT_EQ(read_left(address_of(object)), no_value(address_of(object))) << c.what;
    }
    EXPECT_EQ(s_getter_calls, 0);

    // The program goes on, and the class answers again once it is whole.
    window_class->propertyCount = count;
    window_class->propertyTable = table;
    EXPECT_EQ(read_left(address_of(object)), "VALPVI " + format_hex(address_of(object), 4) + " Left 0000002A\r");
}

TEST_F(RuntimeHostProperties, ARecordTheRuntimeDidNotMakeIsNeitherWalkedNorCalled)
{
    // A live object whose class pointer was overwritten with a faithful copy of its class,
    // table and getter included, at another address.
    ClassRecord copy = *window_class;
    object->classRecord = &copy;
    EXPECT_EQ(read_left(address_of(object)), no_value(address_of(object)));

    // A real class above a copy is not reached either.
    copy.propertyCount = 0;
    copy.superclass = window_class;
    EXPECT_EQ(read_left(address_of(object)), no_value(address_of(object)));
    object->classRecord = window_class;

    // Words that name the real class but are no live object: a getter would read them as one.
    RuntimeObject header{};
    header.classRecord = window_class;
    EXPECT_EQ(read_left(address_of(&header)), no_value(address_of(&header)));
    EXPECT_EQ(s_getter_calls, 0);
}

TEST_F(RuntimeHostProperties, AStackSlotReadAsAnObjectAnswersWithoutAValue)
{
    // Stack words taken for an object whose class record is more stack: its count is whatever
    // the words hold, and its table the stack itself, which ends not far above.
    for (const u32 count : {0x10000000u, 0x4000B70Cu}) {
        u32 frame[16] = {};
        frame[offsetof(ClassRecord, propertyCount) / 4] = count;
        frame[offsetof(ClassRecord, propertyTable) / 4] = address_of(frame);
        u32 slots[8] = {};
        slots[offsetof(RuntimeObject, classRecord) / 4] = address_of(frame);
        const std::string address = format_hex(address_of(slots), 4);
        EXPECT_EQ(send("DPVB " + address + " x"), "VALPVB " + address + " x\r") << std::hex << count;
    }
}

}  // namespace
}  // namespace qv::debugger
