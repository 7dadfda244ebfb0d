// The module's exported C functions, looked up by their undecorated names as the host does.
#include "plugin/entry_points.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/plugin/fake_host.h"
#include "tests/plugin/loaded_plugin.h"

namespace {

TEST(EntryPoints, DescriptorsAreConstantTextsOfTheLibrary) {
    const struct {
        const char* function;
        const char* text;
    } descriptors[] = {
        {"getPluginName", "Tandrel"},
        {"getPluginVersion", "1.0"},
        {"getPluginDescription", "Compares 2 different SDM models against each other"},
        {"getAuthor", "<i>RK&TL</i>"},
        {"getGUIScript", "Tandrel.js"},
        {"getHelpFile", "HelpFolder/index.html"},
    };
    for (const auto& d : descriptors) {
        SCOPED_TRACE(d.function);
        auto get =
            reinterpret_cast<plugin::DescriptorFunction>(plugintest::pluginExport(d.function));
        ASSERT_NE(get, nullptr);
        const char* text = get();
        EXPECT_STREQ(text, d.text);
        EXPECT_EQ(get(), text);
    }
}

TEST(EntryPoints, CreatePluginGivesAnObjectThatTheHostOwns) {
    fakehost::reset();
    plugintest::PluginObject first = plugintest::createPlugin();
    plugintest::PluginObject second = plugintest::createPlugin();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_TRUE(fakehost::host().calls.empty());
}

}  // namespace
