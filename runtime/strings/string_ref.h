// StringRef: the runtime's one handle on a RuntimeString. One pointer; copying adds a count,
// destroying or assigning over releases one. Text operations that leave the text unchanged
// hand back the same record instead of a copy; anything empty is nil.
// The PascalCase operations are the ones the rest of the system calls by name; the snake_case
// members are this class's own helpers.
#pragma once

#include <utility>

#include "runtime/strings/runtime_string.h"

namespace qv {

class StringRef {
public:
    StringRef() = default;
    StringRef(const StringRef& other) : m_record(other.m_record) { retain_string(m_record); }
    StringRef(StringRef&& other) noexcept : m_record(std::exchange(other.m_record, nullptr)) { }
    StringRef& operator=(StringRef other) noexcept
    {
        std::swap(m_record, other.m_record);
        return *this;
    }
    ~StringRef() { release_string(m_record); }

    // Takes over a count the caller owns.
    static StringRef adopt(RuntimeString* record)
    {
        StringRef s;
        s.m_record = record;
        return s;
    }
    // Adds a count of its own (for borrowed arguments).
    static StringRef share(RuntimeString* record)
    {
        retain_string(record);
        return adopt(record);
    }
    // Hands the count on to the caller, leaving the handle nil.
    [[nodiscard]] RuntimeString* leak() { return std::exchange(m_record, nullptr); }
    RuntimeString* get() const { return m_record; }

    bool is_nil() const { return m_record == nullptr; }
    i32 length() const { return string_length(m_record); }
    u32 encoding() const { return string_encoding(m_record); }
    const u8* bytes() const { return string_bytes(m_record); }
    // Overwrites the tag of the record (nothing for nil); the caller must own it alone.
    void set_encoding(u32 tag)
    {
        if (m_record)
            m_record->encoding = tag;
    }

    // Construction.
    static StringRef FromCString(const char* text);
    static StringRef FromBytes(const void* bytes, i32 n);
    static StringRef FromWide(const u16* chars, i32 n);
    static StringRef FromInteger(i32 value);

    // Assignment and growth.
    void Assign(const StringRef& other);
    void Append(const char* text);
    void Append(const StringRef& other);
    void AppendByte(u8 byte);
    static StringRef Concat(const StringRef& a, const StringRef& b);

    // Substrings, with 0-based byte offsets and counts.
    StringRef Left(i32 n) const;
    StringRef Right(i32 n) const;
    StringRef MidFrom(i32 start) const;
    StringRef Mid(i32 start, i32 count) const;

    StringRef TrimLeft() const;
    StringRef TrimRight() const;
    StringRef Trim() const;

    // -1, 0 or 1; the comparisons the runtime's own lookups use.
    int CompareExact(const StringRef& other) const;
    int CompareNoCase(const StringRef& other) const;

    // Pointer to text byte i for writing; copies a shared record first.
    u8* WritableAt(i32 i);

    StringRef ToUTF8() const;
    StringRef ToUTF16() const;

    const char* CText() const;
    const u8* PText() const;
    // UTF-16 text at buffer + 1, which is not 2-aligned: read it with memcpy, or hand it to
    // functions that accept unaligned text.
    const void* WideText() const;

    bool IsSevenBit() const;

private:
    RuntimeString* m_record = nullptr;
};

static_assert(sizeof(StringRef) == sizeof(void*));

}  // namespace qv
