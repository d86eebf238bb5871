#include "framework/startup/windows_startup.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "core/once.h"
#include "framework/application/application_class.h"
#include "framework/application/application_services.h"
#include "framework/application/folder_item.h"
#include "framework/application/keyboard.h"
#include "framework/application/screens.h"
#include "framework/application/unhandled_exceptions.h"
#include "framework/event_loop/loop_routines.h"
#include "framework/event_loop/periodic_tasks.h"
#include "framework/event_loop/runtime_windows.h"
#include "framework/menus/menu_classes.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/plugins/plugin_registry.h"
#include "framework/script_codes.h"
#include "framework/startup/embedded_plugins.h"
#include "framework/startup/exit_cleanup.h"
#include "framework/startup/failed_assertion_dialog.h"
#include "framework/startup/live_object_report.h"
#include "framework/startup/plugin_loading.h"
#include "framework/startup/runtime_entry_points.h"
#include "framework/timers/thread_classes.h"
#include "framework/timers/timer_class.h"
#include "loader/application_image.h"
#include "platform/message_box.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/startup/runtime_startup.h"

namespace qv {
namespace {

HINSTANCE s_instance = nullptr;
const char* s_command_line = nullptr;
i32 s_script_code = 0;
u32 s_start_ticks = 0;
HMODULE s_theme_library = nullptr;
FARPROC s_theme_routines[kThemeRoutineCount] = {};

std::vector<ClassRegistrar>& class_registrars()
{
    static std::vector<ClassRegistrar> s_registrars;
    return s_registrars;
}

// The theme library is only loaded where it was new: Windows NT 5.1.
bool is_windows_nt_5_1()
{
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;  // 156 bytes; the 148-byte form if that fails
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)))
            return false;
    }
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 && version.dwMinorVersion == 1;
}

// Any routine may be missing from the library; its slot stays null.
void load_theme_library()
{
    s_theme_library = LoadLibraryW(L"uxtheme.dll");
    if (!s_theme_library)
        return;
    for (size_t i = 0; i < kThemeRoutineCount; ++i)
        s_theme_routines[i] = GetProcAddress(s_theme_library, kThemeRoutineNames[i]);
}

void free_theme_library()
{
    if (!s_theme_library)
        return;
    std::fill(std::begin(s_theme_routines), std::end(s_theme_routines), nullptr);
    FreeLibrary(std::exchange(s_theme_library, nullptr));
}

void add_framework_routines()
{
    add_provided_routines(startup_routines());
    add_provided_routines(application_routines());
    add_provided_routines(loop_routines());
    add_provided_routines(menu_routines());
    add_provided_routines(application_service_routines());
    add_provided_routines(plugin_routines());
    add_table_routines(framework_table_routines());
}

}  // namespace

std::vector<ProvidedRoutine> framework_table_routines()
{
    return table_routines({application_class_tables(), keyboard_class_tables(), screen_class_tables(),
                           folder_item_class_tables(), menu_class_tables(), timer_class_tables(),
                           thread_class_tables()});
}

void start_framework_runtime()
{
    static Once s_once;
    s_once([&] {
        add_framework_routines();
        start_portable_runtime();
        register_application_classes();
        register_application_service_classes();
        register_menu_classes();
        register_timer_classes();
        register_thread_classes();
        for (ClassRegistrar registrar : class_registrars())
            registrar();
    });
}

void add_class_registrar(ClassRegistrar registrar)
{
    for (ClassRegistrar known : class_registrars()) {
        if (known == registrar)
            return;
    }
    class_registrars().push_back(registrar);
}

void RuntimeStartup()
{
    s_start_ticks = GetTickCount();
    set_unhandled_exception_hook(&UnhandledExceptionHook);
    OleInitialize(nullptr);
    start_framework_runtime();
    InstallEmbeddedPlugins(&load_installed_plugins);  // the image is not loaded yet: only the mutex step runs
    QuavInitStackChecker(0x40000);
}

int run_runtime_executable(HINSTANCE instance, const char* command_line)
{
    install_failed_assertion_dialog();
    platform::set_message_owner([] { return static_cast<void*>(message_box_owner()); });
    s_script_code = script_code_for_language(GetUserDefaultLangID());
    s_instance = instance;
    s_command_line = command_line;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    create_timer_window();
    if (is_windows_nt_5_1())
        load_theme_library();
    RuntimeStartup();
    LoadApplicationImage();
    run_exit_cleanup();
    // The image's entry has returned: the count RuntimeRegisterAppObject took is the last use.
    RuntimeUnlockObject(std::exchange(gApplicationObject, nullptr));
    write_live_object_report();
    free_theme_library();
    destroy_timer_window();
    return 0;
}

FARPROC theme_routine(ThemeRoutine which)
{
    const auto index = static_cast<size_t>(which);
    return index < kThemeRoutineCount ? s_theme_routines[index] : nullptr;
}

i32 script_code() { return s_script_code; }
u32 start_tick_count() { return s_start_ticks; }

}  // namespace qv
