// Code pages on Linux: iconv under the names glibc gives the Windows code pages, with the
// corrections that make 932 and 1252 convert as Windows converts them.
//
// glibc's CP932 and CP1252 agree with Windows on every character both define, except:
// - CP932 encodes five characters that Windows' code page 932 has no code for: U+2014, U+2016,
//   U+203E, U+2212 and U+301C (glibc writes 815C, 8161, 7E, 817C and 8160). Windows writes its
//   default character "?" for them; its own characters at those codes are U+2015, U+2225, "~",
//   U+FF0D and U+FF5E. This is the wave-dash trap: the Windows code page reads 8160 as FULLWIDTH
//   TILDE U+FF5E and never writes it for WAVE DASH U+301C.
// - Windows defines single bytes that glibc refuses: 932 reads 80 as U+0080, A0 as U+F8F0 and
//   FD, FE, FF as U+F8F1 to U+F8F3; 1252 reads its five unassigned bytes 81, 8D, 8F, 90, 9D as
//   the C1 controls of the same value. Both directions are added here.
// What neither side defines is replaced the Windows way: undecodable bytes become the code
// page's default character (U+30FB KATAKANA MIDDLE DOT for 932, "?" elsewhere), a lead byte
// taking its following byte with it; characters the code page lacks become "?". Windows
// first tries a "best fit" look-alike for some of those (A for U+00C0); Linux does not.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/code_pages.h"
#include "platform/system_code_page.h"

namespace platform {
namespace {

struct CodePageName {
    u32 code_page;
    const char* iconv_name;
};

// The code pages of the runtime's tag table that glibc implements. The Mac OS code pages
// other than Roman, Cyrillic and Icelandic have no glibc counterpart.
// clang-format off
constexpr CodePageName kNames[] = {
    {37, "IBM037"},      {437, "IBM437"},     {708, "ASMO-708"},   {737, "CP737"},
    {775, "CP775"},      {850, "IBM850"},     {851, "IBM851"},     {852, "IBM852"},
    {855, "IBM855"},     {857, "IBM857"},     {860, "IBM860"},     {861, "IBM861"},
    {862, "IBM862"},     {863, "IBM863"},     {864, "IBM864"},     {865, "IBM865"},
    {866, "IBM866"},     {869, "IBM869"},     {874, "CP874"},      {932, "CP932"},
    {936, "CP936"},      {949, "CP949"},      {950, "CP950"},      {1250, "CP1250"},
    {1251, "CP1251"},    {1252, "CP1252"},    {1253, "CP1253"},    {1254, "CP1254"},
    {1255, "CP1255"},    {1256, "CP1256"},    {1257, "CP1257"},    {1258, "CP1258"},
    {1361, "JOHAB"},     {10000, "MACINTOSH"}, {10007, "MAC-CYRILLIC"}, {10079, "MAC-IS"},
    {65000, "UTF-7"},
};
// clang-format on

const char* iconv_name(u32 code_page)
{
    for (const CodePageName& entry : kNames)
        if (entry.code_page == code_page)
            return entry.iconv_name;
    return nullptr;
}

// One character both ways where Windows and glibc part. `bytes_length` 0 marks a character
// the Windows code page has no code for (it encodes as "?", and decoding never yields it).
struct Correction {
    u16 unit;
    u8 bytes[2];
    i32 bytes_length;
};

// clang-format off
constexpr Correction k932[] = {
    {0x0080, {0x80}, 1}, {0xF8F0, {0xA0}, 1}, {0xF8F1, {0xFD}, 1}, {0xF8F2, {0xFE}, 1},
    {0xF8F3, {0xFF}, 1}, {0x2014, {}, 0},     {0x2016, {}, 0},     {0x203E, {}, 0},
    {0x2212, {}, 0},     {0x301C, {}, 0},
};
// clang-format on
// clang-format off
constexpr Correction k1252[] = {
    {0x0081, {0x81}, 1}, {0x008D, {0x8D}, 1}, {0x008F, {0x8F}, 1},
    {0x0090, {0x90}, 1}, {0x009D, {0x9D}, 1},
};
// clang-format on

struct Corrections {
    const Correction* begin = nullptr;
    const Correction* end = nullptr;
};

Corrections corrections_of(u32 code_page)
{
    if (code_page == 932)
        return {std::begin(k932), std::end(k932)};
    if (code_page == 1252)
        return {std::begin(k1252), std::end(k1252)};
    return {};
}

const Correction* correction_for_unit(const Corrections& c, u16 unit)
{
    for (const Correction* p = c.begin; p != c.end; ++p)
        if (p->unit == unit)
            return p;
    return nullptr;
}

const Correction* correction_for_byte(const Corrections& c, u8 byte)
{
    for (const Correction* p = c.begin; p != c.end; ++p)
        if (p->bytes_length == 1 && p->bytes[0] == byte)
            return p;
    return nullptr;
}

// The lead bytes of the double-byte code pages (what IsDBCSLeadByteEx reports on Windows).
bool is_code_page_lead_byte(u32 code_page, u8 byte)
{
    switch (code_page) {
    case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950: return byte >= 0x81 && byte <= 0xFE;
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE) || (byte >= 0xE0 && byte <= 0xF9);
    default: return false;
    }
}

u16 default_unit(u32 code_page) { return code_page == 932 ? 0x30FB : 0x003F; }

constexpr u8 kDefaultByte = '?';

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) { }
    ~Converter()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can into `out` (appending), growing it as needed. Stops at the
    // end of the input (0) or at input it cannot convert (EILSEQ or EINVAL), with `in` and
    // `in_left` at that place.
    int run(char*& in, size_t& in_left, std::vector<u8>& out)
    {
        for (;;) {
            const size_t used = out.size();
            const size_t room = in_left * 2 + 32;
            out.resize(used + room);
            char* to = reinterpret_cast<char*>(out.data() + used);
            size_t to_left = room;
            const size_t result = iconv(m_cd, in ? &in : nullptr, in ? &in_left : nullptr, &to, &to_left);
            out.resize(used + (room - to_left));
            if (result != static_cast<size_t>(-1))
                return 0;
            if (errno != E2BIG)
                return errno;
        }
    }

    // Ends the output in the initial shift state (UTF-7 may owe a closing byte).
    void flush(std::vector<u8>& out)
    {
        char* none = nullptr;
        size_t zero = 0;
        run(none, zero, out);
    }

private:
    iconv_t m_cd;
};

void append_unit(std::vector<u8>& out, u16 unit)
{
    out.push_back(static_cast<u8>(unit & 0xFF));
    out.push_back(static_cast<u8>(unit >> 8));
}

}  // namespace

bool is_valid_code_page(u32 code_page)
{
    // Asked before every conversion; iconv is asked once per code page.
    static std::mutex s_mutex;
    static std::map<u32, bool> s_known;
    std::lock_guard<std::mutex> guard(s_mutex);
    auto found = s_known.find(code_page);
    if (found != s_known.end())
        return found->second;
    bool valid = false;
    if (const char* name = iconv_name(code_page)) {
        Converter decode("UTF-16LE", name);
        Converter encode(name, "UTF-16LE");
        valid = decode.ok() && encode.ok();
    }
    s_known[code_page] = valid;
    return valid;
}

bool decode_code_page(u32 code_page, const u8* bytes, i32 length, std::vector<u16>& out)
{
    out.clear();
    const char* name = iconv_name(code_page);
    if (!name)
        return false;
    Converter converter("UTF-16LE", name);
    if (!converter.ok())
        return false;
    const Corrections corrections = corrections_of(code_page);
    std::vector<u8> wide;  // UTF-16LE bytes
    wide.reserve(static_cast<size_t>(length) * 2);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    size_t in_left = length > 0 ? static_cast<size_t>(length) : 0;
    while (in_left > 0) {
        if (converter.run(in, in_left, wide) == 0)
            break;
        // A byte iconv cannot read: Windows' own reading, or its default character.
        const u8 byte = static_cast<u8>(*in);
        size_t skip = 1;
        if (const Correction* c = correction_for_byte(corrections, byte)) {
            append_unit(wide, c->unit);
        } else {
            append_unit(wide, default_unit(code_page));
            if (is_code_page_lead_byte(code_page, byte) && in_left > 1 && in[1] != 0)
                skip = 2;
        }
        in += skip;
        in_left -= skip;
    }
    converter.flush(wide);
    out.resize(wide.size() / 2);
    if (!out.empty())
        std::memcpy(out.data(), wide.data(), out.size() * 2);
    return true;
}

bool encode_code_page(u32 code_page, const u16* units, i32 count, std::vector<u8>& out)
{
    out.clear();
    const char* name = iconv_name(code_page);
    if (!name)
        return false;
    Converter converter(name, "UTF-16LE");
    if (!converter.ok())
        return false;
    const Corrections corrections = corrections_of(code_page);
    out.reserve(static_cast<size_t>(count) * 2);
    i32 i = 0;
    while (i < count) {
        // The run up to the next corrected character goes through iconv.
        i32 end = i;
        const Correction* correction = nullptr;
        while (end < count && !(correction = correction_for_unit(corrections, units[end])))
            ++end;
        char* in = const_cast<char*>(reinterpret_cast<const char*>(units + i));
        size_t in_left = static_cast<size_t>(end - i) * 2;
        while (in_left > 0) {
            if (converter.run(in, in_left, out) == 0)
                break;
            // A character the code page lacks (or a lone surrogate): the default character,
            // once for a whole surrogate pair.
            u16 unit;
            std::memcpy(&unit, in, 2);
            size_t skip = 2;
            if (unit >= 0xD800 && unit <= 0xDBFF && in_left >= 4) {
                u16 next;
                std::memcpy(&next, in + 2, 2);
                if (next >= 0xDC00 && next <= 0xDFFF)
                    skip = 4;
            }
            out.push_back(kDefaultByte);
            in += skip;
            in_left -= skip;
        }
        if (end < count) {
            if (correction->bytes_length == 0)
                out.push_back(kDefaultByte);
            else
                out.insert(out.end(), correction->bytes, correction->bytes + correction->bytes_length);
            ++end;
        }
        i = end;
    }
    converter.flush(out);
    return true;
}

u16 user_default_language()
{
    switch (system_code_page()) {
    case 932: return 0x0411;  // Japanese
    case 936: return 0x0804;  // Chinese (PRC)
    case 949: return 0x0412;  // Korean
    case 950: return 0x0404;  // Chinese (Taiwan)
    default: return 0x0409;   // English (United States)
    }
}

}  // namespace platform
