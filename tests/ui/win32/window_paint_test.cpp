// Paint: the window's Paint event draws through the Graphics it is given, which draws nothing
// once the paint is over; the Graphics property is one object for the window's life.
#include "graphics/picture_class.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

RuntimeObject* g_kept = nullptr;
i32 g_paint_width = 0;

void paint_red_square(RuntimeObject*, RuntimeObject* g)
{
    log_event("Paint");
    g_paint_width = graphicsWidthGetter(g, 0);
    graphicsForeColorSetter(g, 0, 0xFF0000);
    RuntimeGraphicsFillRect(g, 10, 10, 20, 20);
    RuntimeLockObject(g);
    RuntimeUnlockObject(std::exchange(g_kept, g));
}

using Paint = WindowTest;

TEST_F(Paint, PaintDrawsIntoTheWindowAndItsGraphicsIsDetachedAfterwards)
{
    set_event(m_class, kWindowPaint, &paint_red_square);
    RuntimeObject* window = open_window();
    turn();
    HWND handle = handle_of(window);
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_GE(g_log.count("Paint"), 1);
    EXPECT_EQ(g_paint_width, 300);
    HDC dc = GetDC(handle);
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc, 40, 40), RGB(255, 0, 0));
    // The kept Graphics outlived its paint: drawing with it now changes nothing.
    graphicsForeColorSetter(g_kept, 0, 0x00FF00);
    RuntimeGraphicsFillRect(g_kept, 40, 40, 20, 20);
    EXPECT_NE(GetPixel(dc, 45, 45), RGB(0, 255, 0));
    ReleaseDC(handle, dc);
    RuntimeUnlockObject(std::exchange(g_kept, nullptr));
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Paint, TheGraphicsPropertyIsOneObjectUntilTheWindowCloses)
{
    RuntimeObject* window = open_window();
    turn();
    RuntimeObject* first = windowGraphicsGetter(window, 0);
    ASSERT_NE(first, nullptr);
    RuntimeObject* second = windowGraphicsGetter(window, 0);
    EXPECT_EQ(first, second);
    graphicsForeColorSetter(first, 0, 0x0000FF);
    RuntimeGraphicsFillRect(first, 50, 50, 10, 10);
    HDC dc = GetDC(handle_of(window));
    EXPECT_EQ(GetPixel(dc, 55, 55), RGB(0, 0, 255));
    ReleaseDC(handle_of(window), dc);
    RuntimeCloseWindow(window);
    EXPECT_EQ(windowGraphicsGetter(window, 0), nullptr);
    RuntimeUnlockObject(second);
    RuntimeUnlockObject(first);
    RuntimeUnlockObject(window);
}

// The Backdrop is drawn at the top-left corner in its own size, under what Paint draws, also in
// a window without a Paint handler; a backdrop set later redraws the window.
TEST_F(Paint, TheBackdropLiesUnderPaintAtTheTopLeftInItsOwnSize)
{
    RuntimeObject* backdrop = newPicture(40, 30, 32);
    ASSERT_NE(backdrop, nullptr);
    RuntimeObject* g = pictureGraphicsGetter(backdrop, 0);
    graphicsForeColorSetter(g, 0, 0x0000FF);
    RuntimeGraphicsFillRect(g, 0, 0, 40, 30);
    RuntimeUnlockObject(g);
    const auto pixel = [](HWND window, int x, int y) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(window);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return colour;
    };

    for (const bool with_paint : {false, true}) {
        SCOPED_TRACE(with_paint ? "with Paint" : "without Paint");
        g_log.events.clear();
        ClassRecord* c = subclass(with_paint ? "PaintedBackdrop" : "PlainBackdrop");
        if (with_paint)
            set_event(c, kWindowPaint, &paint_red_square);
        RuntimeObject* window = open_window(c);
        turn();
        HWND handle = handle_of(window);
        EXPECT_NE(pixel(handle, 5, 5), RGB(0, 0, 255));
        windowBackdropSetter(window, 0, backdrop);
        EXPECT_EQ(pixel(handle, 5, 5), RGB(0, 0, 255));
        EXPECT_EQ(pixel(handle, 39, 29), RGB(0, 0, 255));
        EXPECT_NE(pixel(handle, 41, 31), RGB(0, 0, 255));  // its own size, not stretched
        EXPECT_EQ(pixel(handle, 15, 15), with_paint ? RGB(255, 0, 0) : RGB(0, 0, 255));
        RuntimeUnlockObject(std::exchange(g_kept, nullptr));
        RuntimeCloseWindow(window);
        RuntimeUnlockObject(window);
    }
    RuntimeUnlockObject(backdrop);
}

// DrawInto draws the window's background and its Paint into another Graphics at an offset,
// whether or not the window is on screen.
TEST_F(Paint, DrawIntoCopiesTheWindowPaintedIntoAnotherGraphics)
{
    set_event(m_class, kWindowPaint, &paint_red_square);
    RuntimeObject* window = open_window();
    turn();
    const u32 face = GetSysColor(COLOR_BTNFACE);
    const u32 face_rgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "shown" : "hidden");
        if (!shown)
            ShowWindow(handle_of(window), SW_HIDE);
        RuntimeObject* picture = newPicture(400, 300, 32);
        RuntimeObject* g = pictureGraphicsGetter(picture, 0);
        formDrawInto(window, g, 5, 3);
        GdiFlush();
        const u32* pixels = graphics::picture_pixels(picture);
        const auto at = [pixels](i32 x, i32 y) { return pixels[y * 400 + x] & 0xFFFFFF; };
        EXPECT_EQ(at(5 + 15, 3 + 15), 0xFF0000u);  // the Paint's square
        EXPECT_EQ(at(5 + 40, 3 + 40), face_rgb);   // the window's background
        EXPECT_EQ(at(2, 1), 0xFFFFFFu);            // left of and above the offset: untouched
        RuntimeUnlockObject(g);
        RuntimeUnlockObject(picture);
    }
    formDrawInto(window, nullptr, 0, 0);  // nothing to draw into
    RuntimeUnlockObject(std::exchange(g_kept, nullptr));
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

}  // namespace
}  // namespace qv::ui::test
