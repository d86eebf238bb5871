/* gui_app_support.h: what the GUI test images share: event indices, subclassing a built-in
 * class, building menu items and the reporting handlers. Every event is reported with
 * RuntimeMsgBox, which shows a message box under the Windows runtime; run_gui_test.sh reads
 * the boxes in order. */
#ifndef QV_TEST_GUI_APP_SUPPORT_H
#define QV_TEST_GUI_APP_SUPPORT_H

#include "tests/images/image_support.h"

/* Event indices. */
enum {
    kAppOpen = 0,
    kAppClose = 1,
    kAppNewDocument = 3,
    kAppOpenDocument = 4,
    kAppUnhandledException = 8,
    kMenuItemAction = 0,
};

/* A class of the image's own derived from `base`: the base's tables are copied, so only the
 * events the image handles need filling in. */
static inline ClassRecord* subclass(ClassRecord* base, RuntimeString* name, int32_t interfaces)
{
    ClassRecord* c = RuntimeNewClass(base, base->methodCount, base->interfaceCount + interfaces, base->eventCount,
                                     base->staticMethodCount, base->propertyCount);
    RuntimeLockString(name);
    c->name = name;
    c->instanceSize = base->instanceSize;
    c->initializer = 0; /* the base's own run first anyway */
    c->finalizer = 0;
    return c;
}

static inline void set_event(ClassRecord* c, int32_t index, void* handler) { c->eventTable[index].routine = handler; }

/* A new item of class c with its text, name and command key (0 for none), appended to parent;
 * the parent holds it from then on. */
static inline RuntimeObject* add_item(RuntimeObject* parent, ClassRecord* c, RuntimeString* text, RuntimeString* name,
                                      RuntimeString* key)
{
    RuntimeObject* item = RuntimeNewObject(c);
    RuntimeMenuItemTextSetter(item, text);
    if (name)
        RuntimeMenuItemNameSetter(item, name);
    if (key)
        RuntimeMenuItemCommandKeySetter(item, key);
    RuntimeMenuItemAppend(parent, item);
    RuntimeUnlockObject(item);
    return item;
}

/* MenuItem.Action of the reporting items: "Action NAME", handled. */
static inline int32_t report_action(RuntimeObject* item)
{
    say(QV_STR("Action "), RuntimeMenuItemNameGetter(item));
    return 1;
}

static inline void report_open(RuntimeObject* app)
{
    (void)app;
    RuntimeMsgBox(QV_STR("Open"));
}

static inline void report_new_document(RuntimeObject* app)
{
    (void)app;
    RuntimeMsgBox(QV_STR("NewDocument"));
}

static inline void report_close(RuntimeObject* app)
{
    (void)app;
    RuntimeMsgBox(QV_STR("Close"));
}

/* MenuItem.Action that raises a NilObjectException nothing in the image catches. With no
 * landing record here the raise returns normally, and the runtime takes the exception up
 * when the handler has returned. */
static inline int32_t raise_nil_object(RuntimeObject* item)
{
    (void)item;
    RuntimeNilObject();
    return 1;
}

#endif
