// The clipboard's, notifications' and binders' routines bind to their names in the registry.
// This process adds them before anything builds the registry, as the programs do at start-up,
// so that registering the classes finds every static entry bound already.
#include <gtest/gtest.h>

#include "runtime/definitions/class_tables.h"
#include "runtime/registry/entry_point_registry.h"
#include "ui/ui_service_routines.h"

namespace qv::ui {
namespace {

[[maybe_unused]] const bool s_added = [] {
    add_provided_routines(ui_service_routines());
    add_table_routines(ui_service_table_routines());
    return true;
}();

constexpr const char* kClassNames[] = {"Clipboard",          "actionSource",   "dataNotificationReceiver",
                                       "Sys$CheckBoxAction", "enablingBinder", "stringBinder",
                                       "actionBinder",       "listBinder"};

// Classes live for the process: they are made before the tests measure the allocator.
class UiServiceRoutines : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        register_ui_service_classes();
        for (size_t i = 0; i < std::size(kClassNames); ++i)
            s_classes[i] = RuntimeLookupClass(StringRef::FromCString(kClassNames[i]).get());
    }
    static inline ClassRecord* s_classes[std::size(kClassNames)] = {};
};

TEST_F(UiServiceRoutines, EachIsFoundUnderItsNameAndTheClassesRegisterWithoutConflict)
{
    // An empty list would pass the loops below without checking anything.
    ASSERT_FALSE(ui_service_routines().empty());
    ASSERT_FALSE(ui_service_table_routines().empty());
    for (auto list : {std::vector<ProvidedRoutine>(ui_service_routines().begin(), ui_service_routines().end()),
                      ui_service_table_routines()}) {
        for (const ProvidedRoutine& routine : list) {
            const EntryPoint* entry = FindEntryPoint(std::string_view(routine.name));
            ASSERT_NE(entry, nullptr) << routine.name;
            EXPECT_EQ(entry->code, routine.routine) << routine.name;
        }
    }
    for (size_t i = 0; i < std::size(kClassNames); ++i)
        EXPECT_NE(s_classes[i], nullptr) << kClassNames[i];
}

}  // namespace
}  // namespace qv::ui
