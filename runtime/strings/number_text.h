// Numbers as text and back: Val and CDbl, Str and CStr, Hex, Oct and Bin. Everything here is
// done by the runtime itself, never by the C library's locale, so both builds print and read
// numbers alike; only CStr, CDbl and Format use the user's separators, and those explicitly.
#pragma once

#include <string>

#include "platform/code_page_tables.h"
#include "runtime/strings/string_ref.h"

namespace qv {

// Decimal digits of a finite double: value = 0.d1d2d3... x 10^point, with no leading or
// trailing zeros in `digits` (empty for zero).
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    i32 point = 0;
};

// The shortest digits that read back as the same double.
DecimalDigits decimal_digits(double value);
// Keeps `count` significant digits, rounding half away from zero (so 0.125 to two places is
// 0.13: the digits are rounded as they are shown, not the binary value behind them).
void round_significant(DecimalDigits& d, i32 count);
// Keeps `places` digits after the decimal point, rounding likewise.
void round_places(DecimalDigits& d, i32 places);

// Val: "&h", "&o", "&b" prefixed integers, else the number at the start of the text as
// strtod reads it in the "C" locale (white space, sign, digits, point, exponent, "0x"
// hexadecimal, "inf", "nan"), correctly rounded; 0 when there is none.
double val(const StringRef& s);
// CDbl: val after the thousands separators are removed and the decimal separator made ".".
double cdbl(const StringRef& s, const platform::NumberSeparators& separators);

// Str: 7 significant digits, fixed between 1e-4 and 1e7, else with an exponent ("1.5e+07");
// "NaN", "Inf", "-Inf"; negative zero is "0".
std::string str_text(double value);
StringRef str(double value);
StringRef cstr(double value, const platform::NumberSeparators& separators);

// Hex, Oct, Bin: the unsigned 32-bit value in base 16, 8 or 2, without leading zeros.
StringRef integer_digits(i32 value, u32 base);

}  // namespace qv
