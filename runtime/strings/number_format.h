// Format: a number laid out by a format string of the language's number-format syntax.
//
//   0  a digit, shown even when it is a leading or trailing zero
//   #  a digit, left out when it is a leading or trailing zero
//   .  the decimal separator: placeholders after it are decimal places
//   ,  among the integer placeholders: group the integer digits by thousands
//   %  multiplies the value by 100 and shows a percent sign
//   E+ E- e+ e-  followed by 0s: scientific notation with at least that many exponent digits
//   \c and "text"  literal text; any other character is shown as it is
//   ;  separates sections: positive; negative; zero. A negative value formatted by its own
//      section gets no minus sign; an empty or missing section falls back to the first.
//
// Integer digits fill the integer placeholders from the right, so "(###) ###-####" lays out
// a telephone number; digits beyond the placeholders go to the first one.
#pragma once

#include <string>
#include <string_view>

#include "platform/code_page_tables.h"
#include "runtime/strings/string_ref.h"

namespace qv {

std::string format_number_text(double value, std::string_view format, const platform::NumberSeparators& separators);

// The result is ASCII when it is 7-bit, else UTF-8 (the format is read as UTF-8).
StringRef format_number(double value, const StringRef& format, const platform::NumberSeparators& separators);

}  // namespace qv
