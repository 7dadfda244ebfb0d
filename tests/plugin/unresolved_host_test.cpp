// A process in which the plug-in finds no host to resolve: built once as a program under another
// file name, and once as a program named like the host that does not export the host's version
// function. Both export the stand-in host's other functions, so any call the plug-in made anyway
// would be recorded.
#include <gtest/gtest.h>

#include "plugin/host_functions.h"
#include "tests/plugin/fake_host.h"
#include "tests/plugin/loaded_plugin.h"

namespace {

void sentinel(const char*) {}

TEST(UNRESOLVED_SUITE, ResolutionFailsAndLeavesTheTableAsItWas) {
    plugin::hostApi.zvLogText = &sentinel;
    EXPECT_FALSE(plugin::resolveHostFunctions());
    EXPECT_EQ(plugin::hostApi.zvLogText, &sentinel);
    EXPECT_EQ(plugin::hostApi.zvGetVersionOfQuorvisZV, nullptr);
    EXPECT_EQ(plugin::hostApi.zvMessageBox, nullptr);
}

TEST(UNRESOLVED_SUITE, ThePluginRefusesSilentlyAndNeverCallsTheHost) {
    fakehost::reset();
    fakehost::host().stringParameters["task"] = "choose_sdm";
    plugintest::PluginObject plugin = plugintest::createPlugin();
    EXPECT_FALSE(plugin->initPlugin());
    EXPECT_FALSE(plugin->execute());
    plugin.reset();
    EXPECT_TRUE(fakehost::host().calls.empty());
}

}  // namespace
