// The failed-assertion report every internal consistency check goes through, and the one
// seam through which tests (and the Linux runner) answer it without a person.
//
// The source names and line numbers passed to a report ("string", 584; "dump", 99) are the
// system's stable identifiers for each check, which users and support quote from the dialog.
// They are not this repository's file names and line numbers: keep them as they are when
// code moves.
#pragma once

#include "core/types.h"

extern "C" {
// Shows "Failed Assertion" with OK and Cancel. OK returns to the caller, which carries on;
// Cancel ends the process at once with exit code 0. The code argument is not shown.
void ReportFailedAssertion(i32 code, i32 number, const char* source, i32 line, const char* condition,
                           const char* message);
}

namespace qv {

enum class AssertionAnswer { Ok, Cancel };

// Answers every failed assertion instead of the platform's dialog while installed; gets the
// full dialog text. Pass nullptr to restore the dialog. Returns the previous responder.
using AssertionResponder = AssertionAnswer (*)(const char* text);
AssertionResponder set_assertion_responder(AssertionResponder responder);

// The text the dialog shows, formatted into at most 1,023 bytes.
void format_failed_assertion(char (&out)[1024], i32 number, const char* source, i32 line, const char* condition,
                             const char* message);

// Shorthand for the runtime's own sites, which all report number 4.
inline void assertion_failed(const char* source, i32 line, const char* condition, const char* message = nullptr)
{
    ReportFailedAssertion(0, 4, source, line, condition, message);
}

}  // namespace qv
