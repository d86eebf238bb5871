// MouseCursor objects over native cursors: the system cursors the global functions hand out,
// cursors made from "CURS" resources (planes, hot spot, destroyed with their object), and the
// application's cursor going up at once.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/application/application_class.h"
#include "framework/application/application_object.h"
#include "framework/application/mouse_cursor.h"
#include "framework/startup/windows_startup.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/global_functions.h"
#include "runtime/objects/object_ref.h"
#include "runtime/registry/entry_point_registry.h"
#include "runtime/resources/resource_manager.h"
#include "runtime/strings/string_ref.h"

namespace qv {
namespace {

// Ids of their own: the process's index keeps what is added for good.
constexpr u16 kCursorId = 5200;
constexpr u16 kShortId = 5201;
constexpr u16 kMissingId = 5202;

// Image and mask of a cursor whose top-left pixel is black, the pixel right of it white, the
// pixel below it inverted, and everything else transparent; hot spot (x 9, y 4).
std::vector<u8> cursor_resource()
{
    std::vector<u8> data(68, 0);
    data[0] = 0x80;              // image: row 0, pixel 0
    data[2] = 0x80;              // image: row 1, pixel 0 (masked out: inverted)
    data[32] = 0xC0;             // mask: row 0, pixels 0 and 1
    data[64] = 0, data[65] = 4;  // vertical
    data[66] = 0, data[67] = 9;  // horizontal
    return data;
}

// The monochrome mask bitmap of a cursor: the AND plane's 32 rows over the XOR plane's.
std::vector<u8> mask_bits(HCURSOR cursor, ICONINFO* info)
{
    std::vector<u8> bits;
    if (!GetIconInfo(cursor, info))
        return bits;
    BITMAP bitmap{};
    GetObjectW(info->hbmMask, sizeof bitmap, &bitmap);
    bits.resize(static_cast<size_t>(bitmap.bmWidthBytes * bitmap.bmHeight));
    GetBitmapBits(info->hbmMask, static_cast<LONG>(bits.size()), bits.data());
    DeleteObject(info->hbmMask);
    if (info->hbmColor)
        DeleteObject(info->hbmColor);
    return bits;
}

int bit(const std::vector<u8>& bits, int row, int x)
{
    return bits[static_cast<size_t>(row * 4 + x / 8)] >> (7 - x % 8) & 1;
}

class MouseCursors : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        start_framework_runtime();
        RuntimeUnlockObject(new_plain_application());  // the Application class, made on first use
        static bool s_added = false;
        if (s_added)
            return;
        s_added = true;
        static const std::vector<u8> s_cursor = cursor_resource();
        const u32 curs = four_char_code("CURS");
        image_resources().Add(curs, kCursorId, s_cursor.data(), static_cast<u32>(s_cursor.size()), 0);
        image_resources().Add(curs, kShortId, s_cursor.data(), 67, 0);
    }
};

struct SystemCursorCase {
    const char* function;
    RuntimeObject* (*routine)();
    const wchar_t* system;
};

TEST_F(MouseCursors, TheGlobalFunctionsHandOutTheSystemCursorsUnderTheirNames)
{
    const SystemCursorCase cases[] = {
        {"ArrowCursor", &getArrowCursor, IDC_ARROW},
        {"WatchCursor", &getWatchCursor, IDC_WAIT},
        {"IBeamCursor", &getIBeamCursor, IDC_IBEAM},
    };
    for (const SystemCursorCase& c : cases) {
        ObjectRef cursor = ObjectRef::adopt(c.routine());
        ASSERT_TRUE(cursor.get()) << c.function;
        EXPECT_EQ(StringRef::share(cursor.get()->classRecord->name).CText(), std::string("MouseCursor"));
        EXPECT_EQ(mouse_cursor_handle(cursor.get()), LoadCursorW(nullptr, c.system)) << c.function;
        // The system's cursor is shared: it outlives the object.
        cursor = ObjectRef();
        ICONINFO info{};
        EXPECT_TRUE(GetIconInfo(LoadCursorW(nullptr, c.system), &info)) << c.function;
        DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        bool recorded = false;
        for (i32 i = 0; i < global_function_count(); ++i) {
            const MethodRecord* record = global_function_at(i);
            if (std::string(record->name) == c.function) {
                recorded = true;
                EXPECT_EQ(record->routine, reinterpret_cast<void*>(c.routine)) << c.function;
            }
        }
        EXPECT_TRUE(recorded) << c.function;
    }
    const EntryPoint* arrow = FindEntryPoint(std::string_view("getArrowCursor"));
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->code, reinterpret_cast<void*>(&getArrowCursor));
}

TEST_F(MouseCursors, ACursorResourceBecomesA32By32CursorWithItsPlanesAndHotSpot)
{
    ObjectRef cursor = ObjectRef::adopt(RuntimeGetCursorFromResourceManager(kCursorId + 65536));
    ASSERT_TRUE(cursor.get());
    HCURSOR handle = mouse_cursor_handle(cursor.get());
    ASSERT_TRUE(handle);
    ICONINFO info{};
    const std::vector<u8> bits = mask_bits(handle, &info);
    ASSERT_EQ(bits.size(), 4u * 64u);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 9u);
    EXPECT_EQ(info.yHotspot, 4u);
    // (pixel, AND, XOR): black, white, inverted, transparent inside and outside the image.
    EXPECT_EQ(bit(bits, 0, 0), 0);
    EXPECT_EQ(bit(bits, 32, 0), 0);
    EXPECT_EQ(bit(bits, 0, 1), 0);
    EXPECT_EQ(bit(bits, 32, 1), 1);
    EXPECT_EQ(bit(bits, 1, 0), 1);
    EXPECT_EQ(bit(bits, 33, 0), 1);
    EXPECT_EQ(bit(bits, 5, 5), 1);
    EXPECT_EQ(bit(bits, 37, 5), 0);
    EXPECT_EQ(bit(bits, 20, 25), 1);
    EXPECT_EQ(bit(bits, 52, 25), 0);

    // The native cursor was made for the object and goes with it.
    cursor = ObjectRef();
    ICONINFO gone{};
    EXPECT_FALSE(GetIconInfo(handle, &gone));
}

TEST_F(MouseCursors, AShortOrMissingResourceIsNoCursor)
{
    EXPECT_EQ(RuntimeGetCursorFromResourceManager(kShortId), nullptr);
    EXPECT_EQ(RuntimeGetCursorFromResourceManager(kMissingId), nullptr);
}

TEST_F(MouseCursors, TheApplicationsCursorGoesUpAtOnceAndNilGivesTheArrow)
{
    ObjectRef app = ObjectRef::adopt(new_plain_application());
    ObjectRef cursor = ObjectRef::adopt(RuntimeGetCursorFromResourceManager(kCursorId));
    ASSERT_TRUE(cursor.get());
    HCURSOR handle = mouse_cursor_handle(cursor.get());
    RuntimeObject* const previous = std::exchange(gApplicationObject, app.get());

    appMouseCursorSetter(app.get(), cursor.get());
    EXPECT_EQ(GetCursor(), handle);
    EXPECT_EQ(application_cursor_handle(), handle);
    EXPECT_EQ(objGetter(app.get(), offsetof(ApplicationObject, mouseCursor)), cursor.get());
    RuntimeUnlockObject(cursor.get());  // objGetter's count
    // The application holds its own count: the test's going leaves the cursor alive.
    cursor = ObjectRef();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(handle, &info));
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);

    appMouseCursorSetter(app.get(), nullptr);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(application_cursor_handle(), nullptr);
    EXPECT_FALSE(GetIconInfo(handle, &info));  // the last count went with the setter

    gApplicationObject = previous;
}

}  // namespace
}  // namespace qv
