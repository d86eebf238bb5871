#include "ui/win32/ui_win32_services.h"

#include "ui/ui_service_routines.h"

namespace qv::ui {

void start_ui_win32_services()
{
    register_ui_service_classes();
    install_win32_clipboard();
    install_message_box_presenter();
}

}  // namespace qv::ui
