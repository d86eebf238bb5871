// StringMap: the runtime's index by name. A hash map from RuntimeString keys (held with a
// count, compared ignoring case) to values, which also keeps its entries in insertion order
// and lets iterators survive the removal of the entry they stand on.
#pragma once

#include <cstring>
#include <new>

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/strings/string_ref.h"

namespace qv {

// h = h * 31 + byte over the key's bytes taken as signed, with a-z as A-Z; 32-bit wrap-around.
u32 string_map_hash(const StringRef& key);
// Keys match when CompareNoCase finds them equal.
bool string_map_keys_equal(const StringRef& stored, const StringRef& key);

template <typename V>
class StringMap {
public:
    struct Operations {
        void (*dispose)(V& value) = nullptr;  // called for every value the map drops
        u32 (*hash)(const StringRef& key) = &string_map_hash;
        bool (*equal)(const StringRef& stored, const StringRef& key) = &string_map_keys_equal;
    };

    class Iterator;

    explicit StringMap(u32 bucket_count = 256, Operations operations = {})
        : m_operations(operations), m_bucket_count(bucket_count ? bucket_count : 1)
    {
    }
    ~StringMap();
    StringMap(const StringMap&) = delete;
    StringMap& operator=(const StringMap&) = delete;

    bool Find(const StringRef& key, V* out) const;
    void Insert(const StringRef& key, V value);
    void Remove(const StringRef& key);
    void Resize(u32 bucket_count);

    u32 bucketCount() const { return m_bucket_count; }
    u32 entryCount() const { return m_entry_count; }

private:
    struct Entry {
        Entry* next_in_bucket;
        Entry* next_in_order;
        Entry* previous_in_order;  // kept so that removal needs no walk of the order list
        StringRef key;
        V value;
    };

    u32 bucket_of(const StringRef& key) const { return m_operations.hash(key) % m_bucket_count; }
    void free_entry(Entry* entry);

    Operations m_operations;
    u32 m_bucket_count;
    u32 m_entry_count = 0;
    Entry** m_buckets = nullptr;
    Entry* m_first = nullptr;
    Entry* m_last = nullptr;
    Iterator* mIterators = nullptr;

    friend class Iterator;
};

// Visits the entries in insertion order. Removing the entry it stands on moves it to the
// next one, which it then delivers without skipping.
template <typename V>
class StringMap<V>::Iterator {
public:
    explicit Iterator(StringMap& map) : m_map(&map), m_current(map.m_first)
    {
        m_next_iterator = map.mIterators;
        map.mIterators = this;
    }
    ~Iterator() { detach(); }
    Iterator(const Iterator&) = delete;
    Iterator& operator=(const Iterator&) = delete;

    // The next entry's key and value; false at the end.
    bool Next(StringRef* key, V* value)
    {
        if (!m_map)
            return false;
        if (m_delivered && m_current)
            m_current = m_current->next_in_order;
        if (!m_current)
            return false;
        m_delivered = true;
        if (key)
            *key = m_current->key;
        if (value)
            *value = m_current->value;
        return true;
    }

private:
    void detach()
    {
        if (!m_map)
            return;
        for (Iterator** link = &m_map->mIterators; *link; link = &(*link)->m_next_iterator) {
            if (*link == this) {
                *link = m_next_iterator;
                break;
            }
        }
        m_map = nullptr;
    }

    StringMap* m_map;
    Entry* m_current;
    bool m_delivered = false;
    Iterator* m_next_iterator = nullptr;

    friend class StringMap;
};

template <typename V>
StringMap<V>::~StringMap()
{
    while (mIterators)
        mIterators->detach();
    for (Entry* entry = m_first; entry;) {
        Entry* next = entry->next_in_order;
        free_entry(entry);
        entry = next;
    }
    if (m_buckets)
        GuardedDelete(m_buckets);
}

template <typename V>
void StringMap<V>::free_entry(Entry* entry)
{
    if (m_operations.dispose)
        m_operations.dispose(entry->value);
    entry->~Entry();
    GuardedDelete(entry);
}

template <typename V>
bool StringMap<V>::Find(const StringRef& key, V* out) const
{
    if (!m_buckets)
        return false;
    for (Entry* entry = m_buckets[bucket_of(key)]; entry; entry = entry->next_in_bucket) {
        if (m_operations.equal(entry->key, key)) {
            if (out)
                *out = entry->value;
            return true;
        }
    }
    return false;
}

template <typename V>
void StringMap<V>::Insert(const StringRef& key, V value)
{
    if (!m_buckets) {
        m_buckets = static_cast<Entry**>(GuardedNew(static_cast<i32>(m_bucket_count * sizeof(Entry*))));
        std::memset(m_buckets, 0, m_bucket_count * sizeof(Entry*));
    }
    const u32 bucket = bucket_of(key);
    for (Entry* entry = m_buckets[bucket]; entry; entry = entry->next_in_bucket) {
        if (m_operations.equal(entry->key, key)) {
            if (m_operations.dispose)
                m_operations.dispose(entry->value);
            entry->value = value;  // the stored key stays
            return;
        }
    }
    auto* entry = new (GuardedNew(sizeof(Entry))) Entry{m_buckets[bucket], nullptr, m_last, key, value};
    m_buckets[bucket] = entry;
    if (m_last)
        m_last->next_in_order = entry;
    else
        m_first = entry;
    m_last = entry;
    ++m_entry_count;
    if (m_entry_count > m_bucket_count * 3 / 4)
        Resize(2 * m_bucket_count);
}

template <typename V>
void StringMap<V>::Resize(u32 bucket_count)
{
    if (bucket_count == m_bucket_count)
        return;
    if (bucket_count == 0) {
        assertion_failed("stringmap", 580, "newSize > 0");
        return;
    }
    if (m_buckets)
        GuardedDelete(m_buckets);
    m_bucket_count = bucket_count;
    m_buckets = static_cast<Entry**>(GuardedNew(static_cast<i32>(m_bucket_count * sizeof(Entry*))));
    std::memset(m_buckets, 0, m_bucket_count * sizeof(Entry*));
    for (Entry* entry = m_first; entry; entry = entry->next_in_order) {
        const u32 bucket = bucket_of(entry->key);
        entry->next_in_bucket = m_buckets[bucket];
        m_buckets[bucket] = entry;
    }
}

template <typename V>
void StringMap<V>::Remove(const StringRef& key)
{
    if (!m_buckets)
        return;
    Entry* found = nullptr;
    for (Entry** link = &m_buckets[bucket_of(key)]; *link; link = &(*link)->next_in_bucket) {
        if (m_operations.equal((*link)->key, key)) {
            found = *link;
            *link = found->next_in_bucket;
            break;
        }
    }
    if (!found)
        return;
    for (Iterator* it = mIterators; it; it = it->m_next_iterator) {
        if (it->m_current == found) {
            it->m_current = found->next_in_order;
            it->m_delivered = false;
        }
    }
    (found->previous_in_order ? found->previous_in_order->next_in_order : m_first) = found->next_in_order;
    (found->next_in_order ? found->next_in_order->previous_in_order : m_last) = found->previous_in_order;
    --m_entry_count;
    free_entry(found);
}

}  // namespace qv
