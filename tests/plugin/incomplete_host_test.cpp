// A host that exports its version function and its message box but not every function the
// plug-in calls (here zvGetHeaderOfCurrentFMR and zvSaveMAPsOfCurrentFMR): the plug-in names the
// first missing one and refuses, instead of calling through a null entry later.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/plugin/fake_host.h"
#include "tests/plugin/loaded_plugin.h"

namespace {

TEST(IncompleteHost, InitPluginNamesTheMissingFunctionAndRefuses) {
    fakehost::reset();
    fakehost::host().stringParameters["task"] = "choose_sdm";
    plugintest::PluginObject plugin = plugintest::createPlugin();
    EXPECT_FALSE(plugin->initPlugin());
    EXPECT_THAT(fakehost::host().calls,
                ::testing::ElementsAre("zvMessageBox(Can not execute this plugin - Quorvis does "
                                       "not provide the function zvGetHeaderOfCurrentFMR.)"));

    fakehost::host().calls.clear();
    EXPECT_FALSE(plugin->execute());
    plugin.reset();  // no log stream was created, so nothing is logged
    EXPECT_TRUE(fakehost::host().calls.empty());
}

}  // namespace
