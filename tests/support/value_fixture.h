// A fixture for the array, variant and dictionary tests: the runtime's classes made before any
// test measures the allocator, live objects that must balance after every test, the
// exceptions that reached the unhandled-exception hook, and small owning handles.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "runtime/definitions/class_registry.h"
#include "runtime/exceptions/exception_classes.h"
#include "runtime/objects/object_model.h"
#include "runtime/objects/object_ref.h"
#include "runtime/startup/runtime_startup.h"
#include "runtime/variants/date_value.h"
#include "runtime/variants/dictionary.h"
#include "runtime/variants/variant_object.h"
#include "tests/support/exception_helpers.h"

namespace qv::test {

// Owns one count on an object (a variant, a dictionary) and gives it back when it goes.
class Held : public ObjectRef {
public:
    Held() = default;
    explicit Held(RuntimeObject* object) : ObjectRef(ObjectRef::adopt(object)) { }
    const RuntimeVariant* variant() const { return reinterpret_cast<const RuntimeVariant*>(get()); }
};

// A plain object of a class with no members.
inline Held plain_object() { return Held(RuntimeNewObject(test_exception_class())); }

class ValueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        start_portable_runtime();
        for (i32 i = 0; i < kExceptionClassCount; ++i)
            ClassFromDefinition(exception_definition(static_cast<ExceptionClass>(i)));
        variant_class();
        date_class();
        dictionary_class();
        test_exception_class();
    }
    void SetUp() override { m_live = live_object_count(); }
    void TearDown() override { EXPECT_EQ(live_object_count(), m_live) << "live objects do not balance"; }

    static ClassRecord* class_of(ExceptionClass which) { return ClassFromDefinition(exception_definition(which)); }

    // The classes of the exceptions that went unhandled since the last call.
    std::vector<ClassRecord*> raised()
    {
        std::vector<ClassRecord*> classes;
        for (; m_seen < m_hooks.unhandled().size(); ++m_seen)
            classes.push_back(m_hooks.unhandled()[m_seen].exception_class);
        return classes;
    }
    // Exactly one exception, of this class, went unhandled since the last call.
    ::testing::AssertionResult raised_once(ExceptionClass which)
    {
        const std::vector<ClassRecord*> classes = raised();
        if (classes.size() == 1 && classes[0] == class_of(which))
            return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << classes.size() << " exception(s):";
        for (ClassRecord* c : classes)
            failure << " " << (c ? reinterpret_cast<const char*>(c->name->buffer + 1) : "?");
        return failure;
    }
    ::testing::AssertionResult nothing_raised() { return raised_count_is(0); }
    ::testing::AssertionResult raised_count_is(size_t n)
    {
        const size_t got = raised().size();
        if (got == n)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << got << " exception(s) raised, expected " << n;
    }

private:
    ExceptionHookRecorder m_hooks;
    size_t m_seen = 0;
    i32 m_live = 0;
};

}  // namespace qv::test
