// Text through a picture's Graphics: the font description and its effect on the measurements,
// where DrawString puts its pixels (y is the baseline), wrapping and line breaks.
#include "tests/graphics/win32/graphics_fixture.h"

#include "ui/controls/font_cache.h"

namespace qv::graphics::test {
namespace {

using GraphicsText = GraphicsTest;

StringRef text(const char* utf8) { return StringRef::FromCString(utf8); }

// The rows and columns that hold any painted pixel: top, left, bottom, right (inclusive);
// all -1 when nothing was painted.
Rect painted_bounds(const Canvas& canvas, i32 width, i32 height)
{
    Rect bounds{-1, -1, -1, -1};
    for (i32 y = 0; y < height; ++y) {
        for (i32 x = 0; x < width; ++x) {
            if (canvas.at(x, y) == 0xFFFFFF)
                continue;
            bounds.left = bounds.left < 0 ? x : std::min(bounds.left, x);
            bounds.top = bounds.top < 0 ? y : bounds.top;
            bounds.right = std::max(bounds.right, x);
            bounds.bottom = y;
        }
    }
    return bounds;
}

TEST_F(GraphicsText, FontPropertiesReadBackAndChangeTheMeasurements)
{
    Canvas canvas(10, 10);
    RuntimeObject* g = canvas.g.get();
    const StringRef font = text("Arial");
    graphicsTextFontSetter(g, 0, font.get());
    EXPECT_EQ(StringRef::adopt(graphicsTextFontGetter(g, 0)).CompareExact(font), 0);
    EXPECT_EQ(graphicsTextSizeGetter(g, 0), 0);

    const i32 default_height = RuntimeGraphicsTextHeight(g);
    const i32 default_ascent = RuntimeGraphicsTextAscent(g);
    EXPECT_GT(default_ascent, 0);
    EXPECT_GT(default_height, default_ascent);
    graphicsTextSizeSetter(g, 0, 12);
    EXPECT_EQ(RuntimeGraphicsTextHeight(g), default_height) << "size 0 is 12";
    graphicsTextSizeSetter(g, 0, 36);
    EXPECT_EQ(graphicsTextSizeGetter(g, 0), 36);
    EXPECT_GT(RuntimeGraphicsTextHeight(g), 2 * default_height);

    const StringRef sample = text("Wide words");
    graphicsTextSizeSetter(g, 0, 12);
    const i32 plain = RuntimeGraphicsStringWidth(g, sample.get());
    graphicsBoldSetter(g, 0, 1);
    EXPECT_EQ(graphicsBoldGetter(g, 0), 1);
    EXPECT_GT(RuntimeGraphicsStringWidth(g, sample.get()), plain);
    graphicsBoldSetter(g, 0, 0);
    graphicsItalicSetter(g, 0, 1);
    graphicsUnderlineSetter(g, 0, 1);
    EXPECT_EQ(graphicsBoldGetter(g, 0), 0);
    EXPECT_EQ(graphicsItalicGetter(g, 0), 1);
    EXPECT_EQ(graphicsUnderlineGetter(g, 0), 1);

    EXPECT_EQ(RuntimeGraphicsStringWidth(g, nullptr), 0);
    const StringRef w = text("W");
    const StringRef ww = text("WW");
    EXPECT_EQ(RuntimeGraphicsStringWidth(g, ww.get()), 2 * RuntimeGraphicsStringWidth(g, w.get()));
}

TEST_F(GraphicsText, DrawStringPutsTheBaselineAtY)
{
    Canvas canvas(120, 60);
    RuntimeObject* g = canvas.g.get();
    graphicsTextSizeSetter(g, 0, 20);
    const i32 ascent = RuntimeGraphicsTextAscent(g);
    const StringRef sample = text("HHHH");
    const i32 width = RuntimeGraphicsStringWidth(g, sample.get());
    RuntimeGraphicsDrawString(g, sample.get(), 10, 40, 0);
    const Rect ink = painted_bounds(canvas, 120, 60);
    ASSERT_GE(ink.left, 0) << "nothing drawn";
    // Capital H sits on the baseline and reaches up towards the ascent.
    EXPECT_EQ(ink.bottom, 39) << canvas.image();
    EXPECT_GE(ink.top, 40 - ascent);
    EXPECT_LT(ink.top, 40 - ascent / 2);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + width);
}

TEST_F(GraphicsText, WrappingAndLineBreaksAddLines)
{
    Canvas canvas(200, 200);
    RuntimeObject* g = canvas.g.get();
    const i32 line = RuntimeGraphicsTextHeight(g);
    const StringRef one = text("one two three");
    const StringRef broken = text("one\rtwo\rthree");
    const i32 two_words = RuntimeGraphicsStringWidth(g, text("one two").get());
    EXPECT_EQ(RuntimeGraphicsStringHeight(g, one.get(), 1000), line);
    EXPECT_EQ(RuntimeGraphicsStringHeight(g, broken.get(), 1000), 3 * line);
    const i32 all = RuntimeGraphicsStringWidth(g, one.get());
    ASSERT_LT(two_words, all - 10);
    EXPECT_EQ(RuntimeGraphicsStringHeight(g, one.get(), all - 1), 2 * line);  // "one two" / "three"
    EXPECT_EQ(RuntimeGraphicsStringHeight(g, one.get(), all), line);

    // Drawn with a wrap width, the second line starts one line height below the first.
    const i32 ascent = RuntimeGraphicsTextAscent(g);
    const StringRef pair = text("HH HH");
    const i32 word = RuntimeGraphicsStringWidth(g, text("HH").get());
    RuntimeGraphicsDrawString(g, pair.get(), 0, ascent, word + 2);
    const Rect ink = painted_bounds(canvas, 200, 200);
    EXPECT_EQ(ink.bottom, ascent + line - 1) << canvas.image();
    EXPECT_LE(ink.right, word + 2);
}

// Ports and native controls draw from one cache: equal descriptions share one font.
TEST_F(GraphicsText, FontsAreSharedAndLetGoOf)
{
    const i32 before = ui::cached_font_count();
    {
        Canvas first(4, 4), second(4, 4);
        graphicsTextSizeSetter(first.g.get(), 0, 31);
        graphicsTextSizeSetter(second.g.get(), 0, 31);
        RuntimeGraphicsTextHeight(first.g.get());
        RuntimeGraphicsTextHeight(second.g.get());
        EXPECT_EQ(ui::cached_font_count(), before + 1);
        // A port without a font name draws in "System", as a control asking for it does.
        const ui::FontRef control = ui::acquire_font({L"system", 31, false, false, false});
        EXPECT_EQ(ui::cached_font_count(), before + 1);
    }
    EXPECT_EQ(ui::cached_font_count(), before);
}

}  // namespace
}  // namespace qv::graphics::test
