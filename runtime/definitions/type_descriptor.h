// Type descriptors: the built-in value types (String, Integer, Boolean, Single, Double, Color)
// with their signature codes and text conversions, and descriptors of array and object types.
#pragma once

#include <string>

#include "core/types.h"
#include "runtime/strings/string_ref.h"

namespace qv {

enum class TypeKind : i32 { BuiltIn = 0, Array = 1, Object = 2 };

// Conversions work on a value slot of the type's width: a RuntimeString* for String, an i32
// for Integer, Boolean (0 or 1) and Color, a float for Single.
using ToTextRoutine = RuntimeString* (*)(const void* value);         // a new count
using FromTextRoutine = void (*)(RuntimeString* text, void* value);  // the slot receives a new count for String
using ValueRoutine = void (*)(void* value);

struct TypeDescriptor {
    TypeKind kind;
    const char* name;  // built-in: the type's name; object: the class name
    ToTextRoutine toText;
    FromTextRoutine fromText;
    ValueRoutine release;
    ValueRoutine retain;
    // Beyond the record proper: the signature code of a built-in type, and an array's element.
    char code;
    const TypeDescriptor* element;
};

extern const TypeDescriptor kStringType;
extern const TypeDescriptor kIntegerType;
extern const TypeDescriptor kBooleanType;
extern const TypeDescriptor kSingleType;
extern const TypeDescriptor kDoubleType;
extern const TypeDescriptor kColorType;

// Object and array types for signatures. The descriptor only refers to `class_name`/`element`.
constexpr TypeDescriptor object_type(const char* class_name)
{
    return {TypeKind::Object, class_name, nullptr, nullptr, nullptr, nullptr, 0, nullptr};
}
constexpr TypeDescriptor array_type(const TypeDescriptor& element)
{
    return {TypeKind::Array, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &element};
}

// Appends the type's signature code: "s", "i", ..., "o<Name>", "a" + element code. Nothing for
// a null type (no result).
void append_type_code(std::string& out, const TypeDescriptor* type);

// The text conversions, exposed for the descriptors above and their tests.
i32 integer_from_text(const StringRef& text);
bool boolean_from_text(const StringRef& text);

}  // namespace qv
