// Registering the window layer: its exported routines, the Window class, the "QVWindow" window
// class and the services the framework asks windows for.
#include "ui/windows/window_layer.h"
#include "core/once.h"
#include "framework/startup/windows_startup.h"
#include "runtime/definitions/class_tables.h"
#include "ui/windows/native_window.h"
#include "ui/windows/window_drop_target.h"

namespace qv::ui {
namespace {

// The Window class's own routines come from its tables.
const ProvidedRoutine kRoutines[] = {
    QV_PROVIDED(RuntimeCreateWindow),
    QV_PROVIDED(WindowAllocateObject),
    QV_PROVIDED(RuntimeGetImplicitWindow),
};

}  // namespace

std::span<const ProvidedRoutine> window_routines() { return kRoutines; }

std::vector<ProvidedRoutine> window_table_routines() { return table_routines({window_class_tables()}); }

void register_window_layer()
{
    static Once s_once;
    s_once([] {
        add_provided_routines(window_routines());
        add_table_routines(window_table_routines());
        add_class_registrar(&register_window_class_definition);
        register_window_class();
        install_window_layer_services();
        install_drag_and_drop();
    });
}

}  // namespace qv::ui
