// Menu-handler registry: case-insensitive names, replacement, and the counts it holds.
#include <gtest/gtest.h>

#include "framework/menu_handler_registry.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/objects/object_model.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;

class MenuHandlerRegistryTest : public testing::Test {
protected:
    MenuHandlerRegistryTest()
    {
        m_class = RuntimeNewClass(nullptr, 0, 0, 0, 0, 0);
        m_class->name = StringRef::FromCString("Handler").leak();
        m_class->instanceSize = 32;
        first = RuntimeNewObject(m_class);
        second = RuntimeNewObject(m_class);
    }
    ~MenuHandlerRegistryTest() override
    {
        RuntimeUnlockObject(first);
        RuntimeUnlockObject(second);
        RuntimeUnlockString(m_class->name);
        GuardedDelete(m_class);
    }

    RuntimeObject* first = nullptr;
    RuntimeObject* second = nullptr;

private:
    ClassRecord* m_class = nullptr;
};

TEST_F(MenuHandlerRegistryTest, NamesDifferingInCaseLeaveOneEntryWithTheSecondHandler)
{
    {
        MenuHandlerRegistry registry;
        registry.Add(ascii("EditCopy"), first);
        EXPECT_EQ(first->refCount, 2);
        registry.Add(ascii("EDITCOPY"), second);
        EXPECT_EQ(registry.count(), 1u);
        EXPECT_EQ(registry.Find(ascii("editcopy")), second);
        EXPECT_EQ(first->refCount, 1);  // the replaced handler's count was given back
        EXPECT_EQ(second->refCount, 2);
        EXPECT_EQ(registry.Find(ascii("EditCut")), nullptr);
    }
    EXPECT_EQ(second->refCount, 1);  // and the registry's own on the way out
}

TEST_F(MenuHandlerRegistryTest, NilHandlerIsIgnoredAndTheSameHandlerAgainKeepsOneCount)
{
    MenuHandlerRegistry registry;
    registry.Add(ascii("FileQuit"), first);
    registry.Add(ascii("FileQuit"), nullptr);
    EXPECT_EQ(registry.Find(ascii("filequit")), first);
    registry.Add(ascii("FileQuit"), first);
    EXPECT_EQ(first->refCount, 2);
    registry.Add(StringRef(), second);
    EXPECT_EQ(registry.count(), 1u);
    EXPECT_EQ(second->refCount, 1);
}

}  // namespace
