// The built-in class Dictionary: its definition, construction and destruction, and the
// exported routines behind Count, BinCount, Clear, HasKey, Key, Remove and Value.
//
// Counts that an operation gives up (a replaced value, a removed entry's key and value, a
// cleared table) are released only after the busy flag is let go: releasing may run a
// finalizer, and a finalizer that touches the same dictionary would otherwise spin forever.
#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/exceptions/raise_builtin.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_ref.h"
#include "runtime/variants/dictionary.h"

namespace qv {
namespace {

constexpr TypeDescriptor kVariantType = object_type("Variant");

const ParameterRecord kKey[] = {{"key", &kVariantType, 0}};
const ParameterRecord kIndex[] = {{"index", &kIntegerType, 0}};

const PropertyRecord kProperties[] = {
    {0, "Count", &kIntegerType, QV_ROUTINE(dictionaryCount), nullptr, nullptr, 0, 0},
    {0, "BinCount", &kIntegerType, QV_ROUTINE(dictionaryGetBins), QV_ROUTINE(dictionarySetBins), 0, 0},
};

const MethodRecord kMethods[] = {
    {"Clear", nullptr, nullptr, 0, QV_ROUTINE(dictionaryRemoveAll), nullptr, nullptr, 0},
    {"HasKey", &kBooleanType, kKey, 1, QV_ROUTINE(dictionaryHasKey), nullptr, nullptr, 0},
    {"Key", &kVariantType, kIndex, 1, QV_ROUTINE(dictionaryKey), nullptr, nullptr, 0},
    {"Remove", nullptr, kKey, 1, QV_ROUTINE(dictionaryRemove), nullptr, nullptr, 0},
    {"Value", &kVariantType, kKey, 1, QV_ROUTINE(dictionaryValueGetter), QV_ROUTINE(dictionaryValueSetter), 0},
};

RuntimeDictionary* as_dictionary(RuntimeObject* object) { return reinterpret_cast<RuntimeDictionary*>(object); }

void initialize_dictionary(RuntimeObject* object) { construct_table(as_dictionary(object)); }

void finalize_dictionary(RuntimeObject* object) { release_detached(detach_table(as_dictionary(object))); }

ObjectDefinition s_definition;

// The key's hash, or false after raising for a nil dictionary or key.
bool hash_for(RuntimeObject* dictionary, RuntimeObject* key, u32& hash)
{
    if (!dictionary || !key) {
        RaiseNilObject();
        return false;
    }
    hash = VariantHash(key);
    return true;
}

}  // namespace

ObjectDefinition* dictionary_definition()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "Dictionary";
        source.instance_size = sizeof(RuntimeDictionary);
        source.properties = kProperties;
        source.methods = kMethods;
        source.initializer = &initialize_dictionary;
        source.finalizer = &finalize_dictionary;
        build_definition(s_definition, source);
    });
    return &s_definition;
}

ClassRecord* dictionary_class()
{
    static ClassRecord* const s_class = ClassFromDefinition(dictionary_definition());
    return s_class;
}

}  // namespace qv

using namespace qv;

extern "C" {

int32_t dictionaryCount(RuntimeObject* dictionary)
{
    if (!dictionary) {
        RaiseNilObject();
        return 0;
    }
    return static_cast<i32>(as_dictionary(dictionary)->count);
}

int32_t dictionaryGetBins(RuntimeObject* dictionary)
{
    if (!dictionary) {
        RaiseNilObject();
        return 0;
    }
    return static_cast<i32>(as_dictionary(dictionary)->binCount);
}

void dictionarySetBins(RuntimeObject* object, int32_t bins)
{
    if (!object) {
        RaiseNilObject();
        return;
    }
    RuntimeDictionary* dictionary = as_dictionary(object);
    bool rebuilt;
    {
        BusyFlag busy(dictionary);
        const u32 target = bins > 0 ? static_cast<u32>(bins) : automatic_bin_count(dictionary->count);
        rebuilt = rebuild_bins(dictionary, target);
        if (rebuilt)
            dictionary->fixedBins = bins > 0;
    }
    if (!rebuilt)
        raise_builtin(ExceptionClass::OutOfMemoryException);
}

int32_t dictionaryHasKey(RuntimeObject* dictionary, RuntimeObject* key)
{
    u32 hash;
    return hash_for(dictionary, key, hash) && find_entry(as_dictionary(dictionary), key, hash);
}

RuntimeObject* dictionaryValueGetter(RuntimeObject* dictionary, RuntimeObject* key)
{
    u32 hash;
    if (!hash_for(dictionary, key, hash))
        return nullptr;
    DictionaryEntry* entry = find_entry(as_dictionary(dictionary), key, hash);
    if (!entry) {
        raise_builtin(ExceptionClass::KeyNotFoundException);
        return nullptr;
    }
    RuntimeLockObject(entry->value);
    return entry->value;
}

void dictionaryValueSetter(RuntimeObject* object, RuntimeObject* key, RuntimeObject* value)
{
    u32 hash;
    if (!hash_for(object, key, hash))
        return;
    RuntimeDictionary* dictionary = as_dictionary(object);
    bool stored = true;
    {
        ObjectRef replaced;  // given back after the busy flag: its finalizer may use the dictionary
        {
            BusyFlag busy(dictionary);
            if (DictionaryEntry* entry = find_entry(dictionary, key, hash)) {
                replaced = ObjectRef::adopt(entry->value);
                entry->value = ObjectRef::share(value).leak();
            } else {
                stored = append_entry(dictionary, key, value, hash);
            }
        }
    }
    if (!stored) {
        raise_builtin(ExceptionClass::OutOfMemoryException);
        return;
    }
    if (!dictionary->fixedBins && dictionary->binCount * 3 / 4 < dictionary->count) {
        BusyFlag busy(dictionary);
        rebuild_bins(dictionary, automatic_bin_count(dictionary->count));  // on failure the old bins serve
    }
}

RuntimeObject* dictionaryKey(RuntimeObject* object, int32_t index)
{
    if (!object) {
        RaiseNilObject();
        return nullptr;
    }
    RuntimeDictionary* dictionary = as_dictionary(object);
    if (index < 0 || static_cast<u32>(index) >= dictionary->count) {
        RaiseOutOfBounds();
        return nullptr;
    }
    RuntimeObject* key = dictionary->entries[index]->key;
    RuntimeLockObject(key);
    return key;
}

void dictionaryRemove(RuntimeObject* object, RuntimeObject* key)
{
    u32 hash;
    if (!hash_for(object, key, hash))
        return;
    RuntimeDictionary* dictionary = as_dictionary(object);
    DictionaryEntry* entry;
    {
        BusyFlag busy(dictionary);
        entry = find_entry(dictionary, key, hash);
        if (entry)
            unlink_entry(dictionary, entry);
    }
    if (!entry) {
        raise_builtin(ExceptionClass::KeyNotFoundException);
        return;
    }
    free_entry(entry);
}

void dictionaryRemoveAll(RuntimeObject* object)
{
    if (!object) {
        RaiseNilObject();
        return;
    }
    RuntimeDictionary* dictionary = as_dictionary(object);
    DetachedTable old;
    {
        BusyFlag busy(dictionary);
        old = detach_table(dictionary);
        construct_table(dictionary);
    }
    release_detached(old);
}

}  // extern "C"
