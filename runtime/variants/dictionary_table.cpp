// The Dictionary's hash table: bins, the entry vector and its growth and shrinking, and the
// busy flag. Nothing here raises; the exported routines decide what a failure means.
#include <cstring>
#include <iterator>
#include <thread>

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/objects/object_ref.h"
#include "runtime/variants/dictionary.h"

namespace qv {
namespace {

constexpr const char* kSource = "Dictionary";
constexpr u32 kSmallestStep = 16;
constexpr u32 kLargestSlots = 0x1FFFFFFF;  // slot arrays stay below 2 GB

// `slots` zeroed pointers, or null.
DictionaryEntry** allocate_slots(u32 slots)
{
    if (slots == 0 || slots > kLargestSlots)
        return nullptr;
    const i32 bytes = static_cast<i32>(slots * sizeof(DictionaryEntry*));
    auto** block = static_cast<DictionaryEntry**>(PoolAlloc(bytes, MayFail::Yes));
    if (block)
        std::memset(block, 0, static_cast<size_t>(bytes));
    return block;
}

void free_slots(DictionaryEntry** block, u32 slots)
{
    if (block)
        PoolFree(block, static_cast<i32>(slots * sizeof(DictionaryEntry*)));
}

u32 growth_step_for(u32 bin_count) { return bin_count > 4099 ? 1024 : bin_count / 4; }

void chain(RuntimeDictionary* dictionary, DictionaryEntry* entry)
{
    DictionaryEntry*& head = dictionary->bins[entry->hash % dictionary->binCount];
    entry->next = head;
    head = entry;
}

// Moves the vector to `capacity` slots (not fewer than the entries). False when the new block
// cannot be had.
bool resize_vector(RuntimeDictionary* dictionary, u32 capacity)
{
    DictionaryEntry** entries = allocate_slots(capacity);
    if (!entries)
        return false;
    if (dictionary->count)
        std::memcpy(entries, dictionary->entries, dictionary->count * sizeof(DictionaryEntry*));
    free_slots(dictionary->entries, dictionary->capacity);
    dictionary->entries = entries;
    dictionary->capacity = capacity;
    return true;
}

void shrink_vector(RuntimeDictionary* dictionary)
{
    const u32 step = dictionary->growthStep;
    const u32 count = dictionary->count;
    const u32 unused = dictionary->capacity - count;
    u32 capacity = dictionary->capacity;
    if (step > 0 && 2 * step < unused)
        capacity = (count / step + 1) * step;
    else if (step == 0 && 2 * count < unused)
        capacity = (count / kSmallestStep + 1) * kSmallestStep;
    if (capacity != dictionary->capacity)
        resize_vector(dictionary, capacity);  // a vector that cannot shrink stays as it is
}

}  // namespace

u32 automatic_bin_count(u32 count)
{
    const u64 wanted = u64{count} * 4 / 3;
    for (u32 prime : kBinPrimes)
        if (prime >= wanted)
            return prime;
    return kBinPrimes[std::size(kBinPrimes) - 1];
}

BusyFlag::BusyFlag(RuntimeDictionary* dictionary) : m_dictionary(dictionary)
{
    while (__atomic_test_and_set(&m_dictionary->busy, __ATOMIC_ACQUIRE))
        std::this_thread::yield();
}

BusyFlag::~BusyFlag() { __atomic_clear(&m_dictionary->busy, __ATOMIC_RELEASE); }

void construct_table(RuntimeDictionary* dictionary)
{
    dictionary->bins = allocate_slots(kBinPrimes[0]);
    dictionary->binCount = dictionary->bins ? kBinPrimes[0] : 0;
    dictionary->growthStep = dictionary->binCount / 4;
    dictionary->entries = nullptr;
    dictionary->count = 0;
    dictionary->capacity = 0;
    dictionary->fixedBins = 0;
}

DetachedTable detach_table(RuntimeDictionary* dictionary)
{
    DetachedTable table{dictionary->entries, dictionary->count, dictionary->capacity, dictionary->bins,
                        dictionary->binCount};
    dictionary->entries = nullptr;
    dictionary->bins = nullptr;
    dictionary->count = dictionary->capacity = dictionary->binCount = 0;
    return table;
}

void release_detached(const DetachedTable& table)
{
    for (u32 i = 0; i < table.count; ++i)
        free_entry(table.entries[i]);
    free_slots(table.entries, table.capacity);
    free_slots(table.bins, table.bin_count);
}

DictionaryEntry* find_entry(const RuntimeDictionary* dictionary, RuntimeObject* key, u32 hash)
{
    if (!dictionary->bins || dictionary->binCount == 0)
        return nullptr;
    for (DictionaryEntry* entry = dictionary->bins[hash % dictionary->binCount]; entry; entry = entry->next)
        if (entry->hash == hash && VariantEqual(entry->key, key))
            return entry;
    return nullptr;
}

bool append_entry(RuntimeDictionary* dictionary, RuntimeObject* key, RuntimeObject* value, u32 hash)
{
    // Bins that could not be had at construction are tried again now.
    if ((!dictionary->bins || dictionary->binCount == 0) && !rebuild_bins(dictionary, kBinPrimes[0]))
        return false;
    if (dictionary->count == dictionary->capacity) {
        u32 step = dictionary->growthStep ? dictionary->growthStep : dictionary->capacity;
        step = step < kSmallestStep ? kSmallestStep : step;
        const u64 capacity = u64{dictionary->capacity} + step;
        if (capacity > kLargestSlots || !resize_vector(dictionary, static_cast<u32>(capacity)))
            return false;
    }
    auto* entry = static_cast<DictionaryEntry*>(GuardedNew(sizeof(DictionaryEntry)));
    *entry = {ObjectRef::share(key).leak(), ObjectRef::share(value).leak(), hash, static_cast<i32>(dictionary->count),
              nullptr};
    chain(dictionary, entry);
    dictionary->entries[dictionary->count++] = entry;
    return true;
}

void free_entry(DictionaryEntry* entry)
{
    const ObjectRef key = ObjectRef::adopt(entry->key), value = ObjectRef::adopt(entry->value);
    GuardedDelete(entry);
}

void unlink_entry(RuntimeDictionary* dictionary, DictionaryEntry* entry)
{
    bool ok = false;
    for (DictionaryEntry** link = &dictionary->bins[entry->hash % dictionary->binCount]; *link; link = &(*link)->next) {
        if (*link == entry) {
            *link = entry->next;
            ok = true;
            break;
        }
    }
    if (!ok)
        assertion_failed(kSource, 522, "ok");

    const i32 last = static_cast<i32>(dictionary->count) - 1;
    const i32 index = entry->index;
    if (index < 0 || index > last || dictionary->entries[index] != entry) {
        assertion_failed(kSource, 283, "index >= 0 and index <= lastIndex");
        return;  // the vector does not hold the entry where it says: leave the vector alone
    }
    if (index != last) {
        dictionary->entries[index] = dictionary->entries[last];
        dictionary->entries[index]->index = index;
    }
    dictionary->entries[last] = nullptr;
    --dictionary->count;
    shrink_vector(dictionary);
}

bool rebuild_bins(RuntimeDictionary* dictionary, u32 bin_count)
{
    if (bin_count == dictionary->binCount && dictionary->bins)
        return true;
    DictionaryEntry** bins = allocate_slots(bin_count);
    if (!bins)
        return false;
    free_slots(dictionary->bins, dictionary->binCount);
    dictionary->bins = bins;
    dictionary->binCount = bin_count;
    for (u32 i = 0; i < dictionary->count; ++i)
        chain(dictionary, dictionary->entries[i]);
    dictionary->growthStep = growth_step_for(bin_count);
    return true;
}

}  // namespace qv
