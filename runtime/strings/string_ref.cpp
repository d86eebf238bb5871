// StringRef operations: construction, assignment, joining, substrings, trimming, writing,
// Unicode forms. Comparisons live in string_compare.cpp.
#include "runtime/strings/string_ref.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/runtime_locks.h"
#include "runtime/strings/encoding_reconcile.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

const u8 s_empty_pstring[2] = {0, 0};
const u16 s_empty_wide[1] = {0};
u8 s_scratch_byte;

StringRef copy_bytes(const u8* bytes, i32 n, u32 encoding)
{
    StringRef s = StringRef::FromBytes(bytes, n);
    s.set_encoding(encoding);
    return s;
}

StringRef join(const u8* a, i32 na, const u8* b, i32 nb, u32 encoding)
{
    StringRef s = StringRef::adopt(allocate_string(na + nb));
    if (s.is_nil())
        return s;
    u8* text = s.get()->buffer + 1;
    std::memcpy(text, a, static_cast<size_t>(na));
    std::memcpy(text + na, b, static_cast<size_t>(nb));
    s.set_encoding(encoding);
    return s;
}

bool is_blank(u8 b) { return b == ' ' || b == '\t'; }

}  // namespace

StringRef StringRef::FromCString(const char* text)
{
    if (!text) {
        assertion_failed("utility", 362, "str");
        return {};
    }
    StringRef s = FromBytes(text, static_cast<i32>(std::strlen(text)));
    s.set_encoding(kEncodingASCII);
    return s;
}

StringRef StringRef::FromBytes(const void* bytes, i32 n)
{
    StringRef s = adopt(allocate_string(n));
    if (!s.is_nil() && bytes)
        std::memcpy(s.m_record->buffer + 1, bytes, static_cast<size_t>(n));
    return s;
}

StringRef StringRef::FromWide(const u16* chars, i32 n)
{
    if (n <= 0 || n > 0x3FFFFFF0)
        return {};
    StringRef s = adopt(allocate_string_with_terminator(2 * n, 2));
    if (s.is_nil())
        return s;
    if (chars)
        std::memcpy(s.m_record->buffer + 1, chars, static_cast<size_t>(n) * 2);
    s.m_record->buffer[0] = static_cast<u8>((2 * n) & 0xFF);
    s.m_record->encoding = kEncodingUTF16;
    return s;
}

StringRef StringRef::FromInteger(i32 value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    return FromCString(text);
}

void StringRef::Assign(const StringRef& other)
{
    if (this == &other)
        return;
    LockGuard guard(string_lock());
    RuntimeString* old = m_record;
    m_record = other.m_record;
    retain_string(m_record);
    release_string(old);
}

void StringRef::Append(const char* text)
{
    if (!text) {
        assertion_failed("utility", 362, "str");
        return;
    }
    const i32 n = static_cast<i32>(std::strlen(text));
    if (n == 0)
        return;
    LockGuard guard(string_lock());
    const u32 encoding = is_nil() ? kEncodingUnknown : this->encoding();
    *this = join(bytes(), length(), reinterpret_cast<const u8*>(text), n, encoding);
}

void StringRef::Append(const StringRef& other)
{
    if (other.length() == 0)
        return;
    LockGuard guard(string_lock());
    if (!is_nil() && encoding() != other.encoding()) {
        *this = Concat(*this, other);
        return;
    }
    const u32 encoding = is_nil() ? other.encoding() : this->encoding();
    *this = join(bytes(), length(), other.bytes(), other.length(), encoding);
}

void StringRef::AppendByte(u8 byte)
{
    LockGuard guard(string_lock());
    u32 encoding;
    if (byte >= 0x80)
        encoding = kEncodingUnknown;
    else
        encoding = is_nil() ? kEncodingASCII : Combine(this->encoding(), kEncodingASCII, false);
    *this = join(bytes(), length(), &byte, 1, encoding);
}

StringRef StringRef::Concat(const StringRef& a, const StringRef& b)
{
    LockGuard guard(string_lock());
    if (b.length() == 0)
        return a;
    if (a.length() == 0)
        return b;
    if (a.encoding() == b.encoding())
        return join(a.bytes(), a.length(), b.bytes(), b.length(), a.encoding());
    StringRef left = a;
    StringRef right = b;
    const u32 encoding = Reconcile(&left, &right);
    return join(left.bytes(), left.length(), right.bytes(), right.length(), encoding);
}

StringRef StringRef::Left(i32 n) const
{
    if (n >= length())
        return *this;
    if (n <= 0)
        return {};
    return copy_bytes(bytes(), n, encoding());
}

StringRef StringRef::Right(i32 n) const
{
    if (n >= length())
        return *this;
    if (n <= 0)
        return {};
    return copy_bytes(bytes() + length() - n, n, encoding());
}

StringRef StringRef::MidFrom(i32 start) const
{
    if (start < 0)
        start = 0;
    if (start == 0)
        return *this;
    if (start >= length())
        return {};
    return copy_bytes(bytes() + start, length() - start, encoding());
}

StringRef StringRef::Mid(i32 start, i32 count) const
{
    if (start < 0) {
        // Written so that a huge negative start cannot overflow the count.
        count = (count < INT32_MIN - start) ? INT32_MIN : count + start;
        start = 0;
    }
    if (start >= length() || count <= 0)
        return {};
    if (start == 0 && count == length())
        return *this;
    const i32 n = count < length() - start ? count : length() - start;
    return copy_bytes(bytes() + start, n, encoding());
}

StringRef StringRef::TrimLeft() const
{
    i32 start = 0;
    while (start < length() && is_blank(bytes()[start]))
        ++start;
    return MidFrom(start);
}

StringRef StringRef::TrimRight() const
{
    i32 end = length();
    while (end > 0 && is_blank(bytes()[end - 1]))
        --end;
    return Left(end);
}

StringRef StringRef::Trim() const { return TrimRight().TrimLeft(); }

u8* StringRef::WritableAt(i32 i)
{
    if (is_nil()) {
        if (i != 0)
            assertion_failed("string", 716, "0");
        return &s_scratch_byte;
    }
    if (i < 0 || i >= length()) {
        assertion_failed("string", 706, "0");
        return &s_scratch_byte;
    }
    if (m_record->refCount > 1) {
        LockGuard guard(string_lock());
        StringRef copy = FromBytes(bytes(), length());
        if (copy.is_nil())
            return &s_scratch_byte;
        *this = std::move(copy);
    }
    return m_record->buffer + 1 + i;
}

StringRef StringRef::ToUTF8() const
{
    if (is_nil() || encoding() == kEncodingUTF8)
        return *this;
    if (encoding() != kEncodingUTF16)
        return convert_encoding(*this, kEncodingUTF8);
    std::vector<u16> units(static_cast<size_t>(length() / 2));
    if (!units.empty())
        std::memcpy(units.data(), bytes(), units.size() * 2);
    const std::vector<u8> text = utf16_to_utf8(units.data(), static_cast<i32>(units.size()));
    return copy_bytes(text.data(), static_cast<i32>(text.size()), kEncodingUTF8);
}

StringRef StringRef::ToUTF16() const
{
    if (is_nil() || encoding() == kEncodingUTF16)
        return *this;
    if (encoding() != kEncodingUTF8)
        return convert_encoding(*this, kEncodingUTF16);
    // The record is made for 2n + 1 bytes, as many as n bytes of UTF-8 can need with the
    // terminator, and then cut to the units written.
    const std::vector<u16> units = utf8_to_utf16(bytes(), length());
    if (units.empty())
        return {};
    StringRef s = adopt(allocate_string(2 * length() + 1));
    if (s.is_nil())
        return s;
    const i32 n = static_cast<i32>(units.size()) * 2;
    std::memcpy(s.m_record->buffer + 1, units.data(), static_cast<size_t>(n));
    s.m_record->buffer[1 + n] = 0;
    s.m_record->buffer[2 + n] = 0;
    s.m_record->length = n;
    s.m_record->buffer[0] = static_cast<u8>(n & 0xFF);
    s.m_record->encoding = kEncodingUTF16;
    return s;
}

const char* StringRef::CText() const
{
    return is_nil() ? reinterpret_cast<const char*>(s_empty_pstring + 1)
                    : reinterpret_cast<const char*>(m_record->buffer + 1);
}

const u8* StringRef::PText() const { return is_nil() ? s_empty_pstring : m_record->buffer; }

const void* StringRef::WideText() const
{
    if (is_nil())
        return s_empty_wide;
    if (encoding() != kEncodingUTF16) {
        assertion_failed("string", 584, "encoding == kEncodingUTF16");
        return s_empty_wide;
    }
    return m_record->buffer + 1;
}

bool StringRef::IsSevenBit() const
{
    if (is_nil())
        return true;
    if (is_unicode_base(encoding()))
        return false;
    const u8* text = bytes();
    for (i32 i = 0; i < length(); ++i)
        if (text[i] & 0x80)
            return false;
    return true;
}

}  // namespace qv
