// Graphics for a plain Win32 window, as the window layer will make them: drawing through the
// window's own device context or a paint's, a control's offset and size, the background that
// ClearRect uses, and the switch between a window's port and a picture's.
#include "tests/graphics/win32/graphics_fixture.h"

#include "graphics/window_graphics.h"

namespace qv::graphics::test {
namespace {

constexpr i32 kClientWidth = 120;
constexpr i32 kClientHeight = 80;

// A shown popup window with a white background and no frame, so its client area is the
// window itself.
class TestWindow {
public:
    TestWindow()
    {
        static ATOM s_class = [] {
            WNDCLASSW window_class{};
            window_class.lpfnWndProc = DefWindowProcW;
            window_class.hInstance = GetModuleHandleW(nullptr);
            window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            window_class.lpszClassName = L"QVGraphicsTestWindow";
            return RegisterClassW(&window_class);
        }();
        m_window = CreateWindowExW(WS_EX_TOOLWINDOW, reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(s_class)),
                                   L"graphics", WS_POPUP | WS_VISIBLE, 10, 10, kClientWidth, kClientHeight, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(m_window);
        pump();
    }
    ~TestWindow() { DestroyWindow(m_window); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return m_window; }
    static void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    // Read through a device context of our own, not the port's.
    u32 at(i32 x, i32 y) const
    {
        HDC dc = GetDC(m_window);
        const COLORREF value = GetPixel(dc, x, y);
        ReleaseDC(m_window, dc);
        return color_from_colorref(value);
    }

private:
    HWND m_window = nullptr;
};

using WindowGraphics = GraphicsTest;

TEST_F(WindowGraphics, DrawsIntoTheWindowAndMeasuresItsClientArea)
{
    TestWindow window;
    ASSERT_NE(window.handle(), nullptr);
    ObjectRef g = ObjectRef::adopt(make_window_graphics(window.handle()));
    ASSERT_NE(g.get(), nullptr);
    EXPECT_EQ(graphicsWidthGetter(g.get(), 0), kClientWidth);
    EXPECT_EQ(graphicsHeightGetter(g.get(), 0), kClientHeight);
    EXPECT_EQ(window.at(20, 20), 0xFFFFFFu);

    graphicsForeColorSetter(g.get(), 0, 0x0000FF);
    RuntimeGraphicsDrawLine(g.get(), 30, 20, 20, 20);
    RuntimeGraphicsFillRect(g.get(), 50, 40, -10, 5);
    graphicsPixelSetter(g.get(), 70, 70, 0x00FF00);
    for (i32 x = 20; x <= 30; ++x)
        EXPECT_EQ(window.at(x, 20), 0x0000FFu) << x;
    EXPECT_EQ(window.at(19, 20), 0xFFFFFFu);
    EXPECT_EQ(window.at(31, 20), 0xFFFFFFu);
    EXPECT_EQ(window.at(40, 40), 0x0000FFu);
    EXPECT_EQ(window.at(49, 44), 0x0000FFu);
    EXPECT_EQ(window.at(50, 44), 0xFFFFFFu);
    EXPECT_EQ(window.at(70, 70), 0x00FF00u);
    EXPECT_EQ(graphicsPixelGetter(g.get(), 70, 70), 0x00FF00u);

    // ClearRect: the system's button face by default.
    RuntimeGraphicsClearRect(g.get(), 0, 0, 10, 10);
    EXPECT_EQ(window.at(5, 5), color_from_colorref(GetSysColor(COLOR_BTNFACE)));
    detach_graphics_surface(g.get());
    RuntimeGraphicsFillRect(g.get(), 0, 0, kClientWidth, kClientHeight);
    EXPECT_EQ(window.at(60, 60), 0xFFFFFFu) << "a detached Graphics draws nothing";
    EXPECT_EQ(graphicsWidthGetter(g.get(), 0), 0);
}

TEST_F(WindowGraphics, AControlsGraphicsIsOffsetAndSizedAndClearsToItsBackground)
{
    TestWindow window;
    WindowSurfaceOptions control;
    control.left = 40;
    control.top = 30;
    control.width = 50;
    control.height = 20;
    control.background = RGB(0x20, 0x40, 0x60);
    ObjectRef g = ObjectRef::adopt(make_window_graphics(window.handle(), control));
    EXPECT_EQ(graphicsWidthGetter(g.get(), 0), 50);
    EXPECT_EQ(graphicsHeightGetter(g.get(), 0), 20);
    RuntimeGraphicsClearRect(g.get(), 0, 0, 50, 20);
    EXPECT_EQ(window.at(40, 30), 0x204060u);
    EXPECT_EQ(window.at(89, 49), 0x204060u);
    EXPECT_EQ(window.at(39, 30), 0xFFFFFFu);
    EXPECT_EQ(window.at(90, 49), 0xFFFFFFu);

    RuntimeArray* points = integer_array({0, 0, 0, 10, 0, 0, 10});
    graphicsFillPolygon(g.get(), points);  // the polygon moves with the control, too
    RuntimeUnlockArray(points);
    EXPECT_EQ(window.at(41, 31), 0x000000u);
    EXPECT_EQ(window.at(1, 1), 0xFFFFFFu);
}

TEST_F(WindowGraphics, PortsTakeTurnsBetweenAPaintAndAPicture)
{
    TestWindow window;
    Canvas canvas(10, 10);
    InvalidateRect(window.handle(), nullptr, FALSE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window.handle(), &paint);
    WindowSurfaceOptions options;
    options.paint_dc = dc;
    ObjectRef g = ObjectRef::adopt(make_window_graphics(window.handle(), options));
    graphicsPenWidthSetter(g.get(), 0, 3);
    graphicsPenHeightSetter(g.get(), 0, 3);
    // Alternating operations make each port current in turn; each keeps its own state.
    RuntimeGraphicsDrawLine(g.get(), 10, 10, 10, 30);
    RuntimeGraphicsDrawLine(canvas.g.get(), 0, 5, 9, 5);
    RuntimeGraphicsDrawLine(g.get(), 60, 10, 60, 30);
    EXPECT_EQ(current_port(), port_of(g.get()));
    EXPECT_EQ(GetObjectType(GetCurrentObject(dc, OBJ_FONT)), static_cast<DWORD>(OBJ_FONT));
    detach_graphics_surface(g.get());
    EXPECT_EQ(current_port(), nullptr);
    EndPaint(window.handle(), &paint);
    EXPECT_EQ(canvas.painted(), 10) << "1 x 1 pen: one row\n" << canvas.image();
    i32 across = 0;
    for (i32 x = 0; x < 20; ++x)
        across += window.at(x, 20) == 0x000000;
    EXPECT_EQ(across, 3) << "3 x 3 pen";
    EXPECT_EQ(window.at(61, 20), 0x000000u);
}

}  // namespace
}  // namespace qv::graphics::test
