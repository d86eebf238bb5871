// Command identifiers: first free slot, 0 when full, and freed slots taken again.
#include <gtest/gtest.h>

#include <memory>

#include "framework/command_id_table.h"

namespace {

using namespace qv;

TEST(CommandIdTable, GivesTheFirstFreeSlotAndZeroWhenFull)
{
    auto table = std::make_unique<CommandIdTable>();
    for (u32 i = 0; i < CommandIdTable::kSlotCount; ++i)
        ASSERT_EQ(table->Acquire(), 1000 + i);
    EXPECT_EQ(table->Acquire(), 0u);
    EXPECT_EQ(table->Acquire(), 0u);

    table->Release(1500);
    table->Release(1002);
    EXPECT_FALSE(table->in_use(1002));
    EXPECT_EQ(table->Acquire(), 1002u);
    EXPECT_EQ(table->Acquire(), 1500u);
    EXPECT_EQ(table->Acquire(), 0u);
}

TEST(CommandIdTable, IgnoresIdentifiersItNeverGave)
{
    CommandIdTable table;
    EXPECT_EQ(table.Acquire(), 1000u);
    for (u32 id : {0u, 999u, 2024u, 0xFFFFFFFFu})
        table.Release(id);
    EXPECT_TRUE(table.in_use(1000));
    EXPECT_FALSE(table.in_use(2024));
    EXPECT_FALSE(table.in_use(0));
    EXPECT_EQ(table.Acquire(), 1001u);
}

}  // namespace
