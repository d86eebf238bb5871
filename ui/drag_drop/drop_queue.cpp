#include "ui/drag_drop/drop_queue.h"

namespace qv::ui {

DropQueue& drop_queue()
{
    static DropQueue s_queue;
    return s_queue;
}

}  // namespace qv::ui
