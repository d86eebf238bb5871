// FolderItem holds its path as a counted string at offset 28; the name and existence are
// worked out from it on each read, so they follow the file system.
#include "framework/application/folder_item.h"

#include <cstddef>
#include <string>

#include "core/once.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {
namespace {

struct FolderItemObject {
    RuntimeObject header;
    RuntimeString* path;
};
static_assert(offsetof(FolderItemObject, path) == 28);

#define QV_GETTER(label, type, routine)                             \
    {                                                               \
        0, label, type, QV_ROUTINE(routine), nullptr, nullptr, 0, 0 \
    }

const PropertyRecord kProperties[] = {
    QV_GETTER("AbsolutePath", &kStringType, fileAbsolutePathGetter),
    QV_GETTER("Name", &kStringType, fileNameGetter),
    QV_GETTER("Exists", &kBooleanType, fileExistsGetter),
};

const ClassTables kTables[] = {{kProperties, {}}};

void finalize_folder_item(RuntimeObject* object)
{
    auto* item = reinterpret_cast<FolderItemObject*>(object);
    RuntimeUnlockString(item->path);
    item->path = nullptr;
}

// The item's path as UTF-8 (a new count), or nil after raising for a nil item.
StringRef path_of(RuntimeObject* object)
{
    if (!object) {
        RaiseNilObject();
        return {};
    }
    return StringRef::share(reinterpret_cast<FolderItemObject*>(object)->path).ToUTF8();
}

bool is_separator(u8 c) { return c == '\\' || c == '/'; }

}  // namespace

ClassTableList folder_item_class_tables() { return kTables; }

ObjectDefinition* folder_item_definition()
{
    static ObjectDefinition s_definition;
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "FolderItem";
        source.instance_size = sizeof(FolderItemObject);
        source.properties = kProperties;
        source.finalizer = &finalize_folder_item;
        build_definition(s_definition, source);
    });
    return &s_definition;
}

// A relative path names a place in the current folder, as a document named on the command line
// of a program started from a shell does.
static StringRef absolute_path(const StringRef& path)
{
    StringRef utf8 = path.ToUTF8();
    if (utf8.is_nil() || utf8.length() == 0)
        return path;
    const std::wstring wide = platform::win32::widen(utf8.CText());
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size)
        return path;
    full.resize(written);
    StringRef result = StringRef::FromWide(reinterpret_cast<const u16*>(full.data()), static_cast<i32>(written));
    StringRef result_utf8 = result.ToUTF8();
    return result_utf8.is_nil() ? path : result_utf8;
}

RuntimeObject* new_folder_item(const StringRef& path)
{
    RuntimeObject* item = CreateInstance(folder_item_definition());
    set_folder_item_path(item, path);
    return item;
}

void set_folder_item_path(RuntimeObject* item, const StringRef& path)
{
    if (!item)
        return;
    StringRef absolute = absolute_path(path);
    auto* fields = reinterpret_cast<FolderItemObject*>(item);
    RuntimeLockUnlockStrings(absolute.get(), fields->path);
    fields->path = absolute.get();
}

}  // namespace qv

extern "C" {

RuntimeString* fileAbsolutePathGetter(RuntimeObject* self, int32_t)
{
    if (!self) {
        qv::RaiseNilObject();
        return nullptr;
    }
    return qv::StringRef::share(reinterpret_cast<qv::FolderItemObject*>(self)->path).leak();
}

// The last component, trailing separators ignored: "C:\Docs\" names "Docs".
RuntimeString* fileNameGetter(RuntimeObject* self, int32_t)
{
    const qv::StringRef path = qv::path_of(self);
    const u8* bytes = path.bytes();
    i32 end = path.length();
    while (end > 0 && qv::is_separator(bytes[end - 1]))
        --end;
    i32 start = end;
    while (start > 0 && !qv::is_separator(bytes[start - 1]))
        --start;
    return path.Mid(start, end - start).leak();
}

int32_t fileExistsGetter(RuntimeObject* self, int32_t)
{
    const qv::StringRef path = qv::path_of(self);
    if (path.is_nil())
        return 0;
    return GetFileAttributesW(platform::win32::widen(path.CText()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // extern "C"
