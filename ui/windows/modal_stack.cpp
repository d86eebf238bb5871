// The modal stack: windows of the modal and popup frames, most recent first. While one of them
// is visible, clicks on the other runtime windows are refused.
#include <algorithm>
#include <vector>

#include "ui/windows/native_window.h"

namespace qv::ui {
namespace {

std::vector<HWND> s_modal;

}  // namespace

void push_modal(HWND window) { s_modal.insert(s_modal.begin(), window); }

void remove_modal(HWND window) { s_modal.erase(std::remove(s_modal.begin(), s_modal.end(), window), s_modal.end()); }

HWND first_visible_modal()
{
    for (HWND window : s_modal) {
        if (IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

}  // namespace qv::ui
