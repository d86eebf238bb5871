#include "ui/drag_drop/drop_receiver.h"

namespace qv::ui {

DropReceiver choose_drop_receiver(std::span<const DropCandidate> controls, const DropAcceptance* window,
                                  const DragOffer& offer, i32 x, i32 y)
{
    for (size_t i = controls.size(); i-- > 0;) {
        const DropCandidate& c = controls[i];
        const bool under = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
        if (under && c.visible_and_enabled && c.acceptance && accepts(*c.acceptance, offer))
            return {DropReceiver::Control, i};
    }
    if (window && accepts(*window, offer))
        return {DropReceiver::Window, 0};
    return {};
}

}  // namespace qv::ui
