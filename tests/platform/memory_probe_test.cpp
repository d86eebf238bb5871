// Asking whether memory can be read: the answer must not depend on which kernel service
// gives it. On POSIX both ways (process_vm_readv and a write into a pipe) are run against the
// same ranges, and is_readable must keep answering when the first way is refused, as it is
// under user-mode emulators and in some sandboxes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/exec_memory.h"
#include "platform/memory_probe.h"

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/memory_probe_methods.h"
#endif

namespace {

// Three readable pages followed by one that cannot be read at all.
class ProbeRanges : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(platform::allocate_writable_region(4 * kPage, m_region).ok());
        std::memset(m_region.base, 0x5A, 3 * kPage);
#ifdef _WIN32
        DWORD old = 0;
        m_last_page_protected = VirtualProtect(m_region.base + 3 * kPage, kPage, PAGE_NOACCESS, &old) != 0;
#else
        m_last_page_protected = mprotect(m_region.base + 3 * kPage, kPage, PROT_NONE) == 0;
#endif
    }
    void TearDown() override { platform::free_region(m_region); }

    static constexpr size_t kPage = 4096;
    platform::ExecRegion m_region;
    bool m_last_page_protected = false;

    struct Case {
        const char* name;
        size_t offset;
        size_t size;
        bool readable;
    };
    std::vector<Case> cases() const
    {
        return {
            {"one byte", 0, 1, true},
            {"three whole pages, more than one chunk", 0, 3 * kPage, true},
            {"the last readable byte", 3 * kPage - 1, 1, true},
            {"a range running into the unreadable page", 3 * kPage - 8, 16, false},
            {"a long range running into the unreadable page", 100, 3 * kPage, false},
            {"inside the unreadable page", 3 * kPage, 4, false},
        };
    }
};

TEST_F(ProbeRanges, IsReadableFollowsThePageProtection)
{
    ASSERT_TRUE(m_last_page_protected);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::is_readable(m_region.base + c.offset, c.size), c.readable);
    }
    EXPECT_FALSE(platform::is_readable(nullptr, 4));
    EXPECT_FALSE(platform::is_readable(reinterpret_cast<void*>(~uintptr_t{0} - 2), 8)) << "a range that wraps";
}

#ifndef _WIN32
TEST_F(ProbeRanges, BothKernelServicesGiveTheSameAnswers)
{
    ASSERT_TRUE(m_last_page_protected);
    const bool vm_read_works = platform::probe_by_vm_read(m_region.base, 1) != platform::ProbeResult::unavailable;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const auto expected = c.readable ? platform::ProbeResult::readable : platform::ProbeResult::unreadable;
        EXPECT_EQ(platform::probe_by_pipe_write(m_region.base + c.offset, c.size), expected);
        if (vm_read_works) {
            EXPECT_EQ(platform::probe_by_vm_read(m_region.base + c.offset, c.size), expected);
        }
    }
}

TEST_F(ProbeRanges, PartlyReadableRangesLeaveNothingBehindInThePipe)
{
    ASSERT_TRUE(m_last_page_protected);
    // A short write puts bytes into the pipe; left there, 64 KB of them would fill it and
    // every later probe would fail.
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(platform::probe_by_pipe_write(m_region.base + 2 * kPage, 2 * kPage),
                  platform::ProbeResult::unreadable);
    EXPECT_EQ(platform::probe_by_pipe_write(m_region.base, 3 * kPage), platform::ProbeResult::readable);
}

TEST_F(ProbeRanges, IsReadableKeepsAnsweringWhenProcessVmReadvIsRefused)
{
    ASSERT_TRUE(m_last_page_protected);
    platform::refuse_vm_read_for_testing(true);
    EXPECT_EQ(platform::probe_by_vm_read(m_region.base, 1), platform::ProbeResult::unavailable);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::is_readable(m_region.base + c.offset, c.size), c.readable);
    }
    EXPECT_EQ(platform::current_probe_method(), platform::ProbeMethod::pipe_write);
    platform::refuse_vm_read_for_testing(false);
}

TEST(MemoryProbeFork, AChildProbesThroughAPipeOfItsOwn)
{
    platform::refuse_vm_read_for_testing(true);
    const char here[16] = {};
    ASSERT_TRUE(platform::is_readable(here, sizeof here));  // the parent's pipe exists now
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        bool ok = true;
        for (int i = 0; i < 1000 && ok; ++i)
            ok = platform::is_readable(here, sizeof here) && !platform::is_readable(nullptr, 1);
        _exit(ok ? 0 : 1);
    }
    bool ok = true;
    for (int i = 0; i < 1000 && ok; ++i)
        ok = platform::is_readable(here, sizeof here);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    platform::refuse_vm_read_for_testing(false);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
#endif

}  // namespace
