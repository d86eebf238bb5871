// The text of variant values that the string library does not already give: a Double with
// every digit it needs, a colour in "&h" form, and which texts mean true.
#pragma once

#include "runtime/strings/string_ref.h"

namespace qv {

// The shortest digits that read back as the same double (at most 17), without trailing
// fraction zeros: "3.5", "-0.001", "12345678901234568". Fixed notation for decimal exponents
// -5 to 16, otherwise an exponent with a sign and at least two digits ("1e+20", "1.5e-07").
// "NaN", "Inf", "-Inf"; -0 prints "0". Encoding ASCII.
StringRef double_variant_text(double value);

// "&h" and at least six upper-case hexadecimal digits: "&h0000FF".
StringRef color_variant_text(u32 value);

// True when the text is "true" (any case) or "1"; UTF-16 text is read through UTF-8.
bool text_means_true(const StringRef& text);

}  // namespace qv
