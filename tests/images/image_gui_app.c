/* image_gui_app.c: an application with every start-up event and a menu bar, for
 * run_gui_test.sh. Each event and menu choice reports itself in a message box:
 *
 *   Open, NewDocument, "OpenDocument PATH", Close, "UnhandledException CLASS",
 *   "Action NAME" for an item's Action event, "Handler NAME INDEX" for the application's menu
 *   handler.
 *
 * &File (Alt+F): New (N), Save (Shift-S), -, Revived (E; built disabled, AutoEnable brings it back),
 *       Manual (D; AutoEnable off, so the enabling cycle leaves it disabled), Quit (Q).
 * Test: Handled (H; the application's handler answers True, so Action never runs),
 *       Passed On (P; the handler answers False, then Action runs), Crash (K; raises a
 *       NilObjectException, which UnhandledException declines), Survive (U; raises an
 *       exception that UnhandledException handles, so the program goes on). */
#include "tests/images/gui_app_support.h"

/* A _MenuHandler object: reports its name and the index it is given, answers `result`. */
typedef struct MenuHandler {
    RuntimeObject header;
    RuntimeString* name;
    int32_t result;
} MenuHandler;

static ClassRecord* g_survivable;

static int32_t handler_action(RuntimeObject* self, int32_t index)
{
    MenuHandler* handler = (MenuHandler*)self;
    RuntimeLockString(handler->name);
    say(QV_STR("Handler "), RuntimeAddString(handler->name, RuntimeAddString(QV_STR(" "), number(index))));
    return handler->result;
}

static ClassRecord* menu_handler_class(void)
{
    ClassRecord* c = RuntimeNewClass(0, 0, 1, 0, 0, 0);
    RuntimeLockString(QV_STR("TestMenuHandler"));
    c->name = QV_STR("TestMenuHandler");
    c->instanceSize = sizeof(MenuHandler);
    InterfaceEntry* entry = (InterfaceEntry*)(c + 1); /* the interface table follows the header */
    entry->interfaceClass = RuntimeLookupClass(QV_STR("_MenuHandler"));
    entry->methodCount = 1;
    entry->methods = RuntimeNewVtable(1);
    entry->methods[0].routine = (void*)handler_action;
    return c;
}

static void add_menu_handler(RuntimeObject* app, ClassRecord* c, RuntimeString* name, int32_t result)
{
    MenuHandler* handler = (MenuHandler*)RuntimeNewObject(c);
    handler->name = name; /* a constant: never released */
    handler->result = result;
    ApplicationAddMenuHandler(app, name, &handler->header);
    RuntimeUnlockObject(&handler->header);
}

static void report_open_document(RuntimeObject* app, RuntimeObject* item)
{
    (void)app;
    say(QV_STR("OpenDocument "), fileAbsolutePathGetter(item, 0));
}

/* Handles everything but a NilObjectException. */
static int32_t report_unhandled(RuntimeObject* app, RuntimeObject* error)
{
    (void)app;
    RuntimeLockString(error->classRecord->name);
    say(QV_STR("UnhandledException "), error->classRecord->name);
    return !RuntimeObjectIsa(error, RuntimeLookupClass(QV_STR("NilObjectException")));
}

static int32_t raise_survivable(RuntimeObject* item)
{
    (void)item;
    RuntimeRaiseException(RuntimeNewObject(g_survivable)); /* the exception keeps this count */
    return 1;
}

void ImageEntry(void)
{
    RuntimeInit();

    ClassRecord* app_class = subclass(RuntimeLookupClass(QV_STR("Application")), QV_STR("TestApp"), 0);
    set_event(app_class, kAppOpen, (void*)report_open);
    set_event(app_class, kAppClose, (void*)report_close);
    set_event(app_class, kAppNewDocument, (void*)report_new_document);
    set_event(app_class, kAppOpenDocument, (void*)report_open_document);
    set_event(app_class, kAppUnhandledException, (void*)report_unhandled);

    ClassRecord* menu_item = RuntimeLookupClass(QV_STR("MenuItem"));
    ClassRecord* reporting = subclass(menu_item, QV_STR("ReportingItem"), 0);
    set_event(reporting, kMenuItemAction, (void*)report_action);
    ClassRecord* crashing = subclass(menu_item, QV_STR("CrashingItem"), 0);
    set_event(crashing, kMenuItemAction, (void*)raise_nil_object);
    ClassRecord* surviving = subclass(menu_item, QV_STR("SurvivingItem"), 0);
    set_event(surviving, kMenuItemAction, (void*)raise_survivable);
    g_survivable = subclass(RuntimeLookupClass(QV_STR("RuntimeException")), QV_STR("SurvivableError"), 0);

    RuntimeObject* bar = RuntimeNewObject(RuntimeLookupClass(QV_STR("MenuBar")));
    RuntimeObject* file = add_item(bar, menu_item, QV_STR("&File"), QV_STR("FileMenu"), 0);
    add_item(file, reporting, QV_STR("New"), QV_STR("FileNew"), QV_STR("N"));
    add_item(file, reporting, QV_STR("Save"), QV_STR("FileSave"), QV_STR("Shift-S"));
    add_item(file, menu_item, QV_STR("-"), 0, 0);
    RuntimeMenuItemEnabledSetter(add_item(file, reporting, QV_STR("Revived"), QV_STR("FileRevived"), QV_STR("E")), 0);
    RuntimeMenuItemAutoEnableSetter(add_item(file, reporting, QV_STR("Manual"), QV_STR("FileManual"), QV_STR("D")), 0);
    add_item(file, RuntimeLookupClass(QV_STR("QuitMenuItem")), QV_STR("Quit"), QV_STR("FileQuit"), QV_STR("Q"));
    RuntimeObject* test = add_item(bar, menu_item, QV_STR("Test"), QV_STR("TestMenu"), 0);
    add_item(test, reporting, QV_STR("Handled"), QV_STR("TestHandled"), QV_STR("H"));
    add_item(test, reporting, QV_STR("Passed On"), QV_STR("TestPassed"), QV_STR("P"));
    add_item(test, crashing, QV_STR("Crash"), QV_STR("TestCrash"), QV_STR("K"));
    add_item(test, surviving, QV_STR("Survive"), QV_STR("TestSurvive"), QV_STR("U"));

    RuntimeObject* app = RuntimeNewObject(app_class);
    AppMenuBarSetter(app, bar);
    RuntimeUnlockObject(bar);
    RuntimeRegisterAppObject(app);
    ClassRecord* handler_class = menu_handler_class();
    add_menu_handler(app, handler_class, QV_STR("TestHandled"), 1);
    add_menu_handler(app, handler_class, QV_STR("TestPassed"), 0);

    RuntimeRun();
    RuntimeUnlockObject(app);
    RuntimeExit();
}
