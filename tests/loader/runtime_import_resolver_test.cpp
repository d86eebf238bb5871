// The process's import resolver: runtime routines by name ignoring case, libraries loaded
// once whatever the case of their name, and the two load-failure messages.
#include <gtest/gtest.h>

#include <string>

#include "loader/runtime_import_resolver.h"
#include "runtime/registry/entry_point_registry.h"
#include "sdk/quaver.h"

namespace {

class RuntimeImportResolverTest : public ::testing::Test {
protected:
    // The registry and the loaded-library list live as long as the process: made here, outside
    // the tests' allocator accounting.
    static void SetUpTestSuite()
    {
        (void)qv::entry_point_registry();
        (void)qv::loaded_libraries().find_or_load("qv-missing-library.dll");
        (void)qv::loaded_libraries().find_or_load(kLibrary);
    }
#ifdef _WIN32
    static constexpr const char* kLibrary = "kernel32.dll";
    static constexpr const char* kPresent = "GetTickCount";
#else
    static constexpr const char* kLibrary = "libm.so.6";
    static constexpr const char* kPresent = "cos";
#endif
};

TEST_F(RuntimeImportResolverTest, RuntimeRoutinesIgnoreCase)
{
    qv::RuntimeImportResolver resolver;
    EXPECT_EQ(resolver.runtime_routine("runtimelockstring"), reinterpret_cast<const void*>(&RuntimeLockString));
    EXPECT_EQ(resolver.runtime_routine("RUNTIMELOCKSTRING"), reinterpret_cast<const void*>(&RuntimeLockString));
    EXPECT_EQ(resolver.runtime_routine("NoSuchRoutineAnywhere"), nullptr);
}

TEST_F(RuntimeImportResolverTest, LibraryNamesDifferingInCaseLoadOnce)
{
    qv::RuntimeImportResolver resolver;
    const size_t before = qv::loaded_libraries().size();
    const qv::LoadedLibraryList::Node* first = &qv::loaded_libraries().find_or_load("qv-missing-library.dll");
    EXPECT_EQ(&qv::loaded_libraries().find_or_load("Qv-Missing-Library.DLL"), first);
    EXPECT_EQ(first->module, nullptr);
    std::string message;
    EXPECT_EQ(resolver.library_procedure("qv-missing-library.dll", "Proc", message), nullptr);
    EXPECT_EQ(message,
              "The application could not be loaded because a necessary shared library "
              "qv-missing-library.dll could not be found.");
    EXPECT_EQ(resolver.library_procedure("QV-MISSING-LIBRARY.DLL", "Proc", message), nullptr);
    EXPECT_EQ(qv::loaded_libraries().size(), before);  // every spelling found the one node
}

TEST_F(RuntimeImportResolverTest, MissingProcedureOfALoadedLibrary)
{
    const char* library = kLibrary;
    const char* present = kPresent;
    qv::RuntimeImportResolver resolver;
    std::string message;
    EXPECT_NE(resolver.library_procedure(library, present, message), nullptr) << message;
    EXPECT_EQ(resolver.library_procedure(library, "qvNoSuchProcedure", message), nullptr);
    EXPECT_EQ(message,
              std::string("The application could not be loaded because the routine qvNoSuchProcedure "
                          "could not be found in the shared library ") +
                  library + ".");
}

}  // namespace
