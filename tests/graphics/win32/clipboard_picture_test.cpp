// Pictures on the real clipboard through the Clipboard class, with the bridge the graphics
// layer installs when its classes are registered (as in the shipped program); and the drawing
// objects the out-of-memory exit releases.
#include "graphics/graphics_port.h"
#include "runtime/strings/string_ref.h"
#include "tests/graphics/win32/graphics_fixture.h"
#include "ui/ui_service_routines.h"
#include "ui/win32/ui_win32_services.h"

namespace qv::graphics::test {
namespace {

class ClipboardPicture : public GraphicsTest {
protected:
    static void SetUpTestSuite()
    {
        ui::register_ui_service_classes();
        ui::install_win32_clipboard();
        s_class = RuntimeLookupClass(StringRef::FromCString("Clipboard").get());
    }

    static ObjectRef new_clipboard() { return ObjectRef::adopt(RuntimeNewObject(s_class)); }

    static inline ClassRecord* s_class = nullptr;
};

TEST_F(ClipboardPicture, APictureWrittenIsReadBackWithTheSameSizeAndPixels)
{
    ASSERT_NE(s_class, nullptr);
    Canvas drawn(7, 5);
    graphicsForeColorSetter(drawn.g.get(), 0, 0x123456);
    RuntimeGraphicsFillRect(drawn.g.get(), 1, 1, 3, 2);
    graphicsPixelSetter(drawn.g.get(), 6, 4, 0xFF0000);
    graphicsPixelSetter(drawn.g.get(), 0, 4, 0x00FF00);
    {
        const ObjectRef writer = new_clipboard();
        clipboardSetText(writer.get(), StringRef::FromCString("with a picture").get());
        clipboardPictureSetter(writer.get(), 0, drawn.picture.get());
        clipboardClose(writer.get());
    }
    const ObjectRef reader = new_clipboard();
    EXPECT_TRUE(clipboardPictureAvailable(reader.get()));
    EXPECT_TRUE(clipboardTextAvailable(reader.get()));  // a picture does not empty the clipboard
    const ObjectRef read = ObjectRef::adopt(clipboardPictureGetter(reader.get()));
    ASSERT_FALSE(read.is_nil());
    ASSERT_EQ(pictureWidthGetter(read.get(), 0), 7);
    ASSERT_EQ(pictureHeightGetter(read.get(), 0), 5);
    const u32* pixels = picture_pixels(read.get());
    for (i32 y = 0; y < 5; ++y)
        for (i32 x = 0; x < 7; ++x)
            EXPECT_EQ(pixels[y * 7 + x] & 0xFFFFFF, drawn.at(x, y)) << x << "," << y;
    EXPECT_EQ(pixels[2 * 7 + 2] & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(pixels[4 * 7 + 6] & 0xFFFFFF, 0xFF0000u);
    clipboardClose(reader.get());
}

TEST_F(ClipboardPicture, NoPictureReadsNil)
{
    {
        const ObjectRef writer = new_clipboard();
        clipboardSetText(writer.get(), StringRef::FromCString("text only").get());
    }
    const ObjectRef reader = new_clipboard();
    EXPECT_FALSE(clipboardPictureAvailable(reader.get()));
    EXPECT_TRUE(ObjectRef::adopt(clipboardPictureGetter(reader.get())).is_nil());
    clipboardPictureSetter(reader.get(), 0, nullptr);  // nothing to write
    EXPECT_FALSE(clipboardPictureAvailable(reader.get()));
}

using OutOfMemoryRelease = GraphicsTest;

// The current port gives its device context back, and the next drawing takes one again.
TEST_F(OutOfMemoryRelease, ReleasingTheCurrentPortLeavesItDrawable)
{
    Canvas canvas(4, 4);
    RuntimeGraphicsFillRect(canvas.g.get(), 0, 0, 2, 2);
    ASSERT_EQ(current_port(), port_of(canvas.g.get()));
    release_current_port();
    EXPECT_EQ(current_port(), nullptr);
    RuntimeGraphicsFillRect(canvas.g.get(), 2, 2, 2, 2);
    EXPECT_EQ(canvas.image(), rows({"##..", "##..", "..##", "..##"}));
}

}  // namespace
}  // namespace qv::graphics::test
