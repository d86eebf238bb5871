/* image_gui_bare.c: an application with neither OpenDocument nor UnhandledException, for
 * run_gui_test.sh: it gets NewDocument whatever the command line names, and an exception
 * from a menu item ends it with the runtime's message. File: Crash (K), Quit (Q). */
#include "tests/images/gui_app_support.h"

void ImageEntry(void)
{
    RuntimeInit();

    ClassRecord* app_class = subclass(RuntimeLookupClass(QV_STR("Application")), QV_STR("BareApp"), 0);
    set_event(app_class, kAppOpen, (void*)report_open);
    set_event(app_class, kAppClose, (void*)report_close);
    set_event(app_class, kAppNewDocument, (void*)report_new_document);

    ClassRecord* menu_item = RuntimeLookupClass(QV_STR("MenuItem"));
    ClassRecord* crashing = subclass(menu_item, QV_STR("CrashingItem"), 0);
    set_event(crashing, kMenuItemAction, (void*)raise_nil_object);

    RuntimeObject* bar = RuntimeNewObject(RuntimeLookupClass(QV_STR("MenuBar")));
    RuntimeObject* file = add_item(bar, menu_item, QV_STR("File"), QV_STR("FileMenu"), 0);
    add_item(file, crashing, QV_STR("Crash"), QV_STR("FileCrash"), QV_STR("K"));
    add_item(file, RuntimeLookupClass(QV_STR("QuitMenuItem")), QV_STR("Quit"), QV_STR("FileQuit"), QV_STR("Q"));

    RuntimeObject* app = RuntimeNewObject(app_class);
    AppMenuBarSetter(app, bar);
    RuntimeUnlockObject(bar);
    RuntimeRegisterAppObject(app);
    RuntimeRun();
    RuntimeUnlockObject(app);
    RuntimeExit();
}
