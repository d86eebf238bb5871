// Exported string functions (Left, Mid, InStr, Replace, Trim, Val, Format and their kin):
// thin wrappers that share the borrowed arguments and hand on the results' counts.
#include "runtime/strings/case_functions.h"
#include "runtime/strings/character_functions.h"
#include "runtime/strings/number_format.h"
#include "runtime/strings/number_text.h"
#include "runtime/strings/search_functions.h"
#include "runtime/strings/string_compare.h"
#include "runtime/strings/trim_functions.h"

using qv::StringRef;

namespace {

StringRef borrowed(RuntimeString* s) { return StringRef::share(s); }

}  // namespace

extern "C" {

RuntimeString* StringLeft(RuntimeString* s, int32_t count) { return qv::left_b(borrowed(s), count).leak(); }
RuntimeString* StringDBCSLeft(RuntimeString* s, int32_t count) { return qv::left_chars(borrowed(s), count).leak(); }
RuntimeString* StringRight(RuntimeString* s, int32_t count) { return qv::right_b(borrowed(s), count).leak(); }
RuntimeString* StringDBCSRight(RuntimeString* s, int32_t count) { return qv::right_chars(borrowed(s), count).leak(); }
RuntimeString* StringMid2(RuntimeString* s, int32_t start) { return qv::mid_b(borrowed(s), start).leak(); }
RuntimeString* StringDBCSMid2(RuntimeString* s, int32_t start) { return qv::mid_chars(borrowed(s), start).leak(); }

RuntimeString* StringMid3(RuntimeString* s, int32_t start, int32_t length)
{
    return qv::mid_b(borrowed(s), start, length).leak();
}

RuntimeString* StringDBCSMid3(RuntimeString* s, int32_t start, int32_t length)
{
    return qv::mid_chars(borrowed(s), start, length).leak();
}

int32_t StringLen(RuntimeString* s) { return qv::string_length(s); }
int32_t StringDBCSLen(RuntimeString* s) { return qv::length_in_chars(borrowed(s)); }
int32_t StringAsc(RuntimeString* s) { return qv::asc_b(borrowed(s)); }
int32_t StringDBCSAsc(RuntimeString* s) { return qv::asc_char(borrowed(s)); }

int32_t StringInStr(int32_t start, RuntimeString* source, RuntimeString* find)
{
    return qv::in_str(start, borrowed(source), borrowed(find));
}

int32_t StringDBCSInStr(int32_t start, RuntimeString* source, RuntimeString* find)
{
    return qv::dbcs_in_str(start, borrowed(source), borrowed(find));
}

RuntimeString* StringReplace(RuntimeString* source, RuntimeString* find, RuntimeString* replacement)
{
    return qv::replace_text(borrowed(source), borrowed(find), borrowed(replacement), qv::ReplaceCount::First).leak();
}

RuntimeString* StringReplaceAll(RuntimeString* source, RuntimeString* find, RuntimeString* replacement)
{
    return qv::replace_text(borrowed(source), borrowed(find), borrowed(replacement), qv::ReplaceCount::All).leak();
}

RuntimeString* StringUCase(RuntimeString* s) { return qv::upper_case(borrowed(s)).leak(); }
RuntimeString* StringLCase(RuntimeString* s) { return qv::lower_case(borrowed(s)).leak(); }
RuntimeString* StringTitleCase(RuntimeString* s) { return qv::title_case(borrowed(s)).leak(); }

int32_t StringCountFields(RuntimeString* s, RuntimeString* separator)
{
    return qv::count_fields(borrowed(s), borrowed(separator));
}

RuntimeString* StringNthField(RuntimeString* s, RuntimeString* separator, int32_t index)
{
    return qv::nth_field(borrowed(s), borrowed(separator), index).leak();
}

int32_t StringStrCompare(RuntimeString* a, RuntimeString* b, int32_t mode)
{
    return qv::compare_strings_strcomp(borrowed(a), borrowed(b), mode);
}

RuntimeString* runTrim(RuntimeString* s) { return qv::trim_text(borrowed(s), qv::TrimEnds::Both).leak(); }
RuntimeString* runLTrim(RuntimeString* s) { return qv::trim_text(borrowed(s), qv::TrimEnds::Left).leak(); }
RuntimeString* runRTrim(RuntimeString* s) { return qv::trim_text(borrowed(s), qv::TrimEnds::Right).leak(); }

double StringVal(RuntimeString* s) { return qv::val(borrowed(s)); }
double runCDbl(RuntimeString* s) { return qv::cdbl(borrowed(s), platform::number_separators()); }
RuntimeString* StringStr(double value) { return qv::str(value).leak(); }
RuntimeString* runCStr(double value) { return qv::cstr(value, platform::number_separators()).leak(); }

RuntimeString* StringFormat(double value, RuntimeString* format)
{
    return qv::format_number(value, borrowed(format), platform::number_separators()).leak();
}

RuntimeString* RuntimeHex(int32_t value) { return qv::integer_digits(value, 16).leak(); }
RuntimeString* RuntimeOct(int32_t value) { return qv::integer_digits(value, 8).leak(); }
RuntimeString* RuntimeBin(int32_t value) { return qv::integer_digits(value, 2).leak(); }

}  // extern "C"
