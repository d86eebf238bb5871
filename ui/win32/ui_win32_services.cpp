#include "ui/win32/ui_win32_services.h"

#include "framework/startup/windows_startup.h"
#include "ui/ui_service_routines.h"

namespace qv::ui {

void register_ui_win32_services()
{
    install_win32_clipboard();
    install_message_box_presenter();
    add_class_registrar(&register_ui_service_classes);
}

}  // namespace qv::ui
