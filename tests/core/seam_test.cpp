// A seam takes the slots an installer filled and keeps the rest, so layers that each fill part
// of one table can install in any order; what install returns puts the table back.
#include <gtest/gtest.h>

#include "core/seam.h"

namespace qv {
namespace {

int one() { return 1; }
int two() { return 2; }
int three() { return 3; }

struct Table {
    int (*first)();
    int (*second)();
    int (*third)();
};

TEST(Seam, InstallersFillTheirSlotsInAnyOrderAndRestorePutsTheTableBack)
{
    Seam<Table> seam(Table{&one, nullptr, nullptr});  // a default for the first slot only
    const Table before = seam.install({nullptr, &two, nullptr});
    EXPECT_EQ(before.first, &one);
    EXPECT_EQ(before.second, nullptr);
    seam.install({&three, nullptr, &one});
    EXPECT_EQ(seam.get().first, &three);  // an installer may override a default
    EXPECT_EQ(seam.get().second, &two);   // and leaves what another installed
    EXPECT_EQ(seam.get().third, &one);
    seam.restore(before);
    EXPECT_EQ(seam.get().first, &one);
    EXPECT_EQ(seam.get().second, nullptr);
    EXPECT_EQ(seam.get().third, nullptr);
}

TEST(Seam, OneRoutineIsATableOfOneSlot)
{
    Seam<int (*)()> seam;
    EXPECT_EQ(seam.get(), nullptr);
    seam.install(&two);
    seam.install(nullptr);  // installs nothing
    EXPECT_EQ(seam.get(), &two);
}

}  // namespace
}  // namespace qv
