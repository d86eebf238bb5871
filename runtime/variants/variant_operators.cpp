// The language's operators on variants: the common type of two operands, comparison and
// arithmetic. Integer arithmetic wraps around in 32 bits; integer division and modulo by zero
// raise a RuntimeException instead of trapping.
#include "runtime/exceptions/raise_builtin.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/variants/variant_object.h"

namespace qv {
namespace {

// Operands of these types meet in a common type that decides how an operator reads them.
u32 common_type(const RuntimeObject* a, const RuntimeObject* b)
{
    if (!a || !b)
        return QV_VARIANT_NIL;
    const u32 x = type_of(a), y = type_of(b);
    if (x == y)
        return x;
    switch (x) {
    case QV_VARIANT_INTEGER:
        if (y == QV_VARIANT_DOUBLE || y == QV_VARIANT_DATE)
            return QV_VARIANT_DOUBLE;
        if (y == QV_VARIANT_COLOR)
            return QV_VARIANT_INTEGER;
        break;
    case QV_VARIANT_DOUBLE:
        if (y == QV_VARIANT_INTEGER || y == QV_VARIANT_COLOR || y == QV_VARIANT_DATE)
            return QV_VARIANT_DOUBLE;
        break;
    case QV_VARIANT_DATE:
        if (y == QV_VARIANT_DOUBLE)
            return QV_VARIANT_DOUBLE;
        if (y == QV_VARIANT_INTEGER)
            return QV_VARIANT_INTEGER;
        break;
    case QV_VARIANT_STRING:
        if (y == QV_VARIANT_INTEGER || y == QV_VARIANT_DOUBLE || y == QV_VARIANT_COLOR || y == QV_VARIANT_DATE)
            return QV_VARIANT_STRING;
        break;
    case QV_VARIANT_COLOR:
        if (y == QV_VARIANT_INTEGER)
            return QV_VARIANT_INTEGER;
        if (y == QV_VARIANT_DOUBLE)
            return QV_VARIANT_DOUBLE;
        break;
    default: return QV_VARIANT_NIL;  // Object, Boolean, Nil on the left
    }
    return y == QV_VARIANT_STRING ? QV_VARIANT_STRING : QV_VARIANT_NIL;
}

template <typename T>
int sign_of_difference(T a, T b)
{
    return (a > b) - (a < b);
}

bool both_ints(RuntimeObject* a, RuntimeObject* b, i32& x, i32& y)
{
    return convert_to_int(a, x) && convert_to_int(b, y);
}

bool both_doubles(RuntimeObject* a, RuntimeObject* b, double& x, double& y)
{
    return convert_to_double(a, x) && convert_to_double(b, y);
}

RuntimeObject* integer_result(u32 value) { return make_word_variant(QV_VARIANT_INTEGER, value); }
RuntimeObject* double_result(double value) { return make_double_variant(QV_VARIANT_DOUBLE, value); }

enum class Arithmetic { Subtract, Multiply };

RuntimeObject* subtract_or_multiply(RuntimeObject* a, RuntimeObject* b, Arithmetic op)
{
    if (!a || !b) {
        RaiseNilObject();
        return nullptr;
    }
    if (common_type(a, b) == QV_VARIANT_INTEGER) {
        i32 x, y;
        if (!both_ints(a, b, x, y))
            return nullptr;
        const u32 ux = static_cast<u32>(x), uy = static_cast<u32>(y);
        return integer_result(op == Arithmetic::Subtract ? ux - uy : ux * uy);
    }
    double x, y;
    if (!both_doubles(a, b, x, y))
        return nullptr;
    return double_result(op == Arithmetic::Subtract ? x - y : x * y);
}

bool integer_operands(RuntimeObject* a, RuntimeObject* b, i32& x, i32& y)
{
    if (!both_ints(a, b, x, y))
        return false;
    if (y == 0) {
        raise_builtin(ExceptionClass::RuntimeException, "Integer division by zero");
        return false;
    }
    return true;
}

}  // namespace
}  // namespace qv

using namespace qv;

extern "C" {

int32_t VariantCompare(RuntimeObject* a, RuntimeObject* b)
{
    switch (common_type(a, b)) {
    case QV_VARIANT_NIL: return IsNull(a) - IsNull(b);
    case QV_VARIANT_INTEGER:
    case QV_VARIANT_COLOR: {
        // The sign of the difference, not the difference, which could overflow.
        i32 x, y;
        return both_ints(a, b, x, y) ? sign_of_difference(x, y) : 0;
    }
    case QV_VARIANT_DOUBLE:
    case QV_VARIANT_DATE: {
        double x, y;
        return both_doubles(a, b, x, y) ? sign_of_difference(x, y) : 0;
    }
    case QV_VARIANT_STRING: {
        StringRef x, y;
        if (!convert_to_text(a, x) || !convert_to_text(b, y))
            return 0;
        return RuntimeStringCompare(x.get(), y.get());
    }
    case QV_VARIANT_OBJECT:
        return sign_of_difference(reinterpret_cast<uintptr_t>(object_of(a)), reinterpret_cast<uintptr_t>(object_of(b)));
    default: raise_builtin(ExceptionClass::typeMismatchException); return 0;
    }
}

RuntimeObject* VariantAdd(RuntimeObject* a, RuntimeObject* b)
{
    if (!a || !b) {
        RaiseNilObject();
        return nullptr;
    }
    switch (common_type(a, b)) {
    case QV_VARIANT_INTEGER: {
        i32 x, y;
        return both_ints(a, b, x, y) ? integer_result(static_cast<u32>(x) + static_cast<u32>(y)) : nullptr;
    }
    case QV_VARIANT_DOUBLE: {
        double x, y;
        return both_doubles(a, b, x, y) ? double_result(x + y) : nullptr;
    }
    case QV_VARIANT_STRING: {
        StringRef x, y;
        if (!convert_to_text(a, x) || !convert_to_text(b, y))
            return nullptr;
        return make_string_variant(StringRef::Concat(x, y));
    }
    default: raise_builtin(ExceptionClass::typeMismatchException); return nullptr;
    }
}

RuntimeObject* VariantSubtract(RuntimeObject* a, RuntimeObject* b)
{
    return subtract_or_multiply(a, b, Arithmetic::Subtract);
}

RuntimeObject* VariantMultiply(RuntimeObject* a, RuntimeObject* b)
{
    return subtract_or_multiply(a, b, Arithmetic::Multiply);
}

RuntimeObject* VariantDivide(RuntimeObject* a, RuntimeObject* b)
{
    double x, y;
    return both_doubles(a, b, x, y) ? double_result(x / y) : nullptr;
}

RuntimeObject* VariantIntegerDivide(RuntimeObject* a, RuntimeObject* b)
{
    i32 x, y;
    if (!integer_operands(a, b, x, y))
        return nullptr;
    if (y == -1)  // the lowest integer divided by -1 wraps to itself instead of trapping
        return integer_result(0u - static_cast<u32>(x));
    return integer_result(static_cast<u32>(x / y));
}

RuntimeObject* VariantModulo(RuntimeObject* a, RuntimeObject* b)
{
    i32 x, y;
    if (!integer_operands(a, b, x, y))
        return nullptr;
    return integer_result(y == -1 ? 0u : static_cast<u32>(x % y));
}

RuntimeObject* VariantNegate(RuntimeObject* a)
{
    if (!a) {
        RaiseNilObject();
        return nullptr;
    }
    if (type_of(a) == QV_VARIANT_INTEGER)
        return integer_result(0u - word_of(a));
    double x;
    return convert_to_double(a, x) ? double_result(-x) : nullptr;
}

RuntimeObject* VariantAddRight(RuntimeObject* a, RuntimeObject* b) { return VariantAdd(b, a); }
RuntimeObject* VariantSubtractRight(RuntimeObject* a, RuntimeObject* b) { return VariantSubtract(b, a); }
RuntimeObject* VariantDivideRight(RuntimeObject* a, RuntimeObject* b) { return VariantDivide(b, a); }
RuntimeObject* VariantIntegerDivideRight(RuntimeObject* a, RuntimeObject* b) { return VariantIntegerDivide(b, a); }
RuntimeObject* VariantModuloRight(RuntimeObject* a, RuntimeObject* b) { return VariantModulo(b, a); }

}  // extern "C"
