// Shared by the graphics suite: pictures with their Graphics, and pixels shown as small text
// images so that a failure prints what was drawn.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/graphics_class.h"
#include "graphics/picture_class.h"
#include "runtime/objects/object_ref.h"
#include "tests/support/value_fixture.h"

namespace qv::graphics::test {

// A picture and its Graphics, both released at the end of the scope.
struct Canvas {
    Canvas(i32 width, i32 height)
        : picture(ObjectRef::adopt(newPicture(width, height, 32))),
          g(ObjectRef::adopt(pictureGraphicsGetter(picture.get(), 0)))
    {
    }
    // 0x00RRGGBB of one pixel, read from the bitmap itself rather than through the port.
    u32 at(i32 x, i32 y) const
    {
        GdiFlush();
        return picture_pixels(picture.get())[y * pictureWidthGetter(picture.get(), 0) + x] & 0xFFFFFF;
    }
    // The pixels of the picture as rows of '.' (white) and '#' (anything else), one row per line.
    std::string image() const
    {
        std::string text;
        const i32 width = pictureWidthGetter(picture.get(), 0);
        const i32 height = pictureHeightGetter(picture.get(), 0);
        for (i32 y = 0; y < height; ++y) {
            for (i32 x = 0; x < width; ++x)
                text += at(x, y) == 0xFFFFFF ? '.' : '#';
            text += '\n';
        }
        return text;
    }
    i32 painted() const
    {
        i32 count = 0;
        for (char c : image())
            count += c == '#';
        return count;
    }
    ObjectRef picture;
    ObjectRef g;
};

// A one-dimensional Integer array holding elements 0 .. values.size() - 1.
inline RuntimeArray* integer_array(const std::vector<i32>& values)
{
    RuntimeArray* array = CreateArray(1, QV_ARRAY_VALUE32, static_cast<int32_t>(values.size()) - 1);
    for (size_t i = 0; i < values.size(); ++i)
        *static_cast<i32*>(FindArrayElement(array, static_cast<int32_t>(i))) = values[i];
    return array;
}

// Rows of a text image, for images written as one string per row.
inline std::string rows(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\n";
    return text;
}

// The environment of graphics_environment.cpp has started the runtime and made the classes.
using GraphicsTest = qv::test::ValueTest;

}  // namespace qv::graphics::test
