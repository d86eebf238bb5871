#include "framework/startup/runtime_entry_points.h"

#include <ole2.h>
#include <mmsystem.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/application/application_class.h"
#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/application/folder_item.h"
#include "framework/command_line_documents.h"
#include "framework/event_loop/event_loop.h"
#include "framework/file_types.h"
#include "framework/stack_bounds.h"
#include "framework/startup/embedded_plugins.h"
#include "framework/startup/mdi_frame.h"
#include "framework/startup/plugin_loading.h"
#include "loader/application_image.h"
#include "platform/sockets.h"
#include "platform/win32/windows_api.h"
#include "runtime/text/encoding_tags.h"

namespace qv {
namespace {

std::optional<std::string> s_test_command_line;

StringRef utf8_text(const std::string& text)
{
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    s.set_encoding(kEncodingUTF8);
    return s;
}

std::string process_command_line()
{
    if (s_test_command_line)
        return *s_test_command_line;
    return platform::win32::narrow(std::wstring_view(GetCommandLineW()));
}

// The documents and the item that carries each one to OpenDocument, kept outside the frames
// that call image code (a raise there skips their destructors).
struct Delivery {
    DocumentDelivery plan;
    RuntimeObject* item = nullptr;
    size_t next = 0;
};

void deliver_command_line_documents()
{
    RuntimeObject* app = gApplicationObject;
    static Delivery s_delivery;
    s_delivery = {};
    s_delivery.plan = plan_document_delivery(process_command_line(), app != nullptr,
                                             event_implemented(app, kApplicationOpenDocument));
    if (!s_delivery.plan.open_documents.empty()) {
        s_delivery.item = new_folder_item(StringRef());
        for (s_delivery.next = 0; s_delivery.next < s_delivery.plan.open_documents.size(); ++s_delivery.next) {
            const std::string& path = s_delivery.plan.open_documents[s_delivery.next];
            set_folder_item_path(s_delivery.item, utf8_text(path));
            run_guarded([] { fire_event(gApplicationObject, kApplicationOpenDocument, s_delivery.item); });
        }
        RuntimeUnlockObject(std::exchange(s_delivery.item, nullptr));
    }
    if (s_delivery.plan.new_document)
        run_guarded([] { ApplicationNewDocument(gApplicationObject); });
    s_delivery = {};
}

const ProvidedRoutine kRoutines[] = {
    QV_PROVIDED(RuntimeInit),
    QV_PROVIDED(RuntimeRegisterAppObject),
    QV_PROVIDED(RuntimeRun),
    QV_PROVIDED(RuntimeExit),
    QV_PROVIDED(RuntimeStackCheck),
    QV_PROVIDED(QuavInitStackChecker),
    QV_PROVIDED(RuntimeRegisterFileType),
    QV_PROVIDED(SystemGetCommandLine),
};

}  // namespace

std::span<const ProvidedRoutine> startup_routines() { return kRoutines; }

void set_command_line_for_documents(const char* utf8)
{
    if (utf8)
        s_test_command_line = utf8;
    else
        s_test_command_line.reset();
}

}  // namespace qv

using namespace qv;

extern "C" {

void RuntimeInit(void)
{
    InstallEmbeddedPlugins(&load_installed_plugins);
    const ImageOptions& options = image_options();
    if (options.mdi)
        create_mdi_frame(options.mdi_title);
}

void RuntimeRegisterAppObject(RuntimeObject* app)
{
    if (app)
        RuntimeLockObject(app);
    else
        app = new_plain_application();
    RuntimeUnlockObject(std::exchange(gApplicationObject, app));
    run_guarded([] { fire_event(gApplicationObject, kApplicationOpen); });
    show_mdi_frame();
    deliver_command_line_documents();
}

void RuntimeRun(void)
{
    gEventLoopRunning = true;
    run_event_loop();
    gEventLoopRunning = false;
    // The handlers often hold the application object themselves: with the loop over, no menu
    // is chosen again, and letting them go breaks that cycle.
    if (gApplicationObject)
        delete std::exchange(application_fields(gApplicationObject)->mMenuHandlers, nullptr);
    platform::unload_socket_library();
    // Devices the image opened through multimedia commands and never closed.
    mciSendStringW(L"close all", nullptr, 0, nullptr);
    OleUninitialize();
}

// Shutdown has already happened inside RuntimeRun.
void RuntimeExit(void) { }

// Stacks are not checked on this platform; the image calls this at the start of every routine.
void RuntimeStackCheck(void) { }

void QuavInitStackChecker(int32_t stack_size)
{
    const uintptr_t here = reinterpret_cast<uintptr_t>(&stack_size);
    record_stack_bounds({here - static_cast<uintptr_t>(stack_size), here});
}

void RuntimeRegisterFileType(RuntimeString* name, RuntimeString* creator, RuntimeString* type,
                             RuntimeString* extensions)
{
    register_file_type(
        {StringRef::share(name), StringRef::share(creator), StringRef::share(type), StringRef::share(extensions)});
}

RuntimeString* SystemGetCommandLine(void) { return utf8_text(process_command_line()).leak(); }

}  // extern "C"
