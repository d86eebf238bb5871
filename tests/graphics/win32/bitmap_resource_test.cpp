// The image's "BMP " resources as pictures: RuntimeGetBitmapFromResourceManager finds the
// record in the process's resource index and gives a Picture of the file, or nil for a missing
// or unreadable one.
#include "graphics/picture_placement.h"
#include "runtime/resources/resource_manager.h"
#include "tests/graphics/bmp_file_builder.h"
#include "tests/graphics/win32/graphics_fixture.h"

namespace qv::graphics::test {
namespace {

// Ids of their own: the index is the process's and keeps what is added for good.
constexpr u16 kGoodId = 4100;
constexpr u16 kTruncatedId = 4101;
constexpr u16 kSignatureOnlyId = 4102;
constexpr u16 kMissingId = 4103;

// 3 x 2, 24 bits, bottom-up: red green blue over white black grey.
const std::vector<u8>& good_file()
{
    static const std::vector<u8> s_file = [] {
        BmpLayout layout;
        layout.width = 3;
        layout.height = 2;
        layout.rows = {{0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0, 0, 0},
                       {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0, 0}};
        return build_bmp(layout);
    }();
    return s_file;
}

class BitmapResources : public GraphicsTest {
protected:
    static void SetUpTestSuite()
    {
        static bool s_added = false;
        if (s_added)
            return;
        s_added = true;
        static const std::vector<u8> s_truncated(good_file().begin(), good_file().end() - 1);
        static const u8 s_signature_only[] = {'B', 'M', 0, 0};
        const u32 bmp = four_char_code("BMP ");
        image_resources().Add(bmp, kGoodId, good_file().data(), static_cast<u32>(good_file().size()), 0);
        image_resources().Add(bmp, kTruncatedId, s_truncated.data(), static_cast<u32>(s_truncated.size()), 0);
        image_resources().Add(bmp, kSignatureOnlyId, s_signature_only, sizeof s_signature_only, 0);
    }
};

TEST_F(BitmapResources, AGoodFileBecomesAPictureOfItsSizeDepthAndPixels)
{
    ObjectRef picture = ObjectRef::adopt(RuntimeGetBitmapFromResourceManager(kGoodId));
    ASSERT_TRUE(picture.get());
    EXPECT_EQ(pictureWidthGetter(picture.get(), 0), 3);
    EXPECT_EQ(pictureHeightGetter(picture.get(), 0), 2);
    EXPECT_EQ(PictureDepthGetter(picture.get(), 0), 24);

    // Drawn through GDI into another picture, as a picture button or DrawPicture shows it.
    Canvas target(3, 2);
    RuntimeGraphicsDrawPicture(target.g.get(), picture.get(), 0, 0, kDefaultArgument, kDefaultArgument,
                               kDefaultArgument, kDefaultArgument, kDefaultArgument, kDefaultArgument);
    const u32 expected[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF}, {0xFFFFFF, 0x000000, 0x808080}};
    for (i32 y = 0; y < 2; ++y)
        for (i32 x = 0; x < 3; ++x)
            EXPECT_EQ(target.at(x, y), expected[y][x]) << x << "," << y;

    // Every lookup is a picture of its own.
    ObjectRef second = ObjectRef::adopt(RuntimeGetBitmapFromResourceManager(kGoodId));
    EXPECT_NE(second.get(), picture.get());
    EXPECT_TRUE(nothing_raised());
}

TEST_F(BitmapResources, MissingOrUnreadableFilesGiveNil)
{
    for (u16 id : {kTruncatedId, kSignatureOnlyId, kMissingId})
        EXPECT_EQ(RuntimeGetBitmapFromResourceManager(id), nullptr) << id;
    EXPECT_TRUE(nothing_raised());
}

}  // namespace
}  // namespace qv::graphics::test
