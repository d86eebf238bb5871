// The drops waiting for the event loop's next turn. A drop target runs inside the system's
// drag loop, where image code must not run; it queues what was dropped, and the turn delivers
// each entry once, in the order they came, as a DropObject event.
#pragma once

#include <cstddef>
#include <deque>

#include "runtime/objects/object_ref.h"

namespace qv::ui {

struct PendingDrop {
    ObjectRef window;
    ObjectRef control;  // nil: the drop goes to the window itself
    ObjectRef item;     // the DragItem
};

class DropQueue {
public:
    void push(PendingDrop drop) { m_drops.push_back(std::move(drop)); }
    size_t size() const { return m_drops.size(); }

    // Takes entries from the head until the queue is empty, drops queued meanwhile included,
    // and hands each to `deliver`; the entry's counts are given back after it returns.
    template <typename Deliver>
    void deliver_all(Deliver&& deliver)
    {
        while (!m_drops.empty()) {
            const PendingDrop drop = std::move(m_drops.front());
            m_drops.pop_front();
            deliver(drop);
        }
    }

private:
    std::deque<PendingDrop> m_drops;
};

// The process's queue (user-interface thread only).
DropQueue& drop_queue();

}  // namespace qv::ui
