// The built-in classes Variant, Dictionary and Date as compiled code finds them: by name,
// with their sizes, their methods in order with signatures, and their routines exported.
#include <gtest/gtest.h>

#include <string>

#include "runtime/registry/entry_point_registry.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace {

using namespace qv;

void* routine(auto* function) { return reinterpret_cast<void*>(function); }

class ValueClasses : public test::ValueTest { };

TEST_F(ValueClasses, VariantListsItsMethodsAndOperatorsInOrder)
{
    ClassRecord* variant = RuntimeLookupClass(test::ascii("VARIANT").get());
    ASSERT_EQ(variant, variant_class());
    EXPECT_EQ(variant->instanceSize, 44);
    ASSERT_EQ(variant->staticMethodCount, 33);
    struct Case {
        i32 index;
        const char* signature;
        void* routine;
    };
    const Case cases[] = {
        {0, "Type%i%o<Variant>", routine(&VarType)},
        {4, "Equals%b%o<Variant>o<Variant>", routine(&VariantEqual)},
        {11, "DateValue%o<Date>%o<Variant>", routine(&VariantToDate)},
        {12, "Operator_Convert%i%o<Variant>", routine(&variantToInt)},
        {15, "Operator_Convert%o<Object>%o<Variant>", routine(&variantToObject)},
        {19, "Operator_Compare%i%o<Variant>o<Variant>", routine(&VariantCompare)},
        {26, "Operator_Negate%o<Variant>%o<Variant>", routine(&VariantNegate)},
        {29, "Operator_MultiplyRight%o<Variant>%o<Variant>o<Variant>", routine(&VariantMultiply)},
        {32, "Operator_ModuloRight%o<Variant>%o<Variant>o<Variant>", routine(&VariantModuloRight)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signature);
        EXPECT_EQ(test::text_of(variant->staticMethodTable[c.index].signature), c.signature);
        EXPECT_EQ(variant->staticMethodTable[c.index].routine, c.routine);
    }
    // The operator routines the static export table lacks are registered by name.
    for (const char* name : {"VariantCompare", "VariantAddRight", "VariantModuloRight"}) {
        const EntryPoint* entry = FindEntryPoint(std::string_view(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_NE(entry->code, nullptr) << name;
    }
}

TEST_F(ValueClasses, DictionaryHasItsPropertiesAndAnAssignableValue)
{
    ClassRecord* dictionary = RuntimeLookupClass(test::ascii("Dictionary").get());
    ASSERT_EQ(dictionary, dictionary_class());
    EXPECT_EQ(dictionary->instanceSize, 60);
    ASSERT_EQ(dictionary->propertyCount, 2);
    EXPECT_EQ(test::text_of(dictionary->propertyTable[0].name), "Count%i");
    EXPECT_EQ(dictionary->propertyTable[0].getter, routine(&dictionaryCount));
    EXPECT_EQ(dictionary->propertyTable[0].setter, nullptr) << "Count is read-only";
    EXPECT_EQ(test::text_of(dictionary->propertyTable[1].name), "BinCount%i");
    EXPECT_EQ(dictionary->propertyTable[1].setter, routine(&dictionarySetBins));

    ASSERT_EQ(dictionary->staticMethodCount, 6) << "five methods, and Value's setter";
    EXPECT_EQ(test::text_of(dictionary->staticMethodTable[1].signature), "HasKey%b%o<Dictionary>o<Variant>");
    EXPECT_EQ(test::text_of(dictionary->staticMethodTable[4].signature), "Value%o<Variant>%o<Dictionary>o<Variant>");
    EXPECT_EQ(dictionary->staticMethodTable[4].routine, routine(&dictionaryValueGetter));
    EXPECT_EQ(dictionary->staticMethodTable[5].routine, routine(&dictionaryValueSetter));

    ClassRecord* date = RuntimeLookupClass(test::ascii("date").get());
    ASSERT_EQ(date, date_class());
    EXPECT_EQ(date->instanceSize, 36);
}

}  // namespace
