/*
 * property_tables.h: the parts the windows' and controls' property tables share. A control's
 * table writes Name, Visible, the bounds and AutoDeactivate first, the Lock flags next, then
 * the text font and size and the control's own properties, Enabled last.
 */
#ifndef HOLLERPAD_APP_PROPERTY_TABLES_H
#define HOLLERPAD_APP_PROPERTY_TABLES_H

#include "app/mass_table.h"

/* Locks, as bits. */
#define LOCK_LEFT 1
#define LOCK_TOP 2
#define LOCK_RIGHT 4
#define LOCK_BOTTOM 8

void control_table_begin(MassTable* table, RuntimeString* name, int32_t visible, int32_t left, int32_t top,
                         int32_t width, int32_t height, int32_t locks);
/* Enabled True: the last entry of every control's table. */
void control_table_end(MassTable* table);

/* A window's table: BackColor white, the title, Visible, MenuBarVisible and CloseBox True. */
void window_table_begin(MassTable* table, RuntimeString* title);
/* Its size, minimum size and the maximum of 32000 by 32000. */
void window_table_size(MassTable* table, int32_t width, int32_t height, int32_t min_width, int32_t min_height);

/* The white background every window and text field of the application has. */
#define WHITE 0xFFFFFFu
/* The font the application's controls name (the runtime maps it to a Japanese face). */
#define CONTROL_FONT QV_STR("Osaka")
#define CONTROL_FONT_SIZE 12

#endif /* HOLLERPAD_APP_PROPERTY_TABLES_H */
