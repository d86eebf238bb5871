// Guards code that system code calls (window and timer procedures, and what RunGuarded calls):
// a C++ exception must not unwind into frames that have no unwind information, where it would
// end the program through std::terminate with no report. Out of memory takes the runtime's
// out-of-memory exit (the release hook, the report, exit code 0); any other exception is named
// on the debug channel and the callback gives its fallback answer, as if it had done nothing.
#pragma once

#include <exception>
#include <new>
#include <utility>

#include "runtime/memory/pool_allocator.h"

namespace qv {

void note_callback_exception(const char* callback, const char* what);

// Returns body(), or `fallback` when body threw.
template <typename Result, typename Body>
Result guard_callback(const char* callback, Result fallback, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (const std::bad_alloc&) {
        exit_out_of_memory();
    } catch (const std::exception& e) {
        note_callback_exception(callback, e.what());
    } catch (...) {
        note_callback_exception(callback, "an exception of unknown type");
    }
    return fallback;
}

// For callbacks without a result: true when body returned, false when it threw.
template <typename Body>
bool guard_callback(const char* callback, Body&& body) noexcept
{
    return guard_callback(callback, false, [&] {
        std::forward<Body>(body)();
        return true;
    });
}

}  // namespace qv
