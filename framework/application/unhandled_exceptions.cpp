#include "framework/application/unhandled_exceptions.h"

#include <string>

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/unhandled_exception_decision.h"
#include "framework/window_services.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/exceptions/exception_classes.h"
#include "runtime/objects/object_model.h"
#include "runtime/strings/string_ref.h"

namespace qv {
namespace {

struct OfferedException {
    RuntimeObject* exception;
    bool handled;
};

}  // namespace

bool is_end_exception(RuntimeObject* exception)
{
    return exception && object_is_a(exception, ClassFromDefinition(exception_definition(ExceptionClass::EndException)));
}

bool DispatchUnhandledException(RuntimeObject* exception)
{
    // An exception raised while the application's handler runs is not offered again: it comes
    // back here through the guard below and is reported as not handled.
    if (gInUnhandledException || !offer_to_application(is_end_exception(exception)))
        return false;
    gInUnhandledException = true;
    OfferedException offered{exception, false};
    run_guarded([&offered] {
        offered.handled =
            fire_boolean_event(gApplicationObject, kApplicationUnhandledException, false, offered.exception);
    });
    gInUnhandledException = false;
    return offered.handled;
}

void ReportUnhandledException(RuntimeObject* exception)
{
    if (is_end_exception(exception)) {
        window_services().close_all_windows();
    } else {
        StringRef name;
        if (exception && exception->classRecord)
            name = StringRef::share(exception->classRecord->name).ToUTF8();
        const std::string message = unhandled_exception_message(name.is_nil() ? "" : name.CText());
        StringRef text = StringRef::FromCString(message.c_str());
        RuntimeMsgBox(text.get());
    }
    gQuitRequested = true;
}

void UnhandledExceptionHook(RuntimeObject* exception)
{
    const bool handled = DispatchUnhandledException(exception);
    const UnhandledExceptionOutcome outcome =
        decide_unhandled_exception(is_end_exception(exception), handled, gQuitRequested);
    if (outcome.action != UnhandledExceptionAction::None)
        ReportUnhandledException(exception);
}

}  // namespace qv
