/*
 * image_entry.c: what the image does when the runtime starts it. Steps 1 to 7 each run
 * protected: an exception one of them raises and nothing handles skips the rest and goes on to
 * the clean-up.
 */
#include "app/app_windows.h"
#include "app/application.h"
#include "app/plugin_entries.h"
#include "app/protected_call.h"

static RuntimeObject* g_app;

static void register_file_type(void) { RuntimeRegisterFileType(QV_STR("text"), QV_STR("R*ch"), QV_STR("TEXT"), 0); }

static void create_application(void)
{
    g_app = new_application();
    if (!g_app)
        return;
    RuntimeObject* bar = new_menu_bar();
    AppMenuBarSetter(g_app, bar);
    RuntimeUnlockObject(bar);
    RuntimeRegisterAppObject(g_app);
}

/* Referring to the main window creates it. */
static void open_main_window(void)
{
    RuntimeObject* window = main_window();
    if (window)
        WindowForceUpdateFrontBuffer(window);
    RuntimeUnlockObject(window);
}

void ImageEntry(void)
{
    if (protected_call(RuntimeInit) && protected_call(fill_plugin_entries) && protected_call(register_file_type) &&
        protected_call(create_application) && protected_call(add_menu_handlers) && protected_call(open_main_window))
        protected_call(RuntimeRun);
    RuntimeUnlockObject(g_app);
    g_app = 0;
    release_about_picture();
    RuntimeExit();
}
