// The runtime allocator: pooled reuse, the bytes-in-use counter, guard words, injected failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "tests/support/assertion_capture.h"

namespace qv {
namespace {

TEST(PoolAllocator, NonPositiveSizesGiveNull)
{
    EXPECT_EQ(PoolAlloc(0, MayFail::No), nullptr);
    EXPECT_EQ(PoolAlloc(-5, MayFail::No), nullptr);
}

TEST(PoolAllocator, FreedSmallBlockIsReusedForTheSameGranuleCount)
{
    void* a = PoolAlloc(18, MayFail::No);  // 5 granules
    PoolFree(a, 18);
    void* b = PoolAlloc(20, MayFail::No);  // also 5 granules: popped from the same list
    EXPECT_EQ(a, b);
    PoolFree(b, 20);
}

TEST(PoolAllocator, CountsRequestedBytesOfSmallAndHeapBlocks)
{
    const i64 before = qv::pool_bytes_in_use();
    void* small = PoolAlloc(13, MayFail::No);
    void* large = PoolAlloc(5000, MayFail::No);
    EXPECT_EQ(qv::pool_bytes_in_use(), before + 13 + 5000);
    std::memset(small, 0xAB, 13);
    std::memset(large, 0xCD, 5000);
    PoolFree(small, 13);
    PoolFree(large, 5000);
    EXPECT_EQ(qv::pool_bytes_in_use(), before);
}

TEST(PoolAllocator, ManyBlocksAcrossChunksStayDistinct)
{
    std::vector<u8*> blocks;
    for (int i = 0; i < 3000; ++i) {  // several 8192-byte chunks of 12-byte blocks
        auto* block = static_cast<u8*>(PoolAlloc(12, MayFail::No));
        std::memset(block, i & 0xFF, 12);
        blocks.push_back(block);
    }
    for (int i = 0; i < 3000; ++i) {
        EXPECT_EQ(blocks[i][0], i & 0xFF);
        EXPECT_EQ(blocks[i][11], i & 0xFF);
    }
    for (u8* block : blocks)
        PoolFree(block, 12);
}

TEST(PoolAllocator, LargeFreedBlockIsReusedForASimilarRequest)
{
    const i64 before = qv::pool_bytes_in_use();
    auto* first = static_cast<u8*>(PoolAlloc(1 << 20, MayFail::No));
    first[0] = 1;
    PoolFree(first, 1 << 20);
    auto* second = static_cast<u8*>(PoolAlloc((1 << 20) - 100, MayFail::No));
    EXPECT_EQ(second, first);  // the spare, not fresh memory from the system
    second[(1 << 20) - 101] = 2;
    auto* third = static_cast<u8*>(PoolAlloc(1 << 20, MayFail::No));
    EXPECT_NE(third, second);
    EXPECT_EQ(qv::pool_bytes_in_use(), before + (1 << 20) - 100 + (1 << 20));
    PoolFree(second, (1 << 20) - 100);
    PoolFree(third, 1 << 20);
    EXPECT_EQ(qv::pool_bytes_in_use(), before);
}

TEST(PoolAllocator, InjectedFailureMakesMayFailRequestReturnNull)
{
    qv::pool_fail_after(0);
    EXPECT_EQ(PoolAlloc(16, MayFail::Yes), nullptr);
    void* next = PoolAlloc(16, MayFail::Yes);  // the failure was used up
    EXPECT_NE(next, nullptr);
    PoolFree(next, 16);
}

// The report goes to standard error so that the parent can see it came before the exit.
AssertionAnswer print_and_continue(const char* text)
{
    std::fputs(text, stderr);
    return AssertionAnswer::Ok;
}

TEST(PoolAllocatorDeathTest, MustSucceedFailureReportsThenExitsWithZeroEvenOnOk)
{
    for (i32 size : {16, 5000}) {  // a pooled block and a heap block
        EXPECT_EXIT(
            {
                set_assertion_responder(&print_and_continue);
                qv::pool_fail_after(0);
                PoolAlloc(size, MayFail::No);
            },
            ::testing::ExitedWithCode(0), "utility: 842\\sFailure Condition: 0\\s")
            << size;
    }
}

TEST(GuardedNew, WritesSizeAndGuardWordInFront)
{
    auto* block = static_cast<u32*>(GuardedNew(24));
    EXPECT_EQ(block[-2], 24u);
    EXPECT_EQ(block[-1], qv::kGuardWord);
    GuardedDelete(block);
}

TEST(GuardedNew, OverwrittenGuardIsReportedAndBlockStillFreed)
{
    const i64 before = qv::pool_bytes_in_use();
    auto* block = static_cast<u32*>(GuardedNew(8));
    block[-1] = 0x12345678;  // a write before the start of the block
    qv::test::AssertionCapture capture;
    GuardedDelete(block);
    ASSERT_EQ(capture.count(), 1u);
    EXPECT_TRUE(capture.saw("dump", 99));
    EXPECT_NE(capture.reports()[0].find("overwrote start of block"), std::string::npos);
    EXPECT_EQ(qv::pool_bytes_in_use(), before);
}

}  // namespace
}  // namespace qv
