// Run-once steps: registering a built-in class or a layer's routines happens the first time it
// is asked for, and every later call does nothing.
#pragma once

#include <utility>

namespace qv {

// A flag and the step it guards. The flag is set before the step runs, so a step that calls
// back into itself does not run twice.
class Once {
public:
    template <typename Step>
    void operator()(Step&& step)
    {
        if (m_done)
            return;
        m_done = true;
        std::forward<Step>(step)();
    }

private:
    bool m_done = false;
};

}  // namespace qv
