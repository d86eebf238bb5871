#include "framework/startup/live_object_report.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/objects/object_model.h"
#include "runtime/strings/runtime_string.h"

namespace qv {
namespace {

std::string class_name_of(const RuntimeObject* object)
{
    const ClassRecord* c = object->classRecord;
    if (!c || !c->name)
        return "(no class)";
    return std::string(reinterpret_cast<const char*>(string_bytes(c->name)),
                       static_cast<size_t>(string_length(c->name)));
}

}  // namespace

void write_live_object_report()
{
    const wchar_t* path = _wgetenv(L"QUAVER_LIVE_OBJECTS");
    if (!path || !*path)
        return;
    std::vector<std::string> lines;
    for (RuntimeObject* object = live_object_head(); object; object = object->nextLive)
        lines.push_back(class_name_of(object) + " refs " + std::to_string(object->refCount));
    std::sort(lines.begin(), lines.end());
    FILE* f = _wfopen(path, L"wb");
    if (!f)
        return;
    std::fprintf(f, "objects %zu\n", lines.size());
    for (const std::string& line : lines)
        std::fprintf(f, "%s\n", line.c_str());
    std::fprintf(f, "strings %lld\n", static_cast<long long>(live_string_count()));
    std::fclose(f);
}

}  // namespace qv
