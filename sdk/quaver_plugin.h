/*
 * quaver_plugin.h: the plug-in programming interface.
 *
 * A plug-in library exports one routine, QuavPluginMain, which the runtime calls once while
 * starting. It receives a resolver that gives the address of any exported routine by name
 * (the names of quaver.h, and the Plugin... routines below); the plug-in resolves what it
 * needs and registers static descriptions of its classes and controls. Descriptions are
 * kept, not copied: they must live as long as the library (static data).
 *
 * The runtime turns each description into a class. Compiled code reaches a plug-in member by
 * name, "Class.Property.Get" / "Class.Property.Set" for accessors and "Class.declaration"
 * for methods, through RuntimeLookupPluginEntrypoint. Every routine is cdecl:
 *   getter:  value (RuntimeObject* self, int32_t parameter)
 *   setter:  void (RuntimeObject* self, int32_t parameter, value)
 *   method:  result (RuntimeObject* self, arguments...)
 * where parameter is the property's parameter field (see QvPluginProperty.field).
 */
#ifndef QUAVER_SDK_QUAVER_PLUGIN_H
#define QUAVER_SDK_QUAVER_PLUGIN_H

#include <stdint.h>

#include "sdk/quaver.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A getter or setter that the property does not have. */
#define QV_PLUGIN_NONE ((void*)-1)
/* QvPluginProperty.field for a property that is no field of the instance data. */
#define QV_PLUGIN_NO_FIELD (-1)

typedef void* (*QvPluginResolver)(const char* name);
typedef void (*QvPluginMainRoutine)(QvPluginResolver resolve);

/* type: "String", "Integer", "Boolean", "Single", "Double", "Color", or a class name. When
 * field is not QV_PLUGIN_NO_FIELD it is a byte offset in the class's own instance data, and
 * the accessors receive that field's offset in the whole instance as their parameter (so the
 * runtime's generic intGetter / intSetter and the like can serve it); otherwise they get 0. */
typedef struct QvPluginProperty {
    const char* name;
    const char* type;
    void* getter; /* or QV_PLUGIN_NONE */
    void* setter; /* or QV_PLUGIN_NONE */
    int32_t field;
} QvPluginProperty;

/* declaration: the name and its parameter list as compiled code names it, with an optional
 * result: "Add(receiver As actionNotificationReceiver)", "Count() As Integer". setter: the
 * assignment form of the method, or QV_PLUGIN_NONE. */
typedef struct QvPluginMethod {
    const char* declaration;
    void* routine;
    void* setter;
} QvPluginMethod;

/* declaration as for methods: "Action()", "MouseDown(X As Integer, Y As Integer) As Boolean". */
typedef struct QvPluginEvent {
    const char* declaration;
} QvPluginEvent;

/* A named constant: its type ("String", "Integer", ...) and its value as text. */
typedef struct QvPluginConstant {
    const char* name;
    const char* type;
    const char* value;
} QvPluginConstant;

/* A class. superName: a built-in or plug-in class, or NULL / "" for none. dataSize: the bytes of
 * its own instance data, which follow the superclass's (PluginInstanceData finds them).
 * interfaces: comma-separated interface names, or NULL. initializer / finalizer run at object
 * creation and destruction, or are NULL.
 * A class extension (PluginRegisterClassExtension) names an existing class and adds its
 * properties, methods and constants to it; the rest is not used. It has no instance data of its
 * own: a field is a byte offset in the whole instance. Its properties stay out of the class's
 * property table: compiled code reaches them, like its methods, by their entry-point names. */
typedef struct QvPluginClass {
    const char* name;
    const char* superName;
    int32_t dataSize;
    QvObjectRoutine initializer;
    QvObjectRoutine finalizer;
    const QvPluginProperty* properties;
    int32_t propertyCount;
    const QvPluginMethod* methods;
    int32_t methodCount;
    const QvPluginEvent* events;
    int32_t eventCount;
    const QvPluginConstant* constants;
    int32_t constantCount;
    const char* interfaces;
} QvPluginClass;

/* A control: its class (built on the runtime's plug-in control base "_PluginControl" when
 * superName is NULL or empty) and the callbacks its native peer drives. Coordinates are the control's own, (0, 0) at its
 * top-left corner. paint gets the Win32 device context of the peer's window and a Graphics
 * object over it (nil when none can be made; borrowed), for drawing pictures with the
 * runtime's routines. Any callback may be NULL. mouseDown returns non-zero to follow the mouse
 * until the button is released. */
typedef struct QvPluginControl {
    QvPluginClass classInfo;
    void (*paint)(RuntimeObject* self, void* dc, RuntimeObject* graphics, int32_t width, int32_t height);
    int32_t (*mouseDown)(RuntimeObject* self, int32_t x, int32_t y);
    void (*mouseDrag)(RuntimeObject* self, int32_t x, int32_t y);
    void (*mouseUp)(RuntimeObject* self, int32_t x, int32_t y);
    void (*mouseEnter)(RuntimeObject* self);
    void (*mouseExit)(RuntimeObject* self);
} QvPluginControl;

/* The entry every plug-in library exports. */
#ifdef QV_PLUGIN_LIBRARY
__declspec(dllexport) void QuavPluginMain(QvPluginResolver resolve);
#endif

/* The routines below are resolved by name, as declared here and in quaver.h (Plug-ins). */

#ifdef __cplusplus
}
#endif

#endif
