// The auxiliary block: big-endian item table, items found by number, bad numbers refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "loader/auxiliary_block.h"

namespace {

using Bytes = std::vector<u8>;

void put_be(Bytes& out, u32 v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<u8>(v >> shift));
}

TEST(AuxiliaryBlock, FindsItemsByNumberAfterTheTable)
{
    Bytes file(10, 0xEE);  // the block starts at offset 10 of the file
    put_be(file, 2);       // two items
    put_be(file, 0);       // item 1 at the start of the item bytes
    put_be(file, 3);       // item 2 three bytes later
    file.insert(file.end(), {'a', 'b', 'c', 'X', 'Y'});
    const auto path = std::filesystem::temp_directory_path() / "qv-aux-block.bin";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    {
        qv::AuxiliaryBlock block;  // keeps the file open: closed before the file is removed
        block.configure(path.string(), 10);
        const auto first = block.FindAuxiliaryItem(1);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->position, 10 + 4 + 8);
        const auto last = block.FindAuxiliaryItem(2);
        ASSERT_TRUE(last);
        u8 byte[1];
        ASSERT_TRUE(last->file->seek(last->position));
        ASSERT_TRUE(last->file->read(byte));
        EXPECT_EQ(byte[0], 'X');
        EXPECT_FALSE(block.FindAuxiliaryItem(3));  // count + 1
        EXPECT_FALSE(block.FindAuxiliaryItem(0));
        EXPECT_FALSE(block.FindAuxiliaryItem(-1));
    }
    std::filesystem::remove(path);
}

TEST(AuxiliaryBlock, MissingFileFails)
{
    qv::AuxiliaryBlock block;
    block.configure("/nonexistent/qv-data3.dat", 0);
    EXPECT_FALSE(block.FindAuxiliaryItem(1));
}

}  // namespace
