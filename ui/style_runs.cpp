#include "ui/style_runs.h"

#include <algorithm>
#include <limits>

namespace qv::ui {
namespace {

constexpr char kMagic[4] = {'Q', 'V', 'S', 'R'};
constexpr size_t kFaceLimit = 255;

void put_u16(std::string& out, u32 value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put_u32(std::string& out, u32 value)
{
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

// Cut before a UTF-8 continuation byte, never inside a character.
std::string_view cut_face(std::string_view face)
{
    if (face.size() <= kFaceLimit)
        return face;
    size_t end = kFaceLimit;
    while (end > 0 && (static_cast<u8>(face[end]) & 0xC0) == 0x80)
        --end;
    return face.substr(0, end);
}

class Reader {
public:
    explicit Reader(std::span<const u8> data) : m_data(data) { }
    bool take(size_t count, std::span<const u8>& out)
    {
        if (m_data.size() - m_at < count)
            return false;
        out = m_data.subspan(m_at, count);
        m_at += count;
        return true;
    }
    bool u8_(u32& out)
    {
        std::span<const u8> b;
        if (!take(1, b))
            return false;
        out = b[0];
        return true;
    }
    bool u16_(u32& out)
    {
        std::span<const u8> b;
        if (!take(2, b))
            return false;
        out = u32{b[0]} | (u32{b[1]} << 8);
        return true;
    }
    bool u32_(u32& out)
    {
        u32 low = 0, high = 0;
        if (!u16_(low) || !u16_(high))
            return false;
        out = low | (high << 16);
        return true;
    }
    bool at_end() const { return m_at == m_data.size(); }

private:
    std::span<const u8> m_data;
    size_t m_at = 0;
};

}  // namespace

void append_run(std::vector<StyleRun>& runs, const StyleRun& run)
{
    if (run.length <= 0)
        return;
    if (!runs.empty() && runs.back().same_format(run))
        runs.back().length += run.length;
    else
        runs.push_back(run);
}

std::string encode_style_runs(std::span<const StyleRun> runs)
{
    std::string out(kMagic, sizeof kMagic);
    const auto counted = std::count_if(runs.begin(), runs.end(), [](const StyleRun& r) { return r.length > 0; });
    put_u32(out, static_cast<u32>(counted));
    for (const StyleRun& run : runs) {
        if (run.length <= 0)
            continue;
        put_u32(out, static_cast<u32>(run.length));
        put_u32(out, run.color & 0x00FFFFFFu);
        put_u16(out, static_cast<u32>(std::clamp(run.size, 0, 0xFFFF)));
        out.push_back(static_cast<char>(run.style & (kRunBold | kRunItalic | kRunUnderline)));
        const std::string_view face = cut_face(run.face);
        out.push_back(static_cast<char>(face.size()));
        out.append(face);
    }
    return out;
}

std::optional<std::vector<StyleRun>> decode_style_runs(std::span<const u8> data)
{
    std::vector<StyleRun> runs;
    if (data.empty())
        return runs;
    Reader in(data);
    std::span<const u8> magic;
    u32 count = 0;
    if (!in.take(sizeof kMagic, magic) || !std::equal(magic.begin(), magic.end(), kMagic) || !in.u32_(count))
        return std::nullopt;
    // Each run takes at least 12 bytes: a count beyond what the data can hold is refused
    // before anything is reserved for it.
    if (count > data.size() / 12)
        return std::nullopt;
    runs.reserve(count);
    for (u32 i = 0; i < count; ++i) {
        u32 length = 0, color = 0, size = 0, style = 0, face_length = 0;
        std::span<const u8> face;
        if (!in.u32_(length) || !in.u32_(color) || !in.u16_(size) || !in.u8_(style) || !in.u8_(face_length) ||
            !in.take(face_length, face))
            return std::nullopt;
        if (length == 0 || length > static_cast<u32>(std::numeric_limits<i32>::max()))
            return std::nullopt;
        StyleRun run;
        run.length = static_cast<i32>(length);
        run.color = color & 0x00FFFFFFu;
        run.size = static_cast<i32>(size);
        run.style = static_cast<u8>(style & (kRunBold | kRunItalic | kRunUnderline));
        run.face.assign(face.begin(), face.end());
        runs.push_back(std::move(run));
    }
    if (!in.at_end())
        return std::nullopt;
    return runs;
}

std::vector<StyleRun> fit_runs(std::span<const StyleRun> runs, i32 length)
{
    std::vector<StyleRun> fitted;
    i32 left = length;
    for (const StyleRun& run : runs) {
        if (left <= 0)
            break;
        StyleRun cut = run;
        cut.length = std::min(run.length, left);
        left -= cut.length;
        append_run(fitted, cut);
    }
    return fitted;
}

}  // namespace qv::ui
