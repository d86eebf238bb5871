// The built-in type descriptors and their text conversions.
#include "runtime/definitions/type_descriptor.h"

#include <charconv>
#include <cstdio>

namespace qv {
namespace {

RuntimeString* string_to_text(const void* value)
{
    return StringRef::share(*static_cast<RuntimeString* const*>(value)).leak();
}

void string_from_text(RuntimeString* text, void* value)
{
    *static_cast<RuntimeString**>(value) = StringRef::share(text).leak();
}

void string_release(void* value) { RuntimeUnlockString(*static_cast<RuntimeString**>(value)); }
void string_retain(void* value) { RuntimeLockString(*static_cast<RuntimeString**>(value)); }

RuntimeString* integer_to_text(const void* value)
{
    return StringRef::FromInteger(*static_cast<const i32*>(value)).leak();
}
void integer_from_text_slot(RuntimeString* text, void* value)
{
    *static_cast<i32*>(value) = integer_from_text(StringRef::share(text));
}

RuntimeString* boolean_to_text(const void* value)
{
    return StringRef::FromCString(*static_cast<const i32*>(value) ? "True" : "False").leak();
}
void boolean_from_text_slot(RuntimeString* text, void* value)
{
    *static_cast<i32*>(value) = boolean_from_text(StringRef::share(text)) ? 1 : 0;
}

// The shortest text that reads back as the same float.
RuntimeString* single_to_text(const void* value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text - 1, *static_cast<const float*>(value));
    *result.ptr = 0;
    return StringRef::FromCString(text).leak();
}

void single_from_text(RuntimeString* text, void* value)
{
    StringRef s = StringRef::share(text);
    const char* p = reinterpret_cast<const char*>(s.bytes());
    const char* end = p + s.length();
    while (p < end && *p == ' ')
        ++p;
    if (p < end && *p == '+')
        ++p;
    float parsed = 0;
    if (std::from_chars(p, end, parsed).ec != std::errc())
        parsed = 0;
    *static_cast<float*>(value) = parsed;
}

}  // namespace

i32 integer_from_text(const StringRef& text)
{
    const u8* p = text.bytes();
    const u8* end = p + text.length();
    while (p < end && *p == ' ')
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    u32 value = 0;  // wraps like 32-bit arithmetic instead of overflowing
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<u32>(*p - '0');
    return static_cast<i32>(negative ? 0u - value : value);
}

bool boolean_from_text(const StringRef& text) { return text.CompareNoCase(StringRef::share(QV_STR("True"))) == 0; }

const TypeDescriptor kStringType{TypeKind::BuiltIn, "String", &string_to_text, &string_from_text, &string_release,
                                 &string_retain,    's',      nullptr};
const TypeDescriptor kIntegerType{TypeKind::BuiltIn, "Integer", &integer_to_text, &integer_from_text_slot, nullptr,
                                  nullptr,           'i',       nullptr};
const TypeDescriptor kBooleanType{TypeKind::BuiltIn, "Boolean", &boolean_to_text, &boolean_from_text_slot, nullptr,
                                  nullptr,           'b',       nullptr};
const TypeDescriptor kSingleType{TypeKind::BuiltIn, "Single", &single_to_text, &single_from_text, nullptr,
                                 nullptr,           'f',      nullptr};
const TypeDescriptor kDoubleType{TypeKind::BuiltIn, "Double", nullptr, nullptr, nullptr, nullptr, 'd', nullptr};
const TypeDescriptor kColorType{TypeKind::BuiltIn, "Color", &integer_to_text, &integer_from_text_slot, nullptr,
                                nullptr,           'c',     nullptr};

void append_type_code(std::string& out, const TypeDescriptor* type)
{
    for (; type; type = type->element) {
        switch (type->kind) {
        case TypeKind::BuiltIn: out += type->code; return;
        case TypeKind::Object:
            out += "o<";
            out += type->name ? type->name : "";
            out += '>';
            return;
        case TypeKind::Array: out += 'a'; break;  // then the element's code
        }
    }
}

}  // namespace qv
