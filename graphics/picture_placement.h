// Where DrawPicture puts a bitmap picture: the defaults of its optional arguments and the
// clipping of a source rectangle that reaches outside the picture.
#pragma once

#include <optional>

#include "core/types.h"

namespace qv::graphics {

// An argument equal to this takes its default.
inline constexpr i32 kDefaultArgument = -10000;

struct PicturePlacement {
    i32 dest_x = 0;
    i32 dest_y = 0;
    i32 dest_width = kDefaultArgument;
    i32 dest_height = kDefaultArgument;
    i32 source_x = 0;
    i32 source_y = 0;
    i32 source_width = kDefaultArgument;
    i32 source_height = kDefaultArgument;
    bool operator==(const PicturePlacement&) const = default;
};

// The destination and source rectangles to stretch between, or nothing when no pixel would be
// drawn. Defaults: the destination size is the picture's, the source size the destination's,
// the source origin 0. A source rectangle starting left of or above the picture starts at its
// edge instead and the destination shrinks from the left or top by the scaled amount; one
// reaching past the right or bottom edge is cut there and the destination scaled alike.
std::optional<PicturePlacement> place_picture(PicturePlacement requested, i32 picture_width, i32 picture_height);

}  // namespace qv::graphics
