/*
 * settings_window.c: Window3, the nine switches as check boxes. Opening it copies the main
 * window's switch fields into its own hidden fields and sets the boxes from them; a click
 * writes "1" or "0" into the hidden field, whose TextChange copies it straight back into the
 * main window, so the next conversion uses it and closing the window loses nothing.
 */
#include "app/app_classes.h"
#include "app/app_windows.h"
#include "app/class_layout.h"
#include "app/property_tables.h"

static ClassRecord* g_window_class;
static ClassRecord* g_ok_button;
static ClassRecord* g_group_box;
static ClassRecord* g_check_boxes[10]; /* 1 to 9 */
static ClassRecord* g_switch_fields[10];

static RuntimeString* check_box_name(int32_t k)
{
    switch (k) {
    case 1: return QV_STR("CB1_xtu");
    case 2: return QV_STR("CB2daro");
    case 3: return QV_STR("CB3xtu");
    case 4: return QV_STR("CB4aa");
    case 5: return QV_STR("CB5wa");
    case 6: return QV_STR("CB6nano");
    case 7: return QV_STR("CB7bin");
    case 8: return QV_STR("CB8anta");
    default: return QV_STR("CB9name");
    }
}

/* Each caption names the rewrite its switch enables. */
static RuntimeString* check_box_caption(int32_t k)
{
    switch (k) {
    case 1: return QV_STR("「っ。」→「──ッ」");
    case 2: return QV_STR("「だろう。」→「だろうが──ッ !!」");
    case 3: return QV_STR("「。」→「ッ」");
    case 4: return QV_STR("「ああーー」→「ああ──ッ !!」");
    case 5: return QV_STR("「わーー」→「わ～～～ッ !!」");
    case 6: return QV_STR("「なの？」→「なの──ッ !?」");
    case 7: return QV_STR("「びいーん」→「ビィ～～～～～ン !!」");
    case 8: return QV_STR("「あなた」→「あンた」");
    default: return QV_STR("１行目に「名無しンぼ＠お腹いっぱいッ」");
    }
}

static int32_t check_box_top(int32_t k)
{
    switch (k) {
    case 1: return 32;
    case 2: return 55;
    case 3: return 79;
    case 4: return 102;
    case 5: return 126;
    case 6: return 150;
    case 7: return 173;
    case 8: return 197;
    default: return 221;
    }
}

static int32_t switch_field_top(int32_t k)
{
    switch (k) {
    case 1: return 37;
    case 2: return 50;
    case 3: return 64;
    case 4: return 78;
    case 5: return 92;
    case 6: return 105;
    case 7: return 119;
    case 8: return 133;
    default: return 147;
    }
}

/* Which switch a check box or hidden field of this window belongs to (0: none). */
static int32_t switch_of(RuntimeObject* control, ClassRecord** classes)
{
    for (int32_t k = 1; k <= 9; ++k)
        if (control && control->classRecord == classes[k])
            return k;
    return 0;
}

static void layout(RuntimeObject* window)
{
    MassTable table;
    window_table_begin(&table, QV_STR("Hollerpad　変換設定"));
    window_table_size(&table, 340, 260, 64, 64);
    mass_apply(&table, window);
}

static void create_controls(RuntimeObject* window)
{
    MassTable table;
    control_table_begin(&table, QV_STR("PushButton1"), 1, 255, 210, 70, 30, 0);
    mass_string(&table, BUTTON_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, BUTTON_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_string(&table, BUTTON_CAPTION, QV_STR("Ｏ　Ｋ"));
    mass_bool(&table, BUTTON_DEFAULT, 1);
    control_table_end(&table);
    app_add_control(window, g_ok_button, &table);

    for (int32_t k = 1; k <= 9; ++k) {
        control_table_begin(&table, check_box_name(k), 1, 20, check_box_top(k), 230, 20, 0);
        mass_string(&table, CHECKBOX_TEXT_FONT, CONTROL_FONT);
        mass_int(&table, CHECKBOX_TEXT_SIZE, CONTROL_FONT_SIZE);
        mass_string(&table, CHECKBOX_CAPTION, check_box_caption(k));
        if (k <= 8)
            mass_bool(&table, CHECKBOX_VALUE, 1);
        control_table_end(&table);
        app_add_control(window, g_check_boxes[k], &table);
    }

    control_table_begin(&table, QV_STR("GroupBox1"), 1, 5, 10, 330, 240, 0);
    mass_string(&table, GROUP_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, GROUP_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_string(&table, GROUP_CAPTION, QV_STR("変換設定"));
    control_table_end(&table);
    app_add_control(window, g_group_box, &table);

    for (int32_t k = 1; k <= 9; ++k) {
        control_table_begin(&table, switch_field_name(k), 0, 285, switch_field_top(k), 15, 15, 0);
        mass_string(&table, EDIT_TEXT_FONT, CONTROL_FONT);
        mass_int(&table, EDIT_TEXT_SIZE, CONTROL_FONT_SIZE);
        mass_bool(&table, EDIT_READ_ONLY, 1);
        mass_bool(&table, EDIT_BORDER, 1);
        mass_bool(&table, EDIT_SCROLLBAR, 1);
        mass_bool(&table, EDIT_SCROLLBAR_VERTICAL, 1);
        mass_bool(&table, EDIT_USE_FOCUS_RING, 1);
        mass_color(&table, EDIT_BACK_COLOR, WHITE);
        mass_string(&table, CONTROL_INITIAL_PARENT, QV_STR("GroupBox1"));
        control_table_end(&table);
        app_add_control(window, g_switch_fields[k], &table);
    }
}

/* The text of field k of window (a new count), or nil with NilObjectException raised. */
static RuntimeString* switch_text(RuntimeObject* window, int32_t k, int32_t* ok)
{
    RuntimeObject* field = app_control(window, switch_field_name(k));
    *ok = field != 0;
    RuntimeString* text = field ? app_field_text(field) : 0;
    RuntimeUnlockObject(field);
    return text;
}

static void set_switch_text(RuntimeObject* window, int32_t k, RuntimeString* text, int32_t* ok)
{
    RuntimeObject* field = app_control(window, switch_field_name(k));
    *ok = field != 0;
    if (field)
        app_set_field_text(field, text);
    RuntimeUnlockObject(field);
}

/* Copy the main window's switches, then show them in the check boxes. */
static void open_window(RuntimeObject* window)
{
    int32_t ok = 1;
    RuntimeObject* main_win = main_window();
    for (int32_t k = 1; ok && k <= 9; ++k) {
        RuntimeString* text = switch_text(main_win, k, &ok);
        if (ok)
            set_switch_text(window, k, text, &ok);
        RuntimeUnlockString(text);
    }
    RuntimeUnlockObject(main_win);
    for (int32_t k = 1; ok && k <= 9; ++k) {
        RuntimeString* text = switch_text(window, k, &ok);
        RuntimeObject* box = ok ? app_control(window, check_box_name(k)) : 0;
        if (box)
            checkBoxValueSetter(box, 0, RuntimeStringCompare(text, QV_STR("1")) == 0);
        ok = box != 0;
        RuntimeUnlockObject(box);
        RuntimeUnlockString(text);
    }
}

/* A click on check box k: its hidden field takes "1" or "0". */
static int32_t check_box_action(RuntimeObject* box)
{
    const int32_t k = switch_of(box, g_check_boxes);
    if (!k)
        return 0;
    int32_t ok = 1;
    RuntimeObject* window = settings_window();
    set_switch_text(window, k, checkBoxValueGetter(box, 0) ? QV_STR("1") : QV_STR("0"), &ok);
    RuntimeUnlockObject(window);
    return 0;
}

/* A hidden field changed: the main window's switch follows at once. */
static void switch_field_changed(RuntimeObject* field)
{
    const int32_t k = switch_of(field, g_switch_fields);
    if (!k)
        return;
    int32_t ok = 1;
    RuntimeString* text = app_field_text(field);
    RuntimeObject* main_win = main_window();
    set_switch_text(main_win, k, text, &ok);
    RuntimeUnlockObject(main_win);
    RuntimeUnlockString(text);
}

static int32_t ok_action(RuntimeObject* button)
{
    (void)button;
    app_close_window(settings_window());
    return 0;
}

static void make_classes(void)
{
    g_window_class = app_window_class(QV_STR("Window3"), (void*)layout, (void*)create_controls, (void*)open_window);
    g_ok_button = app_button_class(QV_STR("PushButton1"), (void*)ok_action);
    g_group_box = app_subclass(QV_STR("GroupBox"), QV_STR("GroupBox1"), 0);
    for (int32_t k = 1; k <= 9; ++k) {
        g_check_boxes[k] = app_subclass(QV_STR("CheckBox"), check_box_name(k), 0);
        app_set_event(g_check_boxes[k], BUTTON_EVENT_ACTION, (void*)check_box_action);
        g_switch_fields[k] = app_subclass(QV_STR("EditField"), switch_field_name(k), 0);
        app_set_event(g_switch_fields[k], EDIT_EVENT_TEXT_CHANGE, (void*)switch_field_changed);
    }
}

RuntimeObject* settings_window(void)
{
    if (!g_window_class)
        make_classes();
    return app_implicit_window(g_window_class);
}
