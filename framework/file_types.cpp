#include "framework/file_types.h"

#include <string>
#include <utility>
#include <vector>

#include "framework/nocase_text.h"

namespace qv {
namespace {

std::vector<FileType>& registered()
{
    static std::vector<FileType> s_types;
    return s_types;
}

std::string_view utf8_view(const StringRef& s)
{
    return s.is_nil() ? std::string_view() : std::string_view(reinterpret_cast<const char*>(s.bytes()), s.length());
}

// The extension of the last path component without its dot; empty when there is none.
std::string_view extension_of(std::string_view path)
{
    const size_t name = path.find_last_of("\\/");
    const std::string_view last = name == std::string_view::npos ? path : path.substr(name + 1);
    const size_t dot = last.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : last.substr(dot + 1);
}

}  // namespace

void register_file_type(FileType type) { registered().push_back(std::move(type)); }

std::span<const FileType> file_types() { return registered(); }

bool file_is_of_type(std::string_view path, std::string_view type_name)
{
    const FileType* type = nullptr;
    for (const FileType& known : registered()) {
        if (equal_nocase(utf8_view(known.name.ToUTF8()), type_name)) {
            type = &known;
            break;
        }
    }
    const std::string extensions = type ? std::string(utf8_view(type->extensions.ToUTF8())) : std::string();
    const std::string_view wanted = extension_of(path);
    bool any_listed = false;
    size_t start = 0;
    while (start < extensions.size()) {
        const size_t end = extensions.find_first_of(";, ", start);
        std::string_view listed =
            std::string_view(extensions).substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? extensions.size() : end + 1;
        if (!listed.empty() && listed.front() == '.')
            listed.remove_prefix(1);
        if (listed.empty())
            continue;
        any_listed = true;
        if (!wanted.empty() && equal_nocase(listed, wanted))
            return true;
    }
    return !any_listed;
}

}  // namespace qv
