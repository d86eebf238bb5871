// qvrun: runs an application image without the window framework, reporting on standard
// error. Starts the portable runtime, loads, links and indexes the image, and calls its entry
// behind RunGuarded.
//
//   qvrun [--assert=ok|cancel] IMAGE        a packaged image file
//   qvrun [--assert=ok|cancel] --split DIR  the five separate segment files in DIR
//   qvrun [--assert=ok|cancel]              the image attached to this executable (Windows),
//                                           else separate files in the current folder
//   --plugin LIBRARY (any number of times)  a plug-in library (a shared library on Linux) whose
//                                           QuavPluginMain runs, and its classes are built,
//                                           before the image's entry
//
// Message boxes (RuntimeMsgBox and the loader's messages) print their text instead.
// Exit status: 0 when the entry returned, 1 when the image was refused or a plug-in library
// could not be loaded, 2 for a bad command
// line, 3 when an exception reached the top unhandled; an image compiled for debugging also
// ends with 1 when no debugger answers, when the debugger quits it or when it goes away.
// Failed assertions print their report on standard error and are answered as --assert says
// (Cancel ends the process with 0, as the dialog's Cancel does).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "debugger/debugger_support.h"
#include "framework/plugins/plugin_registry.h"
#include "loader/application_image.h"
#include "platform/message_box.h"
#include "platform/modules.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/exception_classes.h"
#include "runtime/exceptions/run_guarded.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_model.h"
#include "runtime/registry/provided_routines.h"
#include "runtime/startup/runtime_startup.h"
#include "runtime/strings/string_ref.h"
#include "ui/ui_routines.h"
#include "ui/ui_service_routines.h"

namespace {

const char* const kUsage = "usage: qvrun [--assert=ok|cancel] [--plugin LIBRARY]... [IMAGE | --split DIR]";

bool g_unhandled = false;

qv::AssertionAnswer g_assertion_answer = qv::AssertionAnswer::Ok;

qv::AssertionAnswer answer_assertion(const char* text)
{
    std::fprintf(stderr, "Failed Assertion\n%s\n", text);
    std::fflush(stderr);
    return g_assertion_answer;
}

void print_message(const char* title, const char* text)
{
    if (title && *title)
        std::fprintf(stderr, "%s: %s\n", title, text);
    else
        std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

// An EndException ends the application quietly; anything else is reported with its class.
void report_unhandled(RuntimeObject* exception)
{
    const char* name = "(unknown)";
    qv::StringRef class_name;
    if (exception && exception->classRecord) {
        class_name = qv::StringRef::share(exception->classRecord->name);
        name = class_name.CText();
    }
    if (std::strcmp(name, "EndException") != 0) {
        std::fprintf(stderr, "An exception of class %s was not handled.\nThe application must shut down.\n", name);
        g_unhandled = true;
    }
}

void run_entry(void*) { qv::call_image_entry(); }

// Loads each library and runs its QuavPluginMain, then builds what they registered, as the
// Windows start-up does with the libraries an image carries. False (after saying which) when
// one cannot be loaded or has no entry.
bool load_plugins(const std::vector<std::string>& libraries)
{
    for (const std::string& library : libraries) {
        platform::ModuleHandle module = platform::load_module(library);
        auto main = reinterpret_cast<QvPluginMainRoutine>(platform::find_procedure(module, "QuavPluginMain"));
        if (!main) {
            std::fprintf(stderr, "qvrun: %s: %s\n", library.c_str(),
                         module ? "no QuavPluginMain" : "cannot be loaded as a library");
            return false;
        }
        qv::run_plugin_main(main, module, qv::StringRef::FromCString(library.c_str()));
    }
    qv::build_plugin_classes();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    qv::ImageSource source;  // the executable's own image unless a file or folder is named
    bool have_image = false;
    std::vector<std::string> plugins;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--assert=ok") {
            g_assertion_answer = qv::AssertionAnswer::Ok;
        } else if (arg == "--assert=cancel") {
            g_assertion_answer = qv::AssertionAnswer::Cancel;
        } else if (arg == "--plugin" && i + 1 < argc) {
            plugins.push_back(argv[++i]);
        } else if (arg == "--split" && i + 1 < argc && !have_image) {
            source.kind = qv::ImageSource::Kind::SeparateFiles;
            source.path = argv[++i];
            have_image = true;
        } else if (!arg.empty() && arg[0] != '-' && !have_image) {
            source.kind = qv::ImageSource::Kind::PackagedFile;
            source.path = arg;
            have_image = true;
        } else {
            std::fprintf(stderr, "qvrun: unexpected argument '%s'\n%s\n", arg.c_str(), kUsage);
            return 2;
        }
    }
    qv::set_assertion_responder(&answer_assertion);
    platform::set_message_sink(&print_message);
    qv::register_debugger_routines();  // before the registry is built by the start-up
    qv::ui::register_ui_routines();
    qv::add_provided_routines(qv::plugin_routines());
    qv::start_portable_runtime();
    qv::ui::register_ui_service_classes();  // the clipboard reads nil here: no system clipboard
    qv::set_unhandled_exception_hook(&report_unhandled);
    qv::Result<qv::LinkReport> linked = qv::load_and_link_image(source);
    if (!linked) {
        std::fprintf(stderr, "qvrun: %s: %s\n", have_image ? source.path.c_str() : "attached image",
                     linked.error().c_str());
        return 1;
    }
    if (!load_plugins(plugins))
        return 1;
    qv::RunGuarded(&run_entry, nullptr);
    std::fflush(stdout);
    return g_unhandled ? 3 : 0;
}
