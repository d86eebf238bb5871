// The Dictionary object shared with image code, pinned to its offsets, and its hash table:
// entries chained in bins by the key's VariantHash and kept in a vector in insertion order
// (a removal moves the last entry into the gap).
#pragma once

#include <cstddef>

#include "runtime/definitions/object_definition.h"
#include "sdk/quaver.h"

static_assert(sizeof(RuntimeDictionary) == 60);
static_assert(offsetof(RuntimeDictionary, fixedBins) == 28);
static_assert(offsetof(RuntimeDictionary, growthStep) == 32);
static_assert(offsetof(RuntimeDictionary, entries) == 36);
static_assert(offsetof(RuntimeDictionary, count) == 40);
static_assert(offsetof(RuntimeDictionary, capacity) == 44);
static_assert(offsetof(RuntimeDictionary, binCount) == 48);
static_assert(offsetof(RuntimeDictionary, bins) == 52);
static_assert(offsetof(RuntimeDictionary, busy) == 56);

// An entry holds one count on its key and one on its value.
struct DictionaryEntry {
    RuntimeObject* key;
    RuntimeObject* value;
    u32 hash;
    i32 index;              // in the entry vector
    DictionaryEntry* next;  // in the same bin
};

namespace qv {

ObjectDefinition* dictionary_definition();
ClassRecord* dictionary_class();

// Bin counts come from this table of primes.
inline constexpr u32 kBinPrimes[] = {61, 127, 251, 509, 1021, 2039, 4093, 8191, 16381, 32749, 65521};

// The first prime not smaller than count * 4 / 3, or the largest.
u32 automatic_bin_count(u32 count);

// Holds a dictionary's busy flag while it lives, spinning until the flag is free. Every change
// to the table happens under it; lookups do not take it.
class BusyFlag {
public:
    explicit BusyFlag(RuntimeDictionary* dictionary);
    ~BusyFlag();
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    RuntimeDictionary* m_dictionary;
};

// The table as a new dictionary has it: 61 bins (none, with a bin count of 0, when they cannot
// be had), growth step 15, no entries, automatic bins.
void construct_table(RuntimeDictionary* dictionary);

// The entries, vector and bins a dictionary gave up; releasing them may run finalizers, so it
// happens after the busy flag is let go.
struct DetachedTable {
    DictionaryEntry** entries = nullptr;
    u32 count = 0;
    u32 capacity = 0;
    DictionaryEntry** bins = nullptr;
    u32 bin_count = 0;
};
DetachedTable detach_table(RuntimeDictionary* dictionary);
void release_detached(const DetachedTable& table);

DictionaryEntry* find_entry(const RuntimeDictionary* dictionary, RuntimeObject* key, u32 hash);

// Appends a new entry for a key that is not there, taking counts on key and value. False when
// the bins or the vector cannot grow; the table is then unchanged.
bool append_entry(RuntimeDictionary* dictionary, RuntimeObject* key, RuntimeObject* value, u32 hash);

// Gives back the entry's counts on its key and value, then frees it. Call it only after the
// busy flag is let go: the counts may be the last, and finalizers may use the dictionary.
void free_entry(DictionaryEntry* entry);

// Takes the entry out of its bin and the vector (the last entry fills its slot) and shrinks a
// vector much larger than needed. The caller releases and frees the entry.
void unlink_entry(RuntimeDictionary* dictionary, DictionaryEntry* entry);

// Re-chains every entry into `bin_count` new bins. False, with the old bins kept, when they
// cannot be allocated.
bool rebuild_bins(RuntimeDictionary* dictionary, u32 bin_count);

}  // namespace qv
