#include "debugger/process_memory.h"

#include <gtest/gtest.h>

#include "debugger/command_execution.h"
#include "runtime/strings/runtime_string.h"
#include "tests/debugger/fake_target.h"

namespace qv::debugger {
namespace {

u32 address_of(const void* p) { return static_cast<u32>(reinterpret_cast<uintptr_t>(p)); }

// An address no 32-bit process maps: both systems keep the first 64 KB unmapped.
constexpr u32 kUnmapped = 0x00001000;
const char kReadOnlyText[] = "constant";

TEST(ProcessMemory, ReadsAndWritesOnlyWhereThePlatformAllows)
{
    ProcessMemory memory;
    u32 variable = 0x12345678;
    u32 value = 0;
    ASSERT_TRUE(memory.read(address_of(&variable), &value, 4));
    EXPECT_EQ(value, 0x12345678u);
    const u32 replacement = 0xCAFEF00D;
    ASSERT_TRUE(memory.write(address_of(&variable), &replacement, 4));
    EXPECT_EQ(variable, 0xCAFEF00Du);

    EXPECT_FALSE(memory.read(0, &value, 4));
    EXPECT_FALSE(memory.read(kUnmapped, &value, 4));
    EXPECT_FALSE(memory.read(0xFFFFFFFE, &value, 4));  // wraps
    EXPECT_FALSE(memory.write(kUnmapped, &replacement, 4));
    char text[sizeof kReadOnlyText];
    EXPECT_TRUE(memory.read(address_of(kReadOnlyText), text, sizeof text));
    EXPECT_FALSE(memory.write(address_of(kReadOnlyText), "x", 1));
    EXPECT_STREQ(kReadOnlyText, "constant");
}

TEST(ProcessMemory, StoresRuntimeStringsIntoAVariable)
{
    ProcessMemory memory;
    test::FakeHost host;
    DebuggerState state;
    RuntimeString* variable = allocate_string(3);
    std::memcpy(variable->buffer + 1, "old", 3);
    retain_string(variable);  // the test's own count, to see the store release one
    const std::string address = format_hex(address_of(&variable), 4);

    std::string replies;
    execute_command(*parse_command("DS " + address), state, memory, host, replies);
    EXPECT_EQ(replies, "VALS " + address + " 0000FFFF:6F6C64\r");

    RuntimeString* old = variable;
    execute_command(*parse_command("SS " + address + " 08000100:C3A9"), state, memory, host, replies);
    ASSERT_NE(variable, old);
    EXPECT_EQ(old->refCount, 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(string_bytes(variable)), string_length(variable)), "\xC3\xA9");
    EXPECT_EQ(variable->encoding, 0x08000100u);
    EXPECT_EQ(variable->refCount, 1);
    release_string(old);
    release_string(variable);
}

}  // namespace
}  // namespace qv::debugger
