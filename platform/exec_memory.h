// Memory for generated and loaded machine code: allocated writable, filled, then switched to
// read+execute (never writable and executable at once), and freed. Failures come back as values.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct ExecRegion {
    std::uint8_t* base = nullptr;
    size_t size = 0;  // as requested; the system works in whole pages beneath it
};

// Success, or the system call that failed with the error it reported (errno or GetLastError).
struct ExecStatus {
    const char* failed_call = nullptr;
    unsigned long error = 0;
    bool ok() const { return failed_call == nullptr; }
};

// A fresh zero-filled read-write region of at least `size` bytes; `region` is left empty on
// failure (a size of 0 fails).
ExecStatus allocate_writable_region(size_t size, ExecRegion& region);

// Turns the whole region read+execute; it is no longer writable afterwards.
ExecStatus make_executable(ExecRegion& region);

// Gives the region back and empties it; an empty region is left alone.
ExecStatus free_region(ExecRegion& region);

}  // namespace platform
