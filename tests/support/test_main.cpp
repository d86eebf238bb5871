// Test main for every suite: failed assertions are answered without a dialog, and every test
// must give back all the allocator memory it took.
#include <gtest/gtest.h>

#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/memory/pool_allocator.h"
#include "tests/support/assertion_capture.h"

namespace {

class BalanceListener : public ::testing::EmptyTestEventListener {
    // The conversion cache and the shared TextEncoding objects live until the process ends;
    // they are let go of on both sides of the measurement, so they never count as a leak.
    void OnTestStart(const ::testing::TestInfo&) override
    {
        qv::release_text_encoding_state();
        m_bytes = qv::pool_bytes_in_use();
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        qv::release_text_encoding_state();
        EXPECT_EQ(qv::pool_bytes_in_use(), m_bytes) << "allocator bytes in use changed: a leak";
    }
    i64 m_bytes = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qv::test::install_unexpected_assertion_responder();
    ::testing::UnitTest::GetInstance()->listeners().Append(new BalanceListener);
    return RUN_ALL_TESTS();
}
