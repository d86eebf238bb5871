// RunGuarded: calls a routine behind a real landing record, so that a runtime exception that
// nothing nearer handles stops at this call instead of running off the end of the frame chain.
#pragma once

#include "sdk/quaver.h"

namespace qv {

using GuardedRoutine = void (*)(void* argument);

// Calls routine(argument) and returns true when it came back without an exception.
//
// An exception that escapes the routine (no active landing record between the raise and
// this call took it) lands here after the routine and everything it called have returned
// normally. It then goes to RuntimeUnhandledException, which hands it to the unhandled-
// exception hook that start-up installs, and its count is released; the result is false.
// So "caught by RunGuarded" and "found no handler at all" reach the same application-level
// decision (offer it to the application, report it or quit quietly), but RunGuarded delivers
// it from a clean stack instead of from inside the raise.
//
// The routine must keep a frame pointer of its own (everything compiled with this project's
// flags does), since the search finds this call through the routine's frame.
bool RunGuarded(GuardedRoutine routine, void* argument);

}  // namespace qv
