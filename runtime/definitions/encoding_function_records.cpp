#include "runtime/definitions/encoding_function_records.h"

#include <iterator>

#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/global_functions.h"

namespace qv {
namespace {

const TypeDescriptor kTextEncodingType = object_type("TextEncoding");
const TypeDescriptor kTextConverterType = object_type("TextConverter");
const TypeDescriptor kEncodingsType = object_type("_Encodings");

const ParameterRecord kText[] = {{"s", &kStringType, 0}};
const ParameterRecord kTextEncoding[] = {{"s", &kStringType, 0}, {"encoding", &kTextEncodingType, 0}};
const ParameterRecord kBaseVariantFormat[] = {
    {"base", &kIntegerType, 0}, {"variant", &kIntegerType, 0}, {"format", &kIntegerType, 0}};
const ParameterRecord kName[] = {{"name", &kStringType, 0}};
const ParameterRecord kFontName[] = {{"fontName", &kStringType, 0}};
const ParameterRecord kInputOutput[] = {{"input", &kTextEncodingType, 0}, {"output", &kTextEncodingType, 0}};

#define QV_RECORD(language_name, result, parameters, routine)                                                     \
    {                                                                                                             \
        language_name, result, parameters, static_cast<i32>(std::size(parameters)), QV_ROUTINE(routine), nullptr, \
            nullptr, 0                                                                                            \
    }

// Indexes below name these rows; keep them in step.
const MethodRecord kRecords[] = {
    {"Encodings", &kEncodingsType, nullptr, 0, QV_ROUTINE(GetEncodingsObject), nullptr, nullptr, 0},  // 0
    QV_RECORD("Encoding", &kTextEncodingType, kText, StringGetEncoding),                              // 1
    QV_RECORD("DefineEncoding", &kStringType, kTextEncoding, StringSetEncoding),                      // 2
    QV_RECORD("ConvertEncoding", &kStringType, kTextEncoding, StringConvertEncoding),                 // 3
    QV_RECORD("GetTextEncoding", &kTextEncodingType, kBaseVariantFormat, getTextEncoding),            // 4
    QV_RECORD("GetInternetTextEncoding", &kTextEncodingType, kName, getInternetTextEncoding),         // 5
    QV_RECORD("GetFontTextEncoding", &kTextEncodingType, kFontName, getFontTextEncoding),             // 6
    QV_RECORD("GetTextConverter", &kTextConverterType, kInputOutput, getTextConverter),               // 7
    QV_RECORD("GuessJapaneseEncoding", &kTextEncodingType, kText, guessJapaneseEncoding),             // 8
};

#undef QV_RECORD

// The table's order: the first appearances, then Encoding, DefineEncoding and ConvertEncoding
// again among the names it lists a second time.
constexpr int kRegistrationOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3};

}  // namespace

std::span<const MethodRecord> encoding_function_records() { return kRecords; }

void register_encoding_functions()
{
    static Once s_once;
    register_global_functions_once(kRecords, kRegistrationOrder, s_once);
}

}  // namespace qv
