// A window's control registry: keys of single controls and array members, lookup ignoring
// case, closing a member and the renumbering of the members after it, and the counts held.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/class_holder.h"
#include "tests/support/string_helpers.h"
#include "ui/control_registry.h"

namespace qv::ui {
namespace {

using test::ascii;
using test::text_of;

TEST(ControlKeys, SingleControlsByNameArrayMembersWithTheirIndex)
{
    EXPECT_EQ(text_of(control_key(ascii("Check"), kNoArrayIndex)), "Check");
    EXPECT_EQ(text_of(control_key(ascii("Check"), -1)), "Check");
    EXPECT_EQ(text_of(control_key(ascii("Check"), 0)), "Check$0");
    EXPECT_EQ(text_of(control_key(ascii("EditField1"), 2)), "EditField1$2");
    EXPECT_EQ(text_of(control_key(ascii("List"), 2147483647)), "List$2147483647");
}

class ControlRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { m_control_class = m_classes.make(nullptr, "TestCheck", 0, 0, 0, 0, 0, 104); }
    void TearDown() override
    {
        for (RuntimeObject* control : m_made)
            RuntimeUnlockObject(control);
    }

    RuntimeObject* make(i32 index)
    {
        RuntimeObject* control = RuntimeNewObject(m_control_class);
        intSetter(control, kControlIndexOffset, index);
        m_made.push_back(control);
        return control;
    }
    static i32 index_of(RuntimeObject* control) { return intGetter(control, kControlIndexOffset); }

    // An array of `count` members named `name`, filed in index order.
    std::vector<RuntimeObject*> make_array(ControlRegistry& registry, const char* name, i32 count)
    {
        std::vector<RuntimeObject*> members;
        for (i32 i = 0; i < count; ++i) {
            members.push_back(make(i));
            registry.Add(members.back(), ascii(name), i);
        }
        return members;
    }

    // Keys in filing order with each control's Index: "Check$0:0 Check$1:1".
    static std::string listing(ControlRegistry& registry)
    {
        std::string out;
        StringMap<RuntimeObject*>::Iterator it(registry.controls());
        StringRef key;
        RuntimeObject* control;
        while (it.Next(&key, &control))
            out += (out.empty() ? "" : " ") + text_of(key) + ":" + std::to_string(index_of(control));
        return out;
    }

    ClassHolder m_classes;
    ClassRecord* m_control_class = nullptr;
    std::vector<RuntimeObject*> m_made;
};

TEST_F(ControlRegistryTest, FindsSingleControlsAndMembersIgnoringCase)
{
    ControlRegistry registry;
    RuntimeObject* single = make(kNoArrayIndex);
    registry.Add(single, ascii("Check"), kNoArrayIndex);
    const std::vector<RuntimeObject*> members = make_array(registry, "Check", 2);
    EXPECT_EQ(registry.count(), 3u);
    EXPECT_EQ(registry.Find(ascii("check")), single);
    EXPECT_EQ(registry.FindMember(ascii("CHECK"), 1), members[1]);
    EXPECT_EQ(registry.Find(ascii("Check$1")), members[1]);
    EXPECT_EQ(registry.FindMember(ascii("Check"), 2), nullptr);  // no member at that index
    EXPECT_EQ(registry.Find(ascii("Other")), nullptr);
    EXPECT_EQ(single->refCount, 2);  // ours and the registry's
    registry.Add(nullptr, ascii("Nil"), kNoArrayIndex);
    EXPECT_EQ(registry.count(), 3u);
}

TEST_F(ControlRegistryTest, ClosingAMemberMovesTheFollowingOnesDown)
{
    ControlRegistry registry;
    const std::vector<RuntimeObject*> members = make_array(registry, "Check", 3);
    EXPECT_TRUE(registry.Remove(members[1], ascii("Check"), 1));
    EXPECT_EQ(listing(registry), "Check$0:0 Check$1:1");
    EXPECT_EQ(registry.FindMember(ascii("Check"), 1), members[2]);
    EXPECT_EQ(registry.FindMember(ascii("Check"), 2), nullptr);
    EXPECT_EQ(members[1]->refCount, 1);  // the registry let go of the closed member
    EXPECT_EQ(members[2]->refCount, 2);  // and kept exactly one count on the moved one
    EXPECT_EQ(index_of(members[1]), 1);  // a closed control keeps its own Index
}

TEST_F(ControlRegistryTest, RenumberingStopsAtTheFirstGapAndLeavesOtherArraysAlone)
{
    ControlRegistry registry;
    const std::vector<RuntimeObject*> members = make_array(registry, "Check", 4);
    const std::vector<RuntimeObject*> others = make_array(registry, "Checks", 2);
    RuntimeObject* beyond_gap = make(6);
    registry.Add(beyond_gap, ascii("Check"), 6);

    EXPECT_TRUE(registry.Remove(members[0], ascii("Check"), 0));
    EXPECT_EQ(listing(registry), "Checks$0:0 Checks$1:1 Check$6:6 Check$0:0 Check$1:1 Check$2:2");
    EXPECT_EQ(registry.FindMember(ascii("Check"), 0), members[1]);
    EXPECT_EQ(registry.FindMember(ascii("Check"), 2), members[3]);

    // The last member: nothing follows it.
    EXPECT_TRUE(registry.Remove(members[3], ascii("Check"), 2));
    EXPECT_EQ(listing(registry), "Checks$0:0 Checks$1:1 Check$6:6 Check$0:0 Check$1:1");
}

TEST_F(ControlRegistryTest, OnlyTheEntryHoldingTheClosingControlIsRemoved)
{
    ControlRegistry registry;
    const std::vector<RuntimeObject*> members = make_array(registry, "Check", 2);
    RuntimeObject* single = make(kNoArrayIndex);
    registry.Add(single, ascii("Button"), kNoArrayIndex);
    RuntimeObject* stranger = make(0);

    EXPECT_FALSE(registry.Remove(stranger, ascii("Check"), 0));    // its key holds another control
    EXPECT_FALSE(registry.Remove(members[1], ascii("Check"), 5));  // not filed under that index
    EXPECT_FALSE(registry.Remove(nullptr, ascii("Button"), kNoArrayIndex));
    EXPECT_EQ(listing(registry), "Check$0:0 Check$1:1 Button:-2147483648");

    EXPECT_TRUE(registry.Remove(single, ascii("button"), kNoArrayIndex));
    EXPECT_EQ(single->refCount, 1);
    EXPECT_EQ(listing(registry), "Check$0:0 Check$1:1");
}

TEST_F(ControlRegistryTest, MovedMembersGetTheirIndexThroughTheGivenSetter)
{
    static std::vector<std::string> s_moves;
    s_moves.clear();
    ControlRegistry registry;
    const std::vector<RuntimeObject*> members = make_array(registry, "Field", 3);
    registry.Remove(members[0], ascii("Field"), 0, [](RuntimeObject* control, i32 index) {
        s_moves.push_back(std::to_string(intGetter(control, kControlIndexOffset)) + "->" + std::to_string(index));
    });
    EXPECT_EQ(s_moves, (std::vector<std::string>{"1->0", "2->1"}));
}

TEST_F(ControlRegistryTest, DestroyingTheRegistryReleasesItsCounts)
{
    RuntimeObject* control = make(kNoArrayIndex);
    {
        ControlRegistry registry;
        registry.Add(control, ascii("A"), kNoArrayIndex);
        registry.Add(control, ascii("A"), kNoArrayIndex);  // filed again under the same key: one count
        EXPECT_EQ(control->refCount, 2);
    }
    EXPECT_EQ(control->refCount, 1);
}

}  // namespace
}  // namespace qv::ui
