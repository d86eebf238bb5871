/* image_gui_controls.c: a program of one window with controls, for run_gui_test.sh, which
 * clicks and types at them as a user would. The window "GUI Controls" holds the push buttons
 * OK (Default), Cancel (Cancel) and "&Go", the check box "Remember" and a multi-line edit field.
 * The controls are made in CreateControls as compiled code makes them: WindowAllocateObject,
 * the default constructor, a property table found by name in the class's flattened table, and
 * WindowAddControl. Reports:
 *
 *   "Action NAME" for a button's Action ("Action Check N" for the check box, N its value),
 *   "PerformAction" and "DataChanged" from a receiver object told by OK and by the check box,
 *   "TextChange TEXT" from the field (its text then), "Set Check N" when the check box is set
 *   from code (Test: Set Check, T), "Text TEXT" (Test: Report, R) and the field emptied from code
 *   (Test: Clear, L).
 *
 * &Edit: Paste (V), the field's own EditPaste item. &File: Quit (Q). */
#include "tests/images/gui_app_support.h"

enum {
    kWindowLayout = 0,
    kWindowCreateControls = 1,
    kWindowOpen = 3,
    kRectControlEvents = 7,
    kButtonAction = kRectControlEvents,
    kEditTextChange = kRectControlEvents + 6,
};

static ClassRecord* g_button;
static ClassRecord* g_check;
static ClassRecord* g_field;
static RuntimeObject* g_window;
static RuntimeObject* g_bar;

static int32_t text_length(const char* s)
{
    int32_t n = 0;
    while (s[n])
        ++n;
    return n;
}

/* The entry of the property `name` in c's flattened table ("name%type"), or 0. */
static PropertyEntry* property(ClassRecord* c, const char* name)
{
    const int32_t n = text_length(name);
    for (int32_t i = 0; i < c->propertyCount; ++i) {
        const RuntimeString* declared = c->propertyTable[i].name;
        const uint8_t* text = declared->buffer + 1;
        int32_t k = 0;
        while (k < n && k < declared->length && text[k] == (uint8_t)name[k])
            ++k;
        if (k == n && k < declared->length && text[k] == '%')
            return &c->propertyTable[i];
    }
    return 0;
}

/* ---- A property table built at run time, as compiled code's constant one */
static uint8_t g_table[512];
static int32_t g_table_length;

static void put_byte(uint32_t b) { g_table[g_table_length++] = (uint8_t)b; }
static void put_word(uint32_t v)
{
    put_byte(v >> 24);
    put_byte(v >> 16);
    put_byte(v >> 8);
    put_byte(v);
}
/* The entry's index; an unknown name leaves an index past the table, which the runtime refuses. */
static void put_index(ClassRecord* c, const char* name)
{
    PropertyEntry* entry = property(c, name);
    const uint32_t index = entry ? (uint32_t)(entry - c->propertyTable) : 0xFFFFu;
    put_byte(index >> 8);
    put_byte(index);
}
static void put_int(ClassRecord* c, const char* name, int32_t value)
{
    put_index(c, name);
    put_word((uint32_t)value);
}
static void put_bool(ClassRecord* c, const char* name, int32_t value)
{
    put_index(c, name);
    put_byte(value ? 1 : 0);
}
static void put_text(ClassRecord* c, const char* name, const char* text)
{
    const int32_t n = text_length(text);
    put_index(c, name);
    put_word((uint32_t)n);
    for (int32_t i = 0; i < n; ++i)
        put_byte((uint8_t)text[i]);
}
static void put_bounds(ClassRecord* c, const char* control_name, int32_t left, int32_t top, int32_t width,
                       int32_t height)
{
    g_table_length = 0;
    put_text(c, "Name", control_name);
    put_int(c, "Left", left);
    put_int(c, "Top", top);
    put_int(c, "Width", width);
    put_int(c, "Height", height);
}

/* Makes, configures (the table begun with put_bounds) and files a control of class c. */
static RuntimeObject* add_control(RuntimeObject* window, ClassRecord* c)
{
    RuntimeObject* control = WindowAllocateObject(window, c);
    RectControlDefaultConstructor(control);
    RuntimeString* table = QuavBuildString(g_table, g_table_length);
    RuntimeMassPropertySetter(control, table);
    RuntimeUnlockString(table);
    WindowAddControl(window, control);
    RuntimeUnlockObject(control);
    return control;
}

static RuntimeObject* control(const char* name)
{
    RuntimeString* key = QuavBuildString(name, text_length(name));
    RuntimeObject* found = RuntimeControlFetch(g_window, key);
    RuntimeUnlockString(key);
    return found;
}

/* ---- Events */
static void layout(RuntimeObject* self)
{
    windowTitleSetter(self, 0, QV_STR("GUI Controls"));
    windowFrameSetter(self, 0, 0);
    windowPosSetter(self, 0, 40);
    windowPosSetter(self, 1, 60);
    windowPosSetter(self, 2, 400);
    windowPosSetter(self, 3, 300);
    WindowMenuBarSetter(self, 0, g_bar);
}

static void create_controls(RuntimeObject* self)
{
    put_bounds(g_button, "OK", 20, 20, 80, 26);
    put_text(g_button, "Caption", "OK");
    put_bool(g_button, "Default", 1);
    add_control(self, g_button);

    put_bounds(g_button, "Cancel", 110, 20, 80, 26);
    put_text(g_button, "Caption", "Cancel");
    put_bool(g_button, "Cancel", 1);
    add_control(self, g_button);

    put_bounds(g_button, "Go", 200, 20, 80, 26);
    put_text(g_button, "Caption", "&Go");
    add_control(self, g_button);

    put_bounds(g_check, "Check", 20, 60, 160, 22);
    put_text(g_check, "Caption", "Remember");
    add_control(self, g_check);

    put_bounds(g_field, "Field", 20, 100, 360, 150);
    put_bool(g_field, "MultiLine", 1);
    put_bool(g_field, "ScrollBarVertical", 1);
    add_control(self, g_field);
}

/* A receiver of both kinds, as image code makes one: a class listing the two interfaces. */
static void perform_action(RuntimeObject* self)
{
    (void)self;
    RuntimeMsgBox(QV_STR("PerformAction"));
}

static void data_changed(RuntimeObject* self)
{
    (void)self;
    RuntimeMsgBox(QV_STR("DataChanged"));
}

static ClassRecord* receiver_class(void)
{
    ClassRecord* c = RuntimeNewClass(0, 0, 2, 0, 0, 0);
    RuntimeLockString(QV_STR("TestReceiver"));
    c->name = QV_STR("TestReceiver");
    c->instanceSize = sizeof(RuntimeObject);
    InterfaceEntry* entry = (InterfaceEntry*)(c + 1); /* the interface table follows the header */
    entry[0].interfaceClass = RuntimeLookupClass(QV_STR("actionNotificationReceiver"));
    entry[0].methodCount = 1;
    entry[0].methods = RuntimeNewVtable(1);
    entry[0].methods[0].routine = (void*)perform_action;
    entry[0].methods[0].signature = QV_STR("PerformAction");
    entry[1].interfaceClass = RuntimeLookupClass(QV_STR("dataNotificationReceiver"));
    entry[1].methodCount = 1;
    entry[1].methods = RuntimeNewVtable(1);
    entry[1].methods[0].routine = (void*)data_changed;
    entry[1].methods[0].signature = QV_STR("DataChanged");
    return c;
}

static void open_window(RuntimeObject* self)
{
    (void)self;
    RuntimeObject* receiver = RuntimeNewObject(receiver_class());
    pbAddActionNotificationReceiver(control("OK"), receiver);
    checkBoxAddDataNotificationReceiver(control("Check"), receiver);
    RuntimeUnlockObject(receiver); /* the controls hold it */
    RuntimeMsgBox(QV_STR("Open"));
}

static void button_action(RuntimeObject* self)
{
    PropertyEntry* name = property(self->classRecord, "Name");
    say(QV_STR("Action "), ((RuntimeString * (*)(RuntimeObject*, int32_t)) name->getter)(self, name->parameter));
}

static void check_action(RuntimeObject* self) { say(QV_STR("Action Check "), number(checkBoxValueGetter(self, 0))); }

static void text_change(RuntimeObject* self) { say(QV_STR("TextChange "), editTextGetter(self, 0)); }

/* ---- Menu items */
static int32_t set_check(RuntimeObject* item)
{
    (void)item;
    RuntimeObject* box = control("Check");
    checkBoxValueSetter(box, 0, !checkBoxValueGetter(box, 0));
    say(QV_STR("Set Check "), number(checkBoxValueGetter(box, 0)));
    return 1;
}

static int32_t report_text(RuntimeObject* item)
{
    (void)item;
    say(QV_STR("Text "), editTextGetter(control("Field"), 0));
    return 1;
}

static int32_t clear_text(RuntimeObject* item)
{
    (void)item;
    editTextSetter(control("Field"), 0, QV_STR(""));
    return 1;
}

static ClassRecord* item_class(RuntimeString* name, void* action)
{
    ClassRecord* c = subclass(RuntimeLookupClass(QV_STR("MenuItem")), name, 0);
    set_event(c, kMenuItemAction, action);
    return c;
}

void ImageEntry(void)
{
    RuntimeInit();

    ClassRecord* menu_item = RuntimeLookupClass(QV_STR("MenuItem"));
    RuntimeObject* bar = RuntimeNewObject(RuntimeLookupClass(QV_STR("MenuBar")));
    g_bar = bar;
    RuntimeObject* file = add_item(bar, menu_item, QV_STR("&File"), QV_STR("FileMenu"), 0);
    add_item(file, RuntimeLookupClass(QV_STR("QuitMenuItem")), QV_STR("Quit"), QV_STR("FileQuit"), QV_STR("Q"));
    RuntimeObject* edit = add_item(bar, menu_item, QV_STR("&Edit"), QV_STR("EditMenu"), 0);
    add_item(edit, menu_item, QV_STR("&Paste"), QV_STR("EditPaste"), QV_STR("V"));
    RuntimeObject* test = add_item(bar, menu_item, QV_STR("Test"), QV_STR("TestMenu"), 0);
    add_item(test, item_class(QV_STR("SetCheckItem"), (void*)set_check), QV_STR("Set Check"), QV_STR("TestSet"),
             QV_STR("T"));
    add_item(test, item_class(QV_STR("ReportItem"), (void*)report_text), QV_STR("Report"), QV_STR("TestReport"),
             QV_STR("R"));
    add_item(test, item_class(QV_STR("ClearItem"), (void*)clear_text), QV_STR("Clear"), QV_STR("TestClear"),
             QV_STR("L"));

    RuntimeObject* app = RuntimeNewObject(RuntimeLookupClass(QV_STR("Application")));
    AppMenuBarSetter(app, bar);
    RuntimeRegisterAppObject(app);

    g_button = subclass(RuntimeLookupClass(QV_STR("PushButton")), QV_STR("TestButton"), 0);
    set_event(g_button, kButtonAction, (void*)button_action);
    g_check = subclass(RuntimeLookupClass(QV_STR("CheckBox")), QV_STR("TestCheck"), 0);
    set_event(g_check, kButtonAction, (void*)check_action);
    g_field = subclass(RuntimeLookupClass(QV_STR("EditField")), QV_STR("TestField"), 0);
    set_event(g_field, kEditTextChange, (void*)text_change);

    ClassRecord* c = subclass(RuntimeLookupClass(QV_STR("Window")), QV_STR("ControlsWindow"), 0);
    set_event(c, kWindowLayout, (void*)layout);
    set_event(c, kWindowCreateControls, (void*)create_controls);
    set_event(c, kWindowOpen, (void*)open_window);
    g_window = RuntimeNewObject(c);
    WindowDefaultConstructor(g_window);
    RuntimeShowWindow(g_window);
    RuntimeRun();
    RuntimeUnlockObject(g_window);
    RuntimeUnlockObject(bar);
    RuntimeUnlockObject(app);
    RuntimeExit();
}
