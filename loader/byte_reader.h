// Bounds-checked little-endian reading of untrusted bytes: every read says whether the bytes
// were there, so a truncated stream can never be read past its end.
#pragma once

#include <cstring>
#include <span>

#include "core/types.h"
#include "loader/image_format.h"

namespace qv {

class ByteReader {
public:
    explicit ByteReader(std::span<const u8> bytes) : m_bytes(bytes) { }

    size_t position() const { return m_position; }
    size_t remaining() const { return m_bytes.size() - m_position; }
    bool at_end() const { return m_position >= m_bytes.size(); }

    bool read_u8(u8& out) { return read_raw(&out, 1); }
    bool read_u16(u16& out) { return read_field(out, load_u16); }
    bool read_u32(u32& out) { return read_field(out, load_u32); }
    bool read_i32(i32& out)
    {
        u32 v;
        if (!read_u32(v))
            return false;
        out = static_cast<i32>(v);
        return true;
    }
    // A view of the next n bytes (inside the reader's buffer), or false when fewer remain.
    bool read_span(size_t n, std::span<const u8>& out)
    {
        if (n > remaining())
            return false;
        out = m_bytes.subspan(m_position, n);
        m_position += n;
        return true;
    }
    bool skip(size_t n)
    {
        if (n > remaining())
            return false;
        m_position += n;
        return true;
    }

private:
    template <typename T>
    bool read_field(T& out, T (*load)(const u8*))
    {
        std::span<const u8> bytes;
        if (!read_span(sizeof(T), bytes))
            return false;
        out = load(bytes.data());
        return true;
    }
    bool read_raw(void* out, size_t n)
    {
        if (n > remaining())
            return false;
        std::memcpy(out, m_bytes.data() + m_position, n);
        m_position += n;
        return true;
    }

    std::span<const u8> m_bytes;
    size_t m_position = 0;
};

}  // namespace qv
