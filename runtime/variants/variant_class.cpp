// The built-in class Variant: its definition (methods in the order compiled code reaches them,
// operators included), the finalizer that lets go of a held string or object, and making
// variants.
#include <cstring>

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/object_model.h"
#include "runtime/variants/variant_object.h"

namespace qv {
namespace {

constexpr TypeDescriptor kVariantType = object_type("Variant");
constexpr TypeDescriptor kObjectType = object_type("Object");
constexpr TypeDescriptor kDateType = object_type("Date");

const ParameterRecord kOther[] = {{"other", &kVariantType, 0}};

#define QV_METHOD(label, result, routine)                                   \
    {                                                                       \
        label, result, nullptr, 0, QV_ROUTINE(routine), nullptr, nullptr, 0 \
    }
#define QV_BINARY(label, result, routine)                                  \
    {                                                                      \
        label, result, kOther, 1, QV_ROUTINE(routine), nullptr, nullptr, 0 \
    }

const MethodRecord kMethods[] = {
    QV_METHOD("Type", &kIntegerType, VarType),
    QV_METHOD("IsNumeric", &kBooleanType, IsNumeric),
    QV_METHOD("IsNull", &kBooleanType, IsNull),
    QV_METHOD("Hash", &kIntegerType, VariantHash),
    QV_BINARY("Equals", &kBooleanType, VariantEqual),
    QV_METHOD("IntegerValue", &kIntegerType, variantToInt),
    QV_METHOD("ColorValue", &kColorType, variantToColor),
    QV_METHOD("DoubleValue", &kDoubleType, variantToDouble),
    QV_METHOD("ObjectValue", &kObjectType, variantToObject),
    QV_METHOD("StringValue", &kStringType, variantToString),
    QV_METHOD("BooleanValue", &kBooleanType, variantToBoolean),
    QV_METHOD("DateValue", &kDateType, VariantToDate),
    QV_METHOD("Operator_Convert", &kIntegerType, variantToInt),
    QV_METHOD("Operator_Convert", &kColorType, variantToColor),
    QV_METHOD("Operator_Convert", &kDoubleType, variantToDouble),
    QV_METHOD("Operator_Convert", &kObjectType, variantToObject),
    QV_METHOD("Operator_Convert", &kStringType, variantToString),
    QV_METHOD("Operator_Convert", &kBooleanType, variantToBoolean),
    QV_METHOD("Operator_Convert", &kDateType, VariantToDate),
    QV_BINARY("Operator_Compare", &kIntegerType, VariantCompare),
    QV_BINARY("Operator_Add", &kVariantType, VariantAdd),
    QV_BINARY("Operator_Subtract", &kVariantType, VariantSubtract),
    QV_BINARY("Operator_Multiply", &kVariantType, VariantMultiply),
    QV_BINARY("Operator_Divide", &kVariantType, VariantDivide),
    QV_BINARY("Operator_IntegerDivide", &kVariantType, VariantIntegerDivide),
    QV_BINARY("Operator_Modulo", &kVariantType, VariantModulo),
    QV_METHOD("Operator_Negate", &kVariantType, VariantNegate),
    QV_BINARY("Operator_AddRight", &kVariantType, VariantAddRight),
    QV_BINARY("Operator_SubtractRight", &kVariantType, VariantSubtractRight),
    QV_BINARY("Operator_MultiplyRight", &kVariantType, VariantMultiply),
    QV_BINARY("Operator_DivideRight", &kVariantType, VariantDivideRight),
    QV_BINARY("Operator_IntegerDivideRight", &kVariantType, VariantIntegerDivideRight),
    QV_BINARY("Operator_ModuloRight", &kVariantType, VariantModuloRight),
};

#undef QV_BINARY
#undef QV_METHOD

void finalize_variant(RuntimeObject* object)
{
    auto* v = reinterpret_cast<RuntimeVariant*>(object);
    const u32 held = v->value[0];
    v->value[0] = 0;
    if (v->type == QV_VARIANT_STRING)
        RuntimeUnlockString(reinterpret_cast<RuntimeString*>(held));
    else if (v->type == QV_VARIANT_OBJECT)
        RuntimeUnlockObject(reinterpret_cast<RuntimeObject*>(held));
}

ObjectDefinition s_definition;

RuntimeVariant* new_variant(u32 type)
{
    auto* v = reinterpret_cast<RuntimeVariant*>(RuntimeNewObject(variant_class()));
    if (v)
        v->type = type;
    return v;
}

}  // namespace

ObjectDefinition* variant_definition()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "Variant";
        source.instance_size = sizeof(RuntimeVariant);
        source.methods = kMethods;
        source.finalizer = &finalize_variant;
        build_definition(s_definition, source);
    });
    return &s_definition;
}

ClassRecord* variant_class()
{
    static ClassRecord* const s_class = ClassFromDefinition(variant_definition());
    return s_class;
}

RuntimeObject* make_word_variant(u32 type, u32 word)
{
    RuntimeVariant* v = new_variant(type);
    if (!v)
        return nullptr;
    v->value[0] = word;
    return &v->header;
}

RuntimeObject* make_double_variant(u32 type, double value)
{
    RuntimeVariant* v = new_variant(type);
    if (!v)
        return nullptr;
    std::memcpy(v->value, &value, sizeof value);
    return &v->header;
}

RuntimeObject* make_string_variant(const StringRef& text)
{
    StringRef held = text;
    return make_word_variant(QV_VARIANT_STRING, reinterpret_cast<u32>(held.leak()));
}

RuntimeObject* make_object_variant(RuntimeObject* object)
{
    RuntimeLockObject(object);
    return make_word_variant(QV_VARIANT_OBJECT, reinterpret_cast<u32>(object));
}

}  // namespace qv
