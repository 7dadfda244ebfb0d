// The real quorvis with the real Tandrel plug-in, each run as a separate process on small runs
// written with nifti_clib.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "host/fmr_document.h"
#include "tests/host/host_test_support.h"
#include "tests/host/process_runner.h"

namespace {

using host_test::ProcessResult;
using host_test::TempFolder;
using testing::StartsWith;

const std::string kQuorvis = QUORVIS_PATH;
const std::string kTandrel = TANDREL_PATH;

const std::string kDescriptor =
    "quorvis: plug-in \"Tandrel\" version \"1.0\" by \"<i>RK&TL</i>\": \"Compares 2 different SDM "
    "models against each other\"; GUI script \"Tandrel.js\"; help file "
    "\"HelpFolder/index.html\"\n";
const std::string kLifecycleLog = "\nTandrel>  Running...\n\nTandrel>  Plugin finished!\n";
const std::string kNotInitialised = "quorvis: the plug-in did not initialise; no task was run\n";

std::string parameterListing(const std::string& sdmfile, const std::string& task) {
    return "Fmap=0\nR2adj1=0\nR2adj2=0\nR2adj3=0\nresiduals1=0\nresiduals2=0\nsdmfile=" + sdmfile +
           "\nsdmfile1=\nsdmfile2=\ntSNR1=0\ntSNR2=0\ntSNR3=0\ntask=" + task + "\n";
}

// A bright run of 4 x 4 x 2 voxels and 5 volumes, "run.nii" in a scratch folder that is the
// current folder of every process.
class Quorvis : public testing::Test {
  protected:
    void SetUp() override {
        host_test::Image image = host_test::makeImage({4, 4, 2, 5}, DT_FLOAT32);
        for (std::size_t i = 0; i < image->nvox; ++i) {
            static_cast<float*>(image->data)[i] = 1000.0f + static_cast<float>(i % 7);
        }
        host_test::writeImage(*image, folder.path("run.nii"));
    }

    ProcessResult quorvis(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {kQuorvis, "--plugin", kTandrel});
        return host_test::runProcess(arguments, folder.root());
    }

    TempFolder folder;
};

TEST_F(Quorvis, LoadsThePluginBesideItselfAndShowsItsLifecycle) {
    const ProcessResult result =
        host_test::runProcess({kQuorvis, "--task", "", "run.nii"}, folder.root());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kLifecycleLog);
    EXPECT_EQ(result.err, kDescriptor);
}

TEST_F(Quorvis, ChooseSdmStoresThePickedPath) {
    const ProcessResult result = quorvis(
        {"--task", "choose_sdm", "--pick", "designs/motion.sdm", "--print-params", "run.nii"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kLifecycleLog + parameterListing("designs/motion.sdm", "choose_sdm"));
    EXPECT_EQ(result.err, kDescriptor);
}

TEST_F(Quorvis, AFileDialogWithoutAnAnswerIsCancelled) {
    const ProcessResult result = quorvis(
        {"--set", "sdmfile=before.sdm", "--task", "choose_sdm", "--print-params", "run.nii"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kLifecycleLog + parameterListing("", "choose_sdm"));
    EXPECT_EQ(
        result.err,
        kDescriptor + "quorvis: file dialog \"Select an SDM:\" cancelled: no --pick answer\n");
}

TEST_F(Quorvis, TasksThatNameNoActionRunNothing) {
    const ProcessResult result = quorvis(
        {"--task", "", "--task", "Start", "--task", "start ", "--task", "CHOOSE_SDM", "run.nii"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kLifecycleLog);
    EXPECT_EQ(result.err, kDescriptor);
}

TEST_F(Quorvis, AFailingActionShowsAMessageBoxAndFailsTheSession) {
    const ProcessResult result = quorvis({"--task", "start", "run.nii"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, StartsWith(kDescriptor + "message box: Error: "));
}

TEST_F(Quorvis, WithoutARunThereIsNoCurrentDocument) {
    const ProcessResult result = quorvis({"--task", "choose_sdm", "--pick", "a.sdm"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, kLifecycleLog);
    EXPECT_EQ(result.err,
              kDescriptor + "message box: No current document available.\n" + kNotInitialised);
}

TEST_F(Quorvis, ReportsTheVersionItIsToldTo) {
    const ProcessResult tooOld = quorvis({"--host-version", "2.9.8", "run.nii"});
    EXPECT_EQ(tooOld.status, 1);
    EXPECT_EQ(tooOld.out, "\nTandrel>  Plugin finished!\n");
    EXPECT_EQ(tooOld.err, kDescriptor +
                              "message box: Can not execute this plugin - Quorvis version 20.0 or "
                              "higher required.\nquorvis: the plug-in did not initialise\n");
    EXPECT_EQ(quorvis({"--host-version", "2.9.9", "run.nii"}).status, 0);
}

TEST_F(Quorvis, APluginLoadedByAnotherProgramDoesNotInitialise) {
    const std::string other = folder.path("otherhost");
    std::filesystem::copy_file(kQuorvis, other);
    const ProcessResult result = host_test::runProcess(
        {other, "--plugin", kTandrel, "--task", "choose_sdm", "--pick", "a.sdm", "run.nii"},
        folder.root());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, kDescriptor + kNotInitialised);
}

TEST_F(Quorvis, OpensAnFmrDocumentItSaved) {
    host::openDocument(folder.path("run.nii")).saveCopy(folder.path("copy.fmr"), "copy");
    const ProcessResult result = quorvis({"--task", "", "copy.fmr"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kLifecycleLog);
}

TEST_F(Quorvis, AcceptsTextsOf511CharactersAndParametersOfItsOwn) {
    const std::string longest(511, 'p');
    const ProcessResult result = quorvis(
        {"--set", "sdmfile1=" + longest, "--set", "colour=blue", "--print-params", "run.nii"});
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.out, testing::HasSubstr("\ncolour=blue\n"));
    EXPECT_THAT(result.out, testing::HasSubstr("\nsdmfile1=" + longest + "\n"));
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string message;  // the whole of standard error
};

std::ostream& operator<<(std::ostream& out, const RefusalCase& c) {
    return out << c.name;
}

class Refusals : public Quorvis, public testing::WithParamInterface<RefusalCase> {};

// Usage errors and runs that cannot be read stop the host before the plug-in is loaded.
TEST_P(Refusals, StopWithStatus2BeforeAnythingRuns) {
    host_test::writeImage(*host_test::makeImage({4, 4, 2}, DT_FLOAT32), folder.path("map.nii"));
    host_test::writeFile(folder.path("text.nii"), "not an image\n");
    const std::string run = host_test::readFile(folder.path("run.nii"));
    host_test::writeFile(folder.path("short.nii"), run.substr(0, run.size() - 4));

    const ProcessResult result = quorvis(GetParam().arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Quorvis, Refusals,
    testing::Values(
        RefusalCase{"three_d",
                    {"map.nii"},
                    "quorvis: map.nii: holds a 3D image; a run needs 4 dimensions (x, y, z and "
                    "time)\n"},
        RefusalCase{"truncated",
                    {"short.nii"},
                    "quorvis: short.nii: is truncated: its header promises 640 bytes of image data "
                    "after byte 352, it holds 636\n"},
        RefusalCase{"not_nifti",
                    {"text.nii"},
                    "quorvis: text.nii: not a NIfTI-1 file: it holds 13 bytes, a NIfTI-1 header "
                    "needs 348\n"},
        RefusalCase{"missing",
                    {"gone.nii.gz"},
                    "quorvis: gone.nii.gz: cannot open: No such file or directory\n"},
        RefusalCase{"other_kind",
                    {"run.img"},
                    "quorvis: run.img: unknown kind of run; expected a .nii, .nii.gz or .fmr "
                    "file\n"},
        RefusalCase{"long_document_path",
                    {std::string(300, 'r') + ".nii"},
                    "quorvis: " + std::string(300, 'r') + ".nii: the run's document path " +
                        std::string(300, 'r') +
                        ".fmr has 304 characters; an FMR header holds at most 303\n"},
        RefusalCase{"long_text",
                    {"--set", "sdmfile1=" + std::string(512, 'p'), "run.nii"},
                    "quorvis: parameter \"sdmfile1\": the text has 512 characters; a dialog "
                    "parameter holds at most 511\n"},
        RefusalCase{"long_task",
                    {"--task", std::string(600, 't'), "run.nii"},
                    "quorvis: parameter \"task\": the text has 600 characters; a dialog parameter "
                    "holds at most 511\n"},
        RefusalCase{"long_pick",
                    {"--pick", std::string(512, 'p'), "run.nii"},
                    "quorvis: --pick: the path has 512 characters; a file dialog returns at most "
                    "511\n"},
        RefusalCase{"switch_not_integer",
                    {"--set", "Fmap=yes", "run.nii"},
                    "quorvis: parameter \"Fmap\": expected an integer, found \"yes\"\n"},
        RefusalCase{"setting_without_name",
                    {"--set", "=1", "run.nii"},
                    "quorvis: --set =1: expected NAME=VALUE\n"},
        RefusalCase{"host_version",
                    {"--host-version", "3.0", "run.nii"},
                    "quorvis: --host-version 3.0: expected X.Y.Z with three integers\n"},
        RefusalCase{"unknown_option",
                    {"--sett", "Fmap=1", "run.nii"},
                    "The following arguments were not expected: run.nii --sett\n"
                    "Run with --help for more information.\n"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(Quorvis, APluginThatCannotBeLoadedIsAUsageError) {
    const ProcessResult result = quorvis({"--plugin", "missing.so", "run.nii"});
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err, StartsWith("quorvis: missing.so: cannot load: "));
}

}  // namespace
