// The suite starts the runtime once, as runtime.exe does.
#include <gtest/gtest.h>

#include "tests/support/windows_runtime_start.h"

namespace {

class UiEnvironment : public ::testing::Environment {
    void SetUp() override { qv::test::start_windows_runtime(); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace
