#include "host/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/parsed_command_line.h"

namespace host {
namespace {

using host_test::parse;
using host_test::Parsed;

TEST(CommandLine, CollectsTheSessionInTheOrderGiven) {
    const Parsed parsed =
        parse({"--task", "choose_sdm", "--pick", "a.sdm", "--set", "Fmap=1", "--task", "start",
               "--pick", "b.sdm", "--set", "note=x=y", "--plugin", "lib/Tandrel.so",
               "--host-version", "2.10.0", "--print-params", "data/run1.nii.gz"});
    ASSERT_TRUE(parsed.commandLine.options) << parsed.err;
    const Options& options = *parsed.commandLine.options;
    EXPECT_EQ(options.run, "data/run1.nii.gz");
    EXPECT_EQ(options.pluginPath, "lib/Tandrel.so");
    EXPECT_THAT(options.tasks, testing::ElementsAre("choose_sdm", "start"));
    EXPECT_THAT(options.picks, testing::ElementsAre("a.sdm", "b.sdm"));
    EXPECT_EQ(options.parameters.integer("Fmap"), 1);
    EXPECT_EQ(options.parameters.text("note"), "x=y");
    EXPECT_TRUE(options.printParameters);
    EXPECT_EQ(options.hostVersion.major, 2);
    EXPECT_EQ(options.hostVersion.minor, 10);
    EXPECT_EQ(options.hostVersion.patch, 0);
}

TEST(CommandLine, DefaultsToNoRunThePluginBesideTheHostAndVersion3) {
    const Parsed parsed = parse({});
    ASSERT_TRUE(parsed.commandLine.options);
    EXPECT_EQ(parsed.commandLine.options->run, "");
    EXPECT_EQ(parsed.commandLine.options->pluginPath, "");
    EXPECT_EQ(parsed.commandLine.options->hostVersion.major, 3);
    EXPECT_EQ(parsed.commandLine.options->parameters.integer("tSNR1"), 0);
}

TEST(CommandLine, HelpComesFromTheOptionTable) {
    const Parsed parsed = parse({"--help"});
    EXPECT_FALSE(parsed.commandLine.options);
    EXPECT_EQ(parsed.commandLine.exitStatus, kExitSuccess);
    for (const char* option :
         {"--plugin PATH", "--set NAME=VALUE", "--task TASK", "--pick PATH", "--print-params",
          "--host-version X.Y.Z", "--version", "Examples:"}) {
        EXPECT_THAT(parsed.out, testing::HasSubstr(option));
    }
}

TEST(HostVersion, NeedsThreeIntegers) {
    const HostVersion version = parseHostVersion("20.0.-1");
    EXPECT_EQ(version.major, 20);
    EXPECT_EQ(version.patch, -1);
    for (const char* text : {"3", "3.0", "3.0.0.1", "a.b.c", "3..0", "3.0.", "3.0.0 ", ""}) {
        EXPECT_THROW(parseHostVersion(text), UsageError) << text;
    }
}

}  // namespace
}  // namespace host
