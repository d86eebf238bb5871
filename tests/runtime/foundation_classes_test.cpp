// The foundation's exception classes as registered definitions, the generic accessors over
// their fields, and raising with a message.
#include <gtest/gtest.h>

#include <string>

#include "runtime/definitions/class_registry.h"
#include "runtime/exceptions/exception_classes.h"
#include "runtime/objects/exception_foundation.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::text_of;

// Holds (with a count) what reaches the unhandled-exception hook while it lives.
class CatchUnhandled {
public:
    CatchUnhandled() : m_previous(set_unhandled_exception_hook(&catch_it)) { s_caught = nullptr; }
    ~CatchUnhandled()
    {
        set_unhandled_exception_hook(m_previous);
        RuntimeUnlockObject(s_caught);
        s_caught = nullptr;
    }
    ExceptionObject* caught() const { return reinterpret_cast<ExceptionObject*>(s_caught); }

private:
    static void catch_it(RuntimeObject* exception)
    {
        RuntimeLockUnlockObjects(exception, s_caught);
        s_caught = exception;
    }
    static inline RuntimeObject* s_caught = nullptr;
    ExceptionHook m_previous;
};

class FoundationClasses : public ::testing::Test {
protected:
    // Every class is made once, before allocator use is measured.
    static void SetUpTestSuite()
    {
        register_foundation_classes();
        for (i32 i = 0; i < kExceptionClassCount; ++i)
            ClassFromDefinition(exception_definition(static_cast<ExceptionClass>(i)));
    }
    void SetUp() override { register_foundation_classes(); }

    static ClassRecord* class_of(ExceptionClass which) { return ClassFromDefinition(exception_definition(which)); }
};

TEST_F(FoundationClasses, SeventeenSubclassesOfRuntimeExceptionInOrder)
{
    const char* names[] = {
        "RuntimeException",
        "NilObjectException",
        "ServiceNotAvailableException",
        "NoOpenTransportException",
        "RegistryAccessErrorException",
        "IllegalCastException",
        "InvalidParentException",
        "stackOverflowException",
        "typeMismatchException",
        "OutOfBoundsException",
        "OutOfMemoryException",
        "KeyNotFoundException",
        "EndException",
        "ThreadAlreadyRunningException",
        "UnsupportedFormatException",
        "KeyChainException",
        "OLEException",
    };
    ClassRecord* root = class_of(ExceptionClass::RuntimeException);
    for (i32 i = 0; i < kExceptionClassCount; ++i) {
        ClassRecord* c = class_of(static_cast<ExceptionClass>(i));
        ASSERT_NE(c, nullptr) << names[i];
        EXPECT_EQ(text_of(c->name), names[i]);
        EXPECT_EQ(RuntimeLookupClass(test::ascii(names[i]).get()), c) << names[i];
        EXPECT_EQ(c->superclass, i == 0 ? nullptr : root) << names[i];
        EXPECT_EQ(c->instanceSize, 36) << names[i];
        ASSERT_EQ(c->propertyCount, 2) << names[i];
        EXPECT_EQ(text_of(c->propertyTable[0].name), "ErrorNumber%i") << names[i];
        EXPECT_EQ(c->propertyTable[0].parameter, 28);
        EXPECT_EQ(c->propertyTable[0].getter, reinterpret_cast<void*>(&intGetter));
        EXPECT_EQ(c->propertyTable[0].setter, reinterpret_cast<void*>(&intSetter));
        EXPECT_EQ(text_of(c->propertyTable[1].name), "Message%s") << names[i];
        EXPECT_EQ(c->propertyTable[1].parameter, 32);
        EXPECT_EQ(c->propertyTable[1].getter, reinterpret_cast<void*>(&stringGetter));
        EXPECT_EQ(c->propertyTable[1].setter, reinterpret_cast<void*>(&stringSetter));
    }
    EXPECT_EQ(raise_slot(RaiseSlot::NilObject), class_of(ExceptionClass::NilObjectException));
    EXPECT_EQ(raise_slot(RaiseSlot::IllegalCast), class_of(ExceptionClass::IllegalCastException));
    EXPECT_EQ(raise_slot(RaiseSlot::OutOfBounds), class_of(ExceptionClass::OutOfBoundsException));
}

TEST_F(FoundationClasses, GenericAccessorsReadAndWriteTheFields)
{
    RuntimeObject* object = CreateInstance(exception_definition(ExceptionClass::KeyNotFoundException));
    ASSERT_NE(object, nullptr);
    intSetter(object, 28, -7);
    EXPECT_EQ(intGetter(object, 28), -7);
    EXPECT_EQ(reinterpret_cast<ExceptionObject*>(object)->errorNumber, -7);

    StringRef message = test::ascii("missing key");
    const i32 count = message.get()->refCount;
    stringSetter(object, 32, message.get());
    EXPECT_EQ(message.get()->refCount, count + 1);
    stringSetter(object, 32, message.get());  // storing the same string again keeps one count
    EXPECT_EQ(message.get()->refCount, count + 1);
    RuntimeString* got = stringGetter(object, 32);
    EXPECT_EQ(got, message.get());
    EXPECT_EQ(message.get()->refCount, count + 2);
    RuntimeUnlockString(got);

    RuntimeUnlockObject(object);  // the finalizer lets go of the message
    EXPECT_EQ(message.get()->refCount, count);
}

TEST_F(FoundationClasses, GenericObjectAndBooleanAccessorsCountAndUseOneByte)
{
    // Exception objects have 8 bytes of fields: the object field at 32 and a flag byte at 28.
    RuntimeObject* holder = CreateInstance(exception_definition(ExceptionClass::RuntimeException));
    RuntimeObject* value = CreateInstance(exception_definition(ExceptionClass::RuntimeException));
    objSetter(holder, 32, value);
    objSetter(holder, 32, value);  // storing the same object again keeps one count
    EXPECT_EQ(value->refCount, 2);
    RuntimeObject* got = objGetter(holder, 32);
    EXPECT_EQ(got, value);
    EXPECT_EQ(value->refCount, 3);
    RuntimeUnlockObject(got);
    objSetter(holder, 32, nullptr);
    EXPECT_EQ(value->refCount, 1);
    EXPECT_EQ(objGetter(holder, 32), nullptr);

    intSetter(holder, 28, 0x01010100);
    boolSetter(holder, 28, 0x100);  // only the low byte of a Boolean counts
    EXPECT_EQ(boolGetter(holder, 28), 0);
    EXPECT_EQ(intGetter(holder, 28), 0x01010100);  // the other three bytes are untouched
    boolSetter(holder, 28, 7);
    EXPECT_EQ(boolGetter(holder, 28), 1);
    EXPECT_EQ(intGetter(holder, 28), 0x01010101);
    RuntimeUnlockObject(value);
    RuntimeUnlockObject(holder);
}

TEST_F(FoundationClasses, GenericShortSingleAndDoubleAccessorsUseTheirWidths)
{
    // 8 bytes of fields from 28: a double fills them; shorts and singles take their own width.
    // The finalizer releases the object field at 32, so the test leaves it nil.
    RuntimeObject* object = CreateInstance(exception_definition(ExceptionClass::RuntimeException));
    intSetter(object, 28, 0x11111111);
    shortSetter(object, 28, -2);  // stored as 16 bits, widened back with its sign
    EXPECT_EQ(shortGetter(object, 28), -2);
    EXPECT_EQ(static_cast<u32>(intGetter(object, 28)), 0x1111FFFEu);
    shortSetter(object, 30, 0x12345);  // only the low 16 bits are kept
    EXPECT_EQ(shortGetter(object, 30), 0x2345);

    singleSetter(object, 32, 1.5f);
    EXPECT_EQ(singleGetter(object, 32), 1.5f);
    EXPECT_EQ(shortGetter(object, 28), -2);  // a neighbour is untouched

    doubleSetter(object, 28, -0.125);
    EXPECT_EQ(doubleGetter(object, 28), -0.125);
    {
        test::AssertionCapture capture;
        EXPECT_EQ(doubleGetter(object, 32), 0.0);  // would run 4 bytes past the end
        singleSetter(object, 34, 2.0f);
        shortSetter(object, 35, 1);
        EXPECT_EQ(capture.count(), 3u);
    }
    EXPECT_EQ(doubleGetter(object, 28), -0.125);
    intSetter(object, 32, 0);  // the field at 32 is the exception's object reference
    RuntimeUnlockObject(object);
}

TEST_F(FoundationClasses, GenericAccessorsRefuseAMissingObjectOrAFieldOutside)
{
    RuntimeObject* object = CreateInstance(exception_definition(ExceptionClass::RuntimeException));
    {
        test::AssertionCapture capture;
        EXPECT_EQ(intGetter(object, 33), 0);  // the last 4 bytes start at 32
        intSetter(object, -4, 1);
        EXPECT_EQ(stringGetter(object, 36), nullptr);
        stringSetter(object, 1000, nullptr);
        EXPECT_EQ(capture.count(), 4u);
    }
    EXPECT_EQ(object->refCount, 1);
    RuntimeUnlockObject(object);

    CatchUnhandled handler;
    EXPECT_EQ(intGetter(nullptr, 28), 0);
    ASSERT_NE(handler.caught(), nullptr);
    EXPECT_EQ(handler.caught()->header.classRecord, class_of(ExceptionClass::NilObjectException));
}

TEST_F(FoundationClasses, RaiseNewWithMessageStoresMessageAndNumber)
{
    StringRef message = test::ascii("no memory for the block");
    const i32 count = message.get()->refCount;
    {
        CatchUnhandled handler;
        RaiseNewWithMessage(exception_definition(ExceptionClass::OutOfMemoryException), message.get(), 42);
        ASSERT_NE(handler.caught(), nullptr);
        EXPECT_EQ(handler.caught()->header.classRecord, class_of(ExceptionClass::OutOfMemoryException));
        EXPECT_EQ(handler.caught()->header.refCount, 1) << "only the handler's count is left";
        EXPECT_EQ(handler.caught()->errorNumber, 42);
        EXPECT_EQ(handler.caught()->message, message.get());
        EXPECT_EQ(message.get()->refCount, count + 1);
    }
    EXPECT_EQ(message.get()->refCount, count);
}

}  // namespace
