#include "framework/application/mouse_cursor.h"

#include <optional>
#include <utility>

#include "core/once.h"
#include "framework/application/application_object.h"
#include "framework/cursor_resource.h"
#include "platform/win32/failed_call.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/global_functions.h"
#include "runtime/exports/cursor_resources.h"

namespace qv {
namespace {

ObjectDefinition s_definition;
ClassRecord* s_class = nullptr;  // set once the class is registered

MouseCursorObject* cursor_fields(RuntimeObject* object) { return reinterpret_cast<MouseCursorObject*>(object); }

void finalize_cursor(RuntimeObject* object)
{
    MouseCursorObject* cursor = cursor_fields(object);
    HCURSOR handle = std::exchange(cursor->handle, nullptr);
    if (handle && cursor->owned && !DestroyCursor(handle))
        platform::win32::note_failed_call("DestroyCursor");
}

// A new object over a system cursor each time: the handle is shared and outlives them all.
RuntimeObject* system_cursor(const wchar_t* name) { return new_mouse_cursor(LoadCursorW(nullptr, name), false); }

constexpr TypeDescriptor kMouseCursorType = object_type("MouseCursor");

// Indexes below name these rows; keep them in step.
const MethodRecord kRecords[] = {
    {"WatchCursor", &kMouseCursorType, nullptr, 0, QV_ROUTINE(getWatchCursor), nullptr, nullptr, 0},  // 0
    {"IBeamCursor", &kMouseCursorType, nullptr, 0, QV_ROUTINE(getIBeamCursor), nullptr, nullptr, 0},  // 1
    {"ArrowCursor", &kMouseCursorType, nullptr, 0, QV_ROUTINE(getArrowCursor), nullptr, nullptr, 0},  // 2
};
constexpr int kRegistrationOrder[] = {0, 1, 2};

}  // namespace

void register_mouse_cursor_class()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "MouseCursor";
        source.instance_size = sizeof(MouseCursorObject);
        source.finalizer = &finalize_cursor;
        build_definition(s_definition, source);
        RegisterDefinition(&s_definition);
        s_class = ClassFromDefinition(&s_definition);
        cursor_resource_seam().install(&mouse_cursor_from_resource);
    });
    static Once s_functions;
    register_global_functions_once(kRecords, kRegistrationOrder, s_functions);
}

RuntimeObject* new_mouse_cursor(HCURSOR handle, bool owned)
{
    if (!handle)
        return nullptr;
    RuntimeObject* object = CreateInstance(&s_definition);
    if (!object) {
        if (owned)
            DestroyCursor(handle);
        return nullptr;
    }
    cursor_fields(object)->handle = handle;
    cursor_fields(object)->owned = owned ? 1 : 0;
    return object;
}

RuntimeObject* mouse_cursor_from_resource(const u8* data, u32 length)
{
    const std::optional<CursorPlanes> planes = decode_cursor_resource(std::span<const u8>(data, length));
    if (!planes)
        return nullptr;
    HCURSOR handle = CreateCursor(GetModuleHandleW(nullptr), planes->hot_x, planes->hot_y, kCursorSide, kCursorSide,
                                  planes->and_plane.data(), planes->xor_plane.data());
    if (!handle) {
        platform::win32::note_failed_call("CreateCursor", "CURS resource");
        return nullptr;
    }
    return new_mouse_cursor(handle, true);
}

HCURSOR mouse_cursor_handle(RuntimeObject* cursor)
{
    if (!cursor || !s_class || !RuntimeObjectIsa(cursor, s_class))
        return nullptr;
    return cursor_fields(cursor)->handle;
}

HCURSOR application_cursor_handle()
{
    return gApplicationObject ? mouse_cursor_handle(application_fields(gApplicationObject)->mouseCursor) : nullptr;
}

}  // namespace qv

extern "C" {

RuntimeObject* getArrowCursor(void) { return qv::system_cursor(IDC_ARROW); }
RuntimeObject* getWatchCursor(void) { return qv::system_cursor(IDC_WAIT); }
RuntimeObject* getIBeamCursor(void) { return qv::system_cursor(IDC_IBEAM); }

}  // extern "C"
