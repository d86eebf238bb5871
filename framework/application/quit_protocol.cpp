#include "framework/application/quit_protocol.h"

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/window_services.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/raise_builtin.h"

namespace qv {

bool ApplicationTryQuit()
{
    if (!gApplicationObject) {
        assertion_failed("application", 0, "gApplicationObject");
        return false;
    }
    ApplicationObject* app = application_fields(gApplicationObject);
    if (app->quitting)
        return false;
    app->quitting = 1;
    const WindowServices& windows = window_services();
    const bool all_agree = windows.for_each_window(
        [](RuntimeObject* window, void*) { return !window_services().window_cancel_close(window); }, nullptr);
    if (!all_agree) {
        app->quitting = 0;
        return false;
    }
    windows.for_each_window(
        [](RuntimeObject* window, void*) {
            window_services().close_window(window);
            return true;
        },
        nullptr);
    fire_event(gApplicationObject, kApplicationClose);
    // The Close handler may have let go of the application: read the flag through the global.
    if (gApplicationObject)
        application_fields(gApplicationObject)->quitting = 0;
    return true;
}

}  // namespace qv

extern "C" void ApplicationQuit(RuntimeObject*)
{
    if (!qv::ApplicationTryQuit())
        return;
    qv::gQuitRequested = true;
    // Unwinds the image's code to the nearest guard, which takes an EndException as a quiet
    // quit; from inside UnhandledException the guard is already on its way out.
    if (!qv::gInUnhandledException)
        qv::raise_builtin(qv::ExceptionClass::EndException);
}
