// The drop queue: every drop is delivered once, in the order it came, drops queued while
// delivering included, and the queue lets go of its counts once an entry is delivered.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/value_fixture.h"
#include "ui/drag_drop/drop_queue.h"

namespace qv::ui {
namespace {

using DropQueueTest = test::ValueTest;

TEST_F(DropQueueTest, DeliversEachDropOnceInOrderIncludingThoseQueuedMeanwhile)
{
    DropQueue queue;
    std::vector<ObjectRef> items;
    for (int i = 0; i < 4; ++i)
        items.push_back(ObjectRef::adopt(test::plain_object().leak()));
    ObjectRef window = ObjectRef::adopt(test::plain_object().leak());
    queue.push({window, ObjectRef(), items[0]});
    queue.push({window, items[3], items[1]});

    std::vector<RuntimeObject*> delivered;
    std::vector<RuntimeObject*> receivers;
    queue.deliver_all([&](const PendingDrop& drop) {
        delivered.push_back(drop.item.get());
        receivers.push_back(drop.control.get());
        if (drop.item.get() == items[0].get())
            queue.push({window, ObjectRef(), items[2]});  // a handler's drop arrives meanwhile
    });
    EXPECT_EQ(delivered, (std::vector<RuntimeObject*>{items[0].get(), items[1].get(), items[2].get()}));
    EXPECT_EQ(receivers, (std::vector<RuntimeObject*>{nullptr, items[3].get(), nullptr}));
    EXPECT_EQ(queue.size(), 0u);

    queue.deliver_all([&](const PendingDrop&) { ADD_FAILURE() << "delivered twice"; });
    for (const ObjectRef& item : items)
        EXPECT_EQ(item.get()->refCount, 1) << "the queue kept a count";
}

}  // namespace
}  // namespace qv::ui
