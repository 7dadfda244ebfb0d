// The plug-in object as the host drives it, in a test program that stands in for the host: every
// call the plug-in makes to the host is recorded, so each test states the host's whole view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/plugin/fake_host.h"
#include "tests/plugin/loaded_plugin.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Calls = std::vector<std::string>;

const std::string kVersionMessage =
    "zvMessageBox(Can not execute this plugin - Quorvis version 20.0 or higher required.)";
const Calls kUpToRunning = {"zvGetVersionOfQuorvisZV()", "zvShowLogTab()",
                            "zvLogText(\nTandrel>  Running...)", "zvGetIDOfCurrentDocument()"};

Calls concat(Calls first, const Calls& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class PluginTest : public ::testing::Test {
  protected:
    void SetUp() override { fakehost::reset(); }

    fakehost::FakeHost& host() { return fakehost::host(); }

    // A plug-in whose initPlugin succeeded, with the host's record cleared afterwards.
    plugintest::PluginObject initialisedPlugin() {
        plugintest::PluginObject plugin = plugintest::createPlugin();
        EXPECT_TRUE(plugin->initPlugin());
        host().calls.clear();
        return plugin;
    }
};

struct InitCase {
    std::string name;
    std::function<void(fakehost::FakeHost&)> setUp;
    bool result;
    Calls calls;
};

TEST_F(PluginTest, InitPluginChecksTheHostAndTheDocumentInOrder) {
    const Calls success =
        concat(kUpToRunning, {"zvGetDocumentType(0)", "zvGetHeaderOfCurrentFMR()"});
    const auto version = [](int major, int minor, int patch) {
        return [=](fakehost::FakeHost& h) { h.version = {major, minor, patch}; };
    };
    const std::vector<InitCase> cases = {
        {"version 2.9.9 (the minimum)", version(2, 9, 9), true, success},
        {"version 2.10.0", version(2, 10, 0), true, success},
        {"version 3.0.0", version(3, 0, 0), true, success},
        {"version 20.0.0", version(20, 0, 0), true, success},
        {"version 2.9.8", version(2, 9, 8), false, {"zvGetVersionOfQuorvisZV()", kVersionMessage}},
        {"version 2.8.20",
         version(2, 8, 20),
         false,
         {"zvGetVersionOfQuorvisZV()", kVersionMessage}},
        {"version 1.99.99",
         version(1, 99, 99),
         false,
         {"zvGetVersionOfQuorvisZV()", kVersionMessage}},
        {"document id 7", [](auto& h) { h.documentId = 7; }, true,
         concat(kUpToRunning, {"zvGetDocumentType(7)", "zvGetHeaderOfCurrentFMR()"})},
        {"no current document", [](auto& h) { h.documentId = -1; }, false,
         concat(kUpToRunning, {"zvMessageBox(No current document available.)"})},
        {"a document that is not a run", [](auto& h) { h.documentType = 2; }, false,
         concat(kUpToRunning,
                {"zvGetDocumentType(0)",
                 "zvMessageBox(The currently active document is not a FMR document.)"})},
        {"time courses stored as short integers", [](auto& h) { h.dataType = 1; }, false,
         concat(kUpToRunning,
                {"zvGetDocumentType(0)", "zvGetHeaderOfCurrentFMR()",
                 "zvMessageBox(The current FMR's timecourse data is stored as SHORT INT type. "
                 "This old format is not supported by the Tandrel.)"})},
        {"time courses of an unknown type", [](auto& h) { h.dataType = 3; }, false,
         concat(kUpToRunning,
                {"zvGetDocumentType(0)", "zvGetHeaderOfCurrentFMR()",
                 "zvMessageBox(The current FMR's timecourse data is stored as SHORT INT type. "
                 "This old format is not supported by the Tandrel.)"})},
    };
    for (const InitCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakehost::reset();
        c.setUp(host());
        plugintest::PluginObject plugin = plugintest::createPlugin();
        EXPECT_EQ(plugin->initPlugin(), c.result);
        EXPECT_THAT(host().calls, ElementsAreArray(c.calls));
    }
}

TEST_F(PluginTest, ASecondInitPluginReplacesTheLogStreamWhichHandsOverItsEmptyText) {
    plugintest::PluginObject plugin = initialisedPlugin();
    EXPECT_TRUE(plugin->initPlugin());
    EXPECT_THAT(host().calls,
                ElementsAreArray(concat(
                    {"zvLogText()"},
                    concat(kUpToRunning, {"zvGetDocumentType(0)", "zvGetHeaderOfCurrentFMR()"}))));
}

TEST_F(PluginTest, ExecuteRunsNothingUnlessInitPluginSucceeded) {
    host().stringParameters["task"] = "choose_sdm";
    plugintest::PluginObject fresh = plugintest::createPlugin();
    EXPECT_FALSE(fresh->execute());
    EXPECT_THAT(host().calls, IsEmpty());

    host().documentId = -1;
    plugintest::PluginObject refused = plugintest::createPlugin();
    EXPECT_FALSE(refused->initPlugin());
    host().calls.clear();
    EXPECT_FALSE(refused->execute());
    EXPECT_THAT(host().calls, IsEmpty());

    // A later initPlugin that fails withdraws an earlier success.
    host().documentId = 0;
    plugintest::PluginObject withdrawn = initialisedPlugin();
    host().documentType = 2;
    EXPECT_FALSE(withdrawn->initPlugin());
    host().calls.clear();
    EXPECT_FALSE(withdrawn->execute());
    EXPECT_THAT(host().calls, IsEmpty());
}

TEST_F(PluginTest, ChooseSdmStoresThePickedPathInSdmfile) {
    const std::string longest(511, 'p');
    for (const std::string& picked : {std::string("/data/sub-01/motion.sdm"), longest}) {
        SCOPED_TRACE(picked.size());
        plugintest::PluginObject plugin = initialisedPlugin();
        host().stringParameters["task"] = "choose_sdm";
        host().pickedFile = picked;
        EXPECT_TRUE(plugin->execute());
        EXPECT_THAT(host().calls,
                    ElementsAre("zvGetStringParameter(task)",
                                "zvGetOpenFileName(Select an SDM:, , Design Matrix (*.sdm))",
                                "zvSetStringParameter(sdmfile, " + picked + ")"));
    }
}

TEST_F(PluginTest, ACancelledFileDialogStoresAnEmptyPath) {
    plugintest::PluginObject plugin = initialisedPlugin();
    host().stringParameters["task"] = "choose_sdm";
    host().stringParameters["sdmfile"] = "/data/earlier.sdm";
    EXPECT_TRUE(plugin->execute());
    EXPECT_EQ(host().calls.back(), "zvSetStringParameter(sdmfile, )");
    EXPECT_EQ(host().stringParameters["sdmfile"], "");
}

TEST_F(PluginTest, TasksThatAreNeitherActionOnlyShowAndStopTheBusyCursor) {
    const std::vector<std::optional<std::string>> tasks = {
        "Start",       "START",      "start ",  " start",    "",
        "choose_sdm ", "Choose_sdm", "unknown", std::nullopt};  // the host leaves the buffer
                                                                // untouched
    for (const auto& task : tasks) {
        SCOPED_TRACE(task ? "\"" + *task + "\"" : "not set");
        plugintest::PluginObject plugin = initialisedPlugin();
        if (task) host().stringParameters["task"] = *task;
        EXPECT_TRUE(plugin->execute());
        EXPECT_THAT(host().calls, ElementsAre("zvGetStringParameter(task)", "zvShowBusyCursor()",
                                              "zvStopBusyCursor()"));
    }
}

TEST_F(PluginTest, AFailingActionStopsTheBusyCursorBeforeTheErrorIsShown) {
    // "start" without SDM files to compare cannot complete.
    plugintest::PluginObject plugin = initialisedPlugin();
    host().stringParameters["task"] = "start";
    EXPECT_TRUE(plugin->execute());
    const Calls& calls = host().calls;
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0], "zvGetStringParameter(task)");
    EXPECT_EQ(calls[1], "zvShowBusyCursor()");
    EXPECT_EQ(calls[calls.size() - 2], "zvStopBusyCursor()");
    EXPECT_THAT(calls.back(), ::testing::StartsWith("zvMessageBox(Error: "));
    EXPECT_GT(calls.back().size(), std::string("zvMessageBox(Error: )").size());
}

TEST_F(PluginTest, DestructionLogsTheFarewellThenAnEmptyText) {
    plugintest::PluginObject plugin = initialisedPlugin();
    plugin.reset();
    EXPECT_THAT(host().calls,
                ElementsAre("zvLogText(\nTandrel>  Plugin finished!\n)", "zvLogText()"));

    // The stream exists once initPlugin got past the host's resolution, whatever it returned.
    host().version = {2, 9, 8};
    plugin = plugintest::createPlugin();
    EXPECT_FALSE(plugin->initPlugin());
    host().calls.clear();
    plugin.reset();
    EXPECT_THAT(host().calls,
                ElementsAre("zvLogText(\nTandrel>  Plugin finished!\n)", "zvLogText()"));
}

TEST_F(PluginTest, DestructionWithoutInitPluginLogsNothing) {
    plugintest::createPlugin().reset();
    EXPECT_THAT(host().calls, IsEmpty());
}

}  // namespace
