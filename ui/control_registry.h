// A window's controls by key: a control placed on its own is filed under its Name, a member of
// a control array under Name + "$" + its Index in decimal ("EditField1$2"). Keys compare
// ignoring case. When a member of an array closes, the members after it move down one place,
// so that an array always runs from $0 without gaps.
#pragma once

#include <climits>

#include "runtime/collections/string_map.h"
#include "sdk/quaver.h"

namespace qv::ui {

// A control's Index when it is no member of an array; any negative Index counts as none.
inline constexpr i32 kNoArrayIndex = INT_MIN;
// Byte offsets of a control's Name and Index fields.
inline constexpr i32 kControlNameOffset = 40;
inline constexpr i32 kControlIndexOffset = 44;

// "name" for an Index below 0, else "name$index".
StringRef control_key(const StringRef& name, i32 index);

class ControlRegistry {
public:
    // Stores a member's new Index when it moves down; the default writes the Index field.
    using IndexSetter = void (*)(RuntimeObject* control, i32 index);

    ControlRegistry();
    ControlRegistry(const ControlRegistry&) = delete;
    ControlRegistry& operator=(const ControlRegistry&) = delete;

    // Files the control under control_key(name, index) with a count of its own, giving back the
    // count on a control it replaces there. A nil control is ignored.
    void Add(RuntimeObject* control, const StringRef& name, i32 index);

    // Borrowed (no count added), or nullptr.
    RuntimeObject* Find(const StringRef& key) const;
    RuntimeObject* FindMember(const StringRef& name, i32 index) const { return Find(control_key(name, index)); }

    // Takes a closing control out, releasing the registry's count on it, and moves the array
    // members after it down one place (their Index through `set_index`). Only the entry that
    // holds this very control is removed: false, and nothing changes, when its key holds
    // another control or none.
    bool Remove(RuntimeObject* control, const StringRef& name, i32 index, IndexSetter set_index = nullptr);

    u32 count() const { return m_controls.entryCount(); }
    // In the order the controls were filed (a moved member counts as filed again).
    StringMap<RuntimeObject*>& controls() { return m_controls; }

private:
    StringMap<RuntimeObject*> m_controls;
};

}  // namespace qv::ui
