// A notifying object's list of receivers: the most recently added first, one count on the
// receiver per node, the same receiver as often as it was added. Receivers may add and remove
// receivers while they are being notified: a node removed then is emptied at once and unlinked
// once the outermost notification of the list has finished.
#pragma once

#include <string_view>

#include "core/types.h"
#include "runtime/objects/object_ref.h"
#include "sdk/quaver.h"
#include "ui/binding/builtin_interfaces.h"

namespace qv::ui {

struct ReceiverNode {
    ReceiverNode* next;
    ObjectRef receiver;  // nil once removed during a notification
};

// Plain data: zeroed memory (as in a new object) is an empty list.
struct ReceiverList {
    ReceiverNode* head;
    u16 notifying;  // nesting depth of notifications walking the list
    u8 has_removed;
    u8 reserved;
};

// Puts the receiver at the head with a count of its own. A nil receiver is not added.
void add_receiver(ReceiverList& list, RuntimeObject* receiver);
// Takes out the first node that holds the receiver and releases it; nothing when it is absent.
void remove_receiver(ReceiverList& list, RuntimeObject* receiver);
// Removes every node (the owner's destruction).
void clear_receivers(ReceiverList& list);
// Nodes that hold a receiver.
i32 receiver_count(const ReceiverList& list);

// Calls `method` of `which` on every receiver from the head, the receiver as its only
// argument; receivers without that method are skipped. Each receiver is held while it runs.
void notify_receivers(ReceiverList& list, BuiltInInterface which, std::string_view method);

inline void notify_action_receivers(ReceiverList& list)
{
    notify_receivers(list, BuiltInInterface::ActionNotificationReceiver, "PerformAction");
}
inline void notify_data_receivers(ReceiverList& list)
{
    notify_receivers(list, BuiltInInterface::DataNotificationReceiver, "DataChanged");
}
inline void notify_list_data_receivers(ReceiverList& list)
{
    notify_receivers(list, BuiltInInterface::ListDataNotificationReceiver, "listDataReload");
}

}  // namespace qv::ui
