/* app_classes.c: classes, implicit windows and controls of the application. */
#include "app/app_classes.h"

#include "app/class_layout.h"
#include "app/mass_table.h"

ClassRecord* app_derive(ClassRecord* base, RuntimeString* name, int32_t extra_methods)
{
    if (!base) {
        RuntimeNilObject();
        return 0;
    }
    ClassRecord* c = RuntimeNewClass(base, base->methodCount + extra_methods, base->interfaceCount, base->eventCount,
                                     base->staticMethodCount, base->propertyCount);
    if (!c) {
        RuntimeNilObject();
        return 0;
    }
    RuntimeLockString(name);
    c->name = name;
    c->instanceSize = base->instanceSize;
    /* The base's own initializer and finalizer run anyway. */
    c->initializer = 0;
    c->finalizer = 0;
    return c;
}

ClassRecord* app_subclass(RuntimeString* base_name, RuntimeString* name, int32_t extra_methods)
{
    return app_derive(RuntimeLookupClass(base_name), name, extra_methods);
}

ClassRecord* app_plugin_subclass(RuntimeString* base_name, RuntimeString* name)
{
    ClassRecord* base = RuntimeLookupClass(base_name);
    return base ? app_derive(base, name, 0) : 0;
}

void app_set_event(ClassRecord* c, int32_t index, void* routine)
{
    /* The entry keeps the base's event name. */
    if (c && index >= 0 && index < c->eventCount)
        c->eventTable[index].routine = routine;
}

ClassRecord* app_window_class(RuntimeString* name, void* layout, void* create_controls, void* open)
{
    ClassRecord* c = app_subclass(QV_STR("Window"), name, 0);
    app_set_event(c, WINDOW_EVENT_LAYOUT, layout);
    app_set_event(c, WINDOW_EVENT_CREATE_CONTROLS, create_controls);
    if (open)
        app_set_event(c, WINDOW_EVENT_OPEN, open);
    return c;
}

ClassRecord* app_button_class(RuntimeString* name, void* action)
{
    ClassRecord* c = app_subclass(QV_STR("PushButton"), name, 0);
    app_set_event(c, BUTTON_EVENT_ACTION, action);
    return c;
}

RuntimeObject* app_implicit_window(ClassRecord* c)
{
    if (!c) {
        RuntimeNilObject();
        return 0;
    }
    RuntimeObject* window = RuntimeGetImplicitWindow(c->name);
    if (window)
        return window;
    window = RuntimeNewObject(c);
    if (!window) {
        RuntimeNilObject();
        return 0;
    }
    WindowDefaultConstructor(window);
    return window;
}

RuntimeObject* app_control(RuntimeObject* window, RuntimeString* name)
{
    RuntimeObject* control = window ? RuntimeControlReference(window, name) : 0;
    if (!control)
        RuntimeNilObject();
    return control;
}

RuntimeObject* app_new_object(RuntimeString* class_name)
{
    ClassRecord* c = RuntimeLookupClass(class_name);
    return c ? RuntimeNewObject(c) : 0;
}

void app_add_control(RuntimeObject* window, ClassRecord* c, MassTable* table)
{
    RuntimeObject* control = c ? WindowAllocateObject(window, c) : 0;
    if (!control) {
        RuntimeNilObject();
        return;
    }
    RectControlDefaultConstructor(control);
    mass_apply(table, control);
    WindowAddControl(window, control);
    RuntimeUnlockObject(control);
}

RuntimeString* app_field_text(RuntimeObject* field) { return editTextGetter(field, 0); }

void app_set_field_text(RuntimeObject* field, RuntimeString* text) { editTextSetter(field, 0, text); }

RuntimeString* app_static_caption(RuntimeObject* label) { return stringGetter(label, STATIC_TEXT_PARAM); }

void app_set_static_caption(RuntimeObject* label, RuntimeString* text)
{
    staticCaptionSetter(label, STATIC_TEXT_PARAM, text);
}

void app_clipboard_put(RuntimeObject* clipboard, RuntimeString* text)
{
    if (!clipboard)
        return;
    clipboardTextSetter(clipboard, 0, text);
    clipboardClose(clipboard);
    RuntimeUnlockObject(clipboard);
}

void app_close_window(RuntimeObject* window)
{
    if (window)
        RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

RuntimeString* app_join(RuntimeString* a, RuntimeString* b) { return RuntimeAddString(a, b); }

RuntimeString* app_append(RuntimeString* text, RuntimeString* piece)
{
    RuntimeString* joined = RuntimeAddString(text, piece);
    RuntimeUnlockString(text);
    return joined;
}
