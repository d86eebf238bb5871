// Operators on variants: the common type two operands meet in, arithmetic with its promotions
// and 32-bit wrap-around, division by zero, the exchanged-operand routines, negation and
// comparison across types. Each failing operation raises exactly one exception.
#include <gtest/gtest.h>

#include <limits>

#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace {

using namespace qv;
using test::Held;
using test::plain_object;

constexpr i32 kMinInt = std::numeric_limits<i32>::min();
constexpr i32 kMaxInt = std::numeric_limits<i32>::max();

using Maker = RuntimeObject* (*)();
using Binary = RuntimeObject* (*)(RuntimeObject*, RuntimeObject*);

RuntimeObject* text(const char* t) { return stringToVariant(test::ascii(t).get()); }
RuntimeObject* date(double seconds) { return DateToVariant(Held(new_date(seconds)).get()); }

struct OperatorCase {
    const char* name;
    Binary routine;
    Maker a, b;
    i32 type;  // 0: raises `failure`
    const char* text;
    ExceptionClass failure = ExceptionClass::typeMismatchException;
};

constexpr ExceptionClass kNil = ExceptionClass::NilObjectException;
constexpr ExceptionClass kDivision = ExceptionClass::RuntimeException;

// clang-format off
const OperatorCase kOperators[] = {
    {"String + Integer joins texts", VariantAdd, [] { return text("3"); }, [] { return intToVariant(4); }, 8, "34"},
    {"Integer + String joins texts", VariantAdd, [] { return intToVariant(4); }, [] { return text("3"); }, 8, "43"},
    {"Double + String joins texts", VariantAdd, [] { return doubleToVariant(1.5); }, [] { return text("x"); }, 8, "1.5x"},
    {"Integer + Double", VariantAdd, [] { return intToVariant(3); }, [] { return doubleToVariant(0.5); }, 5, "3.5"},
    {"Integer + Integer wraps", VariantAdd, [] { return intToVariant(kMaxInt); }, [] { return intToVariant(1); }, 2, "-2147483648"},
    {"Integer + Color", VariantAdd, [] { return intToVariant(1); }, [] { return colorToVariant(16); }, 2, "17"},
    {"Color + Double", VariantAdd, [] { return colorToVariant(1); }, [] { return doubleToVariant(0.5); }, 5, "1.5"},
    {"Date + Integer is an Integer", VariantAdd, [] { return date(10.7); }, [] { return intToVariant(1); }, 2, "11"},
    {"Date + Double", VariantAdd, [] { return date(10.5); }, [] { return doubleToVariant(0.25); }, 5, "10.75"},
    {"Boolean + Boolean", VariantAdd, [] { return booleanToVariant(1); }, [] { return booleanToVariant(1); }, 0, ""},
    {"Color + Color", VariantAdd, [] { return colorToVariant(1); }, [] { return colorToVariant(2); }, 0, ""},
    {"Date + Date", VariantAdd, [] { return date(1); }, [] { return date(2); }, 0, ""},
    {"String + Boolean", VariantAdd, [] { return text("a"); }, [] { return booleanToVariant(1); }, 0, ""},
    {"Object + Integer", VariantAdd, [] { return objectToVariant(plain_object().get()); }, [] { return intToVariant(1); }, 0, ""},
    {"Nil + Integer", VariantAdd, [] { return getNilVariant(); }, [] { return intToVariant(1); }, 0, ""},
    {"nothing + Integer", VariantAdd, []() -> RuntimeObject* { return nullptr; }, [] { return intToVariant(1); }, 0, "", kNil},

    {"Integer - Integer", VariantSubtract, [] { return intToVariant(7); }, [] { return intToVariant(10); }, 2, "-3"},
    {"Integer - Integer wraps", VariantSubtract, [] { return intToVariant(kMinInt); }, [] { return intToVariant(1); }, 2, "2147483647"},
    {"Integer * Integer wraps", VariantMultiply, [] { return intToVariant(65536); }, [] { return intToVariant(65537); }, 2, "65536"},
    {"String - Integer in doubles", VariantSubtract, [] { return text("10"); }, [] { return intToVariant(4); }, 5, "6"},
    {"Boolean - Integer in doubles", VariantSubtract, [] { return booleanToVariant(1); }, [] { return intToVariant(1); }, 5, "0"},
    {"Double * Integer", VariantMultiply, [] { return doubleToVariant(1.5); }, [] { return intToVariant(3); }, 5, "4.5"},
    {"Object * Integer", VariantMultiply, [] { return objectToVariant(plain_object().get()); }, [] { return intToVariant(1); }, 0, ""},
    {"Integer - nothing", VariantSubtract, [] { return intToVariant(1); }, []() -> RuntimeObject* { return nullptr; }, 0, "", kNil},

    {"Integer / Integer", VariantDivide, [] { return intToVariant(7); }, [] { return intToVariant(2); }, 5, "3.5"},
    {"Integer / 0 is infinite", VariantDivide, [] { return intToVariant(1); }, [] { return intToVariant(0); }, 5, "Inf"},
    {"String / String", VariantDivide, [] { return text("9"); }, [] { return text("2"); }, 5, "4.5"},
    {"Object / Integer", VariantDivide, [] { return objectToVariant(plain_object().get()); }, [] { return intToVariant(2); }, 0, ""},
    {"nothing / Integer", VariantDivide, []() -> RuntimeObject* { return nullptr; }, [] { return intToVariant(2); }, 0, "", kNil},

    {"-7 \\ 2", VariantIntegerDivide, [] { return intToVariant(-7); }, [] { return intToVariant(2); }, 2, "-3"},
    {"-7 Mod 2", VariantModulo, [] { return intToVariant(-7); }, [] { return intToVariant(2); }, 2, "-1"},
    {"7 Mod -2", VariantModulo, [] { return intToVariant(7); }, [] { return intToVariant(-2); }, 2, "1"},
    {"lowest \\ -1 wraps", VariantIntegerDivide, [] { return intToVariant(kMinInt); }, [] { return intToVariant(-1); }, 2, "-2147483648"},
    {"lowest Mod -1", VariantModulo, [] { return intToVariant(kMinInt); }, [] { return intToVariant(-1); }, 2, "0"},
    {"Double \\ Integer truncates", VariantIntegerDivide, [] { return doubleToVariant(7.9); }, [] { return intToVariant(2); }, 2, "3"},
    {"String Mod Integer", VariantModulo, [] { return text("17"); }, [] { return intToVariant(5); }, 2, "2"},
    {"\\ 0", VariantIntegerDivide, [] { return intToVariant(5); }, [] { return intToVariant(0); }, 0, "", kDivision},
    {"Mod 0", VariantModulo, [] { return intToVariant(5); }, [] { return intToVariant(0); }, 0, "", kDivision},
    {"\\ 0.5 truncates to 0", VariantIntegerDivide, [] { return intToVariant(5); }, [] { return doubleToVariant(0.5); }, 0, "", kDivision},
    {"\\ nothing", VariantIntegerDivide, [] { return intToVariant(5); }, []() -> RuntimeObject* { return nullptr; }, 0, "", kNil},

    {"AddRight", VariantAddRight, [] { return text("a"); }, [] { return intToVariant(1); }, 8, "1a"},
    {"SubtractRight", VariantSubtractRight, [] { return intToVariant(10); }, [] { return intToVariant(3); }, 2, "-7"},
    {"DivideRight", VariantDivideRight, [] { return intToVariant(2); }, [] { return intToVariant(7); }, 5, "3.5"},
    {"IntegerDivideRight", VariantIntegerDivideRight, [] { return intToVariant(2); }, [] { return intToVariant(7); }, 2, "3"},
    {"ModuloRight", VariantModuloRight, [] { return intToVariant(2); }, [] { return intToVariant(7); }, 2, "1"},
    {"ModuloRight by 0", VariantModuloRight, [] { return intToVariant(0); }, [] { return intToVariant(7); }, 0, "", kDivision},
};
// clang-format on

class VariantOperators : public test::ValueTest { };

TEST_F(VariantOperators, ArithmeticByCommonType)
{
    for (const OperatorCase& c : kOperators) {
        SCOPED_TRACE(c.name);
        Held a(c.a()), b(c.b());
        Held result(c.routine(a.get(), b.get()));
        if (c.type == 0) {
            EXPECT_EQ(result.get(), nullptr);
            EXPECT_TRUE(raised_once(c.failure));
            continue;
        }
        EXPECT_TRUE(nothing_raised());
        ASSERT_NE(result.get(), nullptr);
        EXPECT_EQ(VarType(result.get()), c.type);
        EXPECT_EQ(test::text_of(StringRef::adopt(variantToString(result.get()))), c.text);
    }
}

RuntimeObject* s_caught = nullptr;

TEST_F(VariantOperators, DivisionByZeroSaysSo)
{
    Held five(intToVariant(5)), zero(intToVariant(0));
    s_caught = nullptr;
    const ExceptionHook previous = set_unhandled_exception_hook([](RuntimeObject* exception) {
        RuntimeLockObject(exception);
        s_caught = exception;
    });
    EXPECT_EQ(VariantIntegerDivide(five.get(), zero.get()), nullptr);
    set_unhandled_exception_hook(previous);
    Held caught(s_caught);
    ASSERT_NE(caught.get(), nullptr);
    EXPECT_EQ(caught.get()->classRecord, class_of(ExceptionClass::RuntimeException));
    EXPECT_EQ(test::text_of(reinterpret_cast<ExceptionObject*>(caught.get())->message), "Integer division by zero");
}

TEST_F(VariantOperators, NegationKeepsIntegersAndMakesDoubles)
{
    struct Case {
        const char* name;
        Maker operand;
        i32 type;  // 0: raises `failure`
        const char* text;
        ExceptionClass failure = ExceptionClass::typeMismatchException;
    };
    const Case cases[] = {
        {"Integer", [] { return intToVariant(5); }, 2, "-5"},
        {"lowest Integer wraps", [] { return intToVariant(kMinInt); }, 2, "-2147483648"},
        {"Double", [] { return doubleToVariant(2.5); }, 5, "-2.5"},
        {"Color", [] { return colorToVariant(3); }, 5, "-3"},
        {"String", [] { return text("3"); }, 5, "-3"},
        {"Boolean", [] { return booleanToVariant(1); }, 5, "-1"},
        {"Object", [] { return objectToVariant(plain_object().get()); }, 0, ""},
        {"nothing", []() -> RuntimeObject* { return nullptr; }, 0, "", kNil},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Held operand(c.operand());
        Held result(VariantNegate(operand.get()));
        if (c.type == 0) {
            EXPECT_EQ(result.get(), nullptr);
            EXPECT_TRUE(raised_once(c.failure));
            continue;
        }
        EXPECT_EQ(VarType(result.get()), c.type);
        EXPECT_EQ(test::text_of(StringRef::adopt(variantToString(result.get()))), c.text);
        EXPECT_TRUE(nothing_raised());
    }
}

TEST_F(VariantOperators, ComparisonAcrossTypes)
{
    struct Case {
        const char* name;
        Maker a, b;
        i32 sign;
        bool raises = false;
    };
    const Case cases[] = {
        {"Integer < Double", [] { return intToVariant(3); }, [] { return doubleToVariant(3.5); }, -1},
        {"far-apart Integers do not overflow", [] { return intToVariant(kMinInt); },
         [] { return intToVariant(kMaxInt); }, -1},
        {"Color > Integer", [] { return colorToVariant(9); }, [] { return intToVariant(2); }, 1},
        {"Dates", [] { return date(5); }, [] { return date(5); }, 0},
        {"Strings ignore case", [] { return text("abc"); }, [] { return text("ABD"); }, -1},
        {"Strings equal ignoring case", [] { return text("Key"); }, [] { return text("KEY"); }, 0},
        {"String and Integer compare as text", [] { return text("10"); }, [] { return intToVariant(9); }, -1},
        {"Object and Integer are unrelated", [] { return objectToVariant(plain_object().get()); },
         [] { return intToVariant(1); }, 0},
        {"an Object holding nil is null", [] { return objectToVariant(nullptr); }, [] { return intToVariant(1); }, 1},
        {"nothing is above a value", []() -> RuntimeObject* { return nullptr; }, [] { return intToVariant(1); }, 1},
        {"nothing = Nil", []() -> RuntimeObject* { return nullptr; }, [] { return getNilVariant(); }, 0},
        {"Booleans", [] { return booleanToVariant(1); }, [] { return booleanToVariant(0); }, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Held a(c.a()), b(c.b());
        const i32 order = VariantCompare(a.get(), b.get());
        EXPECT_EQ(order < 0 ? -1 : order > 0 ? 1 : 0, c.sign);
        if (c.raises)
            EXPECT_TRUE(raised_once(ExceptionClass::typeMismatchException));
        else
            EXPECT_TRUE(nothing_raised());
    }
    // Two Objects compare by address, consistently both ways.
    Held x = plain_object(), y = plain_object();
    Held vx(objectToVariant(x.get())), vy(objectToVariant(y.get()));
    const i32 forward = VariantCompare(vx.get(), vy.get());
    EXPECT_NE(forward, 0);
    EXPECT_EQ(VariantCompare(vy.get(), vx.get()), -forward);
    EXPECT_EQ(forward < 0, reinterpret_cast<uintptr_t>(x.get()) < reinterpret_cast<uintptr_t>(y.get()));
}

}  // namespace
