// Member signatures: "name%result%receiver parameters", stored beside each routine in method
// and event tables and matched by name. Building one for a method or property, and parsing.
//
//     type code  = "s" | "i" | "b" | "f" | "d" | "c" | "o<" class ">" | "a" type code
//     signature  = ["#"] name "%" [type code] "%" [receiver] {["&"] type code}
//
// "#" marks the implementation of an inherited event; "&" a by-reference parameter.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/definitions/object_definition.h"
#include "runtime/strings/string_ref.h"

namespace qv {

// "name%result%o<Owner>params"; no receiver when `owner_name` is empty.
std::string format_method_signature(std::string_view name, const TypeDescriptor* result, std::string_view owner_name,
                                    const ParameterRecord* parameters, i32 parameter_count);

// The signature of a method node of `owner` (null: a global function, without receiver).
StringRef method_signature(const MethodNode& node, const ObjectDefinition* owner);
// "name%code", the declaration of a property table entry.
StringRef property_signature(const PropertyNode& node);

struct SignatureParameter {
    std::string_view type;
    bool byReference;
    bool operator==(const SignatureParameter&) const = default;
};

// Views into the parsed text.
struct MemberSignature {
    bool eventImplementation = false;
    std::string_view name;      // without the "#"
    std::string_view result;    // empty: no result
    std::string_view receiver;  // empty: no receiver
    std::vector<SignatureParameter> parameters;
};

// The length of the type code at the start of `text`, or 0 when it does not start with one.
size_t type_code_length(std::string_view text);

// Null for text outside the grammar. The receiver is the first code after the second "%"
// when that code is an object type (receivers are the owning class); a signature without a
// receiver whose first parameter is an object therefore reads that parameter as a receiver.
std::optional<MemberSignature> parse_member_signature(std::string_view text);

}  // namespace qv
