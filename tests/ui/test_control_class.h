// A control-shaped class for the control layer's tests and fuzz target: a 120-byte object with
// the control fields at their offsets, and a flattened property table whose entries name the
// generic setters, the generic word 1, recording setters of every value type, a read-only
// property and properties whose types a mass table cannot carry.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "runtime/memory/pool_allocator.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv::test {

// Fields of the test control past the shared 104 bytes.
inline constexpr i32 kTextColorOffset = 104;
inline constexpr i32 kTextSizeOffset = 108;
inline constexpr i32 kRatioOffset = 112;
inline constexpr i32 kTestControlSize = 120;

// What the recording setters saw, in call order: "LockLeft(58)=1".
inline std::vector<std::string>& setter_calls()
{
    static std::vector<std::string> calls;
    return calls;
}

inline void record_call(const char* name, i32 param, const std::string& value)
{
    setter_calls().push_back(std::string(name) + "(" + std::to_string(param) + ")=" + value);
}

inline void lock_left_setter(RuntimeObject* self, i32 param, i32 value)
{
    record_call("LockLeft", param, std::to_string(value));
    reinterpret_cast<u8*>(self)[58] = static_cast<u8>(value);
}
inline void text_size_setter(RuntimeObject* self, i32 param, float value)
{
    record_call("TextSize", param, std::to_string(value));
    std::memcpy(reinterpret_cast<u8*>(self) + param, &value, sizeof value);
}
// Records the text with its encoding and count, to show what the reader hands over.
inline void help_tag_setter(RuntimeObject* self, i32 param, RuntimeString* value)
{
    const i32 count = value ? value->refCount : 0;
    const StringRef text = StringRef::share(value);
    record_call("HelpTag", param,
                std::string(reinterpret_cast<const char*>(text.bytes()), static_cast<size_t>(text.length())) +
                    " enc=" + std::to_string(text.encoding()) + " refs=" + std::to_string(count));
    stringSetter(self, param, value);
}

struct TestProperty {
    const char* declaration;
    i32 param;
    void* setter;
};

inline void* generic_word() { return reinterpret_cast<void*>(uintptr_t{1}); }

// Index order is the flattened property table's.
inline std::vector<TestProperty> test_control_properties()
{
    return {
        {"Name%s", 40, reinterpret_cast<void*>(&stringSetter)},                       // 0
        {"Index%i", 44, reinterpret_cast<void*>(&intSetter)},                         // 1
        {"Handle%i", 0, nullptr},                                                     // 2: read-only
        {"Visible%b", 52, generic_word()},                                            // 3
        {"LockLeft%b", 58, reinterpret_cast<void*>(&lock_left_setter)},               // 4
        {"HelpTag%s", 92, reinterpret_cast<void*>(&help_tag_setter)},                 // 5
        {"TextColor%c", kTextColorOffset, generic_word()},                            // 6
        {"TextSize%f", kTextSizeOffset, reinterpret_cast<void*>(&text_size_setter)},  // 7
        {"Ratio%d", kRatioOffset, generic_word()},                                    // 8
        {"Window%o<Window>", 76, reinterpret_cast<void*>(&objSetter)},                // 9: no table encoding
        {"Broken", 0, reinterpret_cast<void*>(&intSetter)},                           // 10: no type at all
        {"Caption%s", 84, generic_word()},                                            // 11
        {"Parent%o<RectControl>", 0, nullptr},                                        // 12: read-only, no encoding
    };
}

// The class and the declaration strings it holds; classes are never freed by the runtime, so
// this gives them back itself.
class TestControlClass {
public:
    TestControlClass()
    {
        const std::vector<TestProperty> properties = test_control_properties();
        m_class = RuntimeNewClass(nullptr, 0, 0, 0, 0, static_cast<i32>(properties.size()));
        m_class->name = StringRef::FromCString("TestControl").leak();
        m_class->instanceSize = kTestControlSize;
        for (size_t i = 0; i < properties.size(); ++i)
            m_class->propertyTable[i] = {StringRef::FromCString(properties[i].declaration).leak(), properties[i].param,
                                         nullptr, properties[i].setter};
    }
    ~TestControlClass()
    {
        for (i32 i = 0; i < m_class->propertyCount; ++i)
            RuntimeUnlockString(m_class->propertyTable[i].name);
        RuntimeUnlockString(m_class->name);
        GuardedDelete(m_class);
    }
    TestControlClass(const TestControlClass&) = delete;
    TestControlClass& operator=(const TestControlClass&) = delete;

    ClassRecord* get() const { return m_class; }
    i32 property_count() const { return m_class->propertyCount; }

    // A new object with its string fields released by hand (the class has no finalizer).
    RuntimeObject* make() const { return RuntimeNewObject(m_class); }
    static void destroy(RuntimeObject* object)
    {
        for (i32 offset : {40, 84, 92}) {
            RuntimeString* field;
            std::memcpy(&field, reinterpret_cast<u8*>(object) + offset, sizeof field);
            RuntimeUnlockString(field);
        }
        RuntimeUnlockObject(object);
    }

private:
    ClassRecord* m_class;
};

}  // namespace qv::test
