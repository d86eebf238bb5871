// Filing controls by key and closing the gaps in control arrays.
#include "ui/control_registry.h"

#include "runtime/objects/object_ref.h"

namespace qv::ui {
namespace {

// The map's values are counted: dropping one gives its count back.
void release_control(RuntimeObject*& control) { ObjectRef::adopt(control); }

void write_index_field(RuntimeObject* control, i32 index) { intSetter(control, kControlIndexOffset, index); }

}  // namespace

StringRef control_key(const StringRef& name, i32 index)
{
    if (index < 0)
        return name;
    StringRef key = StringRef::Concat(name, StringRef::FromCString("$"));
    return StringRef::Concat(key, StringRef::FromInteger(index));
}

ControlRegistry::ControlRegistry() : m_controls(256, {&release_control}) { }

void ControlRegistry::Add(RuntimeObject* control, const StringRef& name, i32 index)
{
    if (!control)
        return;
    m_controls.Insert(control_key(name, index), ObjectRef::share(control).leak());
}

RuntimeObject* ControlRegistry::Find(const StringRef& key) const
{
    RuntimeObject* control = nullptr;
    return m_controls.Find(key, &control) ? control : nullptr;
}

bool ControlRegistry::Remove(RuntimeObject* control, const StringRef& name, i32 index, IndexSetter set_index)
{
    if (!control || Find(control_key(name, index)) != control)
        return false;
    m_controls.Remove(control_key(name, index));
    if (index < 0)
        return true;
    if (!set_index)
        set_index = &write_index_field;
    for (i64 j = static_cast<i64>(index) + 1; j <= INT_MAX; ++j) {
        const StringRef key = control_key(name, static_cast<i32>(j));
        RuntimeObject* member = Find(key);
        if (!member)
            break;
        ObjectRef moved = ObjectRef::share(member);  // the count the entry under the lower key takes over
        m_controls.Remove(key);
        set_index(member, static_cast<i32>(j - 1));
        m_controls.Insert(control_key(name, static_cast<i32>(j - 1)), moved.leak());
    }
    return true;
}

}  // namespace qv::ui
