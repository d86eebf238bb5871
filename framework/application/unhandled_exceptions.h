// Where a runtime exception goes that no handler in the image took: the application's
// UnhandledException event first, then the shut-down message (or, for an EndException, the
// quiet closing of every window); either way the program then quits.
#pragma once

#include "sdk/quaver.h"

namespace qv {

// Offers the exception to the application's UnhandledException event; true when it answered
// that it handled it. An EndException is never offered.
bool DispatchUnhandledException(RuntimeObject* exception);
// The message with the exception's class name, or the quiet close for an EndException; sets
// the quit flag.
void ReportUnhandledException(RuntimeObject* exception);
// The runtime's unhandled-exception hook: dispatch, then report unless handled or quitting.
void UnhandledExceptionHook(RuntimeObject* exception);

bool is_end_exception(RuntimeObject* exception);

}  // namespace qv
