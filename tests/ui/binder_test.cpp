// The four binders: what bind stores and subscribes, what a reload does to the target, and how
// the source's data notifications reach it.
#include "tests/ui/binding_fixture.h"

namespace qv::ui::test {
namespace {

using Calls = std::vector<std::string>;

class Binders : public BindingTest { };

TEST_F(Binders, EnablingBinderFollowsTheSourcesBooleanThroughItsDataNotifications)
{
    RuntimeObject* box = control(1, false);
    RuntimeObject* target = control(2);
    RuntimeObject* binder = this->binder("enablingBinder");
    // Called through the class's bindingInterface, as image code calls it.
    ASSERT_TRUE(call_interface_method(binder, BuiltInInterface::Binding, "bind", box, target));
    EXPECT_EQ(take_calls(), (Calls{"disable 2"}));
    EXPECT_EQ(receiver_count(reinterpret_cast<TestControlObject*>(box)->receivers.data), 1);

    reinterpret_cast<TestControlObject*>(box)->value = 1;
    notify_check_box_changed(box);  // the binder is one of the box's data receivers
    EXPECT_EQ(take_calls(), (Calls{"enable 2", "Action 1"}));
    EXPECT_EQ(reinterpret_cast<TestControlObject*>(target)->enabled, 1);

    // Bound again: unsubscribed from the old source; a source that is no BooleanProvider disables.
    enablingBinderBind(binder, source(3, "text", true), target);
    EXPECT_EQ(take_calls(), (Calls{"disable 2"}));
    EXPECT_EQ(receiver_count(reinterpret_cast<TestControlObject*>(box)->receivers.data), 0);
    EXPECT_EQ(
        receiver_count(reinterpret_cast<TestSourceObject*>(reinterpret_cast<BinderObject*>(binder)->source)->receivers),
        1);
    enablingBinderBind(binder, silent(4), target);
    EXPECT_EQ(take_calls(), (Calls{"disable 2"}));
    enablingBinderBind(binder, nullptr, nullptr);
    EXPECT_EQ(take_calls(), Calls{});
    EXPECT_EQ(binder->refCount, 1);  // nothing holds it any more
}

TEST_F(Binders, StringBinderFillsTheTargetAndEnablesItWhileTheSourceHasData)
{
    RuntimeObject* src = source(1, "Hello", false);
    RuntimeObject* field = control(2);
    reinterpret_cast<TestControlObject*>(field)->is_edit = 1;
    RuntimeObject* binder = this->binder("stringBinder");
    stringBinderBind(binder, src, field);
    EXPECT_EQ(take_calls(), (Calls{"setString \"Hello\" 2", "disable 2"}));
    EXPECT_EQ(reinterpret_cast<TestControlObject*>(field)->data_source, src);

    // The source's data notification reloads.
    auto* fields = reinterpret_cast<TestSourceObject*>(src);
    RuntimeUnlockString(std::exchange(fields->text, StringRef::FromCString("Bye").leak()));
    fields->available = 1;
    notify_data_receivers(fields->receivers);
    EXPECT_EQ(take_calls(), (Calls{"setString \"Bye\" 2", "enable 2"}));

    // A source without StringProvider gives nil and counts as having data; a target that is no
    // edit field keeps no data source, and one that is no control is not enabled.
    RuntimeObject* plain = control(3);
    stringBinderBind(binder, silent(4), plain);
    EXPECT_EQ(take_calls(), (Calls{"setString \"\" 3", "enable 3"}));
    EXPECT_EQ(reinterpret_cast<TestControlObject*>(plain)->data_source, nullptr);
    EXPECT_EQ(receiver_count(fields->receivers), 1);  // the binder left; the field keeps its source
    stringBinderBind(binder, src, receiver(5));
    EXPECT_EQ(take_calls(), Calls{});
    stringBinderBind(binder, nullptr, nullptr);
}

// A bound field is one of its source's data receivers, once, until it gets another source; what
// the user writes into it goes to the source's setString.
TEST_F(Binders, ABoundEditFieldSubscribesToItsSourceAndPushesEditsToIt)
{
    RuntimeObject* first = source(1, "one", true);
    RuntimeObject* second = source(2, "two", true);
    RuntimeObject* field = control(3);
    reinterpret_cast<TestControlObject*>(field)->is_edit = 1;
    auto receivers_of = [](RuntimeObject* src) { return receiver_count(reinterpret_cast<TestSourceObject*>(src)->receivers); };
    RuntimeObject* binder = this->binder("stringBinder");
    stringBinderBind(binder, first, field);
    EXPECT_EQ(receivers_of(first), 2);  // the binder and the field
    notify_data_receivers(reinterpret_cast<TestSourceObject*>(first)->receivers);  // reloads from the same source
    EXPECT_EQ(receivers_of(first), 2);
    stringBinderBind(binder, second, field);
    EXPECT_EQ(receivers_of(first), 0);
    EXPECT_EQ(receivers_of(second), 2);
    take_calls();

    EXPECT_TRUE(push_text_to_source(reinterpret_cast<TestControlObject*>(field)->data_source,
                                    StringRef::FromCString("typed").get()));
    EXPECT_EQ(take_calls(), Calls{"source setString \"typed\" 2"});
    EXPECT_EQ(qv::test::text_of(reinterpret_cast<TestSourceObject*>(second)->text), "typed");
    EXPECT_FALSE(push_text_to_source(silent(4), StringRef::FromCString("lost").get()));
    EXPECT_FALSE(push_text_to_source(nullptr, StringRef::FromCString("lost").get()));
    EXPECT_EQ(take_calls(), Calls{});

    // Nil as the source: the field leaves the last one.
    switch_field_data_source(field, second, nullptr);
    EXPECT_EQ(receivers_of(second), 1);
    stringBinderBind(binder, nullptr, nullptr);
}

TEST_F(Binders, ActionBinderMakesTheTargetAnActionReceiverAndStoresNothing)
{
    RuntimeObject* button = control(1);
    RuntimeObject* target = receiver(2);
    RuntimeObject* binder = this->binder("actionBinder");
    actionBinderBind(binder, button, target);
    actionBinderBind(binder, silent(3), target);  // no actionSource: nothing
    EXPECT_EQ(reinterpret_cast<BinderObject*>(binder)->source, nullptr);
    notify_button_pressed(button);
    EXPECT_EQ(take_calls(), (Calls{"action 2", "Action 1"}));

    // A check box's checked part is an action source too.
    RuntimeObject* box = control(4, true);
    RuntimeObject* part = keep(checkBoxGetBoundPart(box, qv::test::ascii("getCheckedAction").get()));
    actionBinderBind(binder, part, target);
    notify_check_box_changed(box);
    EXPECT_EQ(take_calls(), (Calls{"Action 4", "action 2"}));
}

TEST_F(Binders, ListBinderBindsTheListToTheSource)
{
    RuntimeObject* target = list(1);
    RuntimeObject* src = source(2, "rows", true);
    RuntimeObject* binder = this->binder("listBinder");
    listBinderBind(binder, target, src);
    listBinderBind(binder, silent(3), src);  // no ListInterface: nothing
    EXPECT_EQ(take_calls(), (Calls{"BindList to 2 1"}));
    EXPECT_EQ(reinterpret_cast<TestListObject*>(target)->bound, src);
}

}  // namespace
}  // namespace qv::ui::test
