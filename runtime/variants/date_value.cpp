// Date objects for variants: the class definition (the total seconds after the header) and
// the conversion between total seconds and the text of a date on the proleptic Gregorian
// calendar.
#include "runtime/variants/date_value.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/objects/object_model.h"
#include "runtime/variants/variant_text.h"

namespace qv {
namespace {

constexpr i64 kSecondsPerDay = 86400;

// Days from 1970-01-01 to the date, and back: the usual era-of-400-years arithmetic.
constexpr i64 days_from_civil(i64 year, i64 month, i64 day)
{
    year -= month <= 2;
    const i64 era = (year >= 0 ? year : year - 399) / 400;
    const i64 year_of_era = year - era * 400;
    const i64 day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const i64 day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

struct Civil {
    i64 year, month, day;
};

Civil civil_from_days(i64 days)
{
    days += 719468;
    const i64 era = (days >= 0 ? days : days - 146096) / 146097;
    const i64 day_of_era = days - era * 146097;
    const i64 year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const i64 day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const i64 mp = (5 * day_of_year + 2) / 153;
    const i64 day = day_of_year - (153 * mp + 2) / 5 + 1;
    const i64 month = mp < 10 ? mp + 3 : mp - 9;
    return {year_of_era + era * 400 + (month <= 2), month, day};
}

constexpr i64 kEpochDays = days_from_civil(1904, 1, 1);

bool is_leap(i64 year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

i64 days_in_month(i64 year, i64 month)
{
    static const i64 kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap(year) ? 29 : kDays[month - 1];
}

// Reads 1 to `most` decimal digits.
bool read_number(const u8*& p, const u8* end, i32 most, i64& value)
{
    value = 0;
    i32 n = 0;
    for (; p < end && n < most && *p >= '0' && *p <= '9'; ++p, ++n)
        value = value * 10 + (*p - '0');
    return n > 0;
}

bool read_char(const u8*& p, const u8* end, u8 c)
{
    if (p < end && *p == c) {
        ++p;
        return true;
    }
    return false;
}

bool is_space(u8 c) { return c == ' ' || c == '\t'; }

ObjectDefinition s_definition;

}  // namespace

ObjectDefinition* date_definition()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "Date";
        source.instance_size = sizeof(DateObject);
        build_definition(s_definition, source);
    });
    return &s_definition;
}

ClassRecord* date_class()
{
    static ClassRecord* const s_class = ClassFromDefinition(date_definition());
    return s_class;
}

bool is_date(const RuntimeObject* object) { return object && object_is_a(object, date_class()); }

double date_total_seconds(const RuntimeObject* date)
{
    double seconds;
    std::memcpy(&seconds, reinterpret_cast<const DateObject*>(date)->totalSeconds, sizeof seconds);
    return seconds;
}

RuntimeObject* new_date(double total_seconds)
{
    RuntimeObject* date = RuntimeNewObject(date_class());
    if (date)
        std::memcpy(reinterpret_cast<DateObject*>(date)->totalSeconds, &total_seconds, sizeof total_seconds);
    return date;
}

StringRef date_text(double total_seconds)
{
    static const double kFirst = static_cast<double>((days_from_civil(1, 1, 1) - kEpochDays) * kSecondsPerDay);
    static const double kBeyondLast = static_cast<double>((days_from_civil(10000, 1, 1) - kEpochDays) * kSecondsPerDay);
    if (!(total_seconds >= kFirst && total_seconds < kBeyondLast))
        return double_variant_text(total_seconds);
    const auto seconds = static_cast<i64>(std::floor(total_seconds));
    i64 days = seconds / kSecondsPerDay;
    i64 rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    const Civil civil = civil_from_days(days + kEpochDays);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", static_cast<int>(civil.year),
                  static_cast<int>(civil.month), static_cast<int>(civil.day), static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return StringRef::FromCString(text);
}

bool parse_date_text(const StringRef& text, double& total_seconds)
{
    const StringRef readable = text.encoding() == kEncodingUTF16 ? text.ToUTF8() : text;
    const u8* p = readable.bytes();
    const u8* end = p + readable.length();
    while (p < end && is_space(*p))
        ++p;
    while (end > p && is_space(end[-1]))
        --end;
    i64 year, month, day, hour = 0, minute = 0, second = 0;
    if (!read_number(p, end, 4, year) || !read_char(p, end, '-') || !read_number(p, end, 2, month) ||
        !read_char(p, end, '-') || !read_number(p, end, 2, day))
        return false;
    if (p < end) {
        if (!is_space(*p) && *p != 'T')
            return false;
        while (p < end && (is_space(*p) || *p == 'T'))
            ++p;
        if (!read_number(p, end, 2, hour) || !read_char(p, end, ':') || !read_number(p, end, 2, minute))
            return false;
        if (read_char(p, end, ':') && !read_number(p, end, 2, second))
            return false;
        if (p != end)
            return false;
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        return false;
    const i64 days = days_from_civil(year, month, day) - kEpochDays;
    total_seconds = static_cast<double>(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
    return true;
}

}  // namespace qv
