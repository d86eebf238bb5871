// Plug-in descriptions made into classes and entry points: the map's keys and its single
// build, the table, the order classes are built in and where their data goes, what a
// missing superclass or interface leaves behind, and extensions that add members to built-in
// classes.
#include "framework/plugins/plugin_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/definitions/class_registry.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/registry/entry_point_registry.h"
#include "runtime/startup/runtime_startup.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/class_holder.h"

namespace qv {
namespace {

void caption_set(RuntimeObject*, i32, RuntimeString*) { }
i32 value_get(RuntimeObject*, i32) { return 0; }
void value_set(RuntimeObject*, i32, i32) { }
void add_receiver(RuntimeObject*, RuntimeObject*) { }
void item_set(RuntimeObject*, i32, i32) { }
i32 global_method(i32 x) { return x; }
i32 area(RuntimeObject*) { return 0; }

void* as_routine(auto* f) { return reinterpret_cast<void*>(f); }

const QvPluginProperty kButtonProperties[] = {
    {"Caption", "String", QV_PLUGIN_NONE, as_routine(&caption_set), QV_PLUGIN_NO_FIELD},
    {"Value", "Integer", as_routine(&value_get), as_routine(&value_set), 0},
};
const QvPluginMethod kButtonMethods[] = {
    {"addActionNotificationReceiver(receiver As actionNotificationReceiver)", as_routine(&add_receiver),
     QV_PLUGIN_NONE},
    {"Item(index As Integer)", as_routine(&value_get), as_routine(&item_set)},
};
const QvPluginClass kButton = {"MapButton", nullptr, 8,       nullptr, nullptr, kButtonProperties, 2, kButtonMethods, 2,
                               nullptr,     0,       nullptr, 0,       nullptr};
const QvPluginMethod kGlobal = {"Twice(x As Integer) As Integer", as_routine(&global_method), QV_PLUGIN_NONE};
const QvPluginMethod kLateGlobal = {"Late()", as_routine(&global_method), QV_PLUGIN_NONE};

// A subclass registered before its superclass, which implements a plug-in interface.
const QvPluginProperty kChildProperties[] = {{"Count", "Integer", as_routine(&intGetter), as_routine(&intSetter), 4}};
const QvPluginMethod kChildMethods[] = {{"Area() As Integer", as_routine(&area), QV_PLUGIN_NONE}};
const QvPluginClass kChild = {
    "OrderChild", "OrderParent", 12, nullptr, nullptr, kChildProperties, 1, kChildMethods, 1, nullptr, 0, nullptr, 0,
    "OrderShape"};
const QvPluginClass kParent = {"OrderParent", "", 20,      nullptr, nullptr, nullptr, 0,
                               nullptr,       0,  nullptr, 0,       nullptr, 0,       nullptr};
const QvPluginMethod kShapeMethods[] = {{"Area() As Integer", nullptr, QV_PLUGIN_NONE}};
const QvPluginClass kShape = {"OrderShape",  nullptr, 0,       nullptr, nullptr, nullptr, 0,
                              kShapeMethods, 1,       nullptr, 0,       nullptr, 0,       nullptr};
// OrderParent exists but is no interface.
const QvPluginClass kOrphan = {"OrphanClass",
                               "NoSuchParent",
                               4,
                               nullptr,
                               nullptr,
                               nullptr,
                               0,
                               nullptr,
                               0,
                               nullptr,
                               0,
                               nullptr,
                               0,
                               "NoSuchInterface, OrderParent"};

i32 g_fired = 0;
void on_ping(RuntimeObject*) { ++g_fired; }
u32 on_ask(RuntimeObject*) { return 0x101; }
const QvPluginEvent kBaseEvents[] = {{"Ping()"}};
const QvPluginEvent kEvents[] = {{"Pong()"}, {"Ask() As Boolean"}};
const QvPluginClass kEventBase = {"EventBase", nullptr, 0,           nullptr, nullptr, nullptr, 0,
                                  nullptr,     0,       kBaseEvents, 1,       nullptr, 0,       nullptr};
const QvPluginClass kEventful = {"EventfulClass", "EventBase", 0,       nullptr, nullptr, nullptr, 0,
                                 nullptr,         0,           kEvents, 2,       nullptr, 0,       nullptr};

// Extensions of built-in classes: the portable runtime's Dictionary, and SystemClass, which
// lands in "_SystemClass" (here a definition of the test's own: the portable runtime has none).
RuntimeObject* g_extended_self = nullptr;
i32 g_size_set = 0;
i32 tally(RuntimeObject* self, i32 extra)
{
    g_extended_self = self;
    return dictionaryCount(self) * 100 + extra;
}
i32 size_get(RuntimeObject* self, i32) { return dictionaryCount(self); }
void size_set(RuntimeObject* self, i32, i32 value)
{
    g_extended_self = self;
    g_size_set = value;
}
void nap() { }
const QvPluginProperty kDictionaryProperties[] = {
    {"Size", "Integer", as_routine(&size_get), as_routine(&size_set), QV_PLUGIN_NO_FIELD}};
const QvPluginMethod kDictionaryMethods[] = {
    {"Tally(extra As Integer) As Integer", as_routine(&tally), QV_PLUGIN_NONE}};
const QvPluginClass kDictionaryExtension = {
    "Dictionary", nullptr, 0,       nullptr, nullptr, kDictionaryProperties, 1, kDictionaryMethods, 1,
    nullptr,      0,       nullptr, 0,       nullptr};
const QvPluginMethod kSystemMethods[] = {{"Nap()", as_routine(&nap), QV_PLUGIN_NONE}};
const QvPluginClass kSystemExtension = {"SystemClass",  nullptr, 0,       nullptr, nullptr, nullptr, 0,
                                        kSystemMethods, 1,       nullptr, 0,       nullptr, 0,       nullptr};
// Extensions that cannot be applied: a class nobody has, and an interface.
const QvPluginClass kMissingExtension = {"NoSuchClass",  nullptr, 0,       nullptr, nullptr, nullptr, 0,
                                         kSystemMethods, 1,       nullptr, 0,       nullptr, 0,       nullptr};
const QvPluginClass kInterfaceExtension = {"OrderShape",   nullptr, 0,       nullptr, nullptr, nullptr, 0,
                                           kSystemMethods, 1,       nullptr, 0,       nullptr, 0,       nullptr};

ObjectDefinition g_system_definition;

std::vector<std::string> g_reports;
void record_report(const char* text) { g_reports.push_back(text); }

PluginRecord* g_loading_seen = nullptr;

void fake_main(QvPluginResolver resolve)
{
    EXPECT_EQ(resolve("runtimelockobject"), as_routine(&RuntimeLockObject));
    EXPECT_EQ(resolve("NoSuchRoutine"), nullptr);
    g_loading_seen = loading_plugin();
    for (const QvPluginClass* c : {&kButton, &kChild, &kParent, &kOrphan, &kEventBase, &kEventful})
        PluginRegisterClass(c);
    PluginRegisterInterface(&kShape);
    PluginRegisterMethod(&kGlobal);
    for (const QvPluginClass* c : {&kDictionaryExtension, &kSystemExtension, &kMissingExtension, &kInterfaceExtension})
        PluginRegisterClassExtension(c);
}

// Built classes, their definitions and the map live as long as the process, so the suite
// loads and builds everything once, before its tests measure the allocator.
class Plugins : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        reset_plugins_for_testing();
        start_portable_runtime();
        if (!find_registered_definition(StringRef::FromCString("_SystemClass"))) {
            DefinitionSource source{};
            source.name = "_SystemClass";
            source.instance_size = 28;
            build_definition(g_system_definition, source);
            RegisterDefinition(&g_system_definition);
        }
        s_previous = set_plugin_report(&record_report);
        s_path = new StringRef(StringRef::FromCString("C:\\plug.dll"));
        run_plugin_main(&fake_main, reinterpret_cast<void*>(0x1000), *s_path);
        build_plugin_classes();
        RuntimeLookupClass(StringRef::FromCString("OrderChild").get());
        RuntimeLookupClass(StringRef::FromCString("EventfulClass").get());
        RuntimeLookupClass(StringRef::FromCString("Dictionary").get());
        RuntimeLookupClass(StringRef::FromCString("Variant").get());
        lookup("MapButton.Value.Get");  // builds the map
        PluginRegisterMethod(&kLateGlobal);
    }
    static void TearDownTestSuite()
    {
        set_plugin_report(s_previous);
        reset_plugins_for_testing();
        delete s_path;
    }

    static void* lookup(const char* name) { return RuntimeLookupPluginEntrypoint(StringRef::FromCString(name).get()); }

    static inline PluginReport s_previous = nullptr;
    static inline StringRef* s_path = nullptr;
};

TEST_F(Plugins, EntryPointMapHasAKeyPerAccessorAndMethodAndFindsThemIgnoringCase)
{
    struct Case {
        const char* name;
        void* routine;
    } const cases[] = {
        {"MapButton.Caption.Set", as_routine(&caption_set)},
        {"mapbutton.caption.set", as_routine(&caption_set)},
        {"MapButton.Value.Get", as_routine(&value_get)},
        {"MapButton.Value.Set", as_routine(&value_set)},
        {"MapButton.addActionNotificationReceiver(receiver As actionNotificationReceiver)", as_routine(&add_receiver)},
        {"MapButton.Item(index As Integer)", as_routine(&value_get)},
        {"MapButton.Item(index As Integer).Set", as_routine(&item_set)},
        {"Twice(x As Integer) As Integer", as_routine(&global_method)},
        {"OrderChild.Count.Set", as_routine(&intSetter)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lookup(c.name), c.routine) << c.name;
    EXPECT_EQ(lookup("MAPBUTTON.VALUE.SET"), lookup("MapButton.Value.Set"));
    EXPECT_EQ(plugin_entry_map_builds(), 1);

    // The property accessors are exported routines too.
    const EntryPoint* exported = FindEntryPoint(std::string_view("mapbutton.value.set"));
    ASSERT_NE(exported, nullptr);
    EXPECT_EQ(exported->code, as_routine(&value_set));
}

TEST_F(Plugins, AMissAssertsWithTheNameAndGivesNil)
{
    // Caption has no getter; Late() came after the first lookup, so the map lacks it.
    for (const char* missing : {"MapButton.Caption.Get", "Late()", "MapButton.Nothing.Set"}) {
        test::AssertionCapture capture;
        EXPECT_EQ(lookup(missing), nullptr) << missing;
        ASSERT_EQ(capture.count(), 1u) << missing;
        EXPECT_TRUE(capture.saw("plugin", 4985));
        EXPECT_NE(capture.reports()[0].find("pluginEntryTable.GetEntry( entrypointName, out )"), std::string::npos);
        EXPECT_NE(capture.reports()[0].find(std::string("can't find plugin method ") + missing), std::string::npos);
    }
    EXPECT_EQ(plugin_entry_map_builds(), 1);
}

TEST_F(Plugins, EntryTableHasFourBytesPerSlotAndNilForNone)
{
    EXPECT_EQ(RuntimeAllocatePluginEntrypointsTable(0), nullptr);
    const i64 before = pool_bytes_in_use();
    void** table = RuntimeAllocatePluginEntrypointsTable(13);
    ASSERT_NE(table, nullptr);
    EXPECT_GE(pool_bytes_in_use() - before, 13 * 4);
    for (int i = 0; i < 13; ++i)
        table[i] = &table[i];  // every slot is writable
    EXPECT_EQ(table[12], &table[12]);
    GuardedDelete(table);  // the runtime never frees it; the test gives it back
}

TEST_F(Plugins, ASuperclassRegisteredLaterIsBuiltFirstAndItsDataComesBefore)
{
    const PluginClassEntry* parent = plugin_class_entry(&kParent);
    const PluginClassEntry* child = plugin_class_entry(&kChild);
    ASSERT_TRUE(parent && parent->definition && child && child->definition);
    EXPECT_EQ(child->definition->superDefinition, parent->definition);
    EXPECT_EQ(parent->data_offset, 28);
    EXPECT_EQ(parent->definition->instanceSize, 28 + 20);
    EXPECT_EQ(child->data_offset, 48);
    EXPECT_EQ(child->definition->instanceSize, 48 + 12);
    // A field property's accessors get the field's offset in the whole instance.
    ASSERT_NE(child->definition->properties, nullptr);
    EXPECT_EQ(child->definition->properties->parameter, 48 + 4);
    ASSERT_NE(child->definition->interfaces, nullptr);
    EXPECT_EQ(child->definition->interfaces->definition, plugin_class_entry(&kShape)->definition);
    EXPECT_TRUE(plugin_class_entry(&kShape)->definition->isAnInterface);

    ClassRecord* c = RuntimeLookupClass(StringRef::FromCString("orderchild").get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->instanceSize, 60);
    RuntimeObject* object = RuntimeNewObject(c);
    auto* base = reinterpret_cast<u8*>(object);
    EXPECT_EQ(PluginInstanceData(object, &kParent), base + 28);
    EXPECT_EQ(PluginInstanceData(object, &kChild), base + 48);
    intSetter(object, child->definition->properties->parameter, 77);
    EXPECT_EQ(*reinterpret_cast<i32*>(base + 52), 77);
    RuntimeUnlockObject(object);
}

TEST_F(Plugins, MissingSuperclassAndInterfacesAreReportedAndLeftOut)
{
    const PluginClassEntry* orphan = plugin_class_entry(&kOrphan);
    ASSERT_TRUE(orphan && orphan->definition);
    EXPECT_EQ(orphan->definition->superDefinition, nullptr);
    EXPECT_EQ(orphan->data_offset, 28);
    EXPECT_EQ(orphan->definition->instanceSize, 32);
    EXPECT_EQ(orphan->definition->interfaces, nullptr);
    EXPECT_EQ(g_reports,
              (std::vector<std::string>{"Couldn't find OrphanClass superclass: NoSuchParent",
                                        "Couldn't find OrphanClass interface : NoSuchInterface",
                                        "Couldn't find OrphanClass interface : OrderParent",
                                        "Couldn't find NoSuchClass to extend",
                                        "Couldn't extend OrderShape: it is an interface"}));
    // Neither the interface nor a class of the missing name got the extension's method.
    EXPECT_EQ(plugin_class_entry(&kShape)->definition->methods->next, nullptr);
    EXPECT_EQ(find_registered_definition(StringRef::FromCString("NoSuchClass")), nullptr);
}

// The members an extension lists under its own name: one per method, and one per property.
template <typename Node>
i32 count_named(const Node* node, const char* name)
{
    i32 n = 0;
    for (; node; node = node->next)
        n += StringRef::share(node->name).CompareNoCase(StringRef::FromCString(name)) == 0 ? 1 : 0;
    return n;
}

TEST_F(Plugins, AnExtensionsMembersBelongToTheBuiltInClassAndItsRoutinesRunWithTheObject)
{
    // An image reaches the members through its entry table, and the accessors also by import.
    using Tally = i32 (*)(RuntimeObject*, i32);
    using SizeGet = i32 (*)(RuntimeObject*, i32);
    using SizeSet = void (*)(RuntimeObject*, i32, i32);
    auto* const call_tally = reinterpret_cast<Tally>(lookup("dictionary.tally(extra as integer) as integer"));
    auto* const get_size = reinterpret_cast<SizeGet>(lookup("Dictionary.Size.Get"));
    auto* const set_size = reinterpret_cast<SizeSet>(lookup("Dictionary.Size.Set"));
    ASSERT_EQ(call_tally, &tally);
    ASSERT_EQ(get_size, &size_get);
    ASSERT_EQ(set_size, &size_set);
    for (const auto& [name, routine] : {std::pair{"Dictionary.Size.Get", as_routine(&size_get)},
                                        std::pair{"dictionary.size.set", as_routine(&size_set)}}) {
        const EntryPoint* exported = FindEntryPoint(std::string_view(name));
        ASSERT_NE(exported, nullptr) << name;
        EXPECT_EQ(exported->code, routine) << name;
    }

    RuntimeObject* dictionary = RuntimeNewObject(RuntimeLookupClass(StringRef::FromCString("Dictionary").get()));
    RuntimeObject* key = intToVariant(7);
    dictionaryValueSetter(dictionary, key, key);
    EXPECT_EQ(call_tally(dictionary, 5), 105);
    EXPECT_EQ(g_extended_self, dictionary);
    EXPECT_EQ(get_size(dictionary, 0), 1);
    g_extended_self = nullptr;
    set_size(dictionary, 0, 9);
    EXPECT_EQ(g_extended_self, dictionary);
    EXPECT_EQ(g_size_set, 9);
    RuntimeUnlockObject(key);
    RuntimeUnlockObject(dictionary);

    // The definition lists them, once however often the classes are built; the property stays
    // out of the table whose numbering the subclasses and compiled property tables share.
    build_plugin_classes();
    const ObjectDefinition* definition = find_registered_definition(StringRef::FromCString("Dictionary"));
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(count_named(definition->methods, "Tally"), 1);
    ASSERT_EQ(count_named(definition->properties, "Size"), 1);
    const PropertyNode* size = definition->properties;
    while (StringRef::share(size->name).CompareNoCase(StringRef::FromCString("Size")) != 0)
        size = size->next;
    EXPECT_EQ(size->kind, kPropertyKindOutsideTable);
    EXPECT_EQ(size->getter, as_routine(&size_get));

    // The class made from it lists the method with its signature among its static methods.
    const ClassRecord* c = RuntimeLookupClass(StringRef::FromCString("Dictionary").get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->propertyCount, definition->mPropertyTableSize);
    const MethodEntry* listed = nullptr;
    for (i32 i = 0; i < c->staticMethodCount; ++i)
        if (c->staticMethodTable[i].routine == as_routine(&tally))
            listed = &c->staticMethodTable[i];
    ASSERT_NE(listed, nullptr);
    EXPECT_STREQ(StringRef::share(listed->signature).CText(), "Tally%i%o<Dictionary>i");
}

TEST_F(Plugins, AnExtensionOfSystemClassGoesToTheHiddenSystemClass)
{
    EXPECT_EQ(lookup("SystemClass.Nap()"), as_routine(&nap));
    const ObjectDefinition* system = find_registered_definition(StringRef::FromCString("_SystemClass"));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(count_named(system->methods, "Nap"), 1);
    EXPECT_EQ(find_registered_definition(StringRef::FromCString("SystemClass")), nullptr);
}

TEST_F(Plugins, FiringAnEventUsesTheClassesOwnPlaceInTheEventTable)
{
    ClassRecord* built = RuntimeLookupClass(StringRef::FromCString("EventfulClass").get());
    ASSERT_NE(built, nullptr);
    ASSERT_EQ(built->eventCount, 3);
    // The image's subclass fills the handlers: EventBase's Ping is 0, the class's own 1 and 2.
    ClassHolder holder;
    ClassRecord* sub = holder.make(built, "EventfulSub", built->methodCount, built->interfaceCount, 3,
                                   built->staticMethodCount, built->propertyCount, built->instanceSize);
    sub->eventTable[1].routine = as_routine(&on_ping);
    sub->eventTable[2].routine = as_routine(&on_ask);
    RuntimeObject* object = RuntimeNewObject(sub);
    g_fired = 0;
    EXPECT_EQ(PluginFireEvent(object, &kEventBase, 0), 0);  // Ping: no handler
    EXPECT_EQ(g_fired, 0);
    PluginFireEvent(object, &kEventful, 0);
    EXPECT_EQ(g_fired, 1);
    EXPECT_EQ(PluginFireEvent(object, &kEventful, 1), 1);
    EXPECT_EQ(PluginFireEvent(object, &kEventful, 2), 0);  // no such event
    EXPECT_EQ(g_fired, 1);
    RuntimeUnlockObject(object);
}

TEST_F(Plugins, MainRunsAsTheLoadingPluginAndASecondLoadMeanwhileAsserts)
{
    PluginRecord* record = plugin_list();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(g_loading_seen, record);
    EXPECT_EQ(loading_plugin(), nullptr);
    EXPECT_EQ(record->module, reinterpret_cast<void*>(0x1000));
    EXPECT_EQ(record->path.CompareExact(*s_path), 0);
    EXPECT_EQ(record->argument, 0);
    EXPECT_EQ(record->flags, kPluginLoaded);  // its definitions are built
    for (const PluginClassEntry* entry : plugin_classes())
        EXPECT_EQ(entry->plugin, record);

    begin_plugin_load(nullptr, *s_path, 0);
    {
        test::AssertionCapture capture;
        begin_plugin_load(nullptr, *s_path, 0);
        ASSERT_EQ(capture.count(), 1u);
        EXPECT_NE(capture.reports()[0].find("!loadingPlugin"), std::string::npos);
        EXPECT_NE(capture.reports()[0].find("plugin:"), std::string::npos);
    }
    end_plugin_load();
    EXPECT_EQ(loading_plugin(), nullptr);
    EXPECT_EQ(plugin_list()->next->next, record);  // newest first
}

}  // namespace
}  // namespace qv
