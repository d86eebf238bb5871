// Screens: one Screen object per monitor, enumerated on first use and kept until the display
// settings change. The monitor functions are looked up in user32 at run time, as systems
// without multiple-monitor support lack them.
#include "framework/application/screens.h"

#include <cstddef>
#include <vector>

#include "core/once.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {
namespace {

struct ScreenObject {
    RuntimeObject header;
    i32 left;
    i32 top;
    i32 width;
    i32 height;
    i32 depth;
    i32 availableLeft;
    i32 availableTop;
    i32 availableWidth;
    i32 availableHeight;
};
static_assert(offsetof(ScreenObject, left) == 28);
static_assert(offsetof(ScreenObject, availableLeft) == 48);
static_assert(sizeof(ScreenObject) == 64);

#define QV_GETTER(label, routine)                                            \
    {                                                                        \
        0, label, &kIntegerType, QV_ROUTINE(routine), nullptr, nullptr, 0, 0 \
    }
#define QV_FIELD(label, field)                                                                             \
    {                                                                                                      \
        0, label, &kIntegerType, QV_ROUTINE(intGetter), nullptr, nullptr, offsetof(ScreenObject, field), 0 \
    }

const PropertyRecord kProperties[] = {
    QV_GETTER("Left", screenLeftGetter),          QV_GETTER("Top", screenTopGetter),
    QV_GETTER("Width", screenWidthGetter),        QV_GETTER("Height", screenHeightGetter),
    QV_GETTER("Depth", screenDepthGetter),        QV_FIELD("AvailableLeft", availableLeft),
    QV_FIELD("AvailableTop", availableTop),       QV_FIELD("AvailableWidth", availableWidth),
    QV_FIELD("AvailableHeight", availableHeight),
};

const ClassTables kTables[] = {{kProperties, {}}};

ObjectDefinition s_definition;

std::vector<RuntimeObject*>& screens()
{
    static std::vector<RuntimeObject*> s_screens;  // one count each
    return s_screens;
}

ScreenObject* fields(RuntimeObject* object)
{
    if (!object)
        RaiseNilObject();
    return reinterpret_cast<ScreenObject*>(object);
}

RECT work_area()
{
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

void append_screen(const RECT& bounds, const RECT& available, i32 depth)
{
    RuntimeObject* object = CreateInstance(screen_definition());
    if (!object)
        return;
    ScreenObject* screen = fields(object);
    screen->left = bounds.left;
    screen->top = bounds.top;
    screen->width = bounds.right - bounds.left;
    screen->height = bounds.bottom - bounds.top;
    screen->depth = depth;
    screen->availableLeft = available.left;
    screen->availableTop = available.top;
    screen->availableWidth = available.right - available.left;
    screen->availableHeight = available.bottom - available.top;
    screens().push_back(object);
}

using EnumDisplayMonitorsFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, MONITORINFO*);

struct Enumeration {
    GetMonitorInfoFn get_monitor_info;
    i32 depth;
};

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    const auto* enumeration = reinterpret_cast<const Enumeration*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    static_assert(sizeof(MONITORINFO) == 40);
    if (enumeration->get_monitor_info(monitor, &info))
        append_screen(info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) ? work_area() : info.rcMonitor,
                      enumeration->depth);
    return TRUE;
}

HMODULE user32()
{
    static HMODULE s_user32 = LoadLibraryW(L"user32.dll");  // loaded once
    return s_user32;
}

// A routine of user32; null when the system lacks it.
template <typename Function>
Function user32_routine(const char* name)
{
    HMODULE library = user32();
    // Through void*: FARPROC is a function type of its own, and casting it directly warns.
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

void enumerate_screens(i32 index)
{
    HDC dc = GetDC(nullptr);
    const i32 depth = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
    const auto enum_monitors = user32_routine<EnumDisplayMonitorsFn>("EnumDisplayMonitors");
    const auto get_monitor_info = user32_routine<GetMonitorInfoFn>("GetMonitorInfoW");
    if (enum_monitors && get_monitor_info) {
        Enumeration enumeration{get_monitor_info, depth};
        enum_monitors(dc, nullptr, &add_monitor, reinterpret_cast<LPARAM>(&enumeration));
    }
    if (screens().empty() && index == 0) {
        const RECT bounds{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        append_screen(bounds, work_area(), depth);
    }
    ReleaseDC(nullptr, dc);
}

}  // namespace

ClassTableList screen_class_tables() { return kTables; }

ObjectDefinition* screen_definition()
{
    static Once s_once;
    s_once([] {
        DefinitionSource source{};
        source.name = "Screen";
        source.instance_size = sizeof(ScreenObject);
        source.properties = kProperties;
        build_definition(s_definition, source);
    });
    return &s_definition;
}

void clear_screen_cache()
{
    std::vector<RuntimeObject*> released;
    released.swap(screens());
    for (RuntimeObject* screen : released)
        RuntimeUnlockObject(screen);
}

}  // namespace qv

extern "C" {

int32_t screenLeftGetter(RuntimeObject* self, int32_t)
{
    const qv::ScreenObject* screen = qv::fields(self);
    return screen ? screen->left : 0;
}

int32_t screenTopGetter(RuntimeObject* self, int32_t)
{
    const qv::ScreenObject* screen = qv::fields(self);
    return screen ? screen->top : 0;
}

int32_t screenWidthGetter(RuntimeObject* self, int32_t)
{
    const qv::ScreenObject* screen = qv::fields(self);
    return screen ? screen->width : 0;
}

int32_t screenHeightGetter(RuntimeObject* self, int32_t)
{
    const qv::ScreenObject* screen = qv::fields(self);
    return screen ? screen->height : 0;
}

int32_t screenDepthGetter(RuntimeObject* self, int32_t)
{
    const qv::ScreenObject* screen = qv::fields(self);
    return screen ? screen->depth : 0;
}

int32_t getScreenCount(void)
{
    const int count = GetSystemMetrics(SM_CMONITORS);
    return count ? count : 1;
}

RuntimeObject* getScreen(int32_t index)
{
    auto& list = qv::screens();
    if (list.empty())
        qv::enumerate_screens(index);
    if (index < 0 || index >= static_cast<int32_t>(list.size()))
        return nullptr;
    RuntimeObject* screen = list[static_cast<size_t>(index)];
    RuntimeLockObject(screen);
    return screen;
}

}  // extern "C"
