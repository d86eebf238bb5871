// DragItem: several items walked in order with the properties following the current one, named
// data matched without regard to case, the counts it holds on pictures and folder items, and a
// nil DragItem raising.
#include <gtest/gtest.h>

#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"
#include "ui/drag_drop/drag_item.h"

namespace qv::ui {
namespace {

using test::ascii;
using test::Held;
using test::text_of;

std::string text_or_nil(RuntimeString* s)
{
    const StringRef held = StringRef::adopt(s);
    return held.is_nil() ? "<nil>" : text_of(held);
}

class DragItemTest : public test::ValueTest {
protected:
    static void SetUpTestSuite()
    {
        ValueTest::SetUpTestSuite();
        register_drag_item_class();
        RuntimeUnlockObject(new_drag_item(0, 0, 0, 0));  // the class is made on first use
    }
};

TEST_F(DragItemTest, ItemsAreWalkedInOrderAndThePropertiesFollowTheCurrentOne)
{
    Held item(new_drag_item(1, 2, 3, 4));
    dragItemTextSetter(item.get(), 0, ascii("first").get());
    DragItemAddItem(item.get(), 10, 20, 30, 40);
    EXPECT_EQ(dragItemDropLeft(item.get(), 0), 10) << "AddItem makes the new item current";
    EXPECT_FALSE(DragItemTextAvailable(item.get()));
    dragItemTextSetter(item.get(), 0, ascii("second").get());
    EXPECT_FALSE(DragItemNextItem(item.get())) << "no item after the last";

    rewind_drag_item(item.get());
    struct Seen {
        i32 left, top, width, height;
        std::string text;
    };
    const Seen want[] = {{1, 2, 3, 4, "first"}, {10, 20, 30, 40, "second"}};
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dragItemDropLeft(item.get(), 0), want[i].left);
        EXPECT_EQ(dragItemDropTop(item.get(), 0), want[i].top);
        EXPECT_EQ(dragItemDropWidth(item.get(), 0), want[i].width);
        EXPECT_EQ(dragItemDropHeight(item.get(), 0), want[i].height);
        EXPECT_TRUE(DragItemTextAvailable(item.get()));
        EXPECT_EQ(text_or_nil(dragItemTextGetter(item.get(), 0)), want[i].text);
        EXPECT_EQ(DragItemNextItem(item.get()) != 0, i + 1 < std::size(want));
    }
}

TEST_F(DragItemTest, NamedDataIsFoundWithoutRegardToCaseAndReplacedInPlace)
{
    Held item(new_drag_item(0, 0, 0, 0));
    EXPECT_FALSE(DragItemMacDataAvailable(item.get(), ascii("TEXT").get()));
    EXPECT_EQ(text_or_nil(DragItemGetMacData(item.get(), ascii("TEXT").get())), "<nil>");
    DragItemSetMacData(item.get(), ascii("TEXT").get(), ascii("one").get());
    DragItemSetPrivateMacData(item.get(), ascii("text").get(), ascii("two").get());
    EXPECT_TRUE(DragItemMacDataAvailable(item.get(), ascii("Text").get()));
    EXPECT_EQ(text_or_nil(DragItemGetMacData(item.get(), ascii("tExT").get())), "two");
    const DragEntry& entry = drag_item_state(item.get())->entries.front();
    ASSERT_EQ(entry.mac_data.size(), 1u);
    EXPECT_TRUE(entry.mac_data.front().is_private);
    EXPECT_FALSE(DragItemMacDataAvailable(item.get(), ascii("PICT").get()));
}

TEST_F(DragItemTest, HoldsItsPictureAndFolderItemUntilReplacedOrReleased)
{
    Held item(new_drag_item(0, 0, 0, 0));
    RuntimeObject* folder = test::plain_object().leak();
    RuntimeObject* picture = test::plain_object().leak();
    dragItemFolderItemSetter(item.get(), 0, folder);
    dragItemPictureSetter(item.get(), 0, picture);
    RuntimeUnlockObject(folder);  // the item's count keeps them alive
    RuntimeUnlockObject(picture);
    EXPECT_TRUE(DragItemFolderItemAvailable(item.get()));
    EXPECT_TRUE(DragItemPictureAvailable(item.get()));
    EXPECT_EQ(Held(dragItemFolderItemGetter(item.get(), 0)).get(), folder);
    EXPECT_EQ(Held(dragItemPictureGetter(item.get(), 0)).get(), picture);
    dragItemFolderItemSetter(item.get(), 0, nullptr);
    EXPECT_FALSE(DragItemFolderItemAvailable(item.get()));
    // The fixture checks that the folder item went with the replacement and the picture with
    // the DragItem.
}

TEST_F(DragItemTest, ANilDragItemRaisesNilObjectException)
{
    EXPECT_EQ(text_or_nil(dragItemTextGetter(nullptr, 0)), "<nil>");
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    DragItemAddItem(nullptr, 0, 0, 0, 0);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    EXPECT_FALSE(DragItemNextItem(nullptr));
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    DragItemDrag(nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
}

}  // namespace
}  // namespace qv::ui
