// Action and data notifications: the order receivers are told in, duplicates, removal (also
// while a notification runs), what the receivers' counts do, the push button's and the check
// box's sequences, and the bound parts.
#include "tests/ui/binding_fixture.h"

namespace qv::ui::test {
namespace {

using Calls = std::vector<std::string>;

class Notifications : public BindingTest { };

TEST_F(Notifications, ReceiversAreToldMostRecentFirstAndOncePerRegistration)
{
    RuntimeObject* button = control(1);
    RuntimeObject* r2 = receiver(2);
    RuntimeObject* r3 = receiver(3);
    RuntimeObject* r4 = receiver(4);
    pbAddActionNotificationReceiver(button, r2);
    pbAddActionNotificationReceiver(button, r3);
    pbAddActionNotificationReceiver(button, r2);
    pbAddActionNotificationReceiver(button, r4);
    EXPECT_EQ(r2->refCount, 3);  // one count per node
    notify_button_pressed(button);
    EXPECT_EQ(take_calls(), (Calls{"action 4", "action 2", "action 3", "action 2", "Action 1"}));

    // Removing takes out the first node that holds the receiver: the most recent one.
    pbRemoveActionNotificationReceiver(button, r2);
    pbRemoveActionNotificationReceiver(button, receiver(9));  // not there: nothing
    EXPECT_EQ(r2->refCount, 2);
    notify_button_pressed(button);
    EXPECT_EQ(take_calls(), (Calls{"action 4", "action 3", "action 2", "Action 1"}));

    // The control's destruction lets go of every receiver.
    clear_control_receivers(reinterpret_cast<TestControlObject*>(button)->receivers);
    EXPECT_EQ(r2->refCount, 1);
    EXPECT_EQ(r3->refCount, 1);
    EXPECT_EQ(r4->refCount, 1);
}

TEST_F(Notifications, AReceiverWithoutTheMethodIsSkipped)
{
    RuntimeObject* box = control(1, true);
    checkBoxAddDataNotificationReceiver(box, receiver(2));
    checkBoxAddDataNotificationReceiver(box, silent(3));
    checkBoxAddDataNotificationReceiver(box, source(4, "x", true));  // a data notifier, no receiver
    checkBoxAddDataNotificationReceiver(box, receiver(5));
    notify_data_receivers(reinterpret_cast<TestControlObject*>(box)->receivers.data);
    EXPECT_EQ(take_calls(), (Calls{"data 5", "data 2"}));
}

RuntimeObject* s_button = nullptr;
RuntimeObject* s_late = nullptr;
RuntimeObject* s_other = nullptr;

TEST_F(Notifications, ReceiversMayRemoveAndAddReceiversWhileBeingTold)
{
    s_button = control(1);
    s_late = receiver(9);
    s_other = receiver(2);
    RuntimeObject* r3 = receiver(3);
    pbAddActionNotificationReceiver(s_button, s_other);
    pbAddActionNotificationReceiver(s_button, r3);
    // Receiver 3, told first, removes itself and receiver 2 and adds a new one: receiver 2 is
    // not told any more, and the new one waits for the next notification.
    s_on_receiver = [](RuntimeObject* self, const char*) {
        pbRemoveActionNotificationReceiver(s_button, self);
        pbRemoveActionNotificationReceiver(s_button, s_other);
        pbAddActionNotificationReceiver(s_button, s_late);
    };
    notify_button_pressed(s_button);
    EXPECT_EQ(take_calls(), (Calls{"action 3", "Action 1"}));
    EXPECT_EQ(r3->refCount, 1);
    EXPECT_EQ(s_other->refCount, 1);
    EXPECT_EQ(receiver_count(reinterpret_cast<TestControlObject*>(s_button)->receivers.action), 1);
    s_on_receiver = nullptr;
    notify_button_pressed(s_button);
    EXPECT_EQ(take_calls(), (Calls{"action 9", "Action 1"}));
}

TEST_F(Notifications, ACheckBoxChangedByTheUserTellsDataReceiversActionThenItsPart)
{
    RuntimeObject* box = control(1, true);
    checkBoxAddDataNotificationReceiver(box, receiver(2));
    RuntimeObject* checked = checkBoxGetBoundPart(box, qv::test::ascii("getCheckedAction").get());
    RuntimeObject* unchecked = checkBoxGetBoundPart(box, qv::test::ascii("getUncheckedAction").get());
    keep(checked);
    keep(unchecked);
    cbaAddActionNotificationReceiver(checked, receiver(3));
    cbaAddActionNotificationReceiver(unchecked, receiver(4));
    notify_check_box_changed(box);
    EXPECT_EQ(take_calls(), (Calls{"data 2", "Action 1", "action 3"}));
    reinterpret_cast<TestControlObject*>(box)->value = 0;
    notify_check_box_changed(box);
    EXPECT_EQ(take_calls(), (Calls{"data 2", "Action 1", "action 4"}));
    // Setting Value from code tells no one.
    checkBoxSetBoolean(box, 1);
    EXPECT_TRUE(checkBoxGetBoolean(box));
    EXPECT_EQ(take_calls(), Calls{});
}

// A radio button's change tells only the part that matches it, and no one while its window
// is going.
TEST_F(Notifications, ARadioButtonCheckedOrUncheckedTellsThatPartOnly)
{
    RuntimeObject* radio = control(1);
    RuntimeObject* checked = keep(radioGetBoundPart(radio, qv::test::ascii("getCheckedAction").get()));
    RuntimeObject* unchecked = keep(radioGetBoundPart(radio, qv::test::ascii("getUncheckedAction").get()));
    rbaAddActionNotificationReceiver(checked, receiver(3));
    rbaAddActionNotificationReceiver(unchecked, receiver(4));
    notify_radio_changed(radio, true);
    EXPECT_EQ(take_calls(), Calls{"action 3"});
    notify_radio_changed(radio, false);
    EXPECT_EQ(take_calls(), Calls{"action 4"});
    reinterpret_cast<TestControlObject*>(radio)->window_open = false;
    notify_radio_changed(radio, true);
    EXPECT_EQ(take_calls(), Calls{});
}

TEST_F(Notifications, AValueChangedDuringTheNotificationTellsNoOneAgain)
{
    RuntimeObject* box = control(1, true);
    checkBoxAddDataNotificationReceiver(box, receiver(2));
    // The Action handler flips the box and, as the native control would, reports a change.
    s_on_action = [](RuntimeObject* self) {
        checkBoxSetBoolean(self, 0);
        notify_check_box_changed(self);
    };
    RuntimeObject* unchecked = keep(checkBoxGetBoundPart(box, qv::test::ascii("getUncheckedAction").get()));
    cbaAddActionNotificationReceiver(unchecked, receiver(4));
    notify_check_box_changed(box);
    EXPECT_EQ(take_calls(), (Calls{"data 2", "Action 1", "action 4"}));
    s_on_action = nullptr;
    notify_check_box_changed(box);  // the guard was cleared
    EXPECT_EQ(take_calls(), (Calls{"data 2", "Action 1", "action 4"}));
}

TEST_F(Notifications, AWindowClosingMidwayStopsTheSequence)
{
    RuntimeObject* box = control(1, true);
    checkBoxAddDataNotificationReceiver(box, receiver(2));
    RuntimeObject* checked = keep(checkBoxGetBoundPart(box, qv::test::ascii("getCheckedAction").get()));
    cbaAddActionNotificationReceiver(checked, receiver(3));
    s_button = box;
    s_on_receiver = [](RuntimeObject*, const char*) {
        reinterpret_cast<TestControlObject*>(s_button)->window_open = 0;
    };
    notify_check_box_changed(box);
    EXPECT_EQ(take_calls(), (Calls{"data 2"}));
    // A box without its window tells no one at all.
    s_on_receiver = nullptr;
    notify_check_box_changed(box);
    EXPECT_EQ(take_calls(), Calls{});
}

TEST_F(Notifications, BoundPartsByExactNameShareTheControlsListsAndKeepItAlive)
{
    RuntimeObject* box = control(1, true);
    EXPECT_EQ(box->refCount, 1);
    for (const char* name : {"getcheckedaction", "GetCheckedAction", "getCheckedAction ", "", "Action"})
        EXPECT_EQ(checkBoxGetBoundPart(box, qv::test::ascii(name).get()), nullptr) << name;
    EXPECT_EQ(checkBoxGetBoundPart(box, nullptr), nullptr);
    RuntimeObject* first = keep(checkBoxGetBoundPart(box, qv::test::ascii("getCheckedAction").get()));
    RuntimeObject* second = keep(checkBoxGetBoundPart(box, qv::test::ascii("getCheckedAction").get()));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(box->refCount, 3);
    EXPECT_TRUE(implements(first, BuiltInInterface::ActionSource));
    RuntimeObject* r2 = receiver(2);
    // Through the interface, as a binder would: added through one part, removed through the other.
    call_interface_method(first, BuiltInInterface::ActionSource, "addActionNotificationReceiver", r2);
    EXPECT_EQ(receiver_count(reinterpret_cast<TestControlObject*>(box)->receivers.checked_part), 1);
    call_interface_method(second, BuiltInInterface::ActionSource, "removeActionNotificationReceiver", r2);
    EXPECT_EQ(receiver_count(reinterpret_cast<TestControlObject*>(box)->receivers.checked_part), 0);
    EXPECT_EQ(r2->refCount, 1);

    // A radio button's parts work the same on its own lists.
    RuntimeObject* radio = control(5);
    RuntimeObject* part = keep(radioGetBoundPart(radio, qv::test::ascii("getUncheckedAction").get()));
    EXPECT_EQ(radioGetBoundPart(radio, qv::test::ascii("getuncheckedaction").get()), nullptr);
    rbaAddActionNotificationReceiver(part, r2);
    EXPECT_EQ(receiver_count(reinterpret_cast<TestControlObject*>(radio)->receivers.unchecked_part), 1);
    rbaRemoveActionNotificationReceiver(part, r2);
    EXPECT_EQ(receiver_count(reinterpret_cast<TestControlObject*>(radio)->receivers.unchecked_part), 0);
}

}  // namespace
}  // namespace qv::ui::test
