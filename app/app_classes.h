/*
 * app_classes.h: how the application makes its classes and reaches its objects: subclasses of
 * built-in classes (the base's tables copied, the handled events filled in), the implicit
 * instances of its windows, and controls by name. Every routine that finds nil where an
 * object is required raises NilObjectException and gives nil; callers return at once then.
 */
#ifndef HOLLERPAD_APP_APP_CLASSES_H
#define HOLLERPAD_APP_APP_CLASSES_H

#include "sdk/quaver.h"

/* A class named name derived from the built-in class base_name, with extra_methods methods
 * after the base's; nil (with NilObjectException raised) when the base does not exist. */
ClassRecord* app_subclass(RuntimeString* base_name, RuntimeString* name, int32_t extra_methods);
/* A subclass of a plug-in class, or nil without an exception when the plug-in library that
 * provides it was not loaded. */
ClassRecord* app_plugin_subclass(RuntimeString* base_name, RuntimeString* name);
/* A subclass of an existing class record. */
ClassRecord* app_derive(ClassRecord* base, RuntimeString* name, int32_t extra_methods);
void app_set_event(ClassRecord* c, int32_t index, void* routine);

/* A Window subclass with its Layout, CreateControls and Open handlers (open may be nil). */
ClassRecord* app_window_class(RuntimeString* name, void* layout, void* create_controls, void* open);
/* A PushButton subclass whose Action is action. */
ClassRecord* app_button_class(RuntimeString* name, void* action);

/* The window of class c: the existing implicit instance or a new one (a new count). */
RuntimeObject* app_implicit_window(ClassRecord* c);

/* The control of that name in window (a new count). */
RuntimeObject* app_control(RuntimeObject* window, RuntimeString* name);

/* A new object of the built-in class of that name (a new count). */
RuntimeObject* app_new_object(RuntimeString* class_name);

/* A new control of class c in window, set up by the table in bytes and added to the window. */
struct MassTable;
void app_add_control(RuntimeObject* window, ClassRecord* c, struct MassTable* table);

/* The text of an edit field and the caption of a static text (new counts). */
RuntimeString* app_field_text(RuntimeObject* field);
void app_set_field_text(RuntimeObject* field, RuntimeString* text);
RuntimeString* app_static_caption(RuntimeObject* label);
void app_set_static_caption(RuntimeObject* label, RuntimeString* text);

/* Puts text on the clipboard object, closes it and releases the object (a count the caller
 * owned); a nil clipboard does nothing. */
void app_clipboard_put(RuntimeObject* clipboard, RuntimeString* text);
/* Closes the window (CancelClose may keep it) and releases it. */
void app_close_window(RuntimeObject* window);

/* a + b as a new count; both are borrowed. */
RuntimeString* app_join(RuntimeString* a, RuntimeString* b);
/* text + piece as a new count, releasing text (a count the caller owned). */
RuntimeString* app_append(RuntimeString* text, RuntimeString* piece);

#endif /* HOLLERPAD_APP_APP_CLASSES_H */
