// Fuzz target for mass property tables: arbitrary bytes applied to a real object of a class
// whose property table has every value type, generic and named setters, read-only entries and
// types a table cannot carry. Nothing may read outside the table or write outside the object,
// every string the reader makes must end up owned by a field or released, and the reader must
// stop where it says it stopped.
#include <cstring>

#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/object_model.h"
#include "tests/ui/test_control_class.h"
#include "ui/object_property_target.h"

namespace {

qv::AssertionAnswer answer_ok(const char*) { return qv::AssertionAnswer::Ok; }

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::set_assertion_responder(&answer_ok);
    static qv::test::TestControlClass* s_class = new qv::test::TestControlClass;  // lives for the run
    qv::test::setter_calls().clear();
    const i32 live = qv::live_object_count();

    RuntimeObject* object = s_class->make();
    qv::ui::ObjectPropertyTarget target(object);
    const qv::ui::MassTableResult result = qv::ui::apply_mass_property_table({data, size}, target);
    check(result.offset <= size);
    check((result.end == qv::ui::MassTableEnd::Complete) == (result.offset == size));
    check(result.applied >= 0 && result.read_only >= 0);
    check(object->refCount == 1);
    // Each string field holds exactly the one count its setter took.
    for (i32 offset : {40, 84, 92}) {
        RuntimeString* field;
        std::memcpy(&field, reinterpret_cast<u8*>(object) + offset, sizeof field);
        check(!field || field->refCount == 1);
    }
    qv::test::TestControlClass::destroy(object);
    check(qv::live_object_count() == live);
    return 0;
}
