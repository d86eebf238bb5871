/*
 * about_window.c: Window2, the name and version beside a picture button from the image's
 * resources. Clicking the button shows a joke in place of the about text; moving the mouse off
 * it brings the about text back from a hidden copy.
 */
#include "app/app_classes.h"
#include "app/app_windows.h"
#include "app/class_layout.h"
#include "app/plugin_entries.h"
#include "app/property_tables.h"

/* The author line ends the about text after fourteen ideographic spaces. */
#define ABOUT_TEXT                                                                                                                                              \
    QV_STR("Hollerpad　ver. "                                                                                                                                  \
           "0."                                                                                                                                                 \
           "1a\r\n\r\n　登録した語句を変換するExcelマクロ\r\n　バージョンもあります。\r　　　　　　　　　　　　　　Ho" \
           "llerpad project")
#define ABOUT_SHORT_TEXT QV_STR("Hollerpad　ver. 0.1\r\n\r\n　by Hollerpad project")

static ClassRecord* g_window_class;
static ClassRecord* g_ok_button;
static ClassRecord* g_short_text;
static ClassRecord* g_about_text;
static ClassRecord* g_about_copy;
static ClassRecord* g_picture_button;
/* The button's picture, loaded on first use and kept for later windows. */
static RuntimeObject* g_picture;

static void layout(RuntimeObject* window)
{
    MassTable table;
    window_table_begin(&table, QV_STR("Hollerpad　について"));
    window_table_size(&table, 301, 116, 64, 64);
    mass_apply(&table, window);
}

static void add_static_text(RuntimeObject* window, ClassRecord* c, int32_t visible, int32_t left, int32_t top,
                            int32_t width, int32_t height)
{
    MassTable table;
    control_table_begin(&table, c->name, visible, left, top, width, height, 0);
    mass_string(&table, STATIC_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, STATIC_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_bool(&table, STATIC_MULTILINE, 1);
    mass_string(&table, STATIC_TEXT, ABOUT_TEXT);
    control_table_end(&table);
    app_add_control(window, c, &table);
}

static RuntimeObject* about_picture(void)
{
    if (!g_picture)
        g_picture = RuntimeGetBitmapFromResourceManager(0);
    return g_picture;
}

/* The plug-in's setters first, then the shared properties through a table. */
static void add_picture_button(RuntimeObject* window)
{
    RuntimeObject* button = WindowAllocateObject(window, g_picture_button);
    if (!button) {
        RuntimeNilObject();
        return;
    }
    RectControlDefaultConstructor(button);
    plugin_set_string(BEVEL_CAPTION_SET, button, BEVEL_CAPTION, 0);
    plugin_set_int(BEVEL_CAPTION_ALIGN_SET, button, BEVEL_CAPTION_ALIGN, 3);
    plugin_set_int(BEVEL_CAPTION_PLACEMENT_SET, button, BEVEL_CAPTION_PLACEMENT, 1);
    plugin_set_int(BEVEL_CAPTION_DELTA_SET, button, BEVEL_CAPTION_DELTA, 0);
    plugin_set_object(BEVEL_ICON_SET, button, BEVEL_ICON, about_picture());
    plugin_set_int(BEVEL_ICON_ALIGN_SET, button, BEVEL_ICON_ALIGN, 0);
    plugin_set_int(BEVEL_ICON_DX_SET, button, BEVEL_ICON_DX, 0);
    plugin_set_int(BEVEL_ICON_DY_SET, button, BEVEL_ICON_DY, 0);
    intSetter(button, BEVEL_BEVEL, 0);
    intSetter(button, BEVEL_HAS_MENU, 0);
    plugin_set_int(BEVEL_VALUE_SET, button, BEVEL_VALUE, 0);
    plugin_set_int(BEVEL_MENU_VALUE_SET, button, BEVEL_MENU_VALUE, 0);
    intSetter(button, BEVEL_BUTTON_TYPE, 0);
    plugin_set_string(BEVEL_TEXT_FONT_SET, button, BEVEL_TEXT_FONT, CONTROL_FONT);
    intSetter(button, BEVEL_TEXT_SIZE, CONTROL_FONT_SIZE);
    boolSetter(button, BEVEL_BOLD, 0);
    boolSetter(button, BEVEL_ITALIC, 0);
    boolSetter(button, BEVEL_UNDERLINE, 0);
    MassTable table;
    mass_begin(&table);
    mass_string(&table, CONTROL_NAME, QV_STR("BevelButton1"));
    mass_bool(&table, CONTROL_VISIBLE, 1);
    mass_int(&table, CONTROL_LEFT, 5);
    mass_int(&table, CONTROL_TOP, 14);
    mass_int(&table, CONTROL_WIDTH, 52);
    mass_int(&table, CONTROL_HEIGHT, 52);
    mass_bool(&table, CONTROL_AUTO_DEACTIVATE, 1);
    mass_bool(&table, CONTROL_ENABLED, 1);
    mass_apply(&table, button);
    WindowAddControl(window, button);
    RuntimeUnlockObject(button);
}

static void create_controls(RuntimeObject* window)
{
    MassTable table;
    control_table_begin(&table, QV_STR("PushButton1"), 1, 108, 84, 75, 27, 0);
    mass_string(&table, BUTTON_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, BUTTON_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_string(&table, BUTTON_CAPTION, QV_STR("Ｏ　Ｋ"));
    mass_bool(&table, BUTTON_DEFAULT, 1);
    control_table_end(&table);
    app_add_control(window, g_ok_button, &table);

    /* Stored with a height of -13030: the field has no visible area. */
    control_table_begin(&table, QV_STR("EditField1"), 1, 62, 9, 228, -13030,
                        LOCK_LEFT | LOCK_TOP | LOCK_RIGHT | LOCK_BOTTOM);
    mass_string(&table, EDIT_TEXT_FONT, CONTROL_FONT);
    mass_int(&table, EDIT_TEXT_SIZE, CONTROL_FONT_SIZE);
    mass_bool(&table, EDIT_MULTILINE, 1);
    mass_bool(&table, EDIT_READ_ONLY, 1);
    mass_bool(&table, EDIT_USE_FOCUS_RING, 1);
    mass_color(&table, EDIT_BACK_COLOR, WHITE);
    mass_string(&table, EDIT_TEXT, ABOUT_SHORT_TEXT);
    control_table_end(&table);
    app_add_control(window, g_short_text, &table);

    add_static_text(window, g_about_text, 1, 69, 12, 221, 65);
    if (g_picture_button)
        add_picture_button(window);
    add_static_text(window, g_about_copy, 0, 35, 84, 22, 23);
}

static void set_about_caption(RuntimeString* text)
{
    RuntimeObject* window = about_window();
    RuntimeObject* label = app_control(window, QV_STR("StaticText1"));
    if (label)
        app_set_static_caption(label, text);
    RuntimeUnlockObject(label);
    RuntimeUnlockObject(window);
}

/* The joke, pieced together around carriage returns. */
static int32_t picture_action(RuntimeObject* button)
{
    (void)button;
    RuntimeString* cr = StringDBCSChr(13);
    RuntimeString* text = app_join(QV_STR("わ～～～～ッ !!"), cr);
    text = app_append(text, QV_STR("どうして──ッ !!"));
    text = app_append(text, cr);
    text = app_append(text, QV_STR("エレクチオンしないの──ッ !!"));
    text = app_append(text, cr);
    text = app_append(text, cr);
    text = app_append(text, QV_STR("　　　　　　　　　　　　　　　　　　知らンがなッ"));
    set_about_caption(text);
    RuntimeUnlockString(text);
    RuntimeUnlockString(cr);
    return 0;
}

/* The mouse left the button: the about text again, from its hidden copy. */
static void picture_mouse_exit(RuntimeObject* button)
{
    (void)button;
    RuntimeObject* window = about_window();
    RuntimeObject* copy = app_control(window, QV_STR("StaticText2"));
    RuntimeString* text = copy ? app_static_caption(copy) : 0;
    RuntimeUnlockObject(copy);
    RuntimeUnlockObject(window);
    if (copy)
        set_about_caption(text);
    RuntimeUnlockString(text);
}

static int32_t ok_action(RuntimeObject* button)
{
    (void)button;
    app_close_window(about_window());
    return 0;
}

static void make_classes(void)
{
    g_window_class = app_window_class(QV_STR("Window2"), (void*)layout, (void*)create_controls, 0);
    g_ok_button = app_button_class(QV_STR("PushButton1"), (void*)ok_action);
    g_short_text = app_subclass(QV_STR("EditField"), QV_STR("EditField1"), 0);
    g_about_text = app_subclass(QV_STR("StaticText"), QV_STR("StaticText1"), 0);
    g_about_copy = app_subclass(QV_STR("StaticText"), QV_STR("StaticText2"), 0);
    /* Without the plug-in library the window shows no picture button. */
    g_picture_button = app_plugin_subclass(QV_STR("BevelButton"), QV_STR("BevelButton1"));
    app_set_event(g_picture_button, BEVEL_EVENT_ACTION, (void*)picture_action);
    app_set_event(g_picture_button, CONTROL_EVENT_MOUSE_EXIT, (void*)picture_mouse_exit);
}

RuntimeObject* about_window(void)
{
    if (!g_window_class)
        make_classes();
    return app_implicit_window(g_window_class);
}

void release_about_picture(void)
{
    RuntimeUnlockObject(g_picture);
    g_picture = 0;
}
