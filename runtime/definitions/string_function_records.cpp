#include "runtime/definitions/string_function_records.h"

#include <iterator>

#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/global_functions.h"

namespace qv {
namespace {

const ParameterRecord kText[] = {{"s", &kStringType, 0}};
const ParameterRecord kTextCount[] = {{"s", &kStringType, 0}, {"count", &kIntegerType, 0}};
const ParameterRecord kTextStart[] = {{"s", &kStringType, 0}, {"start", &kIntegerType, 0}};
const ParameterRecord kTextStartLength[] = {
    {"s", &kStringType, 0}, {"start", &kIntegerType, 0}, {"length", &kIntegerType, 0}};
const ParameterRecord kValue[] = {{"value", &kIntegerType, 0}};
const ParameterRecord kDouble[] = {{"value", &kDoubleType, 0}};
const ParameterRecord kDoubleFormat[] = {{"value", &kDoubleType, 0}, {"format", &kStringType, 0}};
const ParameterRecord kSearch[] = {{"start", &kIntegerType, 0}, {"source", &kStringType, 0}, {"find", &kStringType, 0}};
const ParameterRecord kReplace[] = {
    {"source", &kStringType, 0}, {"find", &kStringType, 0}, {"replacement", &kStringType, 0}};
const ParameterRecord kFields[] = {{"s", &kStringType, 0}, {"separator", &kStringType, 0}};
const ParameterRecord kNthField[] = {
    {"s", &kStringType, 0}, {"separator", &kStringType, 0}, {"index", &kIntegerType, 0}};
const ParameterRecord kCompare[] = {{"a", &kStringType, 0}, {"b", &kStringType, 0}, {"mode", &kIntegerType, 0}};

// clang-format off
#define QV_RECORD(language_name, result, parameters, routine) \
    {language_name, result, parameters, static_cast<i32>(std::size(parameters)), \
     QV_ROUTINE(routine), nullptr, nullptr, 0}

// Indexes below name these rows; keep them in step.
const MethodRecord kRecords[] = {
    QV_RECORD("LeftB", &kStringType, kTextCount, StringLeft),              // 0
    QV_RECORD("Left", &kStringType, kTextCount, StringDBCSLeft),           // 1
    QV_RECORD("RightB", &kStringType, kTextCount, StringRight),            // 2
    QV_RECORD("Right", &kStringType, kTextCount, StringDBCSRight),         // 3
    QV_RECORD("LenB", &kIntegerType, kText, StringLen),                    // 4
    QV_RECORD("Len", &kIntegerType, kText, StringDBCSLen),                 // 5
    QV_RECORD("AscB", &kIntegerType, kText, StringAsc),                    // 6
    QV_RECORD("Asc", &kIntegerType, kText, StringDBCSAsc),                 // 7
    QV_RECORD("ChrB", &kStringType, kValue, StringChr),                    // 8
    QV_RECORD("Chr", &kStringType, kValue, StringDBCSChr),                 // 9
    QV_RECORD("Val", &kDoubleType, kText, StringVal),                      // 10
    QV_RECORD("Hex", &kStringType, kValue, RuntimeHex),                    // 11
    QV_RECORD("Oct", &kStringType, kValue, RuntimeOct),                    // 12
    QV_RECORD("Bin", &kStringType, kValue, RuntimeBin),                    // 13
    QV_RECORD("Replace", &kStringType, kReplace, StringReplace),           // 14
    QV_RECORD("ReplaceAll", &kStringType, kReplace, StringReplaceAll),     // 15
    QV_RECORD("ReplaceB", &kStringType, kReplace, StringReplaceB),         // 16
    QV_RECORD("ReplaceAllB", &kStringType, kReplace, StringReplaceAllB),   // 17
    QV_RECORD("Uppercase", &kStringType, kText, StringUCase),              // 18
    QV_RECORD("Lowercase", &kStringType, kText, StringLCase),              // 19
    QV_RECORD("Titlecase", &kStringType, kText, StringTitleCase),          // 20
    QV_RECORD("CountFields", &kIntegerType, kFields, StringCountFields),   // 21
    QV_RECORD("NthField", &kStringType, kNthField, StringNthField),        // 22
    QV_RECORD("StrComp", &kIntegerType, kCompare, StringStrCompare),       // 23
    QV_RECORD("Format", &kStringType, kDoubleFormat, StringFormat),        // 24
    QV_RECORD("CStr", &kStringType, kDouble, runCStr),                     // 25
    QV_RECORD("CDbl", &kDoubleType, kText, runCDbl),                       // 26
    QV_RECORD("Trim", &kStringType, kText, runTrim),                       // 27
    QV_RECORD("LTrim", &kStringType, kText, runLTrim),                     // 28
    QV_RECORD("RTrim", &kStringType, kText, runRTrim),                     // 29
    QV_RECORD("Str", &kStringType, kDouble, StringStr),                    // 30
    QV_RECORD("InStr", &kIntegerType, kSearch, StringInStr),               // 31
    QV_RECORD("InStrB", &kIntegerType, kSearch, StringInStrB),             // 32
    QV_RECORD("Mid", &kStringType, kTextStart, StringDBCSMid2),            // 33
    QV_RECORD("Mid", &kStringType, kTextStartLength, StringDBCSMid3),      // 34
    QV_RECORD("MidB", &kStringType, kTextStart, StringMid2),               // 35
    QV_RECORD("MidB", &kStringType, kTextStartLength, StringMid3),         // 36
};
// clang-format on

#undef QV_RECORD

// The table's order: the first appearances, then the names it lists again. (Encoding,
// DefineEncoding and ConvertEncoding sit among them in the table; they are the encodings'.)
constexpr int kRegistrationOrder[] = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
    21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 33, 34, 35, 36, 27,
    28, 29, 26, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0,  1,  2,  3,  4,  5,  6,  7,  10,
};

}  // namespace

std::span<const MethodRecord> string_function_records() { return kRecords; }

void register_string_functions()
{
    static Once s_once;
    register_global_functions_once(kRecords, kRegistrationOrder, s_once);
}

}  // namespace qv
