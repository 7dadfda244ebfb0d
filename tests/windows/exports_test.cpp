// The export and import tables of the Windows package, read from the binaries as the Windows
// loader reads them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "plugin/host_api_table.h"
#include "tests/windows/objdump.h"

namespace {

using testing::IsSubsetOf;
using testing::IsSupersetOf;
using testing::UnorderedElementsAre;
using windows_test::PeTables;

const std::string kPackage = WINDOWS_PACKAGE_DIR;

PeTables tablesOf(const std::string& file) {
    return windows_test::readPeTables(OBJDUMP_PATH, kPackage + "/" + file);
}

std::vector<std::string> calledHostFunctions() {
#define NAME_OF_CALLED(name, signature) #name,
#define SKIP_OTHER(name)
    std::vector<std::string> names{TANDREL_HOST_FUNCTIONS(NAME_OF_CALLED, SKIP_OTHER)};
#undef NAME_OF_CALLED
#undef SKIP_OTHER
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WindowsExports, PluginExportsItsFunctionsUndecoratedAndItsClasses) {
    const PeTables tables = tablesOf("Tandrel.dll");
    std::vector<std::string> cNames;
    std::copy_if(tables.exports.begin(), tables.exports.end(), std::back_inserter(cNames),
                 [](const std::string& name) { return !name.starts_with("_Z"); });
    EXPECT_THAT(cNames,
                UnorderedElementsAre("createPlugin", "getAuthor", "getGUIScript", "getHelpFile",
                                     "getPluginDescription", "getPluginName", "getPluginVersion"));
    // The classes under their Itanium names, the C++ ABI of MinGW-w64.
    EXPECT_THAT(tables.exports, IsSupersetOf({
                                    "_ZN19ZorqPluginInterfaceC1Ev",     // default constructor
                                    "_ZN19ZorqPluginInterfaceC1ERKS_",  // copy constructor
                                    "_ZN19ZorqPluginInterfaceaSERKS_",  // copy assignment
                                    "_ZTV19ZorqPluginInterface",        // virtual table
                                    "_ZN7tandrelC1Ev",
                                    "_ZN7tandrelD0Ev",  // deleting destructor, the host's delete
                                    "_ZN7tandrelD1Ev",
                                    "_ZN7tandrel7executeEv",
                                    "_ZN7tandrel10initPluginEv",
                                    "_ZTV7tandrel",
                                }));
    // Nothing else of C++ leaves the library: not the comparison's insides, not the run-time's.
    const std::regex classMember("_Z(N|TV|TI|TS)(19ZorqPluginInterface|7tandrel).*");
    for (const std::string& name : tables.exports) {
        if (name.starts_with("_Z")) {
            EXPECT_TRUE(std::regex_match(name, classMember)) << name;
        }
    }
}

TEST(WindowsExports, HostExportsExactlyTheFunctionsThePluginCallsByName) {
    EXPECT_EQ(tablesOf("Quorvis.exe").exports, calledHostFunctions());
}

class WindowsImports : public testing::TestWithParam<const char*> {};

TEST_P(WindowsImports, AreSystemLibrariesOnly) {
    std::vector<std::string> imports = tablesOf(GetParam()).imports;
    for (std::string& name : imports) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::tolower(c); });
    }
    EXPECT_FALSE(imports.empty());
    // The compiler's run-time, winpthreads and zlib are linked in: no libstdc++-6.dll,
    // libgcc_s_seh-1.dll, libwinpthread-1.dll or zlib1.dll to ship.
    EXPECT_THAT(imports, IsSubsetOf({"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll",
                                     "ntdll.dll"}));
}

INSTANTIATE_TEST_SUITE_P(Package, WindowsImports, testing::Values("Tandrel.dll", "Quorvis.exe"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(0, 7);
                         });

}  // namespace
