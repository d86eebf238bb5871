// Building and parsing member signatures.
#include "runtime/definitions/member_signature.h"

namespace qv {
namespace {

std::string_view view_of(const RuntimeString* s)
{
    return {reinterpret_cast<const char*>(string_bytes(s)), static_cast<size_t>(string_length(s))};
}

StringRef to_string(const std::string& text)
{
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    s.set_encoding(s.IsSevenBit() ? kEncodingASCII : kEncodingUTF8);
    return s;
}

}  // namespace

std::string format_method_signature(std::string_view name, const TypeDescriptor* result, std::string_view owner_name,
                                    const ParameterRecord* parameters, i32 parameter_count)
{
    std::string out(name);
    out += '%';
    append_type_code(out, result);
    out += '%';
    if (!owner_name.empty()) {
        out += "o<";
        out += owner_name;
        out += '>';
    }
    for (i32 i = 0; parameters && i < parameter_count; ++i) {
        if (parameters[i].byReference)
            out += '&';
        append_type_code(out, parameters[i].type);
    }
    return out;
}

StringRef method_signature(const MethodNode& node, const ObjectDefinition* owner)
{
    return to_string(format_method_signature(view_of(node.name), node.result,
                                             owner ? view_of(owner->name) : std::string_view(), node.parameters,
                                             node.parameterCount));
}

StringRef property_signature(const PropertyNode& node)
{
    std::string out(view_of(node.name));
    out += '%';
    append_type_code(out, node.type);
    return to_string(out);
}

size_t type_code_length(std::string_view text)
{
    size_t prefix = 0;
    while (prefix < text.size() && text[prefix] == 'a')
        ++prefix;
    if (prefix == text.size())
        return 0;
    switch (text[prefix]) {
    case 's':
    case 'i':
    case 'b':
    case 'f':
    case 'd':
    case 'c': return prefix + 1;
    case 'o': {
        if (prefix + 1 >= text.size() || text[prefix + 1] != '<')
            return 0;
        const size_t close = text.find('>', prefix + 2);
        if (close == std::string_view::npos || close == prefix + 2)
            return 0;  // unterminated, or no class name
        return close + 1;
    }
    default: return 0;
    }
}

std::optional<MemberSignature> parse_member_signature(std::string_view text)
{
    MemberSignature out;
    if (!text.empty() && text.front() == '#') {
        out.eventImplementation = true;
        text.remove_prefix(1);
    }
    const size_t first = text.find('%');
    if (first == std::string_view::npos || first == 0)
        return std::nullopt;
    const size_t second = text.find('%', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    out.name = text.substr(0, first);
    out.result = text.substr(first + 1, second - first - 1);
    if (!out.result.empty() && type_code_length(out.result) != out.result.size())
        return std::nullopt;

    std::string_view rest = text.substr(second + 1);
    if (rest.starts_with("o<")) {
        const size_t n = type_code_length(rest);
        if (n == 0)
            return std::nullopt;
        out.receiver = rest.substr(0, n);
        rest.remove_prefix(n);
    }
    while (!rest.empty()) {
        const bool by_reference = rest.front() == '&';
        if (by_reference)
            rest.remove_prefix(1);
        const size_t n = type_code_length(rest);
        if (n == 0)
            return std::nullopt;
        out.parameters.push_back({rest.substr(0, n), by_reference});
        rest.remove_prefix(n);
    }
    return out;
}

}  // namespace qv
