/*
 * application.c: class App with its five menu actions, and the handler classes that connect
 * the menu items to them. Every action answers False, so the runtime goes on to the item's own
 * Action and to the focused control's standard handling of the item.
 */
#include "app/application.h"

#include "app/app_classes.h"
#include "app/app_windows.h"
#include "app/class_layout.h"

enum AppMethod { CNVSET_ACTION, HLP_AB_ACTION, EDITCLEAR_ACTION, EDITCOPY_ACTION, EDITREDO_ACTION, APP_METHOD_COUNT };

static ClassRecord* g_app_class;
static int32_t g_first_method; /* App's methods follow Application's */
static ClassRecord* g_handler_classes[APP_METHOD_COUNT];

/* ---- App's methods ---------------------------------------------------------------------- */

static void show(RuntimeObject* window)
{
    if (window)
        RuntimeShowWindow(window);
    RuntimeUnlockObject(window);
}

static int32_t cnvset_action(RuntimeObject* self)
{
    (void)self;
    show(settings_window());
    return 0;
}

static int32_t hlp_ab_action(RuntimeObject* self)
{
    (void)self;
    show(about_window());
    return 0;
}

/* The main window's text field (a new count), or nil with NilObjectException raised. */
static RuntimeObject* main_text_field(void)
{
    RuntimeObject* window = main_window();
    RuntimeObject* field = app_control(window, MAIN_TEXT_FIELD);
    RuntimeUnlockObject(window);
    return field;
}

static int32_t editclear_action(RuntimeObject* self)
{
    (void)self;
    app_clipboard_put(app_new_object(QV_STR("Clipboard")), 0);
    RuntimeObject* field = main_text_field();
    if (field)
        app_set_field_text(field, 0);
    RuntimeUnlockObject(field);
    return 0;
}

static int32_t editcopy_action(RuntimeObject* self)
{
    (void)self;
    RuntimeObject* clipboard = app_new_object(QV_STR("Clipboard"));
    if (!clipboard)
        return 0;
    RuntimeObject* field = main_text_field();
    if (!field) {
        RuntimeUnlockObject(clipboard);
        return 0;
    }
    RuntimeString* text = app_field_text(field);
    app_clipboard_put(clipboard, text);
    RuntimeUnlockString(text);
    RuntimeUnlockObject(field);
    return 0;
}

/* The text as it was before the last conversion, without the name line. */
static int32_t editredo_action(RuntimeObject* self)
{
    (void)self;
    RuntimeObject* window = main_window();
    RuntimeObject* field = app_control(window, MAIN_TEXT_FIELD);
    RuntimeObject* backup = field ? app_control(window, MAIN_BACKUP_TEXT) : 0;
    if (backup) {
        RuntimeString* before = app_static_caption(backup);
        app_set_field_text(field, before);
        RuntimeUnlockString(before);
        RuntimeString* cr = StringDBCSChr(13);
        RuntimeString* name_line = app_join(QV_STR("名無しンぼ＠お腹いっぱいッ"), cr);
        RuntimeString* text = app_field_text(field);
        RuntimeString* restored = StringReplaceAllB(text, name_line, 0);
        app_set_field_text(field, restored);
        RuntimeUnlockString(restored);
        RuntimeUnlockString(text);
        RuntimeUnlockString(name_line);
        RuntimeUnlockString(cr);
    }
    RuntimeUnlockObject(backup);
    RuntimeUnlockObject(field);
    RuntimeUnlockObject(window);
    return 0;
}

static void set_method(int32_t method, void* routine, RuntimeString* signature)
{
    MethodEntry* entry = &g_app_class->methodTable[g_first_method + method];
    entry->routine = routine;
    entry->signature = signature; /* a constant: never released */
}

RuntimeObject* new_application(void)
{
    if (!g_app_class) {
        ClassRecord* base = RuntimeLookupClass(QV_STR("Application"));
        g_app_class = app_derive(base, QV_STR("App"), APP_METHOD_COUNT);
        if (!g_app_class)
            return 0;
        g_first_method = base->methodCount;
        set_method(CNVSET_ACTION, (void*)cnvset_action, QV_STR("CnvSet_Action() As Boolean"));
        set_method(HLP_AB_ACTION, (void*)hlp_ab_action, QV_STR("hlp_ab_Action() As Boolean"));
        set_method(EDITCLEAR_ACTION, (void*)editclear_action, QV_STR("EditClear_Action() As Boolean"));
        set_method(EDITCOPY_ACTION, (void*)editcopy_action, QV_STR("EditCopy_Action() As Boolean"));
        set_method(EDITREDO_ACTION, (void*)editredo_action, QV_STR("editredo_Action() As Boolean"));
    }
    RuntimeObject* app = RuntimeNewObject(g_app_class);
    if (!app)
        RuntimeNilObject();
    return app;
}

/* ---- Menu handlers ---------------------------------------------------------------------- */

/* A handler object: the _MenuHandler interface, one property `owner`. */
typedef struct MenuHandler {
    RuntimeObject header;
    RuntimeObject* owner;
} MenuHandler;

#define HANDLER_OWNER_OFFSET 28

/* Calls App method `method` of the handler's owner through the owner's method table. */
static int32_t call_owner(RuntimeObject* self, int32_t method)
{
    RuntimeObject* owner = ((MenuHandler*)self)->owner;
    if (!owner) {
        RuntimeNilObject();
        return 0;
    }
    MethodEntry* entry = &owner->classRecord->methodTable[g_first_method + method];
    return ((int32_t(*)(RuntimeObject*))entry->routine)(owner);
}

static int32_t cnvset_handler(RuntimeObject* self, int32_t index)
{
    (void)index;
    return call_owner(self, CNVSET_ACTION);
}

static int32_t hlp_ab_handler(RuntimeObject* self, int32_t index)
{
    (void)index;
    return call_owner(self, HLP_AB_ACTION);
}

static int32_t editclear_handler(RuntimeObject* self, int32_t index)
{
    (void)index;
    return call_owner(self, EDITCLEAR_ACTION);
}

static int32_t editcopy_handler(RuntimeObject* self, int32_t index)
{
    (void)index;
    return call_owner(self, EDITCOPY_ACTION);
}

static int32_t editredo_handler(RuntimeObject* self, int32_t index)
{
    (void)index;
    return call_owner(self, EDITREDO_ACTION);
}

static void release_owner(RuntimeObject* self)
{
    MenuHandler* handler = (MenuHandler*)self;
    RuntimeUnlockObject(handler->owner);
    handler->owner = 0;
}

static ClassRecord* handler_class(RuntimeString* name, void* action)
{
    ClassRecord* menu_handler = RuntimeLookupClass(QV_STR("_MenuHandler"));
    ClassRecord* c = menu_handler ? RuntimeNewClass(0, 0, 1, 0, 0, 1) : 0;
    if (!c) {
        RuntimeNilObject();
        return 0;
    }
    c->name = name; /* a constant: never released */
    c->instanceSize = (int32_t)sizeof(MenuHandler);
    c->finalizer = release_owner;
    c->propertyTable[0].name = QV_STR("owner%o<App>");
    c->propertyTable[0].parameter = HANDLER_OWNER_OFFSET;
    c->propertyTable[0].getter = (void*)1; /* the generic accessors */
    c->propertyTable[0].setter = (void*)1;
    InterfaceEntry* entry = (InterfaceEntry*)(c + 1); /* the interface table follows the header */
    entry->interfaceClass = menu_handler;
    entry->methodCount = 1;
    entry->methods = RuntimeNewVtable(1);
    if (entry->methods) {
        entry->methods[0].routine = action;
        entry->methods[0].signature = QV_STR("Action(index As Integer) As Boolean");
    }
    return c;
}

static void make_handler_classes(void)
{
    g_handler_classes[CNVSET_ACTION] = handler_class(QV_STR("App_CnvSet"), (void*)cnvset_handler);
    g_handler_classes[HLP_AB_ACTION] = handler_class(QV_STR("App_hlp_ab"), (void*)hlp_ab_handler);
    g_handler_classes[EDITCLEAR_ACTION] = handler_class(QV_STR("App_EditClear"), (void*)editclear_handler);
    g_handler_classes[EDITCOPY_ACTION] = handler_class(QV_STR("App_EditCopy"), (void*)editcopy_handler);
    g_handler_classes[EDITREDO_ACTION] = handler_class(QV_STR("App_editredo"), (void*)editredo_handler);
}

/* The handler for `method`, owned by the application object, registered under the item's
 * name. */
static void add_handler(int32_t method, RuntimeString* item_name)
{
    RuntimeObject* app = getAppObject();
    ClassRecord* c = g_handler_classes[method];
    RuntimeObject* handler = app && c ? RuntimeNewObject(c) : 0;
    if (!handler) {
        RuntimeUnlockObject(app);
        RuntimeNilObject();
        return;
    }
    RuntimeLockObject(app);
    ((MenuHandler*)handler)->owner = app;
    ApplicationAddMenuHandler(app, item_name, handler);
    RuntimeUnlockObject(handler);
    RuntimeUnlockObject(app);
}

void add_menu_handlers(void)
{
    make_handler_classes();
    add_handler(CNVSET_ACTION, QV_STR("CnvSet"));
    add_handler(HLP_AB_ACTION, QV_STR("hlp_ab"));
    add_handler(EDITCLEAR_ACTION, QV_STR("EditClear"));
    add_handler(EDITCOPY_ACTION, QV_STR("EditCopy"));
    add_handler(EDITREDO_ACTION, QV_STR("editredo"));
}
