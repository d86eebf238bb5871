// The application object against the real runtime: start-up events and the command-line
// documents, the menu-handler registry, the quit protocol and the unhandled-exception path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/application/application_class.h"
#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/application/quit_protocol.h"
#include "framework/application/unhandled_exceptions.h"
#include "framework/startup/runtime_entry_points.h"
#include "framework/startup/windows_startup.h"
#include "platform/message_box.h"
#include "platform/win32/windows_api.h"
#include "runtime/objects/exception_foundation.h"
#include "tests/support/class_holder.h"

extern "C" RuntimeString* fileAbsolutePathGetter(RuntimeObject* item, int32_t param);

namespace qv {
namespace {

std::vector<std::string> g_events;
bool g_unhandled_answer = false;
bool g_quit_in_handler = false;

void record(std::string event) { g_events.push_back(std::move(event)); }

void on_open(RuntimeObject*) { record("Open"); }
void on_new_document(RuntimeObject*) { record("NewDocument"); }
void on_open_document(RuntimeObject*, RuntimeObject* item)
{
    StringRef path = StringRef::adopt(fileAbsolutePathGetter(item, 0));
    record("OpenDocument " + std::string(path.is_nil() ? "" : path.CText()));
}
void on_close(RuntimeObject*)
{
    record("Close");
    ApplicationQuit(gApplicationObject);  // a quit attempt is in progress: nothing happens
}
u32 on_unhandled(RuntimeObject*, RuntimeObject* error)
{
    StringRef name = StringRef::share(error->classRecord->name);
    record("UnhandledException " + std::string(name.CText()));
    if (g_quit_in_handler)
        ApplicationQuit(gApplicationObject);
    return g_unhandled_answer;
}

std::vector<std::string> g_messages;
void capture_message(const char*, const char* text) { g_messages.push_back(text); }

class Application : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        start_framework_runtime();
        // Classes are made on first use and kept: make them before any test measures.
        for (const char* name :
             {"Application", "MDIWindow", "FolderItem", "EndException", "NilObjectException", "RuntimeException"})
            RuntimeLookupClass(StringRef::FromCString(name).get());
        is_end_exception(nullptr);
    }

    void SetUp() override
    {
        g_events.clear();
        g_messages.clear();
        g_unhandled_answer = false;
        g_quit_in_handler = false;
        gQuitRequested = false;
        m_previous_sink = platform::set_message_sink(&capture_message);
        m_previous_hook = set_unhandled_exception_hook(&UnhandledExceptionHook);
    }

    void TearDown() override
    {
        RuntimeUnlockObject(std::exchange(gApplicationObject, nullptr));
        set_command_line_for_documents(nullptr);
        platform::set_message_sink(m_previous_sink);
        set_unhandled_exception_hook(m_previous_hook);
        gQuitRequested = false;
    }

    // A subclass of Application with the given handlers, as compiled image code makes one.
    RuntimeObject* make_application(std::initializer_list<std::pair<i32, void*>> handlers)
    {
        ClassRecord* base = RuntimeLookupClass(StringRef::FromCString("Application").get());
        ClassRecord* c = m_classes.make(base, "TestApp", base->methodCount, base->interfaceCount, base->eventCount,
                                        base->staticMethodCount, base->propertyCount, base->instanceSize);
        for (auto [index, handler] : handlers)
            c->eventTable[index].routine = handler;
        return RuntimeNewObject(c);
    }

    ClassHolder m_classes;
    platform::MessageSink m_previous_sink = nullptr;
    ExceptionHook m_previous_hook = nullptr;
};

// A relative document name as the current folder completes it.
std::string in_current_folder(const char* name)
{
    wchar_t folder[MAX_PATH];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, folder);
    std::string utf8;
    for (DWORD i = 0; i < n; ++i)
        utf8 += static_cast<char>(folder[i]);  // the test runs from an ASCII path
    if (utf8.empty() || utf8.back() != '\\')
        utf8 += '\\';
    return utf8 + name;
}

TEST_F(Application, StartUpDeliversOpenThenTheCommandLineDocuments)
{
    struct Case {
        const char* command_line;
        bool has_open_document;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"C:\\app\\prog.exe", true, {"Open", "NewDocument"}},
        {"\"C:\\my app\\prog.exe\"", true, {"Open", "NewDocument"}},
        {"prog.exe \"C:\\a b\\c.txt\" bare.txt",
         true,
         {"Open", "OpenDocument C:\\a b\\c.txt", "OpenDocument " + in_current_folder("bare.txt")}},
        {"prog.exe \"C:\\one.txt\" \"D:\\two.txt\"",
         true,
         {"Open", "OpenDocument C:\\one.txt", "OpenDocument D:\\two.txt"}},
        {"prog.exe    ", true, {"Open"}},                    // spaces only: neither document event
        {"prog.exe x.txt", false, {"Open", "NewDocument"}},  // no handler: NewDocument instead
        {"prog.exe C:\\\xE6\x97\xA5\xE6\x9C\xAC.txt", true, {"Open", "OpenDocument C:\\\xE6\x97\xA5\xE6\x9C\xAC.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command_line);
        g_events.clear();
        set_command_line_for_documents(c.command_line);
        RuntimeObject* app = c.has_open_document
            ? make_application({{kApplicationOpen, reinterpret_cast<void*>(&on_open)},
                                {kApplicationNewDocument, reinterpret_cast<void*>(&on_new_document)},
                                {kApplicationOpenDocument, reinterpret_cast<void*>(&on_open_document)}})
            : make_application({{kApplicationOpen, reinterpret_cast<void*>(&on_open)},
                                {kApplicationNewDocument, reinterpret_cast<void*>(&on_new_document)}});
        RuntimeRegisterAppObject(app);
        EXPECT_EQ(app->refCount, 2);  // the registration holds one
        RuntimeUnlockObject(app);
        EXPECT_EQ(g_events, c.events);
        RuntimeUnlockObject(std::exchange(gApplicationObject, nullptr));
    }
}

TEST_F(Application, NilRegistersAPlainApplication)
{
    set_command_line_for_documents("prog.exe");
    RuntimeRegisterAppObject(nullptr);
    ASSERT_NE(gApplicationObject, nullptr);
    EXPECT_EQ(StringRef::share(gApplicationObject->classRecord->name).CText(), std::string("Application"));
    RuntimeObject* got = getAppObject();
    EXPECT_EQ(got, gApplicationObject);
    EXPECT_EQ(got->refCount, 2);
    RuntimeUnlockObject(got);
}

// Image code reads properties through the class's table: accessor and param together.
TEST_F(Application, VersionPropertiesReadThroughThePropertyTable)
{
    ClassRecord* c = RuntimeLookupClass(StringRef::FromCString("Application").get());
    RuntimeObject* app = RuntimeNewObject(c);
    const std::pair<const char*, i32> integers[] = {{"MajorVersion%i", 1},      {"MinorVersion%i", 2},
                                                    {"BugVersion%i", 3},        {"StageCode%i", 2},
                                                    {"NonReleaseVersion%i", 4}, {"RegionCode%i", -1}};
    for (auto [name, expected] : integers) {
        SCOPED_TRACE(name);
        const PropertyEntry* found = nullptr;
        for (i32 i = 0; i < c->propertyCount; ++i) {
            if (StringRef::share(c->propertyTable[i].name).CText() == std::string(name))
                found = &c->propertyTable[i];
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->setter, nullptr);
        EXPECT_EQ(reinterpret_cast<i32 (*)(RuntimeObject*, i32)>(found->getter)(app, found->parameter), expected);
    }
    RuntimeUnlockObject(app);
}

TEST_F(Application, MenuHandlerNamesIgnoreCaseAndTheLaterHandlerWins)
{
    RuntimeObject* app = make_application({});
    RuntimeObject* first = make_application({});
    RuntimeObject* second = make_application({});
    ApplicationAddMenuHandler(app, StringRef::FromCString("EditCopy").get(), first);
    ApplicationAddMenuHandler(app, StringRef::FromCString("editcopy").get(), second);
    ApplicationAddMenuHandler(app, StringRef::FromCString("FileQuit").get(), nullptr);  // ignored
    MenuHandlerRegistry* handlers = application_fields(app)->mMenuHandlers;
    ASSERT_NE(handlers, nullptr);
    EXPECT_EQ(handlers->count(), 1u);
    EXPECT_EQ(handlers->Find(StringRef::FromCString("EDITCOPY")), second);
    EXPECT_EQ(first->refCount, 1);
    EXPECT_EQ(second->refCount, 2);
    RuntimeUnlockObject(app);  // the application lets go of its handlers
    EXPECT_EQ(second->refCount, 1);
    RuntimeUnlockObject(first);
    RuntimeUnlockObject(second);
}

TEST_F(Application, QuitClosesQuietlyThroughAnEndExceptionAndRefusesANestedAttempt)
{
    gApplicationObject = make_application({{kApplicationClose, reinterpret_cast<void*>(&on_close)}});
    EXPECT_FALSE(run_guarded([] { ApplicationQuit(gApplicationObject); }));  // the EndException lands here
    EXPECT_TRUE(gQuitRequested);
    EXPECT_EQ(g_events, std::vector<std::string>{"Close"});
    EXPECT_TRUE(g_messages.empty());  // an EndException is no error to report
    EXPECT_EQ(application_fields(gApplicationObject)->quitting, 0);
}

TEST_F(Application, UnhandledExceptionHandlerDecidesWhetherTheProgramGoesOn)
{
    gApplicationObject = make_application({{kApplicationUnhandledException, reinterpret_cast<void*>(&on_unhandled)}});
    g_unhandled_answer = true;
    EXPECT_FALSE(run_guarded([] { RuntimeNilObject(); }));
    EXPECT_FALSE(gQuitRequested);
    EXPECT_TRUE(g_messages.empty());

    g_unhandled_answer = false;
    EXPECT_FALSE(run_guarded([] { RuntimeNilObject(); }));
    EXPECT_TRUE(gQuitRequested);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0],
              "An exception of class NilObjectException was not handled.\r\nThe application must shut down.");

    // Once the program is quitting, a further exception shows no second message.
    EXPECT_FALSE(run_guarded([] { RuntimeNilObject(); }));
    EXPECT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_events.size(), 3u);
}

TEST_F(Application, QuitInsideUnhandledExceptionRaisesNothingAndStillQuits)
{
    gApplicationObject = make_application({{kApplicationUnhandledException, reinterpret_cast<void*>(&on_unhandled)}});
    g_quit_in_handler = true;
    g_unhandled_answer = true;
    EXPECT_FALSE(run_guarded([] { RuntimeNilObject(); }));
    EXPECT_TRUE(gQuitRequested);
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(g_events, std::vector<std::string>{"UnhandledException NilObjectException"});
}

TEST_F(Application, WithoutAHandlerTheExceptionIsReportedWithItsClass)
{
    gApplicationObject = make_application({});
    EXPECT_FALSE(run_guarded([] { RuntimeNilObject(); }));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0],
              "An exception of class NilObjectException was not handled.\r\nThe application must shut down.");
    EXPECT_TRUE(gQuitRequested);
}

}  // namespace
}  // namespace qv
