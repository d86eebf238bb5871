// Variant text on top of the string library's number digits (which ignore the C library's
// locale, so both builds print alike).
#include "runtime/variants/variant_text.h"

#include <cmath>
#include <string>

#include "runtime/strings/encoding_reconcile.h"
#include "runtime/strings/number_text.h"

namespace qv {
namespace {

StringRef ascii_text(const std::string& text)
{
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    s.set_encoding(kEncodingASCII);
    return s;
}

}  // namespace

StringRef double_variant_text(double value)
{
    if (std::isnan(value))
        return ascii_text("NaN");
    if (std::isinf(value))
        return ascii_text(value < 0 ? "-Inf" : "Inf");
    const DecimalDigits d = decimal_digits(value);
    if (d.digits.empty())
        return ascii_text("0");

    // value = 0.digits x 10^point; the first digit's power of ten is point - 1.
    const std::string& digits = d.digits;
    const i32 n = static_cast<i32>(digits.size());
    const i32 exponent = d.point - 1;
    std::string text = d.negative ? "-" : "";
    if (exponent >= -5 && exponent <= 16) {
        if (d.point <= 0)
            text += "0." + std::string(static_cast<size_t>(-d.point), '0') + digits;
        else if (n <= d.point)
            text += digits + std::string(static_cast<size_t>(d.point - n), '0');
        else
            text += digits.substr(0, static_cast<size_t>(d.point)) + "." + digits.substr(static_cast<size_t>(d.point));
    } else {
        text += digits.substr(0, 1);
        if (n > 1)
            text += "." + digits.substr(1);
        const i32 magnitude = exponent < 0 ? -exponent : exponent;
        text += exponent < 0 ? "e-" : "e+";
        if (magnitude < 10)
            text += '0';
        text += std::to_string(magnitude);
    }
    return ascii_text(text);
}

StringRef color_variant_text(u32 value)
{
    const StringRef digits = integer_digits(static_cast<i32>(value), 16);
    std::string text = "&h";
    for (i32 i = digits.length(); i < 6; ++i)
        text += '0';
    text.append(reinterpret_cast<const char*>(digits.bytes()), static_cast<size_t>(digits.length()));
    return ascii_text(text);
}

bool text_means_true(const StringRef& text)
{
    const StringRef readable = text.encoding() == kEncodingUTF16 ? convert_encoding(text, kEncodingUTF8) : text;
    const u8* p = readable.bytes();
    if (readable.length() == 1)
        return p[0] == '1';
    static const char kTrue[] = "true";
    if (readable.length() != 4)
        return false;
    for (i32 i = 0; i < 4; ++i)
        if ((p[i] | 0x20) != kTrue[i])
            return false;
    return true;
}

}  // namespace qv
