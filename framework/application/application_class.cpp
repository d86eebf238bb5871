// The built-in Application class and the routines image code calls on the application object.
#include "framework/application/application_class.h"
#include "framework/window_services.h"

#include "core/once.h"
#include "platform/win32/windows_api.h"

#include "framework/application/event_firing.h"
#include "framework/application/mouse_cursor.h"
#include "framework/application/quit_protocol.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/strings/string_ref.h"

namespace qv {
namespace {

constexpr const char* kSource = "application";

#define QV_NO_SETTER nullptr, nullptr

constexpr TypeDescriptor kMouseCursorType = object_type("MouseCursor");
constexpr TypeDescriptor kMDIWindowType = object_type("MDIWindow");
constexpr TypeDescriptor kResourceForkType = object_type("ResourceFork");
constexpr TypeDescriptor kMenuBarType = object_type("MenuBar");
constexpr TypeDescriptor kDockItemType = object_type("DockItem");
constexpr TypeDescriptor kFolderItemType = object_type("FolderItem");
constexpr TypeDescriptor kMenuHandlerType = object_type("_MenuHandler");

// clang-format off
const PropertyRecord kProperties[] = {
    {kPropertySetterWithoutParameter, "MouseCursor", &kMouseCursorType, QV_ROUTINE(objGetter), QV_ROUTINE(appMouseCursorSetter),
     offsetof(ApplicationObject, mouseCursor), 0},
    {0, "ResourceFork", &kResourceForkType, QV_ROUTINE(appResourceForkGetter), QV_NO_SETTER, 0, 0},
    {0, "MDIWindow", &kMDIWindowType, QV_ROUTINE(objGetter), QV_ROUTINE(objSetter),
     offsetof(ApplicationObject, mdiWindow), 0},
    {kPropertySetterWithoutParameter, "BalloonHelpVisible", &kBooleanType, QV_ROUTINE(AppBalloonHelpVisibleGetter),
     QV_ROUTINE(AppBalloonHelpVisibleSetter), offsetof(ApplicationObject, balloonHelpVisible), 0},
    {0, "MajorVersion", &kIntegerType, QV_ROUTINE(AppIntegerVersionStuffGetter), QV_NO_SETTER, 0, 0},
    {0, "MinorVersion", &kIntegerType, QV_ROUTINE(AppIntegerVersionStuffGetter), QV_NO_SETTER, 1, 0},
    {0, "BugVersion", &kIntegerType, QV_ROUTINE(AppIntegerVersionStuffGetter), QV_NO_SETTER, 2, 0},
    {0, "StageCode", &kIntegerType, QV_ROUTINE(AppIntegerVersionStuffGetter), QV_NO_SETTER, 3, 0},
    {0, "NonReleaseVersion", &kIntegerType, QV_ROUTINE(AppIntegerVersionStuffGetter), QV_NO_SETTER, 4, 0},
    {0, "RegionCode", &kIntegerType, QV_ROUTINE(AppIntegerVersionStuffGetter), QV_NO_SETTER, 5, 0},
    {0, "ShortVersion", &kStringType, QV_ROUTINE(AppStringVersionStuffGetter), QV_NO_SETTER, 0, 0},
    {0, "LongVersion", &kStringType, QV_ROUTINE(AppStringVersionStuffGetter), QV_NO_SETTER, 1, 0},
    {0, "PackageInfo", &kStringType, QV_ROUTINE(AppStringVersionStuffGetter), QV_NO_SETTER, 2, 0},
    {kPropertySetterWithoutParameter, "MenuBar", &kMenuBarType, QV_ROUTINE(AppMenuBarGetter), QV_ROUTINE(AppMenuBarSetter), 0, 0},
    {0, "DockItem", &kDockItemType, QV_ROUTINE(AppDockItemGetter), QV_NO_SETTER, 0, 0},
};

const ParameterRecord kItemParameter[] = {{"Item", &kFolderItemType, 0}};
const ParameterRecord kAddMenuHandlerParameters[] = {{"name", &kStringType, 0}, {"handler", &kMenuHandlerType, 0}};

const MethodRecord kMethods[] = {
    {"NewDocument", nullptr, nullptr, 0, QV_ROUTINE(ApplicationNewDocument), nullptr, nullptr, 0},
    {"OpenDocument", nullptr, kItemParameter, 1, QV_ROUTINE(ApplicationOpenDocument), nullptr, nullptr, 0},
    {"_AddMenuHandler", nullptr, kAddMenuHandlerParameters, 2, QV_ROUTINE(ApplicationAddMenuHandler), nullptr, nullptr,
     0},
};

const ClassTables kTables[] = {{kProperties, kMethods}};

const ParameterRecord kOpenDocumentParameters[] = {{"item", &kFolderItemType, 0}};
constexpr TypeDescriptor kAppleEventType = object_type("AppleEvent");
constexpr TypeDescriptor kRuntimeExceptionType = object_type("RuntimeException");
const ParameterRecord kAppleEventParameters[] = {
    {"theEvent", &kAppleEventType, 0}, {"eventClass", &kStringType, 0}, {"eventID", &kStringType, 0}};
const ParameterRecord kUnhandledExceptionParameters[] = {{"error", &kRuntimeExceptionType, 0}};

// In event-index order (ApplicationEvent).
const EventRecord kEvents[] = {
    {"Open", nullptr, nullptr, 0},
    {"Close", nullptr, nullptr, 0},
    {"EnableMenuItems", nullptr, nullptr, 0},
    {"NewDocument", nullptr, nullptr, 0},
    {"OpenDocument", nullptr, kOpenDocumentParameters, 1},
    {"HandleAppleEvent", "Boolean", kAppleEventParameters, 3},
    {"Activate", nullptr, nullptr, 0},
    {"Deactivate", nullptr, nullptr, 0},
    {"UnhandledException", "Boolean", kUnhandledExceptionParameters, 1},
};
// clang-format on

ObjectDefinition s_application;
ObjectDefinition s_mdi_window;
ObjectDefinition s_resource_fork;
ObjectDefinition s_dock_item;
MenuBarPresenter s_presenter = nullptr;

ApplicationObject* application_or_assert(RuntimeObject* self, const char* condition)
{
    if (!self) {
        assertion_failed(kSource, 0, condition);
        return nullptr;
    }
    return application_fields(self);
}

void initialize_application(RuntimeObject* object)
{
    ApplicationObject* app = application_fields(object);
    app->mdiWindow = CreateInstance(&s_mdi_window);
    app->balloonHelpVisible = 0;
    app->mMenuHandlers = nullptr;
    app->reserved = nullptr;
}

void finalize_application(RuntimeObject* object)
{
    ApplicationObject* app = application_fields(object);
    RuntimeUnlockObject(std::exchange(app->mdiWindow, nullptr));
    RuntimeUnlockObject(std::exchange(app->reserved, nullptr));
    delete std::exchange(app->mMenuHandlers, nullptr);  // lets go of every handler it holds
    RuntimeUnlockObject(std::exchange(app->menuBar, nullptr));
    RuntimeUnlockObject(std::exchange(app->mouseCursor, nullptr));
    if (gApplicationObject == object)
        gApplicationObject = nullptr;
}

void build_definitions()
{
    DefinitionSource plain{};
    plain.instance_size = sizeof(RuntimeObject);
    plain.name = "MDIWindow";
    build_definition(s_mdi_window, plain);
    RegisterDefinition(&s_mdi_window);
    plain.name = "ResourceFork";
    build_definition(s_resource_fork, plain);
    RegisterDefinition(&s_resource_fork);
    plain.name = "DockItem";
    build_definition(s_dock_item, plain);
    RegisterDefinition(&s_dock_item);

    DefinitionSource source{};
    source.name = "Application";
    source.instance_size = sizeof(ApplicationObject);
    source.properties = kProperties;
    source.methods = kMethods;
    source.events = kEvents;
    source.initializer = &initialize_application;
    source.finalizer = &finalize_application;
    build_definition(s_application, source);
    RegisterDefinition(&s_application);
}

// The classes' own routines come from their tables.
const ProvidedRoutine kRoutines[] = {
    QV_PROVIDED(getAppObject),      QV_PROVIDED(ApplicationQuit),    QV_PROVIDED(DockItemIconGraphicsGetter),
    QV_PROVIDED(DockItemResetIcon), QV_PROVIDED(DockItemIconUpdate),
};

}  // namespace

void register_application_classes()
{
    static Once s_once;
    s_once([&] { build_definitions(); });
}

ClassTableList application_class_tables() { return kTables; }

std::span<const ProvidedRoutine> application_routines() { return kRoutines; }

RuntimeObject* new_plain_application() { return CreateInstance(&s_application); }

void set_menu_bar_presenter(MenuBarPresenter presenter) { s_presenter = presenter; }

}  // namespace qv

using namespace qv;

extern "C" {

RuntimeObject* getAppObject(void)
{
    RuntimeLockObject(gApplicationObject);
    return gApplicationObject;
}

void ApplicationNewDocument(RuntimeObject* self) { fire_event(self, kApplicationNewDocument); }

void ApplicationOpenDocument(RuntimeObject* self, RuntimeObject* item)
{
    fire_event(self, kApplicationOpenDocument, item);
}

void ApplicationAddMenuHandler(RuntimeObject* self, RuntimeString* name, RuntimeObject* handler)
{
    if (!self) {
        assertion_failed(kSource, 0, "self");
        return;
    }
    if (!name) {
        assertion_failed(kSource, 0, "name");
        return;
    }
    if (!handler)
        return;
    ApplicationObject* app = application_fields(self);
    if (!app->mMenuHandlers)
        app->mMenuHandlers = new (std::nothrow) MenuHandlerRegistry();
    if (!app->mMenuHandlers) {
        assertion_failed(kSource, 0, "self->mMenuHandlers");
        return;
    }
    app->mMenuHandlers->Add(StringRef::share(name), handler);
}

RuntimeObject* AppMenuBarGetter(RuntimeObject* self)
{
    ApplicationObject* app = application_or_assert(self, "app");
    if (!app)
        return nullptr;
    RuntimeLockObject(app->menuBar);
    return app->menuBar;
}

void AppMenuBarSetter(RuntimeObject* self, RuntimeObject* menu_bar)
{
    ApplicationObject* app = application_or_assert(self, "app");
    if (!app)
        return;
    RuntimeLockUnlockObjects(menu_bar, app->menuBar);
    app->menuBar = menu_bar;
    if (s_presenter)
        s_presenter(menu_bar);
}

int32_t AppBalloonHelpVisibleGetter(RuntimeObject* self)
{
    ApplicationObject* app = application_or_assert(self, "app");
    return app && app->balloonHelpVisible;
}

// Help tips belong to the windows, which have none to switch yet; the flag is what is read back.
void AppBalloonHelpVisibleSetter(RuntimeObject* self, int32_t on)
{
    ApplicationObject* app = application_or_assert(self, "app");
    if (!app)
        return;
    app->balloonHelpVisible = (on & 0xFF) != 0;
    window_services().set_help_tips_visible(app->balloonHelpVisible != 0);
}

void appMouseCursorSetter(RuntimeObject* self, RuntimeObject* cursor)
{
    ApplicationObject* app = application_or_assert(self, "app");
    if (!app)
        return;
    // The old cursor may be the one on screen: the new one goes up before the old one's count
    // (and, for a cursor made from a resource, its native cursor) goes.
    RuntimeObject* old = std::exchange(app->mouseCursor, cursor);
    RuntimeLockObject(cursor);
    HCURSOR handle = mouse_cursor_handle(cursor);
    SetCursor(handle ? handle : LoadCursorW(nullptr, IDC_ARROW));
    RuntimeUnlockObject(old);
}

RuntimeObject* appResourceForkGetter(RuntimeObject*) { return CreateInstance(&s_resource_fork); }

RuntimeObject* AppDockItemGetter(RuntimeObject* self)
{
    application_or_assert(self, "app");
    return nullptr;  // there is no dock on this platform
}

RuntimeObject* DockItemIconGraphicsGetter(RuntimeObject*) { return nullptr; }
void DockItemResetIcon(RuntimeObject*) { }
void DockItemIconUpdate(RuntimeObject*) { }

}  // extern "C"
