// A debugged program without a process: a small simulated address space holding records in
// the runtime's layouts, and a host with fixed answers. Shared by the tests and the fuzz target.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "debugger/debug_target.h"

namespace qv::debugger::test {

// 64 KB at 0x00400000; the last 4 KB are read-only, everything outside is unmapped.
class FakeMemory : public DebugMemory {
public:
    static constexpr u32 kBase = 0x00400000;
    static constexpr u32 kSize = 0x10000;
    static constexpr u32 kReadOnly = kBase + 0xF000;

    FakeMemory() : m_bytes(kSize, 0) { }

    bool read(u32 address, void* out, u32 size) override
    {
        if (!inside(address, size))
            return false;
        std::memcpy(out, &m_bytes[address - kBase], size);
        return true;
    }
    bool write(u32 address, const void* data, u32 size) override
    {
        if (!inside(address, size) || address + size > kReadOnly)
            return false;
        std::memcpy(&m_bytes[address - kBase], data, size);
        return true;
    }
    u32 new_string(u32 encoding, std::string_view bytes) override
    {
        if (bytes.empty())
            return 0;
        return make_string(encoding, bytes);
    }
    void release_string(u32 address) override { released.push_back(address); }

    // Setting up records, bypassing the read-only check.
    void put(u32 address, const void* data, u32 size)
    {
        if (inside(address, size))
            std::memcpy(&m_bytes[address - kBase], data, size);
    }
    void put32(u32 address, u32 value) { put(address, &value, 4); }
    u32 get32(u32 address)
    {
        u32 value = 0;
        read(address, &value, 4);
        return value;
    }
    // Room from the allocation area (the second 32 KB), 4-byte aligned; 0 when full.
    u32 allocate(u32 size)
    {
        const u32 at = m_next;
        if (size > kReadOnly - at)
            return 0;
        m_next += (size + 3) & ~3u;
        return at;
    }
    // A string record with count 1: the 20-byte header, then its buffer (length byte, text, 0).
    u32 make_string(u32 encoding, std::string_view text)
    {
        const u32 record = allocate(20 + static_cast<u32>(text.size()) + 2);
        if (record == 0)
            return 0;
        const u32 buffer = record + 20;
        const u32 header[5] = {1, buffer, static_cast<u32>(text.size()) + 2, static_cast<u32>(text.size()), encoding};
        put(record, header, sizeof header);
        const u8 length_byte = static_cast<u8>(text.size() > 255 ? 255 : text.size());
        put(buffer, &length_byte, 1);
        put(buffer + 1, text.data(), static_cast<u32>(text.size()));
        return record;
    }
    // A 64-byte class header naming the class.
    u32 make_class(std::string_view name)
    {
        const u32 record = allocate(64);
        put32(record + 4, make_string(0x0600, name));
        return record;
    }
    // A 28-byte object header of the class.
    u32 make_object(u32 class_record)
    {
        const u32 object = allocate(28);
        put32(object + 8, class_record);
        put32(object + 16, 1);
        return object;
    }
    u32 make_array(u32 data, const std::vector<u32>& bounds)
    {
        const u32 array = allocate(24 + 4 * static_cast<u32>(bounds.size()));
        put32(array, 1);
        put32(array + 8, static_cast<u32>(bounds.size()));
        put32(array + 12, data);
        for (size_t i = 0; i < bounds.size(); ++i)
            put32(array + 24 + 4 * static_cast<u32>(i), bounds[i]);
        return array;
    }

    std::vector<u32> released;

private:
    static bool inside(u32 address, u32 size)
    {
        return address >= kBase && size <= kSize && address - kBase <= kSize - size;
    }

    std::vector<u8> m_bytes;
    u32 m_next = kBase + 0x8000;
};

class FakeHost : public DebugHost {
public:
    static constexpr u32 kCodeBase = FakeMemory::kBase + 0x1000;
    static constexpr u32 kCodeSize = 0x1000;

    u32 process_id() override { return 0x1234; }
    u32 code_base() override { return kCodeBase; }
    u32 code_size() override { return kCodeSize; }
    u32 front_window() override { return window; }
    void bring_to_front(u32 w) override { fronted.push_back(w); }
    bool read_property(u32 object, std::string_view name, PropertyType type, PropertyValue& out) override
    {
        const auto found = properties.find({object, std::string(name)});
        if (found == properties.end() || found->second.first != type)
            return false;
        out = found->second.second;
        return true;
    }

    u32 window = 42;
    std::vector<u32> fronted;
    std::map<std::pair<u32, std::string>, std::pair<PropertyType, PropertyValue>> properties;
};

}  // namespace qv::debugger::test
