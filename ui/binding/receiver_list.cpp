#include "ui/binding/receiver_list.h"

#include <new>
#include <utility>

#include "ui/binding/interface_methods.h"

namespace qv::ui {
namespace {

// Unlinks the emptied nodes, once no notification walks the list any more.
void sweep(ReceiverList& list)
{
    if (list.notifying || !list.has_removed)
        return;
    list.has_removed = 0;
    for (ReceiverNode** link = &list.head; *link;) {
        ReceiverNode* node = *link;
        if (!node->receiver.is_nil()) {
            link = &node->next;
            continue;
        }
        *link = node->next;
        delete node;
    }
}

// Empties the node (unlinked later, or now by sweep) and releases its receiver.
void empty_node(ReceiverList& list, ReceiverNode* node)
{
    const ObjectRef receiver = std::move(node->receiver);
    list.has_removed = 1;
}

}  // namespace

void add_receiver(ReceiverList& list, RuntimeObject* receiver)
{
    if (!receiver)
        return;
    auto* node = new (std::nothrow) ReceiverNode{list.head, ObjectRef()};
    if (!node)
        return;
    node->receiver = ObjectRef::share(receiver);
    list.head = node;
}

void remove_receiver(ReceiverList& list, RuntimeObject* receiver)
{
    if (!receiver)
        return;
    for (ReceiverNode* node = list.head; node; node = node->next) {
        if (node->receiver.get() == receiver) {
            empty_node(list, node);
            break;
        }
    }
    sweep(list);
}

void clear_receivers(ReceiverList& list)
{
    for (ReceiverNode* node = list.head; node; node = node->next)
        if (!node->receiver.is_nil())
            empty_node(list, node);
    sweep(list);
}

i32 receiver_count(const ReceiverList& list)
{
    i32 count = 0;
    for (const ReceiverNode* node = list.head; node; node = node->next)
        count += !node->receiver.is_nil();
    return count;
}

void notify_receivers(ReceiverList& list, BuiltInInterface which, std::string_view method)
{
    ++list.notifying;
    // Nodes stay linked while the walk goes on; only sweep unlinks them.
    for (ReceiverNode* node = list.head; node; node = node->next) {
        const ObjectRef receiver = node->receiver;  // held while it runs: it may remove itself
        if (!receiver.is_nil())
            call_interface_method(receiver.get(), which, method);
    }
    --list.notifying;
    sweep(list);
}

}  // namespace qv::ui
