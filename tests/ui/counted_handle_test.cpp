// CountedHandle gives back exactly the counts it holds: once when it goes, nothing for a null
// or moved-from handle, and on assignment the old count only after the new one is stored.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/counted_handle.h"

namespace qv::ui {
namespace {

struct Release {
    int resource;
    int held_then;  // what the watched handle held when the release ran
};
std::vector<Release> s_releases;

void release(int resource);
using TestHandle = CountedHandle<int, &release>;
const TestHandle* s_watched = nullptr;

void release(int resource) { s_releases.push_back({resource, s_watched ? s_watched->get() : -1}); }

class CountedHandleTest : public testing::Test {
protected:
    void SetUp() override
    {
        s_releases.clear();
        s_watched = nullptr;
    }
};

TEST_F(CountedHandleTest, GivesBackEachCountOnce)
{
    {
        TestHandle none;
        TestHandle null_count(0);
        EXPECT_FALSE(none);
        EXPECT_FALSE(null_count);
    }
    EXPECT_TRUE(s_releases.empty());

    {
        TestHandle first(7);
        EXPECT_TRUE(first);
        std::vector<TestHandle> moved;
        moved.push_back(std::move(first));
        moved.push_back(TestHandle(8));  // the vector grows: its handles move again
        EXPECT_FALSE(first);
        EXPECT_EQ(moved[0].get(), 7);
        EXPECT_TRUE(s_releases.empty());
    }
    ASSERT_EQ(s_releases.size(), 2u);
    EXPECT_NE(s_releases[0].resource, s_releases[1].resource);
    for (const Release& r : s_releases)
        EXPECT_TRUE(r.resource == 7 || r.resource == 8) << r.resource;
}

TEST_F(CountedHandleTest, AssignmentStoresTheNewCountBeforeGivingBackTheOld)
{
    TestHandle font(1);
    s_watched = &font;
    font = TestHandle(2);
    ASSERT_EQ(s_releases.size(), 1u);
    EXPECT_EQ(s_releases[0].resource, 1);
    EXPECT_EQ(s_releases[0].held_then, 2);

    font = TestHandle(2);  // the same resource again: a second count, the first given back
    ASSERT_EQ(s_releases.size(), 2u);
    EXPECT_EQ(s_releases[1].resource, 2);
    EXPECT_EQ(font.get(), 2);

    const TestHandle previous = std::exchange(font, TestHandle());
    EXPECT_EQ(s_releases.size(), 2u);
    EXPECT_EQ(previous.get(), 2);
    s_watched = nullptr;
}

}  // namespace
}  // namespace qv::ui
