#include "runtime/strings/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "runtime/strings/encoding_reconcile.h"

namespace qv {
namespace {

bool is_digit(u8 c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(u8 c) { return is_digit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
bool is_c_space(u8 c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

StringRef ascii_string(const std::string& text)
{
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    s.set_encoding(kEncodingASCII);
    return s;
}

// Text of a non-Unicode, non-ASCII tag is read through UTF-8 so separators and digits are
// found whatever the code page; text that cannot be converted is read as it is.
StringRef readable_text(const StringRef& s)
{
    const u32 encoding = s.encoding();
    if (encoding == kEncodingUTF8 || encoding == kEncodingASCII || encoding == kEncodingUnknown || s.IsSevenBit())
        return s;
    StringRef utf8 = convert_encoding(s, kEncodingUTF8);
    return utf8.is_nil() ? s : utf8;
}

// "&h1F" and its kin: every character that is not a digit of the base is skipped; for base 16
// every letter counts, A as 10 and onwards, as the language always read them.
double prefixed_integer(const u8* text, i32 length)
{
    if (length < 2)
        return 0;
    u32 base;
    switch (text[1] | 0x20) {
    case 'h': base = 16; break;
    case 'o': base = 8; break;
    case 'b': base = 2; break;
    default: return 0;
    }
    u32 value = 0;
    for (i32 i = 2; i < length; ++i) {
        const u8 c = text[i];
        u32 digit;
        if (is_digit(c))
            digit = c - '0';
        else if (base == 16 && ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'))
            digit = 10 + ((c | 0x20) - 'a');
        else
            continue;
        if (digit >= base && base != 16)
            continue;
        value = value * base + digit;  // wraps like the 32-bit register it was
    }
    return static_cast<i32>(value);
}

bool starts_with_word(const u8* text, i32 length, const char* word)
{
    i32 i = 0;
    for (; word[i]; ++i)
        if (i >= length || (text[i] | 0x20) != word[i])
            return false;
    return true;
}

double parse_or_limit(const std::string& number, std::chars_format format, bool overflow)
{
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value, format);
    (void)end;
    if (error == std::errc::result_out_of_range)
        return overflow ? std::numeric_limits<double>::infinity() : 0.0;  // as strtod gives them
    return error == std::errc() ? value : 0.0;
}

// Exponent digits after 'e' or 'p' at text[i], when a digit follows the optional sign; the
// value saturates far beyond any double's range.
bool read_exponent(const u8* text, i32 length, i32 i, i64& exponent)
{
    i32 j = i + 1;
    bool negative = false;
    if (j < length && (text[j] == '+' || text[j] == '-'))
        negative = text[j++] == '-';
    if (j >= length || !is_digit(text[j]))
        return false;
    exponent = 0;
    for (; j < length && is_digit(text[j]); ++j)
        exponent = exponent < 100000000 ? exponent * 10 + (text[j] - '0') : exponent;
    if (negative)
        exponent = -exponent;
    return true;
}

// "0x1.8p3" and its kin, after the "0x".
double hexadecimal_number(const u8* text, i32 length)
{
    std::string number;  // hex digits '.' hex digits ['p' exponent], as from_chars reads them
    i64 magnitude = 0;   // binary exponent of the leading digit, roughly, for overflow
    bool nonzero = false, point = false;
    i32 i = 0;
    for (; i < length; ++i) {
        const u8 c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (is_hex_digit(c)) {
            nonzero |= c != '0';
            if (nonzero && !point)
                magnitude += 4;
            if (!nonzero && point)
                magnitude -= 4;
        } else {
            break;
        }
        number += static_cast<char>(c);
    }
    i64 exponent = 0;
    if (i < length && (text[i] | 0x20) == 'p' && read_exponent(text, length, i, exponent))
        number += "p" + std::to_string(exponent);
    return parse_or_limit(number, std::chars_format::hex, nonzero && magnitude + exponent > 0);
}

double unsigned_number(const u8* text, i32 length)
{
    if (starts_with_word(text, length, "inf"))
        return std::numeric_limits<double>::infinity();
    if (starts_with_word(text, length, "nan"))
        return std::numeric_limits<double>::quiet_NaN();
    if (length > 2 && text[0] == '0' && (text[1] | 0x20) == 'x' &&
        (is_hex_digit(text[2]) || (text[2] == '.' && length > 3 && is_hex_digit(text[3]))))
        return hexadecimal_number(text + 2, length - 2);

    std::string number;  // digits '.' digits ['e' exponent], as from_chars reads them
    i32 integer_digits = 0, leading_fraction_zeros = 0;
    bool any_digit = false, nonzero = false;
    i32 i = 0;
    for (; i < length && is_digit(text[i]); ++i) {
        nonzero |= text[i] != '0';
        integer_digits += nonzero;
        any_digit = true;
        number += static_cast<char>(text[i]);
    }
    if (i < length && text[i] == '.') {
        number += '.';
        for (++i; i < length && is_digit(text[i]); ++i) {
            leading_fraction_zeros += !nonzero && text[i] == '0';
            nonzero |= text[i] != '0';
            any_digit = true;
            number += static_cast<char>(text[i]);
        }
    }
    if (!any_digit)
        return 0;
    i64 exponent = 0;
    if (i < length && (text[i] | 0x20) == 'e' && read_exponent(text, length, i, exponent))
        number += "e" + std::to_string(exponent);
    const i64 magnitude = (integer_digits > 0 ? integer_digits : -leading_fraction_zeros) + exponent;
    return parse_or_limit(number, std::chars_format::general, nonzero && magnitude > 0);
}

// The number at the start of the text as the C library's strtod reads it in the "C" locale:
// white space, a sign, then digits with a point and an exponent, "0x" hexadecimal, "inf",
// "infinity" or "nan".
double decimal_number(const u8* text, i32 length)
{
    i32 i = 0;
    while (i < length && is_c_space(text[i]))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const double value = unsigned_number(text + i, length - i);
    return negative ? -value : value;
}

double val_of_bytes(const u8* text, i32 length)
{
    if (length > 0 && text[0] == '&')
        return prefixed_integer(text, length);
    return decimal_number(text, length);
}

void strip_trailing_zeros(DecimalDigits& d)
{
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.point = 0;
}

// Replaces every `from` in `text` by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    if (from.empty() || from == to)
        return text;
    std::string out;
    size_t at = 0;
    for (size_t hit; (hit = text.find(from, at)) != std::string::npos; at = hit + from.size())
        out.append(text, at, hit - at).append(to);
    return out.append(text, at, std::string::npos);
}

}  // namespace

DecimalDigits decimal_digits(double value)
{
    DecimalDigits d;
    d.negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value))
        return d;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    const std::string text(buffer, result.ptr);  // "d.ddde+XX"
    const size_t e = text.find('e');
    for (size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.digits += text[i];
    d.point = std::stoi(text.substr(e + 1)) + 1;
    strip_trailing_zeros(d);
    return d;
}

void round_significant(DecimalDigits& d, i32 count)
{
    if (count >= static_cast<i32>(d.digits.size()))
        return;
    if (count < 0) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    const bool up = d.digits[static_cast<size_t>(count)] >= '5';
    d.digits.resize(static_cast<size_t>(count));
    if (up) {
        i32 i = count - 1;
        for (; i >= 0 && d.digits[static_cast<size_t>(i)] == '9'; --i)
            d.digits[static_cast<size_t>(i)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');  // 9.99 became 10.0
            ++d.point;
        }
    }
    strip_trailing_zeros(d);
}

void round_places(DecimalDigits& d, i32 places)
{
    if (d.digits.empty())
        return;
    const i64 keep = i64{d.point} + places;
    round_significant(d, keep > INT32_MAX ? INT32_MAX : keep < -1 ? -1 : static_cast<i32>(keep));
}

double val(const StringRef& s)
{
    if (s.is_nil())
        return 0;
    StringRef text = s.encoding() == kEncodingUTF16 ? convert_encoding(s, kEncodingUTF8) : s;
    return val_of_bytes(text.bytes(), text.length());
}

double cdbl(const StringRef& s, const platform::NumberSeparators& separators)
{
    if (s.is_nil())
        return 0;
    StringRef readable = s.encoding() == kEncodingUTF16 ? convert_encoding(s, kEncodingUTF8) : readable_text(s);
    std::string text(reinterpret_cast<const char*>(readable.bytes()), static_cast<size_t>(readable.length()));
    if (separators.thousands != separators.decimal)
        text = replaced(text, separators.thousands, "");
    text = replaced(text, separators.decimal, ".");
    return val_of_bytes(reinterpret_cast<const u8*>(text.data()), static_cast<i32>(text.size()));
}

std::string str_text(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    DecimalDigits d = decimal_digits(value);
    round_significant(d, 7);
    if (d.digits.empty())
        return "0";  // negative zero too
    std::string out = d.negative ? "-" : "";
    const i32 exponent = d.point - 1;
    if (exponent < -4 || exponent >= 7) {
        out += d.digits[0];
        if (d.digits.size() > 1)
            out += "." + d.digits.substr(1);
        out += exponent < 0 ? "e-" : "e+";
        const i32 magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
        return out;
    }
    const i32 digits = static_cast<i32>(d.digits.size());
    if (d.point <= 0) {
        out += "0." + std::string(static_cast<size_t>(-d.point), '0') + d.digits;
    } else if (d.point >= digits) {
        out += d.digits + std::string(static_cast<size_t>(d.point - digits), '0');
    } else {
        out += d.digits.substr(0, static_cast<size_t>(d.point)) + "." + d.digits.substr(static_cast<size_t>(d.point));
    }
    return out;
}

StringRef str(double value) { return ascii_string(str_text(value)); }

StringRef cstr(double value, const platform::NumberSeparators& separators)
{
    const std::string text = replaced(str_text(value), ".", separators.decimal);
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    bool seven_bit = true;
    for (char c : text)
        seven_bit &= (static_cast<u8>(c) & 0x80) == 0;
    s.set_encoding(seven_bit ? kEncodingASCII : kEncodingUTF8);
    return s;
}

StringRef integer_digits(i32 value, u32 base)
{
    char buffer[33];
    char* end = buffer + sizeof buffer;
    char* p = end;
    u32 v = static_cast<u32>(value);
    do {
        *--p = "0123456789ABCDEF"[v % base];
        v /= base;
    } while (v != 0);
    return ascii_string(std::string(p, end));
}

}  // namespace qv
