// The Lock rule: how a control follows its window's content area when the window is resized.
// LockRight and LockBottom tie the right and bottom edges to the window's; LockLeft and LockTop
// keep the left and top edges where they are, so that a control locked on both sides
// stretches and one locked on the far side only moves.
#pragma once

#include "core/types.h"

namespace qv::ui {

// A control's bounds in window coordinates, in the order the control stores them.
struct ControlBounds {
    i16 top = 0;
    i16 left = 0;
    i16 bottom = 0;
    i16 right = 0;
    bool operator==(const ControlBounds&) const = default;
};

struct ControlLocks {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

struct ContentSize {
    i32 width = 0;
    i32 height = 0;
    bool operator==(const ContentSize&) const = default;
};

// Only LockRight and LockBottom make a control follow a resize.
inline bool follows_resize(const ControlLocks& locks) { return locks.right || locks.bottom; }

// The bounds after the content area grew by dh horizontally and dv vertically (either may be
// negative). An edge that would leave the 16-bit range stops at its end.
ControlBounds bounds_after_resize(const ControlBounds& bounds, const ControlLocks& locks, i32 dh, i32 dv);

// The content size the controls were last laid out for. The window keeps one: each resize
// yields the change since the last layout and becomes the new layout size.
class LayoutSize {
public:
    explicit LayoutSize(ContentSize size = {}) : m_size(size) { }

    struct Change {
        i32 dh;
        i32 dv;
    };
    Change resize_to(ContentSize size);
    ContentSize size() const { return m_size; }

private:
    ContentSize m_size;
};

}  // namespace qv::ui
