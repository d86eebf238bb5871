/* property_tables.c: the shared parts of the windows' and controls' property tables. */
#include "app/property_tables.h"

#include "app/class_layout.h"

void control_table_begin(MassTable* table, RuntimeString* name, int32_t visible, int32_t left, int32_t top,
                         int32_t width, int32_t height, int32_t locks)
{
    mass_begin(table);
    mass_string(table, CONTROL_NAME, name);
    mass_bool(table, CONTROL_VISIBLE, visible);
    mass_int(table, CONTROL_LEFT, left);
    mass_int(table, CONTROL_TOP, top);
    mass_int(table, CONTROL_WIDTH, width);
    mass_int(table, CONTROL_HEIGHT, height);
    mass_bool(table, CONTROL_AUTO_DEACTIVATE, 1);
    mass_bool(table, CONTROL_LOCK_LEFT, (locks & LOCK_LEFT) != 0);
    mass_bool(table, CONTROL_LOCK_TOP, (locks & LOCK_TOP) != 0);
    mass_bool(table, CONTROL_LOCK_RIGHT, (locks & LOCK_RIGHT) != 0);
    mass_bool(table, CONTROL_LOCK_BOTTOM, (locks & LOCK_BOTTOM) != 0);
}

void control_table_end(MassTable* table) { mass_bool(table, CONTROL_ENABLED, 1); }

void window_table_begin(MassTable* table, RuntimeString* title)
{
    mass_begin(table);
    mass_color(table, WINDOW_BACK_COLOR, WHITE);
    mass_string(table, WINDOW_TITLE, title);
    mass_bool(table, WINDOW_VISIBLE, 1);
    mass_bool(table, WINDOW_MENUBAR_VISIBLE, 1);
    mass_bool(table, WINDOW_CLOSE_BOX, 1);
}

void window_table_size(MassTable* table, int32_t width, int32_t height, int32_t min_width, int32_t min_height)
{
    mass_int(table, WINDOW_WIDTH, width);
    mass_int(table, WINDOW_HEIGHT, height);
    mass_int(table, WINDOW_MIN_WIDTH, min_width);
    mass_int(table, WINDOW_MIN_HEIGHT, min_height);
    mass_int(table, WINDOW_MAX_WIDTH, 32000);
    mass_int(table, WINDOW_MAX_HEIGHT, 32000);
}
