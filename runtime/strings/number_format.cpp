#include "runtime/strings/number_format.h"

#include <cmath>
#include <vector>

#include "runtime/strings/encoding_reconcile.h"
#include "runtime/strings/number_text.h"

namespace qv {
namespace {

enum class Piece { Literal, IntegerDigit, FractionDigit, Point, Group, Percent, Exponent };

struct Token {
    Piece piece;
    char placeholder = 0;  // '0' or '#' for digits
    std::string text;      // literal text; for an exponent "E+" or "e-"
    i32 exponent_digits = 0;
};

struct Section {
    std::vector<Token> tokens;
    i32 integer_placeholders = 0;
    i32 first_integer_zero = -1;  // index of the first '0' among them
    i32 integer_padded = 0;       // places from that '0' on, which show zeros
    i32 fraction_placeholders = 0;
    i32 fraction_required = 0;  // places up to and including the last '0'
    i32 percents = 0;
    bool grouping = false;
    bool scientific = false;
    bool has_digits() const { return integer_placeholders + fraction_placeholders > 0; }
};

// The sections of a format, split at semicolons outside quotes and escapes.
std::vector<std::string_view> split_sections(std::string_view format)
{
    std::vector<std::string_view> sections;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == '\\' && !quoted)
            ++i;
        else if (c == ';' && !quoted) {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

Section parse_section(std::string_view text)
{
    Section s;
    bool after_point = false;
    auto literal = [&s](std::string_view piece) {
        if (!s.tokens.empty() && s.tokens.back().piece == Piece::Literal)
            s.tokens.back().text += piece;
        else
            s.tokens.push_back({Piece::Literal, 0, std::string(piece), 0});
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '0' || c == '#') {
            if (after_point) {
                s.tokens.push_back({Piece::FractionDigit, c, {}, 0});
                ++s.fraction_placeholders;
                if (c == '0')
                    s.fraction_required = s.fraction_placeholders;
            } else {
                s.tokens.push_back({Piece::IntegerDigit, c, {}, 0});
                ++s.integer_placeholders;
                if (c == '0' && s.first_integer_zero < 0)
                    s.first_integer_zero = s.integer_placeholders - 1;
            }
        } else if (c == '.' && !after_point && !s.scientific) {
            after_point = true;
            s.tokens.push_back({Piece::Point, 0, {}, 0});
        } else if (c == ',' && !after_point) {
            s.grouping = true;
            s.tokens.push_back({Piece::Group, 0, {}, 0});
        } else if (c == '%') {
            ++s.percents;
            s.tokens.push_back({Piece::Percent, 0, {}, 0});
        } else if ((c == 'E' || c == 'e') && !s.scientific && i + 2 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-') && text[i + 2] == '0') {
            Token token{Piece::Exponent, 0, std::string(text.substr(i, 2)), 0};
            for (i += 2; i < text.size() && text[i] == '0'; ++i)
                ++token.exponent_digits;
            --i;
            s.scientific = true;
            s.tokens.push_back(token);
        } else if (c == '\\' && i + 1 < text.size()) {
            literal(text.substr(++i, 1));
        } else if (c == '"') {
            const size_t end = text.find('"', i + 1);
            const size_t stop = end == std::string_view::npos ? text.size() : end;
            literal(text.substr(i + 1, stop - i - 1));
            i = stop;
        } else {
            literal(text.substr(i, 1));
        }
    }
    if (s.first_integer_zero >= 0)
        s.integer_padded = s.integer_placeholders - s.first_integer_zero;
    return s;
}

// The digits of the value as the section shows them.
struct Digits {
    std::string integer;   // without leading zeros; empty for a zero integer part
    std::string fraction;  // exactly the places to show, trailing '#' places dropped
    i32 exponent = 0;
    bool nonzero = false;
};

Digits layout_digits(double magnitude, const Section& s)
{
    DecimalDigits d = decimal_digits(magnitude);
    Digits out;
    if (s.scientific && !d.digits.empty()) {
        const i32 integer_places = s.integer_placeholders > 0 ? s.integer_placeholders : 1;
        out.exponent = d.point - integer_places;
        d.point = integer_places;
        round_places(d, s.fraction_placeholders);
        if (d.point > integer_places) {  // rounding carried into a new digit: 9.99 to 10.0
            --d.point;
            ++out.exponent;
        }
    } else {
        round_places(d, s.fraction_placeholders);
    }
    out.nonzero = !d.digits.empty();
    const i32 count = static_cast<i32>(d.digits.size());
    for (i32 k = 0; k < d.point; ++k)
        out.integer += k < count ? d.digits[static_cast<size_t>(k)] : '0';
    for (i32 k = d.point; k < d.point + s.fraction_placeholders; ++k)
        out.fraction += k >= 0 && k < count ? d.digits[static_cast<size_t>(k)] : '0';
    while (static_cast<i32>(out.fraction.size()) > s.fraction_required && out.fraction.back() == '0')
        out.fraction.pop_back();
    return out;
}

std::string grouped(const std::string& digits, const std::string& separator)
{
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

std::string render(double magnitude, bool minus, const Section& s, const platform::NumberSeparators& separators)
{
    for (i32 p = 0; p < s.percents; ++p)
        magnitude *= 100;
    const Digits digits = layout_digits(magnitude, s);
    std::string integer = digits.integer;
    if (static_cast<i32>(integer.size()) < s.integer_padded)
        integer.insert(0, static_cast<size_t>(s.integer_padded) - integer.size(), '0');

    std::string out = minus && digits.nonzero && s.has_digits() ? "-" : "";
    i32 integer_seen = 0;    // integer placeholders passed so far
    size_t fraction_at = 0;  // next fraction digit
    const i32 n = s.integer_placeholders;
    const i32 length = static_cast<i32>(integer.size());
    for (const Token& t : s.tokens) {
        switch (t.piece) {
        case Piece::Literal: out += t.text; break;
        case Piece::Group: break;  // grouping applies to the integer digits as a whole
        case Piece::Percent: out += '%'; break;
        case Piece::Point: out += separators.decimal; break;
        case Piece::IntegerDigit: {
            const i32 from_right = n - 1 - integer_seen;
            if (s.grouping) {
                if (integer_seen == 0)
                    out += grouped(integer, separators.thousands);
            } else {
                if (integer_seen == 0 && length > n)
                    out += integer.substr(0, static_cast<size_t>(length - n));
                if (from_right < length)
                    out += integer[static_cast<size_t>(length - 1 - from_right)];
            }
            ++integer_seen;
            break;
        }
        case Piece::FractionDigit:
            if (fraction_at < digits.fraction.size())
                out += digits.fraction[fraction_at++];
            break;
        case Piece::Exponent: {
            out += t.text[0];
            const i32 e = digits.exponent;
            if (e < 0)
                out += '-';
            else if (t.text[1] == '+')
                out += '+';
            std::string number = std::to_string(e < 0 ? -i64{e} : i64{e});
            if (static_cast<i32>(number.size()) < t.exponent_digits)
                number.insert(0, static_cast<size_t>(t.exponent_digits) - number.size(), '0');
            out += number;
            break;
        }
        }
    }
    return out;
}

}  // namespace

std::string format_number_text(double value, std::string_view format, const platform::NumberSeparators& separators)
{
    if (format.empty() || !std::isfinite(value))
        return str_text(value);
    const std::vector<std::string_view> sections = split_sections(format);
    auto section = [&sections](size_t i) {
        return parse_section(i < sections.size() && !sections[i].empty() ? sections[i] : sections[0]);
    };
    const bool has_negative = sections.size() > 1 && !sections[1].empty();
    const bool has_zero = sections.size() > 2 && !sections[2].empty();
    if (value == 0 && has_zero)
        return render(0, false, section(2), separators);
    if (value < 0)
        return render(-value, !has_negative, section(has_negative ? 1 : 0), separators);
    return render(value, false, section(0), separators);
}

StringRef format_number(double value, const StringRef& format, const platform::NumberSeparators& separators)
{
    StringRef readable = format;
    if (!format.is_nil() && format.encoding() != kEncodingUTF8 && !format.IsSevenBit()) {
        StringRef utf8 = convert_encoding(format, kEncodingUTF8);
        if (!utf8.is_nil())
            readable = utf8;
    }
    const std::string text = format_number_text(
        value,
        std::string_view(reinterpret_cast<const char*>(readable.bytes()), static_cast<size_t>(readable.length())),
        separators);
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    bool seven_bit = true;
    for (char c : text)
        seven_bit &= (static_cast<u8>(c) & 0x80) == 0;
    s.set_encoding(seven_bit ? kEncodingASCII : kEncodingUTF8);
    return s;
}

}  // namespace qv
