#include "host/compare_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/command_line.h"
#include "tests/host/parsed_command_line.h"

namespace host {
namespace {

using host_test::parse;
using host_test::Parsed;

// The switches that are on, in the dialog's order.
std::vector<std::string> switchesOn(const DialogParameters& parameters) {
    std::vector<std::string> on;
    for (const char* name : {"tSNR1", "tSNR2", "tSNR3", "R2adj1", "R2adj2", "R2adj3", "Fmap",
                             "residuals1", "residuals2"}) {
        if (parameters.integer(name) == 1) on.push_back(name);
    }
    return on;
}

TEST(CompareCommand, FillsTheDialogAsAUserWouldAndRunsStart) {
    const Parsed parsed = parse({"compare", "data/run1.nii.gz", "d/task.sdm", "d/full.sdm"});
    ASSERT_TRUE(parsed.commandLine.options) << parsed.err;
    const Options& options = *parsed.commandLine.options;
    EXPECT_EQ(options.run, "data/run1.nii.gz");
    EXPECT_THAT(options.tasks, testing::ElementsAre("start"));
    EXPECT_FALSE(options.preview);
    // Exactly the dialog's own parameters: nothing added, every map on, no residual run.
    DialogParameters expected;
    expected.set("sdmfile1", "d/task.sdm");
    expected.set("sdmfile2", "d/full.sdm");
    for (const char* map : {"tSNR1", "tSNR2", "tSNR3", "R2adj1", "R2adj2", "R2adj3", "Fmap"}) {
        expected.set(map, "1");
    }
    EXPECT_EQ(options.parameters.all(), expected.all());
}

TEST(CompareCommand, SwitchesOnTheMapsAndResidualRunsAskedFor) {
    struct Case {
        std::vector<const char*> options;
        std::vector<std::string> on;
    };
    const std::vector<Case> cases = {
        {{"--maps", "tSNR3,Fmap"}, {"tSNR3", "Fmap"}},
        {{"--maps", "R2adj1", "--maps", "tSNR2,R2adj1"}, {"tSNR2", "R2adj1"}},
        {{"--maps", "none", "--residuals", "2"}, {"residuals2"}},
        {{"--maps", "none,Fmap", "--residuals", "1,2"}, {"Fmap", "residuals1", "residuals2"}},
        {{"--maps", "all", "--residuals", "none"},
         {"tSNR1", "tSNR2", "tSNR3", "R2adj1", "R2adj2", "R2adj3", "Fmap"}},
    };
    for (const Case& c : cases) {
        std::vector<const char*> arguments = {"compare", "run.nii", "a.sdm", "b.sdm"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const Parsed parsed = parse(arguments);
        ASSERT_TRUE(parsed.commandLine.options) << parsed.err;
        EXPECT_EQ(switchesOn(parsed.commandLine.options->parameters), c.on)
            << testing::PrintToString(c.options);
    }
}

TEST(CompareCommand, TakesTheHostsOwnOptionsBeforeOrAfterIt) {
    const Parsed parsed =
        parse({"--plugin", "lib/Tandrel.so", "compare", "run.nii", "a.sdm", "b.sdm", "--preview",
               "--host-version", "2.9.9", "--print-params"});
    ASSERT_TRUE(parsed.commandLine.options) << parsed.err;
    const Options& options = *parsed.commandLine.options;
    EXPECT_EQ(options.pluginPath, "lib/Tandrel.so");
    EXPECT_EQ(options.hostVersion.minor, 9);
    EXPECT_TRUE(options.printParameters);
    EXPECT_TRUE(options.preview);
}

TEST(CompareCommand, UsageErrorsNameTheBadValueAndTheValidOnes) {
    const std::string maps =
        "; the maps are all, none, tSNR1, tSNR2, tSNR3, R2adj1, R2adj2, R2adj3, Fmap\n";
    const std::string models = "\"; the models are 1 and 2, for example --residuals 1,2\n";
    struct Case {
        std::vector<const char*> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--maps", "tSNR1,tSNR4"}, "quorvis: --maps: unknown map \"tSNR4\"" + maps},
        {{"--maps", "fmap"}, "quorvis: --maps: unknown map \"fmap\"" + maps},
        {{"--maps", "Fmap,"}, "quorvis: --maps: unknown map \"\"" + maps},
        {{"--residuals", "1,3"}, "quorvis: --residuals: unknown model \"3" + models},
        {{"--residuals", "12"}, "quorvis: --residuals: unknown model \"12" + models},
        {{"--set", "Fmap=0"},
         "quorvis: compare fills the dialog and runs \"start\" itself; --set, --task and --pick "
         "belong to the generic form\n"},
        {{"--task", "choose_sdm"},
         "quorvis: compare fills the dialog and runs \"start\" itself; --set, --task and --pick "
         "belong to the generic form\n"},
        {{"extra.nii"},
         "quorvis: compare: unexpected argument \"extra.nii\"; compare takes RUN SDM1 SDM2 and "
         "its options\n"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> arguments = {"compare", "run.nii", "a.sdm", "b.sdm"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const Parsed parsed = parse(arguments);
        EXPECT_FALSE(parsed.commandLine.options) << testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.commandLine.exitStatus, kExitUsage);
        EXPECT_EQ(parsed.err, c.message) << testing::PrintToString(c.arguments);
    }
}

TEST(CompareCommand, RefusesWhatTheDialogOrTheHostCannotTake) {
    const std::string longPath(512, 'a');
    struct Case {
        std::vector<const char*> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"compare", "run.img", "a.sdm", "b.sdm"},
         "quorvis: run.img: unknown kind of run; expected a .nii, .nii.gz or .fmr file\n"},
        {{"compare", "run.nii", "a.sdm", longPath.c_str()},
         "quorvis: parameter \"sdmfile2\": the text has 512 characters; a dialog parameter holds "
         "at most 511\n"},
        {{"compare", "run.nii", "a.sdm"}, "SDM2 is required"},
        {{"compare", "run.nii", "a.sdm", "b.sdm", "--maps"}, "--maps"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = parse(c.arguments);
        EXPECT_FALSE(parsed.commandLine.options) << testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.commandLine.exitStatus, kExitUsage);
        EXPECT_THAT(parsed.err, testing::HasSubstr(c.message))
            << testing::PrintToString(c.arguments);
    }
}

TEST(CompareCommand, HelpListsItsArgumentsAndAnExample) {
    const Parsed parsed = parse({"compare", "--help"});
    EXPECT_FALSE(parsed.commandLine.options);
    EXPECT_EQ(parsed.commandLine.exitStatus, kExitSuccess);
    for (const char* text : {"RUN", "SDM1", "SDM2", "--maps", "--residuals", "--preview", "R2adj3",
                             "quorvis compare data/run1.nii.gz"}) {
        EXPECT_THAT(parsed.out, testing::HasSubstr(text));
    }
}

}  // namespace
}  // namespace host
