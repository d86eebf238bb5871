// Exceptions from the array, variant and dictionary routines reach the image's handler through
// its landing record, as compiled code calls them: one call with two arguments, an active
// record that stores the exception in a local, and the routine's zero result discarded.
#include <gtest/gtest.h>

#include <optional>

#include "runtime/arrays/runtime_array.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"
#include "tests/support/x86_code.h"

namespace {

using namespace qv;
using test::CodeBuilder;
using test::ExecutableCode;
using test::Held;

constexpr i16 kSlot = -4;
u32 s_result = 0;  // written by the machine code

// Calls routine(a, b) behind an active record. Returns 0 after a normal return, with the
// routine's result in s_result, or the exception from the slot (with the count the search
// gave it) when the call raised.
u32 call_guarded(const void* routine, u32 a, u32 b)
{
    CodeBuilder code;
    const auto entry = code.label();
    const auto handler = code.label();
    code.bind(entry)
        .enter(16)
        .mov_local_imm(kSlot, 0)
        .align_for_call(2)
        .push_imm(b)
        .push_imm(a)
        .call(routine)
        .add_esp_short(8)
        .landing_record(test::Marker::Active, kSlot, 8, handler)
        .store_eax(&s_result)
        .mov_eax_imm(0)
        .leave_ret()
        .bind(handler)
        .mov_eax_local(kSlot)
        .leave_ret();
    ExecutableCode placed(code);
    s_result = 0xFFFFFFFF;
    return placed.function<u32 (*)()>(entry)();
}

u32 word(const void* p) { return static_cast<u32>(reinterpret_cast<uintptr_t>(p)); }

class ValueExceptions : public test::ValueTest { };

TEST_F(ValueExceptions, RaisesLandInTheCallersHandler)
{
    Held dictionary(RuntimeNewObject(dictionary_class()));
    Held present(intToVariant(1)), missing(intToVariant(2)), zero(intToVariant(0)), truth(booleanToVariant(1));
    dictionaryValueSetter(dictionary.get(), present.get(), present.get());
    RuntimeArray* array = CreateArray(1, QV_ARRAY_VALUE32, 3);

    struct Case {
        const char* name;
        const void* routine;
        u32 a, b;
        std::optional<ExceptionClass> raises;
    };
    const Case cases[] = {
        {"present key", reinterpret_cast<const void*>(&dictionaryValueGetter), word(dictionary.get()),
         word(present.get()), std::nullopt},
        {"missing key", reinterpret_cast<const void*>(&dictionaryValueGetter), word(dictionary.get()),
         word(missing.get()), ExceptionClass::KeyNotFoundException},
        {"key index", reinterpret_cast<const void*>(&dictionaryKey), word(dictionary.get()), 1,
         ExceptionClass::OutOfBoundsException},
        {"integer division by zero", reinterpret_cast<const void*>(&VariantIntegerDivide), word(present.get()),
         word(zero.get()), ExceptionClass::RuntimeException},
        {"Booleans compared", reinterpret_cast<const void*>(&VariantCompare), word(truth.get()), word(truth.get()),
         ExceptionClass::typeMismatchException},
        {"element outside", reinterpret_cast<const void*>(&FindArrayElement), word(array), 4,
         ExceptionClass::OutOfBoundsException},
        {"element inside", reinterpret_cast<const void*>(&FindArrayElement), word(array), 3, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const u32 landed = call_guarded(c.routine, c.a, c.b);
        EXPECT_TRUE(nothing_raised()) << "nothing goes unhandled";
        if (!c.raises) {
            EXPECT_EQ(landed, 0u);
            if (c.routine == reinterpret_cast<const void*>(&dictionaryValueGetter)) {
                EXPECT_EQ(s_result, word(present.get()));
                RuntimeUnlockObject(present.get());  // the getter's count
            }
            continue;
        }
        ASSERT_NE(landed, 0u);
        auto* exception = reinterpret_cast<RuntimeObject*>(static_cast<uintptr_t>(landed));
        EXPECT_EQ(exception->classRecord, class_of(*c.raises));
        EXPECT_EQ(exception->refCount, 1) << "the handler's count is the only one left";
        EXPECT_EQ(s_result, 0xFFFFFFFFu) << "the normal path did not run";
        RuntimeUnlockObject(exception);
    }
    RuntimeUnlockArray(array);
}

}  // namespace
