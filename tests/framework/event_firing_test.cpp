#include "framework/application/event_firing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "framework/application/application_object.h"
#include "tests/support/class_holder.h"

namespace qv {
namespace {

RuntimeObject* g_seen_object = nullptr;
i32 g_seen_argument = 0;

void record_handler(RuntimeObject* object, i32 argument)
{
    g_seen_object = object;
    g_seen_argument = argument;
}

// Only the low byte of a Boolean result counts.
u32 low_byte_false(RuntimeObject*) { return 0x100; }
u32 low_byte_true(RuntimeObject*) { return 0x101; }

struct Fixture {
    ClassHolder holder;
    ClassRecord* c = holder.make(nullptr, "Source", 0, 0, 3);
    RuntimeObject* object = RuntimeNewObject(c);
    ~Fixture() { RuntimeUnlockObject(object); }
};

TEST(EventFiring, FindsTheHandlerAtTheEventIndexOnly)
{
    Fixture f;
    f.c->eventTable[1].routine = reinterpret_cast<void*>(&record_handler);
    EXPECT_EQ(FindEventHandler(f.object, 0), nullptr);
    EXPECT_EQ(FindEventHandler(f.object, 1), reinterpret_cast<void*>(&record_handler));
    EXPECT_EQ(FindEventHandler(f.object, 3), nullptr);  // past the table
    EXPECT_EQ(FindEventHandler(f.object, -1), nullptr);
    EXPECT_EQ(FindEventHandler(nullptr, 1), nullptr);

    EXPECT_FALSE(fire_event(f.object, 0, 7));
    EXPECT_TRUE(fire_event(f.object, 1, 42));
    EXPECT_EQ(g_seen_object, f.object);
    EXPECT_EQ(g_seen_argument, 42);
}

TEST(EventFiring, BooleanResultIsTheLowByteAndAbsentGivesTheFallback)
{
    Fixture f;
    EXPECT_TRUE(fire_boolean_event(f.object, 0, true));
    EXPECT_FALSE(fire_boolean_event(f.object, 0, false));
    f.c->eventTable[0].routine = reinterpret_cast<void*>(&low_byte_false);
    f.c->eventTable[2].routine = reinterpret_cast<void*>(&low_byte_true);
    EXPECT_FALSE(fire_boolean_event(f.object, 0, true));
    EXPECT_TRUE(fire_boolean_event(f.object, 2, false));
}

std::string g_activations;
void on_activate(RuntimeObject*) { g_activations += 'A'; }
void on_deactivate(RuntimeObject*) { g_activations += 'D'; }

// The MDI frame and runtime windows both report activation: repeats must not fire again.
TEST(EventFiring, ApplicationActivationFiresOncePerChange)
{
    ClassHolder holder;
    ClassRecord* c = holder.make(nullptr, "App", 0, 0, kApplicationUnhandledException + 1);
    c->eventTable[kApplicationActivate].routine = reinterpret_cast<void*>(&on_activate);
    c->eventTable[kApplicationDeactivate].routine = reinterpret_cast<void*>(&on_deactivate);
    RuntimeObject* app = RuntimeNewObject(c);
    RuntimeObject* saved = std::exchange(gApplicationObject, app);
    const bool was_active = std::exchange(gAppActive, false);
    g_activations.clear();
    for (bool active : {true, true, false, false, true})
        application_activation(active);
    EXPECT_EQ(g_activations, "ADA");
    EXPECT_TRUE(gAppActive);
    gApplicationObject = saved;
    gAppActive = was_active;
    RuntimeUnlockObject(app);
}

}  // namespace
}  // namespace qv
