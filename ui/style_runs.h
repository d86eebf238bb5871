// The style runs of an edit field's styled text (TextStyleData, SetTextAndStyle): one run per
// stretch of text in one format, in text order. Stored as a byte string, all numbers little-
// endian:
//   "QVSR", the run count (u32), then per run: its length in UTF-16 units (u32, above 0), its
//   colour 0x00RRGGBB (u32), its size in points (u16), its style bits (u8: 1 bold, 2 italic,
//   4 underline) and its face name (u8 byte count, then that many bytes of UTF-8).
// An empty string has no runs: the text in the field's own format.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/types.h"

namespace qv::ui {

inline constexpr u8 kRunBold = 1;
inline constexpr u8 kRunItalic = 2;
inline constexpr u8 kRunUnderline = 4;

struct StyleRun {
    i32 length = 0;  // UTF-16 units, as the field's positions count
    u32 color = 0;   // 0x00RRGGBB
    i32 size = 0;    // points
    u8 style = 0;
    std::string face;  // UTF-8, at most 255 bytes

    bool same_format(const StyleRun& other) const
    {
        return color == other.color && size == other.size && style == other.style && face == other.face;
    }
    bool operator==(const StyleRun&) const = default;
};

// Adds a run of `run.length` units at the end; one in the last run's format lengthens it.
void append_run(std::vector<StyleRun>& runs, const StyleRun& run);

// The byte string of the runs. A face name longer than 255 bytes is cut at a character
// boundary; runs of no length are left out.
std::string encode_style_runs(std::span<const StyleRun> runs);

// The runs of a byte string; nothing for a string that is not one (another header, a run of
// no length or beyond 2^31 - 1 units, anything missing or left over).
std::optional<std::vector<StyleRun>> decode_style_runs(std::span<const u8> data);

// The runs as they apply to a text of `length` units: what reaches past its end is cut. Text
// past the last run keeps the field's format.
std::vector<StyleRun> fit_runs(std::span<const StyleRun> runs, i32 length);

}  // namespace qv::ui
