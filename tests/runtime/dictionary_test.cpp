// Dictionary: keys found by VariantHash and VariantEqual, the entry vector and its order after
// removals, automatic and fixed bins, the counts entries hold, the exceptions for missing keys
// and bad indexes, running out of memory, and finalizers that reach back into the dictionary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/memory/pool_allocator.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace {

using namespace qv;
using test::Held;
using test::plain_object;

Held text_key(const std::string& text, u32 encoding = kEncodingASCII)
{
    return Held(stringToVariant(test::bytes_of(text, encoding).get()));
}
Held int_key(i32 value) { return Held(intToVariant(value)); }

RuntimeObject* s_reentered = nullptr;
RuntimeObject* s_other_key = nullptr;

// Objects of this class remove s_other_key from s_reentered when they are freed.
ClassRecord* reentrant_class()
{
    static ClassRecord* const s_class = [] {
        ClassRecord* c = RuntimeNewClass(nullptr, 0, 0, 0, 0, 0);
        c->instanceSize = 28;
        c->name = StringRef::FromCString("Reentrant").leak();
        c->finalizer = [](RuntimeObject*) { dictionaryRemove(s_reentered, s_other_key); };
        return c;
    }();
    return s_class;
}

class Dictionaries : public test::ValueTest {
protected:
    static void SetUpTestSuite()
    {
        ValueTest::SetUpTestSuite();
        reentrant_class();
    }
    void SetUp() override
    {
        ValueTest::SetUp();
        m_dictionary = Held(RuntimeNewObject(dictionary_class()));
    }
    void TearDown() override
    {
        m_dictionary = Held();
        ValueTest::TearDown();
    }

    RuntimeObject* dictionary() const { return m_dictionary.get(); }
    RuntimeDictionary* table() const { return reinterpret_cast<RuntimeDictionary*>(m_dictionary.get()); }

    void set(const Held& key, const Held& value) { dictionaryValueSetter(dictionary(), key.get(), value.get()); }
    void set(const Held& key, i32 value) { set(key, int_key(value)); }
    // The value under the key as an integer; -1 when there is none.
    i32 get(const Held& key)
    {
        Held value(dictionaryValueGetter(dictionary(), key.get()));
        return value.get() ? variantToInt(value.get()) : -1;
    }

    // Every entry sits at the index it records, and is found again by its key.
    void expect_consistent()
    {
        ASSERT_LE(table()->count, table()->capacity);
        for (u32 i = 0; i < table()->count; ++i) {
            DictionaryEntry* entry = table()->entries[i];
            ASSERT_EQ(entry->index, static_cast<i32>(i));
            ASSERT_TRUE(dictionaryHasKey(dictionary(), entry->key)) << "entry " << i;
        }
    }

private:
    Held m_dictionary;
};

TEST_F(Dictionaries, ANewDictionaryHas61BinsAndNoEntries)
{
    EXPECT_EQ(dictionaryCount(dictionary()), 0);
    EXPECT_EQ(dictionaryGetBins(dictionary()), 61);
    EXPECT_EQ(table()->growthStep, 15u);
    EXPECT_EQ(table()->capacity, 0u);
    EXPECT_EQ(table()->fixedBins, 0);
    EXPECT_EQ(table()->busy, 0);
}

TEST_F(Dictionaries, StringKeysIgnoreCaseOtherKeysTheirType)
{
    Held first = text_key("Key");
    set(first, 1);
    set(text_key("KEY"), 2);
    EXPECT_EQ(dictionaryCount(dictionary()), 1);
    EXPECT_EQ(get(text_key("key")), 2);
    Held stored(dictionaryKey(dictionary(), 0));
    EXPECT_EQ(stored.get(), first.get()) << "replacing a value keeps the first key";

    const u16 wide[] = {'k', 'E', 'y'};
    EXPECT_EQ(get(Held(stringToVariant(StringRef::FromWide(wide, 3).get()))), 2) << "UTF-16 text finds it too";

    set(int_key(1), 10);
    set(Held(doubleToVariant(1.0)), 11);
    set(Held(colorToVariant(1)), 12);
    set(Held(booleanToVariant(1)), 13);
    EXPECT_EQ(dictionaryCount(dictionary()), 5) << "1, 1.0, &h000001 and True are four keys";
    EXPECT_EQ(get(int_key(1)), 10);
    EXPECT_EQ(get(Held(doubleToVariant(1.0))), 11);
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Dictionaries, HashAndEqualityOfKeys)
{
    Held object = plain_object();
    const u32 address = static_cast<u32>(reinterpret_cast<uintptr_t>(object.get()));
    const u16 wide[] = {'K', 'e', 'y'};
    struct Case {
        const char* name;
        Held key;
        u32 hash;
    };
    const u32 key_hash = ((u32{'K'} << 2 ^ 'E') << 2) ^ 'Y';
    const Case cases[] = {
        {"String", text_key("Key"), key_hash},
        {"String upper case", text_key("KEY"), key_hash},
        {"String UTF-16", Held(stringToVariant(StringRef::FromWide(wide, 3).get())), key_hash},
        {"String of a high byte, signed", text_key("\xE9", kEncodingUnknown), 0xFFFFFFE9u},
        {"empty String", Held(stringToVariant(nullptr)), 0},
        {"Integer", int_key(1), 0x10000},
        {"Color", Held(colorToVariant(0x12345678)), 0x56781234},
        {"Double", Held(doubleToVariant(1.0)), 0x3FF00000},
        {"Object", Held(objectToVariant(object.get())), (address << 16) | (address >> 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VariantHash(c.key.get()), c.hash);
    }
    EXPECT_EQ(VariantHash(nullptr), 0u);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));

    EXPECT_TRUE(VariantEqual(cases[0].key.get(), cases[1].key.get()));
    EXPECT_TRUE(VariantEqual(cases[0].key.get(), cases[2].key.get()));
    EXPECT_TRUE(VariantEqual(nullptr, nullptr));
    EXPECT_FALSE(VariantEqual(cases[0].key.get(), nullptr));
    EXPECT_FALSE(VariantEqual(int_key(1).get(), Held(colorToVariant(1)).get())) << "types differ";
    EXPECT_TRUE(VariantEqual(int_key(7).get(), int_key(7).get()));
    EXPECT_FALSE(VariantEqual(Held(doubleToVariant(0.0)).get(), Held(doubleToVariant(-0.0)).get()))
        << "doubles are equal by their bytes";
}

TEST_F(Dictionaries, RemovalMovesTheLastEntryIntoTheGap)
{
    set(text_key("a"), 1);
    set(text_key("b"), 2);
    set(text_key("c"), 3);
    dictionaryRemove(dictionary(), text_key("A").get());
    EXPECT_TRUE(nothing_raised());
    ASSERT_EQ(dictionaryCount(dictionary()), 2);
    Held k0(dictionaryKey(dictionary(), 0)), k1(dictionaryKey(dictionary(), 1));
    EXPECT_EQ(test::text_of(StringRef::adopt(variantToString(k0.get()))), "c");
    EXPECT_EQ(test::text_of(StringRef::adopt(variantToString(k1.get()))), "b");
    EXPECT_FALSE(dictionaryHasKey(dictionary(), text_key("a").get()));
    expect_consistent();
}

TEST_F(Dictionaries, BinsGrowWhenMoreThanThreeQuartersFull)
{
    std::vector<std::pair<i32, u32>> changes;  // (count, new bin count)
    for (i32 i = 1; i <= 400; ++i) {
        const u32 before = table()->binCount;
        set(int_key(i * 7919), i);
        if (table()->binCount != before)
            changes.emplace_back(i, table()->binCount);
    }
    // 46 keys still want 61 bins (46 * 4 / 3 = 61), the 47th wants 62; 382 keys want 509.
    EXPECT_EQ(changes, (std::vector<std::pair<i32, u32>>{{47, 127}, {96, 251}, {189, 509}, {383, 1021}}));
    EXPECT_EQ(table()->growthStep, 255u);
    for (i32 i = 1; i <= 400; ++i)
        ASSERT_EQ(get(int_key(i * 7919)), i);
    expect_consistent();
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Dictionaries, BinsSetByTheProgramStayUntilReset)
{
    dictionarySetBins(dictionary(), 10);
    EXPECT_EQ(table()->fixedBins, 1);
    for (i32 i = 0; i < 200; ++i)
        set(int_key(i), i);
    EXPECT_EQ(dictionaryGetBins(dictionary()), 10);
    for (i32 i = 0; i < 200; ++i)
        ASSERT_EQ(get(int_key(i)), i);
    dictionarySetBins(dictionary(), 0);
    EXPECT_EQ(dictionaryGetBins(dictionary()), 509) << "200 * 4 / 3 = 266";
    EXPECT_EQ(table()->fixedBins, 0);
    dictionarySetBins(dictionary(), -5);
    EXPECT_EQ(dictionaryGetBins(dictionary()), 509);
    expect_consistent();

    struct Case {
        i32 bins;
        u32 step;
    };
    for (const Case& c : {Case{8191, 1024}, Case{4100, 1024}, Case{4099, 1024}, Case{4000, 1000}, Case{3, 0}}) {
        SCOPED_TRACE(c.bins);
        dictionarySetBins(dictionary(), c.bins);
        EXPECT_EQ(table()->growthStep, c.step);
    }
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Dictionaries, TheEntryVectorGrowsByItsStepAndShrinks)
{
    std::vector<u32> capacities;
    for (i32 i = 0; i < 60; ++i) {
        set(int_key(i), i);
        if (capacities.empty() || capacities.back() != table()->capacity)
            capacities.push_back(table()->capacity);
    }
    // Step 15 (raised to the least step, 16) until the bins grow at 47 and the step becomes 31.
    EXPECT_EQ(capacities, (std::vector<u32>{16, 32, 48, 79}));

    for (i32 i = 59; i >= 16; --i)
        dictionaryRemove(dictionary(), int_key(i).get());
    EXPECT_EQ(table()->capacity, 31u) << "(16 / 31 + 1) * 31 once 62 slots stand empty";
    expect_consistent();

    dictionarySetBins(dictionary(), 3);  // growth step 0: the vector doubles, and shrinks by 16s
    for (i32 i = 16; i < 40; ++i)
        set(int_key(i), i);
    EXPECT_EQ(table()->capacity, 62u);
    for (i32 i = 39; i >= 5; --i)
        dictionaryRemove(dictionary(), int_key(i).get());
    EXPECT_EQ(table()->capacity, 16u);
    expect_consistent();
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Dictionaries, MissingKeysAndBadIndexesRaise)
{
    set(text_key("here"), 1);
    EXPECT_EQ(dictionaryValueGetter(dictionary(), text_key("gone").get()), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::KeyNotFoundException));
    dictionaryRemove(dictionary(), text_key("gone").get());
    EXPECT_TRUE(raised_once(ExceptionClass::KeyNotFoundException));
    EXPECT_FALSE(dictionaryHasKey(dictionary(), text_key("gone").get()));
    EXPECT_TRUE(nothing_raised());

    for (const i32 index : {-1, 1}) {
        EXPECT_EQ(dictionaryKey(dictionary(), index), nullptr);
        EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    }

    // A nil key or dictionary raises NilObjectException, once.
    EXPECT_EQ(dictionaryValueGetter(dictionary(), nullptr), nullptr);
    dictionaryValueSetter(dictionary(), nullptr, nullptr);
    EXPECT_FALSE(dictionaryHasKey(dictionary(), nullptr));
    dictionaryRemove(dictionary(), nullptr);
    EXPECT_EQ(dictionaryCount(nullptr), 0);
    EXPECT_EQ(dictionaryGetBins(nullptr), 0);
    dictionarySetBins(nullptr, 5);
    dictionaryRemoveAll(nullptr);
    EXPECT_EQ(dictionaryKey(nullptr, 0), nullptr);
    const std::vector<ClassRecord*> classes = raised();
    EXPECT_EQ(classes, std::vector<ClassRecord*>(9, class_of(ExceptionClass::NilObjectException)));
    EXPECT_EQ(dictionaryCount(dictionary()), 1);
}

TEST_F(Dictionaries, EntriesHoldCountsUntilReplacedRemovedClearedOrFreed)
{
    Held key = text_key("k"), other = text_key("other");
    Held first = plain_object(), second = plain_object();
    Held first_value(objectToVariant(first.get())), second_value(objectToVariant(second.get()));
    set(key, first_value);
    set(other, second_value);
    EXPECT_EQ(key.get()->refCount, 2);
    EXPECT_EQ(first_value.get()->refCount, 2);

    set(key, second_value);
    EXPECT_EQ(first_value.get()->refCount, 1) << "the replaced value is let go";
    EXPECT_EQ(second_value.get()->refCount, 3);
    set(key, second_value);
    EXPECT_EQ(second_value.get()->refCount, 3) << "storing the same value again changes nothing";

    Held read(dictionaryValueGetter(dictionary(), key.get()));
    EXPECT_EQ(read.get(), second_value.get());
    EXPECT_EQ(second_value.get()->refCount, 4);

    dictionaryRemove(dictionary(), other.get());
    EXPECT_EQ(other.get()->refCount, 1);
    EXPECT_EQ(second_value.get()->refCount, 3);

    dictionarySetBins(dictionary(), 10);
    set(other, first_value);
    dictionaryRemoveAll(dictionary());
    EXPECT_EQ(key.get()->refCount, 1);
    EXPECT_EQ(first_value.get()->refCount, 1);
    EXPECT_EQ(second_value.get()->refCount, 2);
    EXPECT_EQ(dictionaryCount(dictionary()), 0);
    EXPECT_EQ(dictionaryGetBins(dictionary()), 61);
    EXPECT_EQ(table()->growthStep, 15u);
    EXPECT_EQ(table()->capacity, 0u);
    EXPECT_EQ(table()->fixedBins, 0);

    {
        Held another(RuntimeNewObject(dictionary_class()));
        dictionaryValueSetter(another.get(), key.get(), first_value.get());
        EXPECT_EQ(first_value.get()->refCount, 2);
    }
    EXPECT_EQ(key.get()->refCount, 1) << "a freed dictionary lets go of its keys";
    EXPECT_EQ(first_value.get()->refCount, 1) << "and of its values";
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Dictionaries, RunningOutOfMemoryKeepsTheTable)
{
    for (i32 i = 0; i < 16; ++i)
        set(int_key(i), i);
    ASSERT_EQ(table()->capacity, 16u);
    Held key = int_key(99), value = int_key(1);
    pool_fail_after(0);  // the vector's growth
    set(key, value);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfMemoryException));
    EXPECT_EQ(dictionaryCount(dictionary()), 16);
    EXPECT_FALSE(dictionaryHasKey(dictionary(), key.get()));
    EXPECT_EQ(key.get()->refCount, 1);

    pool_fail_after(0);  // the new bins
    dictionarySetBins(dictionary(), 127);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfMemoryException));
    EXPECT_EQ(dictionaryGetBins(dictionary()), 61);
    EXPECT_EQ(table()->fixedBins, 0);
    expect_consistent();

    dictionarySetBins(dictionary(), 0x40000000);  // more slots than an allocation may hold
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfMemoryException));
    EXPECT_EQ(dictionaryGetBins(dictionary()), 61);

    pool_fail_after(1);  // the object, then its bins
    Held binless(RuntimeNewObject(dictionary_class()));
    auto* binless_table = reinterpret_cast<RuntimeDictionary*>(binless.get());
    EXPECT_EQ(binless_table->binCount, 0u);
    EXPECT_FALSE(dictionaryHasKey(binless.get(), key.get()));
    dictionaryValueSetter(binless.get(), key.get(), key.get());
    EXPECT_EQ(binless_table->binCount, 61u) << "bins are made when the first entry needs them";
    EXPECT_EQ(dictionaryCount(binless.get()), 1);
    EXPECT_TRUE(nothing_raised());
}

// A value whose finalizer removes another entry from the same dictionary, as a program's
// destructor may: the dictionary must not still be busy when the value is let go.
TEST_F(Dictionaries, AFinalizerMayChangeTheDictionaryThatReleasedIt)
{
    Held key = text_key("k"), other = text_key("other");
    s_reentered = dictionary();
    s_other_key = other.get();
    {
        Held object(RuntimeNewObject(reentrant_class()));
        set(key, Held(objectToVariant(object.get())));
        set(other, 2);
    }
    set(key, 1);  // the old value and its object go now, and the finalizer runs
    EXPECT_EQ(dictionaryCount(dictionary()), 1);
    EXPECT_FALSE(dictionaryHasKey(dictionary(), other.get()));
    EXPECT_EQ(table()->busy, 0);
    EXPECT_TRUE(nothing_raised());
}

}  // namespace
