/*
 * main_window.c: Window1, the text field with its three buttons. "変換してコピー" runs the
 * conversion on the field itself, one replace-all per step, and copies the result with CR LF
 * line ends; the nine switches live in hidden fields, the text before the last conversion in
 * the hidden static text bk1.
 */
#include "app/app_classes.h"
#include "app/app_windows.h"
#include "app/class_layout.h"
#include "app/conversion.h"
#include "app/conversion_steps.h"
#include "app/property_tables.h"

static ClassRecord* g_window_class;
/* The controls' classes: each control has a class of its own named after it. */
static ClassRecord* g_paste_button;
static ClassRecord* g_convert_button;
static ClassRecord* g_quit_button;
static ClassRecord* g_text_field;
static ClassRecord* g_backup_text;
static ClassRecord* g_separator;
static ClassRecord* g_switch_fields[10]; /* 1 to 9 */

RuntimeString* switch_field_name(int32_t k)
{
    switch (k) {
    case 1: return QV_STR("EditField1");
    case 2: return QV_STR("EditField2");
    case 3: return QV_STR("EditField3");
    case 4: return QV_STR("EditField4");
    case 5: return QV_STR("EditField5");
    case 6: return QV_STR("EditField6");
    case 7: return QV_STR("EditField7");
    case 8: return QV_STR("EditField8");
    default: return QV_STR("EditField9");
    }
}

/* Left edges of the hidden switch fields 1 to 9. */
static int32_t switch_field_left(int32_t k)
{
    switch (k) {
    case 1: return 15;
    case 2: return 29;
    case 3: return 42;
    case 4: return 56;
    case 5: return 69;
    case 6: return 83;
    case 7: return 96;
    case 8: return 110;
    default: return 123;
    }
}

static void layout(RuntimeObject* window)
{
    MassTable table;
    window_table_begin(&table, QV_STR("Hollerpad"));
    mass_bool(&table, WINDOW_GROW_ICON, 1);
    mass_bool(&table, WINDOW_LIVE_RESIZE, 1);
    mass_bool(&table, WINDOW_ZOOM_ICON, 1);
    window_table_size(&table, 450, 220, 250, 80);
    mass_apply(&table, window);
}

static void add_button(RuntimeObject* window, ClassRecord* c, int32_t left, int32_t width, int32_t locks,
                       RuntimeString* caption, int32_t is_default)
{
    MassTable table;
    control_table_begin(&table, c->name, 1, left, 6, width, 25, locks);
    mass_string(&table, BUTTON_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, BUTTON_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_string(&table, BUTTON_CAPTION, caption);
    if (is_default)
        mass_bool(&table, BUTTON_DEFAULT, 1);
    control_table_end(&table);
    app_add_control(window, c, &table);
}

static void add_switch_field(RuntimeObject* window, int32_t k)
{
    MassTable table;
    RuntimeString* name = switch_field_name(k);
    control_table_begin(&table, name, 0, switch_field_left(k), 40, 15, 22, LOCK_LEFT | LOCK_TOP);
    mass_string(&table, EDIT_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, EDIT_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_bool(&table, EDIT_BORDER, 1);
    mass_bool(&table, EDIT_USE_FOCUS_RING, 1);
    mass_color(&table, EDIT_BACK_COLOR, WHITE);
    mass_string(&table, CONTROL_INITIAL_PARENT, MAIN_TEXT_FIELD);
    control_table_end(&table);
    app_add_control(window, g_switch_fields[k], &table);
}

static void create_controls(RuntimeObject* window)
{
    MassTable table;
    control_table_begin(&table, MAIN_TEXT_FIELD, 1, 5, 35, 440, 180, LOCK_LEFT | LOCK_TOP | LOCK_RIGHT | LOCK_BOTTOM);
    mass_string(&table, EDIT_TEXT_FONT, QV_STR("ＭＳ Ｐゴシック"));
    mass_int(&table, EDIT_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_bool(&table, EDIT_BORDER, 1);
    mass_bool(&table, EDIT_MULTILINE, 1);
    mass_bool(&table, EDIT_SCROLLBAR, 1);
    mass_bool(&table, EDIT_SCROLLBAR_VERTICAL, 1);
    mass_bool(&table, EDIT_USE_FOCUS_RING, 1);
    mass_color(&table, EDIT_BACK_COLOR, WHITE);
    control_table_end(&table);
    app_add_control(window, g_text_field, &table);

    add_button(window, g_convert_button, 81, 90, LOCK_LEFT | LOCK_TOP, QV_STR("変換してコピー"), 1);
    add_button(window, g_quit_button, 377, 70, LOCK_TOP | LOCK_RIGHT, QV_STR("終了"), 0);
    add_button(window, g_paste_button, 5, 70, LOCK_LEFT | LOCK_TOP, QV_STR("貼り付け"), 0);

    /* The separator line comes from the plug-in library; the window does without it when the
     * library could not be loaded. */
    if (g_separator) {
        control_table_begin(&table, QV_STR("Separator1"), 1, -1, -1, 512, 4, LOCK_LEFT | LOCK_TOP | LOCK_RIGHT);
        control_table_end(&table);
        app_add_control(window, g_separator, &table);
    }

    for (int32_t k = 1; k <= 6; ++k)
        add_switch_field(window, k);

    control_table_begin(&table, MAIN_BACKUP_TEXT, 0, 143, 43, 20, 20, LOCK_LEFT | LOCK_TOP);
    mass_string(&table, STATIC_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, STATIC_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_bool(&table, STATIC_MULTILINE, 1);
    mass_string(&table, CONTROL_INITIAL_PARENT, MAIN_TEXT_FIELD);
    mass_string(&table, STATIC_TEXT, 0);
    control_table_end(&table);
    app_add_control(window, g_backup_text, &table);

    for (int32_t k = 7; k <= 9; ++k)
        add_switch_field(window, k);
}

/* The switches start as 1 to 8 on, 9 (the name line) off. */
static void open_window(RuntimeObject* window)
{
    for (int32_t k = 1; k <= 9; ++k) {
        RuntimeObject* field = app_control(window, switch_field_name(k));
        if (!field)
            return;
        app_set_field_text(field, k <= 8 ? QV_STR("1") : QV_STR("0"));
        RuntimeUnlockObject(field);
    }
}

/* A new Clipboard object of the window, or nil. */
static RuntimeObject* new_clipboard(RuntimeObject* window)
{
    ClassRecord* c = RuntimeLookupClass(QV_STR("Clipboard"));
    return c ? WindowAllocateObject(window, c) : 0;
}

/* "貼り付け": the clipboard's text replaces the field's. */
static int32_t paste_action(RuntimeObject* button)
{
    (void)button;
    RuntimeObject* window = main_window();
    RuntimeObject* field = app_control(window, MAIN_TEXT_FIELD);
    RuntimeObject* clipboard = field ? new_clipboard(window) : 0;
    if (clipboard) {
        RuntimeString* text = clipboardTextGetter(clipboard);
        app_set_field_text(field, text);
        RuntimeUnlockString(text);
        clipboardClose(clipboard);
        RuntimeUnlockObject(clipboard);
    }
    RuntimeUnlockObject(field);
    RuntimeUnlockObject(window);
    return 0;
}

/* Switch k is on when its field's text equals "1". */
static uint32_t read_switches(RuntimeObject* window)
{
    uint32_t switches = 0;
    for (int32_t k = 1; k <= 9; ++k) {
        RuntimeObject* field = app_control(window, switch_field_name(k));
        if (!field)
            return switches;
        RuntimeString* text = app_field_text(field);
        if (RuntimeStringCompare(text, QV_STR("1")) == 0)
            switches |= HOLLERPAD_SWITCH(k);
        RuntimeUnlockString(text);
        RuntimeUnlockObject(field);
    }
    return switches;
}

/* One step: the field's text, one replace-all, the result written back. */
static void replace_in_field(RuntimeObject* field, RuntimeString* find, RuntimeString* replacement)
{
    RuntimeString* text = app_field_text(field);
    RuntimeString* result = StringReplaceAllB(text, find, replacement);
    app_set_field_text(field, result);
    RuntimeUnlockString(result);
    RuntimeUnlockString(text);
}

static void prepend_in_field(RuntimeObject* field, RuntimeString* head)
{
    RuntimeString* text = app_field_text(field);
    RuntimeString* result = RuntimeAddString(head, text);
    app_set_field_text(field, result);
    RuntimeUnlockString(result);
    RuntimeUnlockString(text);
}

static int step_enabled(uint32_t switches, int32_t k) { return k == 0 || (switches & HOLLERPAD_SWITCH(k)) != 0; }

static void convert_field(RuntimeObject* field, uint32_t switches)
{
#define HOLLERPAD_FIELD_STEP(n, sw, find, repl) \
    if (step_enabled(switches, (sw)))           \
        replace_in_field(field, QV_STR(find), QV_STR(repl));
#define HOLLERPAD_FIELD_PREPEND(n, sw, head) \
    if (step_enabled(switches, (sw)))        \
        prepend_in_field(field, QV_STR(head));
    HOLLERPAD_CONVERSION_STEPS(HOLLERPAD_FIELD_STEP, HOLLERPAD_FIELD_PREPEND)
#undef HOLLERPAD_FIELD_STEP
#undef HOLLERPAD_FIELD_PREPEND
}

/* "変換してコピー": keep the text in bk1, convert the field, copy it with CR LF line ends. */
static int32_t convert_action(RuntimeObject* button)
{
    (void)button;
    RuntimeObject* window = main_window();
    RuntimeObject* field = app_control(window, MAIN_TEXT_FIELD);
    RuntimeObject* backup = field ? app_control(window, MAIN_BACKUP_TEXT) : 0;
    if (backup) {
        RuntimeString* before = app_field_text(field);
        app_set_static_caption(backup, before);
        RuntimeUnlockString(before);
        convert_field(field, read_switches(window));
        RuntimeObject* clipboard = new_clipboard(window);
        if (clipboard) {
            RuntimeString* text = app_field_text(field);
            RuntimeString* copied = ClipboardForm(text);
            app_clipboard_put(clipboard, copied);
            RuntimeUnlockString(copied);
            RuntimeUnlockString(text);
        }
    }
    RuntimeUnlockObject(backup);
    RuntimeUnlockObject(field);
    RuntimeUnlockObject(window);
    return 0;
}

/* "終了": empty the clipboard, then quit. */
static int32_t quit_action(RuntimeObject* button)
{
    (void)button;
    RuntimeObject* window = main_window();
    app_clipboard_put(new_clipboard(window), 0);
    RuntimeUnlockObject(window);
    RuntimeObject* app = getAppObject();
    ApplicationQuit(app);
    RuntimeUnlockObject(app);
    return 0;
}

static void make_classes(void)
{
    g_window_class = app_window_class(QV_STR("Window1"), (void*)layout, (void*)create_controls, (void*)open_window);
    g_paste_button = app_button_class(QV_STR("PushButton1"), (void*)paste_action);
    g_convert_button = app_button_class(QV_STR("PushButton2"), (void*)convert_action);
    g_quit_button = app_button_class(QV_STR("PushButton3"), (void*)quit_action);
    g_text_field = app_subclass(QV_STR("EditField"), MAIN_TEXT_FIELD, 0);
    g_backup_text = app_subclass(QV_STR("StaticText"), MAIN_BACKUP_TEXT, 0);
    g_separator = app_plugin_subclass(QV_STR("Separator"), QV_STR("Separator1"));
    for (int32_t k = 1; k <= 9; ++k)
        g_switch_fields[k] = app_subclass(QV_STR("EditField"), switch_field_name(k), 0);
}

RuntimeObject* main_window(void)
{
    if (!g_window_class)
        make_classes();
    return app_implicit_window(g_window_class);
}
