// The menu classes' definitions, the runtime-supplied Action handlers of the special items,
// and the list of the menus' exported routines.
#include "framework/menus/menu_classes.h"

#include "core/once.h"
#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/menus/menu_item_imp.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"

namespace qv {
namespace {

constexpr TypeDescriptor kMenuItemType = object_type("MenuItem");
constexpr TypeDescriptor kVariantType = object_type("Variant");

const ParameterRecord kIndex[] = {{"index", &kIntegerType, 0}};
const ParameterRecord kName[] = {{"name", &kStringType, 0}};
const ParameterRecord kItem[] = {{"item", &kMenuItemType, 0}};
const ParameterRecord kIndexItem[] = {{"index", &kIntegerType, 0}, {"item", &kMenuItemType, 0}};
const ParameterRecord kNameIndex[] = {{"name", &kStringType, 0}, {"index", &kIntegerType, 0}};

const PropertyRecord kMenuItemProperties[] = {
    {kPropertySetterWithoutParameter, "Name", &kStringType, QV_ROUTINE(RuntimeMenuItemNameGetter),
     QV_ROUTINE(RuntimeMenuItemNameSetter), 0, 0},
    {kPropertySetterWithoutParameter, "Index", &kIntegerType, QV_ROUTINE(RuntimeMenuItemIndexGetter),
     QV_ROUTINE(RuntimeMenuItemIndexSetter), 0, 0},
    {kPropertySetterWithoutParameter, "Tag", &kVariantType, QV_ROUTINE(RuntimeMenuItemTagGetter),
     QV_ROUTINE(RuntimeMenuItemTagSetter), 0, 0},
    {kPropertySetterWithoutParameter, "BalloonHelp", &kStringType, QV_ROUTINE(RuntimeMenuItemBalloonHelpGetter),
     QV_ROUTINE(RuntimeMenuItemBalloonHelpSetter), 0, 0},
    {kPropertySetterWithoutParameter, "DisabledBalloonHelp", &kStringType,
     QV_ROUTINE(RuntimeMenuItemDisabledHelpGetter), QV_ROUTINE(RuntimeMenuItemDisabledHelpSetter), 0, 0},
    {kPropertySetterWithoutParameter, "Text", &kStringType, QV_ROUTINE(RuntimeMenuItemTextGetter),
     QV_ROUTINE(RuntimeMenuItemTextSetter), 0, 0},
    {kPropertySetterWithoutParameter, "Checked", &kBooleanType, QV_ROUTINE(RuntimeMenuItemCheckedGetter),
     QV_ROUTINE(RuntimeMenuItemCheckedSetter), 0, 0},
    {kPropertySetterWithoutParameter, "Enabled", &kBooleanType, QV_ROUTINE(RuntimeMenuItemEnabledGetter),
     QV_ROUTINE(RuntimeMenuItemEnabledSetter), 0, 0},
    {kPropertySetterWithoutParameter, "Visible", &kBooleanType, QV_ROUTINE(RuntimeMenuItemVisibleGetter),
     QV_ROUTINE(RuntimeMenuItemVisibleSetter), 0, 0},
    {kPropertySetterWithoutParameter, "CommandKey", &kStringType, QV_ROUTINE(RuntimeMenuItemCommandKeyGetter),
     QV_ROUTINE(RuntimeMenuItemCommandKeySetter), 0, 0},
    {kPropertySetterWithoutParameter, "_Bold", &kBooleanType, QV_ROUTINE(RuntimeMenuItemBoldGetter),
     QV_ROUTINE(RuntimeMenuItemBoldSetter), 0, 0},
    {kPropertySetterWithoutParameter, "_Italic", &kBooleanType, QV_ROUTINE(RuntimeMenuItemItalicsGetter),
     QV_ROUTINE(RuntimeMenuItemItalicsSetter), 0, 0},
    {kPropertySetterWithoutParameter, "_Underline", &kBooleanType, QV_ROUTINE(RuntimeMenuItemUnderlineGetter),
     QV_ROUTINE(RuntimeMenuItemUnderlineSetter), 0, 0},
    {kPropertySetterWithoutParameter, "AutoEnable", &kBooleanType, QV_ROUTINE(RuntimeMenuItemAutoEnableGetter),
     QV_ROUTINE(RuntimeMenuItemAutoEnableSetter), 0, 0},
};

const MethodRecord kMenuItemMethods[] = {
    {"Enable", nullptr, nullptr, 0, QV_ROUTINE(RuntimeEnableMenu), nullptr, nullptr, 0},
    {"Close", nullptr, nullptr, 0, QV_ROUTINE(RuntimeCloseMenuItem), nullptr, nullptr, 0},
    {"Item", &kMenuItemType, kIndex, 1, QV_ROUTINE(RuntimeMenuItemItem), nullptr, nullptr, 0},
    {"Count", &kIntegerType, nullptr, 0, QV_ROUTINE(RuntimeMenuItemCount), nullptr, nullptr, 0},
    {"Child", &kMenuItemType, kName, 1, QV_ROUTINE(RuntimeMenuItemChild), nullptr, nullptr, 0},
    {"Append", nullptr, kItem, 1, QV_ROUTINE(RuntimeMenuItemAppend), nullptr, nullptr, 0},
    {"Insert", nullptr, kIndexItem, 2, QV_ROUTINE(RuntimeMenuItemInsert), nullptr, nullptr, 0},
    {"Remove", nullptr, kIndex, 1, QV_ROUTINE(RuntimeMenuItemRemoveIndex), nullptr, nullptr, 0},
    {"Remove", nullptr, kItem, 1, QV_ROUTINE(RuntimeMenuItemRemoveItem), nullptr, nullptr, 0},
    {"_Lookup", &kMenuItemType, kName, 1, QV_ROUTINE(RuntimeMenuItemLookup), nullptr, nullptr, 0},
    {"_Lookup", &kMenuItemType, kNameIndex, 2, QV_ROUTINE(RuntimeMenuItemLookupArray), nullptr, nullptr, 0},
    {"MenuItem", nullptr, nullptr, 0, QV_ROUTINE(RuntimeMenuItemDefaultConstructor), nullptr, nullptr, 0},
};

const EventRecord kMenuItemEvents[] = {{"Action", "Boolean", nullptr, 0}, {"EnableMenu", nullptr, nullptr, 0}};

const MethodRecord kMenuBarMethods[] = {
    {"_InstallClone", nullptr, kItem, 1, QV_ROUTINE(MenuBarInstallClone), nullptr, nullptr, 0},
};

const EventRecord kSpecialItemEvents[] = {{"Action", "Boolean", nullptr, 0}};

const MethodRecord kMenuHandlerMethods[] = {
    {"Action", &kBooleanType, kIndex, 1, nullptr, nullptr, nullptr, nullptr, 0},
};

const ClassTables kTables[] = {{kMenuItemProperties, kMenuItemMethods}, {{}, kMenuBarMethods}};

// The inherited MenuItem.Action of a QuitMenuItem: its own Action may take the choice;
// otherwise the application quits. The choice counts as handled either way.
u32 quit_item_action(RuntimeObject* self)
{
    if (!fire_boolean_event(self, kSpecialItemAction, false))
        ApplicationQuit(gApplicationObject);
    return 1;
}

u32 prefs_item_action(RuntimeObject* self)
{
    fire_boolean_event(self, kSpecialItemAction, false);
    return 1;
}

const EventImplementationRecord kQuitImplementations[] = {{"Action", reinterpret_cast<void*>(&quit_item_action)}};
const EventImplementationRecord kPrefsImplementations[] = {{"Action", reinterpret_cast<void*>(&prefs_item_action)}};

void initialize_menu_item(RuntimeObject* object)
{
    reinterpret_cast<MenuItemObject*>(object)->mImp = create_menu_imp(object);
}

void finalize_menu_item(RuntimeObject* object)
{
    auto* fields = reinterpret_cast<MenuItemObject*>(object);
    destroy_menu_imp(fields->mImp);
    fields->mImp = nullptr;
}

// A bar keeps its CreateMenu handle and its titles are never grayed.
void initialize_menu_bar(RuntimeObject* object)
{
    if (MenuItemImp* imp = menu_imp(object))
        imp->is_menu_bar = true;
}

constexpr i32 kMenuClassCount = 6;
ObjectDefinition s_definitions[kMenuClassCount];

ObjectDefinition& definition(MenuClass which) { return s_definitions[static_cast<i32>(which)]; }

void build_definitions()
{
    DefinitionSource item{};
    item.name = "MenuItem";
    item.instance_size = sizeof(MenuItemObject);
    item.properties = kMenuItemProperties;
    item.methods = kMenuItemMethods;
    item.events = kMenuItemEvents;
    item.initializer = &initialize_menu_item;
    item.finalizer = &finalize_menu_item;
    build_definition(definition(MenuClass::MenuItem), item);

    DefinitionSource bar{};
    bar.name = "MenuBar";
    bar.super_definition = &definition(MenuClass::MenuItem);
    bar.instance_size = sizeof(MenuItemObject);
    bar.methods = kMenuBarMethods;
    bar.initializer = &initialize_menu_bar;
    build_definition(definition(MenuClass::MenuBar), bar);

    DefinitionSource quit{};
    quit.name = "QuitMenuItem";
    quit.super_definition = &definition(MenuClass::MenuItem);
    quit.instance_size = sizeof(MenuItemObject);
    quit.events = kSpecialItemEvents;
    quit.event_implementations = kQuitImplementations;
    build_definition(definition(MenuClass::QuitMenuItem), quit);

    DefinitionSource prefs = quit;
    prefs.name = "PrefsMenuItem";
    prefs.event_implementations = kPrefsImplementations;
    build_definition(definition(MenuClass::PrefsMenuItem), prefs);

    DefinitionSource apple{};
    apple.name = "AppleMenuItem";
    apple.super_definition = &definition(MenuClass::MenuItem);
    apple.instance_size = sizeof(MenuItemObject);
    build_definition(definition(MenuClass::AppleMenuItem), apple);

    DefinitionSource handler{};
    handler.name = "_MenuHandler";
    handler.methods = kMenuHandlerMethods;
    handler.is_an_interface = true;
    build_definition(definition(MenuClass::MenuHandler), handler);
}

void ensure_built()
{
    static Once s_once;
    s_once([&] { build_definitions(); });
}

}  // namespace

ClassTableList menu_class_tables() { return kTables; }

ObjectDefinition* menu_definition(MenuClass which)
{
    ensure_built();
    return &definition(which);
}

ClassRecord* menu_class(MenuClass which) { return ClassFromDefinition(menu_definition(which)); }

void register_menu_classes()
{
    ensure_built();
    for (ObjectDefinition& d : s_definitions)
        RegisterDefinition(&d);
}

std::span<const ProvidedRoutine> menu_routines()
{
    // The classes' own routines come from their tables.
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(RuntimeMenuReference),
        QV_PROVIDED(enableMenuItems),
    };
    return kRoutines;
}

}  // namespace qv
