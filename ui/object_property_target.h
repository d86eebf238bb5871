// The mass property target over a runtime object: its class's flattened property table, the
// setters that table names, and the generic setters a setter word of 1 stands for.
#pragma once

#include "sdk/quaver.h"
#include "ui/mass_property_table.h"

namespace qv::ui {

class ObjectPropertyTarget final : public MassPropertyTarget {
public:
    explicit ObjectPropertyTarget(RuntimeObject* object) : m_object(object) { }

    i32 property_count() const override;
    MassProperty property_at(i32 index) const override;
    // Strings reach the setter as a new UTF-8 string, released after the call.
    void set(i32 index, const MassValue& value) override;

private:
    void set_without_parameter(void* setter, const MassValue& value);

    RuntimeObject* m_object;
};

// The setter word that stands for the generic setter of the property's type.
inline constexpr uintptr_t kGenericAccessorWord = 1;

}  // namespace qv::ui
