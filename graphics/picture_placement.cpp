// DrawPicture's argument defaults and source clipping, one direction at a time.
#include "graphics/picture_placement.h"

namespace qv::graphics {
namespace {

// One direction of the placement: destination start and extent, source start and extent.
struct Span {
    i32& dest;
    i32& dest_extent;
    i32& source;
    i32& source_extent;
};

// False when nothing of the picture is left to draw in this direction.
bool clip_span(Span span, i32 picture_extent)
{
    if (span.dest_extent < 1 || span.source_extent < 1)
        return false;
    if (span.source < 0) {
        // 64-bit products: extents can be as large as image code likes.
        const i32 shift = static_cast<i32>(static_cast<i64>(-span.source) * span.dest_extent / span.source_extent);
        span.dest += shift;
        span.dest_extent -= shift;
        span.source_extent += span.source;
        span.source = 0;
    }
    if (span.source_extent > picture_extent - span.source) {
        const i32 kept = picture_extent - span.source;
        if (kept < 1)
            return false;
        span.dest_extent = static_cast<i32>(static_cast<i64>(span.dest_extent) * kept / span.source_extent);
        span.source_extent = kept;
    }
    return span.dest_extent >= 1 && span.source_extent >= 1;
}

}  // namespace

std::optional<PicturePlacement> place_picture(PicturePlacement p, i32 picture_width, i32 picture_height)
{
    if (p.dest_width == kDefaultArgument)
        p.dest_width = picture_width;
    if (p.dest_height == kDefaultArgument)
        p.dest_height = picture_height;
    if (p.source_width == kDefaultArgument)
        p.source_width = p.dest_width;
    if (p.source_height == kDefaultArgument)
        p.source_height = p.dest_height;
    if (p.source_x == kDefaultArgument)
        p.source_x = 0;
    if (p.source_y == kDefaultArgument)
        p.source_y = 0;
    if (!clip_span({p.dest_x, p.dest_width, p.source_x, p.source_width}, picture_width))
        return std::nullopt;
    if (!clip_span({p.dest_y, p.dest_height, p.source_y, p.source_height}, picture_height))
        return std::nullopt;
    return p;
}

}  // namespace qv::graphics
