// The host function table filled from the test program, which stands in for the host under the
// host's file name, and the checks made on the host before the plug-in relies on it.
#include "plugin/host_functions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Exported by the test program's stand-in host (fake_host.cpp).
extern "C" void zvLogText(const char* text);

namespace plugin {
namespace {

TEST(IsVersionAtLeast, ComparesMajorThenMinorThenPatch) {
    const struct {
        int major, minor, patch;
        bool atLeast;
    } cases[] = {
        {2, 9, 9, true},  {2, 9, 8, false},   {2, 10, 0, true},      {3, 0, 0, true},
        {20, 0, 0, true}, {1, 99, 99, false}, {2, 8, 100, false},    {2, 8, 20, false},
        {2, 9, 10, true}, {0, 0, 0, false},   {-3, 100, 100, false}, {2, -1, 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + "." +
                     std::to_string(c.patch));
        EXPECT_EQ(isVersionAtLeast(c.major, c.minor, c.patch, 2, 9, 9), c.atLeast);
    }
}

void anyFunction() {}

// A table in which every entry is set, as from a host that exports every function.
HostApiTable completeTable() {
    HostApiTable table;
#define SET_ENTRY(name) table.name = reinterpret_cast<decltype(table.name)>(&anyFunction);
#define SET_CALLED_ENTRY(name, signature) SET_ENTRY(name)
    TANDREL_HOST_FUNCTIONS(SET_CALLED_ENTRY, SET_ENTRY)
#undef SET_CALLED_ENTRY
#undef SET_ENTRY
    return table;
}

TEST(MissingCalledFunction, NamesTheFirstCalledFunctionTheHostLacks) {
    const struct {
        const char* expected;
        std::function<void(HostApiTable&)> remove;
    } cases[] = {
        {nullptr, [](HostApiTable&) {}},
        {nullptr,
         [](HostApiTable& t) {
             t.zvLaunchICADialog = nullptr;
             t.zvGetQuorvisZVPath = nullptr;
         }},
        {"zvGetVersionOfQuorvisZV", [](HostApiTable& t) { t.zvGetVersionOfQuorvisZV = nullptr; }},
        {"zvMessageBox", [](HostApiTable& t) { t.zvMessageBox = nullptr; }},
        {"zvStopBusyCursor", [](HostApiTable& t) { t.zvStopBusyCursor = nullptr; }},
        {"zvSetStringParameter", [](HostApiTable& t) { t.zvSetStringParameter = nullptr; }},
        {"zvGetSTCFloatDataOfCurrentFMR",
         [](HostApiTable& t) {
             t.zvSaveMAPsOfCurrentFMR = nullptr;
             t.zvGetSTCFloatDataOfCurrentFMR = nullptr;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected ? c.expected : "none missing");
        HostApiTable table = completeTable();
        c.remove(table);
        const char* missing = missingCalledFunction(table);
        if (c.expected == nullptr) {
            EXPECT_EQ(missing, nullptr);
        } else {
            EXPECT_STREQ(missing, c.expected);
        }
    }
}

TEST(ResolveHostFunctions, FillsTheTableByNameFromTheHostProgram) {
    ASSERT_TRUE(resolveHostFunctions());
    // The test program exports the functions the plug-in calls and nothing else of the host's.
    EXPECT_EQ(missingCalledFunction(hostApi), nullptr);
    EXPECT_EQ(hostApi.zvLogText, &::zvLogText);
    EXPECT_EQ(hostApi.zvLaunchICADialog, nullptr);
    EXPECT_EQ(hostApi.zvGetQuorvisZVPath, nullptr);
    EXPECT_EQ(hostApi.zvShowLogPane, nullptr);

    // A second resolution gives the same table.
    const HostApiTable first = hostApi;
    hostApi.zvLogText = nullptr;
    ASSERT_TRUE(resolveHostFunctions());
    EXPECT_EQ(hostApi.zvLogText, first.zvLogText);
}

}  // namespace
}  // namespace plugin
