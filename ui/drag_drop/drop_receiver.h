// Who takes a drop at a point of a window: the topmost control there that accepts what the
// drag offers, else the window if it accepts it, else nobody. Controls that do not accept it
// let the drop through to what lies below them, as a label lying over a list would.
#pragma once

#include <cstddef>
#include <span>

#include "core/types.h"
#include "ui/drag_drop/drop_acceptance.h"

namespace qv::ui {

// A control of the window, in tab order (the last is the topmost), its bounds in window
// coordinates. Hidden and disabled controls take no drop, as they take no click.
struct DropCandidate {
    i32 left = 0, top = 0, right = 0, bottom = 0;
    bool visible_and_enabled = false;
    const DropAcceptance* acceptance = nullptr;  // null: accepts nothing
};

struct DropReceiver {
    enum Kind { Nobody, Window, Control } kind = Nobody;
    size_t control = 0;  // index among the candidates, for Control
};

DropReceiver choose_drop_receiver(std::span<const DropCandidate> controls, const DropAcceptance* window,
                                  const DragOffer& offer, i32 x, i32 y);

}  // namespace qv::ui
