// Executable memory: code written into a fresh region runs once the region is switched to
// read+execute, the switch takes write access away, and failures come back as values.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/exec_memory.h"
#include "platform/memory_probe.h"

namespace {

using platform::ExecRegion;

TEST(ExecMemory, WrittenCodeRunsAfterTheSwitchAndTheRegionIsNoLongerWritable)
{
    ExecRegion region;
    ASSERT_TRUE(platform::allocate_writable_region(100, region).ok());
    ASSERT_NE(region.base, nullptr);
    EXPECT_EQ(region.size, 100u);
    EXPECT_EQ(region.base[99], 0) << "fresh regions are zero-filled";
    EXPECT_TRUE(platform::is_writable(region.base, 1));

    const unsigned char code[] = {0x8B, 0x44, 0x24, 0x04,  // mov eax, [esp+4]
                                  0x83, 0xC0, 0x2A,        // add eax, 42
                                  0xC3};                   // ret
    std::memcpy(region.base, code, sizeof code);
    ASSERT_TRUE(platform::make_executable(region).ok());
    EXPECT_FALSE(platform::is_writable(region.base, 1));
    EXPECT_TRUE(platform::is_readable(region.base, region.size));

    auto add_42 = reinterpret_cast<int (*)(int)>(region.base);
    EXPECT_EQ(add_42(8), 50);

    ASSERT_TRUE(platform::free_region(region).ok());
    EXPECT_EQ(region.base, nullptr);
    EXPECT_EQ(region.size, 0u);
    EXPECT_TRUE(platform::free_region(region).ok()) << "freeing an empty region is harmless";
}

TEST(ExecMemory, FailuresNameTheCallAndItsError)
{
    for (size_t size : {size_t{0}, static_cast<size_t>(-4096)}) {
        SCOPED_TRACE(size);
        ExecRegion region{reinterpret_cast<std::uint8_t*>(16), 16};  // left empty on failure
        const platform::ExecStatus status = platform::allocate_writable_region(size, region);
        EXPECT_FALSE(status.ok());
        EXPECT_NE(status.failed_call, nullptr);
        EXPECT_NE(status.error, 0u);
        EXPECT_EQ(region.base, nullptr);
    }

    ExecRegion empty;
    const platform::ExecStatus status = platform::make_executable(empty);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error, 0u);
}

}  // namespace
