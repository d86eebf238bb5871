// Wrapping typed values into variants, inspecting them, and converting them back: the
// exported routines and the conversion rules that the operators share.
#include <cmath>
#include <limits>

#include "runtime/exceptions/raise_builtin.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/strings/number_text.h"
#include "runtime/variants/date_value.h"
#include "runtime/variants/variant_object.h"
#include "runtime/variants/variant_text.h"

namespace qv {
namespace {

void raise_mismatch() { raise_builtin(ExceptionClass::typeMismatchException); }

StringRef text_of_variant(const RuntimeObject* v) { return StringRef::share(string_of(v)); }

}  // namespace

i32 truncate_to_int(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<i32>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<i32>::min();
    return static_cast<i32>(value);
}

bool convert_to_int(RuntimeObject* v, i32& out)
{
    out = 0;
    if (!v) {
        RaiseNilObject();
        return false;
    }
    switch (type_of(v)) {
    case QV_VARIANT_INTEGER:
    case QV_VARIANT_COLOR: out = static_cast<i32>(word_of(v)); return true;
    case QV_VARIANT_DOUBLE:
    case QV_VARIANT_DATE: out = truncate_to_int(double_of(v)); return true;
    case QV_VARIANT_STRING: out = truncate_to_int(val(text_of_variant(v))); return true;
    case QV_VARIANT_BOOLEAN: out = word_of(v) != 0; return true;
    default: raise_mismatch(); return false;
    }
}

bool convert_to_double(RuntimeObject* v, double& out)
{
    out = 0;
    if (!v) {
        RaiseNilObject();
        return false;
    }
    switch (type_of(v)) {
    case QV_VARIANT_INTEGER: out = static_cast<i32>(word_of(v)); return true;
    case QV_VARIANT_COLOR: out = word_of(v); return true;  // colours have no sign
    case QV_VARIANT_DOUBLE:
    case QV_VARIANT_DATE: out = double_of(v); return true;
    case QV_VARIANT_STRING: out = val(text_of_variant(v)); return true;
    case QV_VARIANT_BOOLEAN: out = word_of(v) != 0 ? 1.0 : 0.0; return true;
    default: raise_mismatch(); return false;
    }
}

bool convert_to_text(RuntimeObject* v, StringRef& out)
{
    out = {};
    if (!v) {
        RaiseNilObject();
        return false;
    }
    switch (type_of(v)) {
    case QV_VARIANT_INTEGER: out = StringRef::FromInteger(static_cast<i32>(word_of(v))); return true;
    case QV_VARIANT_COLOR: out = color_variant_text(word_of(v)); return true;
    case QV_VARIANT_DOUBLE: out = double_variant_text(double_of(v)); return true;
    case QV_VARIANT_DATE: out = date_text(double_of(v)); return true;
    case QV_VARIANT_STRING: out = text_of_variant(v); return true;
    case QV_VARIANT_BOOLEAN: out = StringRef::FromCString(word_of(v) != 0 ? "True" : "False"); return true;
    default: raise_mismatch(); return false;
    }
}

}  // namespace qv

using namespace qv;

extern "C" {

RuntimeObject* intToVariant(int32_t value) { return make_word_variant(QV_VARIANT_INTEGER, static_cast<u32>(value)); }
RuntimeObject* doubleToVariant(double value) { return make_double_variant(QV_VARIANT_DOUBLE, value); }
RuntimeObject* stringToVariant(RuntimeString* value) { return make_string_variant(StringRef::share(value)); }
RuntimeObject* booleanToVariant(int32_t value) { return make_word_variant(QV_VARIANT_BOOLEAN, value != 0); }
RuntimeObject* colorToVariant(uint32_t value) { return make_word_variant(QV_VARIANT_COLOR, value); }
RuntimeObject* getNilVariant(void) { return make_word_variant(QV_VARIANT_NIL, 0); }

RuntimeObject* DateToVariant(RuntimeObject* date)
{
    if (date && !is_date(date)) {
        raise_mismatch();
        return nullptr;
    }
    return make_double_variant(QV_VARIANT_DATE, date ? date_total_seconds(date) : 0.0);
}

RuntimeObject* objectToVariant(RuntimeObject* value)
{
    if (is_date(value))
        return make_double_variant(QV_VARIANT_DATE, date_total_seconds(value));
    return make_object_variant(value);
}

int32_t VarType(RuntimeObject* v) { return v ? static_cast<i32>(type_of(v)) : 0; }

int32_t IsNumeric(RuntimeObject* v)
{
    return v && (type_of(v) == QV_VARIANT_INTEGER || type_of(v) == QV_VARIANT_DOUBLE);
}

int32_t IsNull(RuntimeObject* v)
{
    return !v || type_of(v) == QV_VARIANT_NIL || (type_of(v) == QV_VARIANT_OBJECT && !object_of(v));
}

int32_t VariantIsA(RuntimeObject* v, ClassRecord* classRecord)
{
    if (!v)
        return 0;
    if (type_of(v) == QV_VARIANT_OBJECT)
        return RuntimeObjectIsa(object_of(v), classRecord);
    return type_of(v) == QV_VARIANT_DATE && classRecord == date_class();
}

RuntimeObject* VariantTypecast(RuntimeObject* v, ClassRecord* classRecord)
{
    RuntimeObject* object = variantToObject(v);
    RuntimeObject* cast = RuntimeCheckCast(object, classRecord);
    RuntimeUnlockObject(object);
    return cast;
}

int32_t variantToInt(RuntimeObject* v)
{
    i32 value;
    convert_to_int(v, value);
    return value;
}

uint32_t variantToColor(RuntimeObject* v) { return static_cast<u32>(variantToInt(v)); }

double variantToDouble(RuntimeObject* v)
{
    double value;
    convert_to_double(v, value);
    return value;
}

RuntimeString* variantToString(RuntimeObject* v)
{
    StringRef text;
    convert_to_text(v, text);
    return text.leak();
}

int32_t variantToBoolean(RuntimeObject* v)
{
    if (!v) {
        RaiseNilObject();
        return 0;
    }
    switch (type_of(v)) {
    case QV_VARIANT_INTEGER:
    case QV_VARIANT_COLOR: return word_of(v) != 0;
    case QV_VARIANT_DOUBLE:
    case QV_VARIANT_DATE: return double_of(v) != 0.0;
    case QV_VARIANT_STRING: return text_means_true(text_of_variant(v));
    case QV_VARIANT_BOOLEAN: return word_of(v) != 0;
    default: raise_mismatch(); return 0;
    }
}

RuntimeObject* VariantToDate(RuntimeObject* v)
{
    if (!v) {
        RaiseNilObject();
        return nullptr;
    }
    switch (type_of(v)) {
    case QV_VARIANT_INTEGER:
    case QV_VARIANT_COLOR: return new_date(static_cast<double>(word_of(v)));  // as unsigned
    case QV_VARIANT_DOUBLE:
    case QV_VARIANT_DATE: return new_date(double_of(v));
    case QV_VARIANT_BOOLEAN: return new_date(word_of(v) != 0 ? 1.0 : 0.0);
    case QV_VARIANT_STRING: {
        double seconds = 0;
        if (parse_date_text(text_of_variant(v), seconds))
            return new_date(seconds);
        break;
    }
    case QV_VARIANT_OBJECT:
        if (is_date(object_of(v))) {
            RuntimeLockObject(object_of(v));
            return object_of(v);
        }
        break;
    default: break;
    }
    raise_mismatch();
    return nullptr;
}

RuntimeObject* variantToObject(RuntimeObject* v)
{
    if (!v) {
        RaiseNilObject();
        return nullptr;
    }
    if (type_of(v) == QV_VARIANT_OBJECT) {
        RuntimeLockObject(object_of(v));
        return object_of(v);
    }
    if (type_of(v) == QV_VARIANT_DATE)
        return new_date(double_of(v));
    raise_mismatch();
    return nullptr;
}

}  // extern "C"
