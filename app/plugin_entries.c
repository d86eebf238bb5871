/* plugin_entries.c: the plug-in entry-point table and the calls through it. */
#include "app/plugin_entries.h"

static void** g_entries;

static RuntimeString* entry_name(int32_t entry)
{
    switch (entry) {
    case BEVEL_ADD_ACTION_RECEIVER:
        return QV_STR("BevelButton.addActionNotificationReceiver(receiver As actionNotificationReceiver)");
    case BEVEL_REMOVE_ACTION_RECEIVER:
        return QV_STR("BevelButton.removeActionNotificationReceiver(receiver As actionNotificationReceiver)");
    case BEVEL_CAPTION_SET: return QV_STR("BevelButton.Caption.Set");
    case BEVEL_CAPTION_ALIGN_SET: return QV_STR("BevelButton.CaptionAlign.Set");
    case BEVEL_CAPTION_PLACEMENT_SET: return QV_STR("BevelButton.CaptionPlacement.Set");
    case BEVEL_CAPTION_DELTA_SET: return QV_STR("BevelButton.CaptionDelta.Set");
    case BEVEL_ICON_SET: return QV_STR("BevelButton.Icon.Set");
    case BEVEL_ICON_ALIGN_SET: return QV_STR("BevelButton.IconAlign.Set");
    case BEVEL_ICON_DX_SET: return QV_STR("BevelButton.IconDX.Set");
    case BEVEL_ICON_DY_SET: return QV_STR("BevelButton.IconDY.Set");
    case BEVEL_VALUE_SET: return QV_STR("BevelButton.Value.Set");
    case BEVEL_MENU_VALUE_SET: return QV_STR("BevelButton.MenuValue.Set");
    default: return QV_STR("BevelButton.TextFont.Set");
    }
}

void fill_plugin_entries(void)
{
    g_entries = RuntimeAllocatePluginEntrypointsTable(PLUGIN_ENTRY_COUNT);
    if (!g_entries)
        return;
    for (int32_t i = 0; i < PLUGIN_ENTRY_COUNT; ++i)
        g_entries[i] = RuntimeLookupPluginEntrypoint(entry_name(i));
}

static void* entry_routine(enum PluginEntry entry) { return g_entries ? g_entries[entry] : 0; }

void plugin_set_int(enum PluginEntry entry, RuntimeObject* object, int32_t param, int32_t value)
{
    void (*setter)(RuntimeObject*, int32_t, int32_t) = (void (*)(RuntimeObject*, int32_t, int32_t))entry_routine(entry);
    if (setter)
        setter(object, param, value);
}

void plugin_set_string(enum PluginEntry entry, RuntimeObject* object, int32_t param, RuntimeString* value)
{
    void (*setter)(RuntimeObject*, int32_t, RuntimeString*) =
        (void (*)(RuntimeObject*, int32_t, RuntimeString*))entry_routine(entry);
    if (setter)
        setter(object, param, value);
}

void plugin_set_object(enum PluginEntry entry, RuntimeObject* object, int32_t param, RuntimeObject* value)
{
    void (*setter)(RuntimeObject*, int32_t, RuntimeObject*) =
        (void (*)(RuntimeObject*, int32_t, RuntimeObject*))entry_routine(entry);
    if (setter)
        setter(object, param, value);
}
