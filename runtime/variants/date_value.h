// The built-in class Date as far as variants need it: an object holding its total seconds,
// and the text of a date ("YYYY-MM-DD HH:MM:SS") both ways.
#pragma once

#include "runtime/definitions/object_definition.h"
#include "runtime/strings/string_ref.h"

namespace qv {

// Header, then the total seconds as a double in two words (a double member would be aligned
// to 8 in the Windows build and change the size).
struct DateObject {
    RuntimeObject header;
    u32 totalSeconds[2];
};
static_assert(sizeof(DateObject) == 36);

ObjectDefinition* date_definition();
ClassRecord* date_class();

bool is_date(const RuntimeObject* object);
double date_total_seconds(const RuntimeObject* date);
// A new Date (count 1).
RuntimeObject* new_date(double total_seconds);

// Total seconds count from 1904-01-01 00:00:00; there are no time zones. A time of 00:00:00
// is still written. Seconds outside the years 1 to 9999 print as the number of seconds.
StringRef date_text(double total_seconds);
// Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS", with white space around;
// false for anything else or for a day or time that does not exist.
bool parse_date_text(const StringRef& text, double& total_seconds);

}  // namespace qv
