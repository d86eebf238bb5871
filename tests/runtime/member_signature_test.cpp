// Member signatures: the grammar on the forms image code stores, the refusal of text outside
// it, and signatures built for methods and properties reading back through the parser.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/definitions/member_signature.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;

struct ParseCase {
    const char* text;
    bool event_implementation;
    const char* name;
    const char* result;
    const char* receiver;
    std::vector<SignatureParameter> parameters;
};

TEST(MemberSignature, ParsesEveryForm)
{
    const ParseCase cases[] = {
        {"setString%%o<EditField>s", false, "setString", "", "o<EditField>", {{"s", false}}},
        {"_Index%i%o<EditField0>", false, "_Index", "i", "o<EditField0>", {}},
        {"PushButton2%o<PushButton>%o<Window1>", false, "PushButton2", "o<PushButton>", "o<Window1>", {}},
        {"#Action%%o<PushButton2>", true, "Action", "", "o<PushButton2>", {}},
        {"#Action%b%o<App_CnvSet>i", true, "Action", "b", "o<App_CnvSet>", {{"i", false}}},
        {"owner%o<App>%", false, "owner", "o<App>", "", {}},
        {"Resize%%o<Shape>i&iaf&ao<Point>d",
         false,
         "Resize",
         "",
         "o<Shape>",
         {{"i", false}, {"i", true}, {"af", false}, {"ao<Point>", true}, {"d", false}}},
        // Without a receiver the parameters start right after the second "%".
        {"Left%s%si", false, "Left", "s", "", {{"s", false}, {"i", false}}},
        {"Pick%aai%&c", false, "Pick", "aai", "", {{"c", true}}},
    };
    for (const ParseCase& c : cases) {
        const std::optional<MemberSignature> parsed = parse_member_signature(c.text);
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(parsed->eventImplementation, c.event_implementation) << c.text;
        EXPECT_EQ(parsed->name, c.name) << c.text;
        EXPECT_EQ(parsed->result, c.result) << c.text;
        EXPECT_EQ(parsed->receiver, c.receiver) << c.text;
        EXPECT_EQ(parsed->parameters, c.parameters) << c.text;
    }
}

TEST(MemberSignature, RefusesTextOutsideTheGrammar)
{
    for (const char* text : {
             "",              // no name
             "%i%",           // empty name
             "#%%",           // empty name after the mark
             "name",          // no "%" at all
             "name%i",        // one "%" only
             "name%ii%",      // two codes as a result
             "name%x%",       // unknown code
             "name%%o<>",     // object without a class name
             "name%%o<Open",  // unterminated class name
             "name%%o<A>&",   // "&" without a code
             "name%%o<A>a",   // array without an element
             "name%%o<A>%",   // a third "%"
         }) {
        EXPECT_FALSE(parse_member_signature(text)) << '"' << text << '"';
    }
}

TEST(MemberSignature, BuiltSignaturesReadBack)
{
    static const TypeDescriptor point = object_type("Point");
    static const TypeDescriptor points = array_type(point);
    const ParameterRecord parameters[] = {
        {"width", &kIntegerType, 0}, {"height", &kIntegerType, 1}, {"corners", &points, 1}};
    EXPECT_EQ(format_method_signature("Resize", nullptr, "Shape", parameters, 3), "Resize%%o<Shape>i&i&ao<Point>");
    EXPECT_EQ(format_method_signature("Area", &kDoubleType, "Shape", nullptr, 0), "Area%d%o<Shape>");
    EXPECT_EQ(format_method_signature("Origin", &point, "", nullptr, 0), "Origin%o<Point>%");

    MethodNode method{};
    method.name = QV_STR("Resize");
    method.parameters = parameters;
    method.parameterCount = 2;
    ObjectDefinition owner{};
    owner.name = QV_STR("Shape");
    EXPECT_EQ(test::text_of(method_signature(method, &owner)), "Resize%%o<Shape>i&i");
    const std::optional<MemberSignature> parsed = parse_member_signature("Resize%%o<Shape>i&i");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->receiver, "o<Shape>");
    EXPECT_EQ(parsed->parameters.size(), 2u);

    PropertyNode property{};
    property.name = QV_STR("Label");
    property.type = &kStringType;
    EXPECT_EQ(test::text_of(property_signature(property)), "Label%s");
    property.type = &kColorType;
    EXPECT_EQ(test::text_of(property_signature(property)), "Label%c");
}

}  // namespace
