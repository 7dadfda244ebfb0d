// Finding loaded modules and their exports through the loader layer of this platform: the main
// program and a module loaded by someone else are found by file name without being loaded or
// kept, and only a module's own exports are found through it.
#include "platform/loaded_module.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

// Exported by this test program (it is built with its symbols exported, like the host).
extern "C" __attribute__((visibility("default"))) int exportedByTheProgram() {
    return 7;
}

namespace platform {
namespace {

bool isLoaded(const char* path) {
    void* handle = dlopen(path, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) return false;
    dlclose(handle);
    return true;
}

TEST(FindLoadedModule, FindsTheMainProgramByItsFileName) {
    const std::string name = TEST_PROGRAM_NAME;
    std::string otherCase = name;
    for (char& c : otherCase) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& wanted : {name, name + ".exe", otherCase + ".EXE", otherCase}) {
        SCOPED_TRACE(wanted);
        ModuleHandle program = findLoadedModule(wanted.c_str());
        ASSERT_NE(program, nullptr);
        EXPECT_EQ(program, dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD));
    }
}

TEST(FindLoadedModule, NamesThatAreNoLoadedModuleFindNothing) {
    for (const char* wanted :
         {"Quorvis.exe", "", ".exe", "no_such_module.so", "tests/" TEST_PROGRAM_NAME "x"}) {
        SCOPED_TRACE(wanted);
        EXPECT_EQ(findLoadedModule(wanted), nullptr);
    }
    EXPECT_EQ(findLoadedModule(nullptr), nullptr);
}

TEST(FindLoadedModule, NeverLoadsAModuleItLooksFor) {
    ASSERT_FALSE(isLoaded(FIXTURE_PATH));
    EXPECT_EQ(findLoadedModule(FIXTURE_FILE_NAME), nullptr);
    EXPECT_FALSE(isLoaded(FIXTURE_PATH));
}

TEST(FindLoadedModule, FindsALibraryLoadedBySomeoneElseWithoutKeepingIt) {
    void* loaded = dlopen(FIXTURE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(loaded, nullptr) << dlerror();
    std::string upper = FIXTURE_FILE_NAME;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ModuleHandle fixture = findLoadedModule(upper.c_str());
    ASSERT_EQ(fixture, loaded);
    ExportedFunction answer = findExportedFunction(fixture, "fixtureAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(reinterpret_cast<int (*)()>(answer)(), 42);
    // The one reference is ours: releasing it unloads the module, so the lookup kept none.
    dlclose(loaded);
    EXPECT_FALSE(isLoaded(FIXTURE_PATH));
}

TEST(FindExportedFunction, FindsOnlyTheModulesOwnExportsByExactName) {
    ModuleHandle program = findLoadedModule(TEST_PROGRAM_NAME);
    ASSERT_NE(program, nullptr);
    ExportedFunction found = findExportedFunction(program, "exportedByTheProgram");
    EXPECT_EQ(found, reinterpret_cast<ExportedFunction>(&exportedByTheProgram));
    EXPECT_EQ(findExportedFunction(program, "ExportedByTheProgram"), nullptr);
    EXPECT_EQ(findExportedFunction(program, "exportedByTheProgra"), nullptr);
    EXPECT_EQ(findExportedFunction(program, "noSuchFunction"), nullptr);
    // Exported by the C library that the program depends on, not by the program.
    EXPECT_EQ(findExportedFunction(program, "strlen"), nullptr);
    EXPECT_EQ(findExportedFunction(nullptr, "strlen"), nullptr);
}

}  // namespace
}  // namespace platform
