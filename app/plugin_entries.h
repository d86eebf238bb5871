/*
 * plugin_entries.h: the table through which the application reaches the members of the
 * plug-in class BevelButton, filled by name at start-up in this order.
 */
#ifndef HOLLERPAD_APP_PLUGIN_ENTRIES_H
#define HOLLERPAD_APP_PLUGIN_ENTRIES_H

#include "sdk/quaver.h"

enum PluginEntry {
    BEVEL_ADD_ACTION_RECEIVER,
    BEVEL_REMOVE_ACTION_RECEIVER,
    BEVEL_CAPTION_SET,
    BEVEL_CAPTION_ALIGN_SET,
    BEVEL_CAPTION_PLACEMENT_SET,
    BEVEL_CAPTION_DELTA_SET,
    BEVEL_ICON_SET,
    BEVEL_ICON_ALIGN_SET,
    BEVEL_ICON_DX_SET,
    BEVEL_ICON_DY_SET,
    BEVEL_VALUE_SET,
    BEVEL_MENU_VALUE_SET,
    BEVEL_TEXT_FONT_SET,
    PLUGIN_ENTRY_COUNT
};

/* Allocates the table and looks every entry up. */
void fill_plugin_entries(void);

/* Calls through the table: (object, parameter, value); an entry that was not found does
 * nothing. */
void plugin_set_int(enum PluginEntry entry, RuntimeObject* object, int32_t param, int32_t value);
void plugin_set_string(enum PluginEntry entry, RuntimeObject* object, int32_t param, RuntimeString* value);
void plugin_set_object(enum PluginEntry entry, RuntimeObject* object, int32_t param, RuntimeObject* value);

#endif /* HOLLERPAD_APP_PLUGIN_ENTRIES_H */
