// Class definitions made into classes: lookup by name, the tables a definition yields, what a
// subclass inherits (interfaces included), interface resolution per generation, the
// assertions for inconsistent definitions, registration of routines, the global functions.
//
// Classes are never freed, so every definition here is registered and converted once, in
// SetUpTestSuite, before the per-test allocator accounting starts.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/global_functions.h"
#include "runtime/exceptions/exception_classes.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_model.h"
#include "runtime/registry/entry_point_registry.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::text_of;

// Stand-ins for routines: distinct addresses that nothing calls.
int g_code[16];
void* code(int i) { return &g_code[i]; }

std::vector<std::string> g_calls;
void shape_initializer(RuntimeObject*) { g_calls.push_back("init TestShape"); }
void shape_finalizer(RuntimeObject*) { g_calls.push_back("final TestShape"); }
void square_initializer(RuntimeObject*) { g_calls.push_back("init TestSquare"); }
void square_finalizer(RuntimeObject*) { g_calls.push_back("final TestSquare"); }

const MethodRecord kPrintableMethods[] = {
    {"Describe", &kStringType, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0},
    {"Weight", &kIntegerType, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0},
};

const ParameterRecord kResizeParameters[] = {{"width", &kIntegerType, 0}, {"height", &kIntegerType, 1}};
const MethodRecord kShapeMethods[] = {
    // Lower case on purpose: interface methods are matched ignoring case.
    {"describe", &kStringType, nullptr, 0, code(0), "testShapeDescribe", nullptr, nullptr, 0},
    {"Weight", &kIntegerType, nullptr, 0, code(1), "testShapeWeight", code(2), "testShapeWeightSetter", 0},
    {"Resize", nullptr, kResizeParameters, 2, code(3), "testShapeResize", nullptr, nullptr, 0},
};
const PropertyRecord kShapeProperties[] = {
    {0, "Width", &kIntegerType, reinterpret_cast<void*>(&intGetter), "intGetter", reinterpret_cast<void*>(&intSetter),
     "intSetter", 28, 0},
    {0, "Hidden", &kBooleanType, code(4), "testShapeHiddenGetter", nullptr, nullptr, 0, kPropertyKindOutsideTable},
    {0, "Label", &kStringType, reinterpret_cast<void*>(&stringGetter), "stringGetter",
     reinterpret_cast<void*>(&stringSetter), "stringSetter", 32, 0},
};
const ParameterRecord kActionParameters[] = {{"x", &kIntegerType, 0}};
const EventRecord kShapeEvents[] = {{"Action", "Boolean", kActionParameters, 1}, {"Open", nullptr, nullptr, 0}};
void* const kShapeVirtuals[] = {code(5), code(6)};

const MethodRecord kSquareMethods[] = {
    {"Area", &kDoubleType, nullptr, 0, code(7), "testSquareArea", nullptr, nullptr, 0},
};
const PropertyRecord kSquareProperties[] = {
    {0, "Side", &kIntegerType, reinterpret_cast<void*>(&intGetter), "intGetter", reinterpret_cast<void*>(&intSetter),
     "intSetter", 40, 0},
};
const EventRecord kSquareEvents[] = {{"Closed", nullptr, nullptr, 0}};
const EventImplementationRecord kSquareHandlers[] = {{"action", code(8)}};
void* const kSquareVirtuals[] = {code(5), code(9), code(10)};

const MethodRecord kVirtualMethod[] = {
    {"Flagged", nullptr, nullptr, 0, code(11), nullptr, nullptr, nullptr, kSystemPropertyVirtual},
};
const PropertyRecord kTwoProperties[] = {kShapeProperties[0], kShapeProperties[2]};
const MethodRecord kHalfPrintable[] = {kShapeMethods[0]};

ObjectDefinition s_printable, s_shape, s_square;
ObjectDefinition* const kPrintableInterface[] = {&s_printable};

// Definitions that contradict their own counts, each converted under an assertion capture.
struct BrokenCase {
    const char* name;
    std::vector<std::string> conditions;  // what the conversion must report, in order
};
const BrokenCase kBrokenCases[] = {
    {"TestSkippedIndex", {"item->mPropertyTableIndex == propertyCount", "propertyCtr == ivar->mPropertyTableIndex"}},
    {"TestWrongTableSize", {"propertyCount == defn->mPropertyTableSize"}},
    {"TestVirtualMethod", {"0 == (item->userFlags & kSystemPropertyVirtual)"}},
    {"TestLazyPrinter", {"interfaceMethod"}},
    {"TestFewerVirtuals", {"out->methodCount >= base->methodCount"}},
    {"TestOwnAncestor", {"!defn->converting", "super"}},
};
ObjectDefinition s_broken[std::size(kBrokenCases)];
std::map<std::string, std::vector<std::string>> s_reports;
std::map<std::string, ClassRecord*> s_broken_classes;

const MethodRecord kGlobalFunction = {"Twice",     &kIntegerType, kActionParameters, 1, code(12),
                                      "testTwice", code(13),      "testTwiceSetter", 0};

void build_broken(ObjectDefinition& out, const char* name)
{
    DefinitionSource source{};
    source.name = name;
    source.instance_size = 36;
    const std::string n = name;
    if (n == "TestSkippedIndex" || n == "TestWrongTableSize")
        source.properties = kTwoProperties;
    if (n == "TestVirtualMethod")
        source.methods = kVirtualMethod;
    if (n == "TestLazyPrinter") {
        source.methods = kHalfPrintable;
        source.interfaces = kPrintableInterface;
    }
    if (n == "TestFewerVirtuals") {
        source.super_definition = &s_shape;
        source.virtual_routines = std::span(kShapeVirtuals, 1);
    }
    build_definition(out, source);
    if (n == "TestSkippedIndex")
        out.properties->next->mPropertyTableIndex = 2;
    if (n == "TestWrongTableSize")
        out.mPropertyTableSize = 5;
    if (n == "TestOwnAncestor")
        out.superDefinition = &out;
}

std::vector<std::string> conditions_in(const std::vector<std::string>& reports)
{
    std::vector<std::string> out;
    for (const std::string& report : reports) {
        const std::string label = "Failure Condition: ";
        const size_t at = report.find(label);
        out.push_back(at == std::string::npos
                          ? report
                          : report.substr(at + label.size(), report.find('\n', at) - at - label.size()));
    }
    return out;
}

class ObjectDefinitions : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static bool s_done = false;
        if (s_done)
            return;
        s_done = true;
        register_foundation_classes();

        DefinitionSource printable{};
        printable.name = "TestPrintable";
        printable.methods = kPrintableMethods;
        printable.is_an_interface = true;
        build_definition(s_printable, printable);

        DefinitionSource shape{};
        shape.name = "TestShape";
        shape.instance_size = 40;
        shape.properties = kShapeProperties;
        shape.methods = kShapeMethods;
        shape.events = kShapeEvents;
        shape.interfaces = kPrintableInterface;
        shape.virtual_routines = kShapeVirtuals;
        shape.initializer = &shape_initializer;
        shape.finalizer = &shape_finalizer;
        build_definition(s_shape, shape);

        DefinitionSource square{};
        square.name = "TestSquare";
        square.super_definition = &s_shape;
        square.instance_size = 44;
        square.properties = kSquareProperties;
        square.methods = kSquareMethods;
        square.events = kSquareEvents;
        square.event_implementations = kSquareHandlers;
        square.virtual_routines = kSquareVirtuals;
        square.initializer = &square_initializer;
        square.finalizer = &square_finalizer;
        build_definition(s_square, square);

        RegisterDefinition(&s_shape);
        RegisterDefinition(&s_square);
        ClassFromDefinition(&s_square);  // converts TestShape and TestPrintable on the way

        for (size_t i = 0; i < std::size(kBrokenCases); ++i) {
            build_broken(s_broken[i], kBrokenCases[i].name);
            test::AssertionCapture capture;
            s_broken_classes[kBrokenCases[i].name] = ClassFromDefinition(&s_broken[i]);
            s_reports[kBrokenCases[i].name] = capture.reports();
        }
        RegisterGlobalFunction(&kGlobalFunction);
    }

    // Other suites may point the raise slots at classes of their own.
    void SetUp() override { register_foundation_classes(); }
};

TEST_F(ObjectDefinitions, LookupIgnoresCaseAndReturnsTheSameRecord)
{
    ClassRecord* shape = RuntimeLookupClass(QV_STR("testshape"));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(RuntimeLookupClass(QV_STR("TESTSHAPE")), shape);
    EXPECT_EQ(RuntimeLookupClass(QV_STR("TestShape")), shape);
    EXPECT_EQ(ClassFromDefinition(&s_shape), shape);
    EXPECT_EQ(text_of(shape->name), "TestShape");

    EXPECT_EQ(RuntimeLookupClass(QV_STR("nilobjectexception")), raise_slot(RaiseSlot::NilObject));
    EXPECT_EQ(RuntimeLookupClass(QV_STR("NoSuchClass")), nullptr);
    EXPECT_EQ(RuntimeLookupClass(nullptr), nullptr);
    EXPECT_EQ(find_registered_definition(test::ascii("TESTSQUARE")), &s_square);
}

TEST_F(ObjectDefinitions, ClassTablesComeFromTheDefinition)
{
    ClassRecord* shape = ClassFromDefinition(&s_shape);
    EXPECT_EQ(shape->superclass, nullptr);
    EXPECT_EQ(shape->instanceSize, 40);
    EXPECT_EQ(shape->isAnInterface, 0);
    EXPECT_EQ(shape->initializer, &shape_initializer);
    EXPECT_EQ(shape->finalizer, &shape_finalizer);

    ASSERT_EQ(shape->methodCount, 2);
    EXPECT_EQ(shape->methodTable[0].routine, code(5));
    EXPECT_EQ(shape->methodTable[1].routine, code(6));

    ASSERT_EQ(shape->eventCount, 2);
    EXPECT_EQ(s_shape.events->index, 0);
    EXPECT_EQ(s_shape.events->next->index, 1);

    // A routine each for describe and Resize, and Weight's getter with its setter after it.
    ASSERT_EQ(shape->staticMethodCount, 4);
    const std::pair<void*, std::string> statics[] = {{code(0), "describe%s%o<TestShape>"},
                                                     {code(1), "Weight%i%o<TestShape>"},
                                                     {code(2), ""},
                                                     {code(3), "Resize%%o<TestShape>i&i"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(shape->staticMethodTable[i].routine, statics[i].first) << i;
        EXPECT_EQ(text_of(shape->staticMethodTable[i].signature), statics[i].second) << i;
    }
    EXPECT_EQ(shape->staticMethodTable[2].signature, nullptr);

    // Hidden is of the kind kept out of the table.
    ASSERT_EQ(shape->propertyCount, 2);
    EXPECT_EQ(text_of(shape->propertyTable[0].name), "Width%i");
    EXPECT_EQ(shape->propertyTable[0].parameter, 28);
    EXPECT_EQ(shape->propertyTable[0].getter, reinterpret_cast<void*>(&intGetter));
    EXPECT_EQ(shape->propertyTable[0].setter, reinterpret_cast<void*>(&intSetter));
    EXPECT_EQ(text_of(shape->propertyTable[1].name), "Label%s");
    EXPECT_EQ(shape->propertyTable[1].parameter, 32);

    ASSERT_EQ(shape->interfaceCount, 1);
    const InterfaceEntry& printable = interface_table(shape)[0];
    EXPECT_EQ(printable.interfaceClass, RuntimeLookupClass(QV_STR("TestPrintable")));
    EXPECT_EQ(printable.interfaceClass->isAnInterface, 1);
    ASSERT_EQ(printable.methodCount, 2);
    EXPECT_EQ(printable.methods[0].routine, code(0));
    EXPECT_EQ(text_of(printable.methods[0].signature), "describe%s%o<TestShape>");
    EXPECT_EQ(printable.methods[1].routine, code(1));
    EXPECT_EQ(text_of(printable.methods[1].signature), "Weight%i%o<TestShape>");
}

TEST_F(ObjectDefinitions, SubclassStartsWithItsBaseTables)
{
    ClassRecord* shape = ClassFromDefinition(&s_shape);
    ClassRecord* square = ClassFromDefinition(&s_square);
    EXPECT_EQ(square->superclass, shape);

    ASSERT_EQ(square->methodCount, 3);
    EXPECT_EQ(square->methodTable[0].routine, code(5));
    EXPECT_EQ(square->methodTable[1].routine, code(9));
    EXPECT_EQ(square->methodTable[2].routine, code(10));

    ASSERT_EQ(square->interfaceCount, 1);
    EXPECT_EQ(interface_table(square)[0].interfaceClass, interface_table(shape)[0].interfaceClass);
    EXPECT_EQ(interface_table(square)[0].methods, interface_table(shape)[0].methods);

    // Action (inherited, index 0) gets the handler under the implementation's name; the new
    // event is numbered after the inherited ones.
    ASSERT_EQ(square->eventCount, 3);
    EXPECT_EQ(s_square.events->index, 2);
    EXPECT_EQ(square->eventTable[0].routine, code(8));
    EXPECT_EQ(text_of(square->eventTable[0].signature), "action");
    EXPECT_EQ(square->eventTable[1].routine, nullptr);
    EXPECT_EQ(shape->eventTable[0].routine, nullptr);

    ASSERT_EQ(square->staticMethodCount, 5);
    EXPECT_EQ(square->staticMethodTable[3].routine, code(3));
    EXPECT_EQ(text_of(square->staticMethodTable[4].signature), "Area%d%o<TestSquare>");
    ASSERT_EQ(square->propertyCount, 3);
    EXPECT_EQ(text_of(square->propertyTable[0].name), "Width%i");
    EXPECT_EQ(text_of(square->propertyTable[2].name), "Side%i");
    EXPECT_EQ(square->propertyTable[2].parameter, 40);

    // A type test against an interface that only the base declares.
    ClassRecord* printable = RuntimeLookupClass(QV_STR("TestPrintable"));
    g_calls.clear();
    RuntimeObject* object = CreateInstance(&s_square);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->classRecord, square);
    EXPECT_TRUE(RuntimeObjectIsa(object, printable));
    EXPECT_TRUE(RuntimeObjectIsa(object, shape));
    EXPECT_EQ(RuntimeLookupInterfaceVtable(object, printable), interface_table(shape)[0].methods);
    RuntimeUnlockObject(object);
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"init TestShape", "init TestSquare", "final TestSquare", "final TestShape"}));
}

TEST_F(ObjectDefinitions, InterfaceResolutionIsRedoneOnlyForANewGeneration)
{
    InterfaceNode* node = s_shape.interfaces;
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->tableSize, 3);
    EXPECT_EQ(node->routines[1], code(0));
    EXPECT_EQ(node->routines[2], code(1));

    node->routines[1] = code(15);
    EXPECT_TRUE(resolve_interfaces(&s_shape));
    EXPECT_EQ(node->routines[1], code(15)) << "resolved again within the same generation";

    // Resolving the subclass resolves its stale superclass as well (its first flag is 0).
    advance_definition_generation();
    EXPECT_TRUE(resolve_interfaces(&s_square));
    EXPECT_EQ(s_square.resolvedGeneration, current_definition_generation());
    EXPECT_EQ(s_shape.resolvedGeneration, current_definition_generation());
    EXPECT_EQ(s_shape.interfaces->routines[1], code(0));
    EXPECT_EQ(s_shape.interfaces->routines[2], code(1));
}

TEST_F(ObjectDefinitions, InconsistentDefinitionsAreReportedAndStillConverted)
{
    for (const BrokenCase& c : kBrokenCases) {
        EXPECT_EQ(conditions_in(s_reports[c.name]), c.conditions) << c.name;
        EXPECT_NE(s_broken_classes[c.name], nullptr) << c.name;
    }
    // The missing interface method is reported where resolution stops, and its slot stays empty.
    EXPECT_NE(s_reports["TestLazyPrinter"].at(0).find("ObjectDefinition: 2823\n"), std::string::npos);
    const InterfaceEntry& lazy = interface_table(s_broken_classes["TestLazyPrinter"])[0];
    ASSERT_EQ(lazy.methodCount, 2);
    EXPECT_EQ(lazy.methods[0].routine, code(0));
    EXPECT_EQ(lazy.methods[1].routine, nullptr);
    EXPECT_EQ(lazy.methods[1].signature, nullptr);
    // Entries are still filled in order after a skipped index.
    ClassRecord* skipped = s_broken_classes["TestSkippedIndex"];
    ASSERT_EQ(skipped->propertyCount, 2);
    EXPECT_EQ(text_of(skipped->propertyTable[1].name), "Label%s");
}

TEST_F(ObjectDefinitions, RegistrationEntersRoutinesUnderTheirExportNames)
{
    struct Case {
        const char* name;
        void* routine;
    };
    const Case cases[] = {
        {"testShapeDescribe", code(0)},
        {"TESTSHAPEWEIGHT", code(1)},
        {"testShapeWeightSetter", code(2)},
        {"testShapeResize", code(3)},
        {"testShapeHiddenGetter", code(4)},
        {"testSquareArea", code(7)},
        {"intGetter", reinterpret_cast<void*>(&intGetter)},
        {"testTwice", code(12)},
        {"testTwiceSetter", code(13)},
    };
    for (const Case& c : cases) {
        const EntryPoint* entry = FindEntryPoint(c.name);
        ASSERT_NE(entry, nullptr) << c.name;
        EXPECT_EQ(entry->code, c.routine) << c.name;
    }
    // Names that the static table holds stay at their static place.
    EXPECT_LT(FindEntryPoint("stringSetter") - EntryPointAt(0), kStaticEntryPointCount);
    // A pair without a routine or without a name registers nothing.
    EXPECT_EQ(FindEntryPoint("Flagged"), nullptr);
}

TEST_F(ObjectDefinitions, CreateInstanceOfNothingIsAnAssertion)
{
    test::AssertionCapture capture;
    EXPECT_EQ(CreateInstance(nullptr), nullptr);
    EXPECT_TRUE(capture.saw("ObjectDefinitionConverter", 51));
}

TEST_F(ObjectDefinitions, GlobalFunctionsKeepTheirRecordsInOrder)
{
    const i32 count = global_function_count();
    ASSERT_GE(count, 1);
    EXPECT_EQ(global_function_at(count - 1), &kGlobalFunction);
    EXPECT_EQ(global_function_at(count), nullptr);
    EXPECT_EQ(global_function_at(-1), nullptr);
    test::AssertionCapture capture;
    RegisterGlobalFunction(nullptr);
    EXPECT_TRUE(capture.saw("intrinsicFunction", 30));
    EXPECT_EQ(global_function_count(), count);
}

}  // namespace
