// StringMap: case-insensitive keys, insertion order across growth, iterators that survive
// removals, and the hash of bytes above 0x7F.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/collections/string_map.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::bytes_of;
using test::text_of;

std::vector<std::string> keys_in_order(StringMap<int>& map)
{
    std::vector<std::string> keys;
    StringMap<int>::Iterator it(map);
    StringRef key;
    while (it.Next(&key, nullptr))
        keys.push_back(text_of(key));
    return keys;
}

TEST(StringMap, KeysIgnoreCaseAndTheFirstKeyStays)
{
    StringMap<int> map;
    map.Insert(ascii("Window"), 1);
    map.Insert(ascii("WINDOW"), 2);
    EXPECT_EQ(map.entryCount(), 1u);
    int value = 0;
    ASSERT_TRUE(map.Find(ascii("window"), &value));
    EXPECT_EQ(value, 2);
    EXPECT_EQ(keys_in_order(map), std::vector<std::string>{"Window"});
    EXPECT_FALSE(map.Find(ascii("Windows"), &value));
}

TEST(StringMap, FindOnAnEmptyMapIsFalse)
{
    StringMap<int> map;
    int value = 7;
    EXPECT_FALSE(map.Find(ascii("x"), &value));
    EXPECT_EQ(value, 7);
    map.Remove(ascii("x"));
}

TEST(StringMap, GrowsPastThreeQuartersAndKeepsInsertionOrder)
{
    StringMap<int> map;
    std::vector<std::string> inserted;
    for (int i = 0; i < 193; ++i) {
        inserted.push_back("key" + std::to_string(i * 7919 % 1000));
        map.Insert(ascii(inserted.back()), i);
        EXPECT_EQ(map.bucketCount(), i < 192 ? 256u : 512u) << i;
    }
    EXPECT_EQ(keys_in_order(map), inserted);
    for (int i = 0; i < 193; ++i) {
        int value = -1;
        ASSERT_TRUE(map.Find(ascii(inserted[i]), &value));
        EXPECT_EQ(value, i);
    }
}

TEST(StringMap, RemovingTheCurrentEntryContinuesWithTheNext)
{
    StringMap<int> map;
    for (const char* key : {"a", "b", "c", "d"})
        map.Insert(ascii(key), key[0]);
    StringMap<int>::Iterator it(map);
    StringRef key;
    std::vector<std::string> seen;
    while (it.Next(&key, nullptr)) {
        seen.push_back(text_of(key));
        if (seen.back() == "b" || seen.back() == "d")
            map.Remove(key);  // removes the entry the iterator stands on
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(keys_in_order(map), (std::vector<std::string>{"a", "c"}));
    map.Insert(ascii("e"), 1);  // the order list's tail was fixed by removing the last entry
    EXPECT_EQ(keys_in_order(map), (std::vector<std::string>{"a", "c", "e"}));
}

TEST(StringMap, IteratorOutlivingItsMapIsHarmless)
{
    auto* map = new StringMap<int>;
    map->Insert(ascii("a"), 1);
    StringMap<int>::Iterator it(*map);
    delete map;
    EXPECT_FALSE(it.Next(nullptr, nullptr));
}

TEST(StringMap, HighBytesHashAsSignedAndStillMatch)
{
    EXPECT_EQ(string_map_hash(bytes_of("\xff")), static_cast<u32>(-1));
    EXPECT_EQ(string_map_hash(ascii("ab")), static_cast<u32>('A' * 31 + 'B'));
    StringMap<int> map;
    map.Insert(bytes_of("\xe6\x97\xa5\xe6\x9c\xac"), 5);
    int value = 0;
    EXPECT_TRUE(map.Find(bytes_of("\xe6\x97\xa5\xe6\x9c\xac"), &value));
    EXPECT_EQ(value, 5);
}

TEST(StringMap, DisposeRunsForReplacedAndRemainingValues)
{
    static int disposed;
    disposed = 0;
    StringMap<int>::Operations operations;
    operations.dispose = [](int& value) { disposed += value; };
    {
        StringMap<int> map(16, operations);
        map.Insert(ascii("a"), 1);
        map.Insert(ascii("A"), 10);  // replaces 1
        map.Insert(ascii("b"), 100);
        map.Remove(ascii("b"));
        map.Insert(ascii("c"), 1000);
    }
    EXPECT_EQ(disposed, 1 + 100 + 10 + 1000);
}

TEST(StringMap, ResizeToZeroIsRefused)
{
    StringMap<int> map;
    test::AssertionCapture capture;
    map.Resize(0);
    EXPECT_TRUE(capture.saw("stringmap", 580));
    EXPECT_EQ(map.bucketCount(), 256u);
}

}  // namespace
