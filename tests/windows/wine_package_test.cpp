// The Windows package under Wine, through the real Windows loader: Quorvis.exe loads Tandrel.dll,
// which finds its host with GetModuleHandleA and GetProcAddress. On the same run and designs the
// package must save exactly what the Linux build saves, and a plug-in loaded by a program of
// another name must stay silent.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/host_test_support.h"
#include "tests/host/process_runner.h"

namespace {

namespace fs = std::filesystem;
using host_test::ProcessResult;
using host_test::TempFolder;
using testing::HasSubstr;
using testing::Not;

const std::string kPackage = WINDOWS_PACKAGE_DIR;
const std::vector<std::string> kInputs = {"demo_run.nii.gz", "demo_task.sdm", "demo_full.sdm"};

// Every output switch on: all seven maps and both residual runs.
std::vector<std::string> startEverything() {
    std::vector<std::string> arguments;
    for (const char* setting :
         {"tSNR1=1", "tSNR2=1", "tSNR3=1", "R2adj1=1", "R2adj2=1", "R2adj3=1", "Fmap=1",
          "residuals1=1", "residuals2=1", "sdmfile1=demo_task.sdm", "sdmfile2=demo_full.sdm"}) {
        arguments.insert(arguments.end(), {"--set", setting});
    }
    arguments.insert(arguments.end(), {"--task", "start", "demo_run.nii.gz"});
    return arguments;
}

// Runs a Windows program under Wine; a non-empty `instructionSet` forces the comparison's voxel
// engine onto that path (TANDREL_ISA), so each of its kernels runs as MinGW compiled it.
ProcessResult underWine(const std::string& program, std::vector<std::string> arguments,
                        const std::string& folder, const std::string& instructionSet = "") {
    setenv("WINEPREFIX", WINEPREFIX_PATH, 1);
    setenv("WINEDEBUG", "-all", 1);
    if (!instructionSet.empty()) setenv("TANDREL_ISA", instructionSet.c_str(), 1);
    arguments.insert(arguments.begin(), {WINE_PATH, program});
    ProcessResult result = host_test::runProcess(arguments, folder);
    unsetenv("TANDREL_ISA");
    return result;
}

bool processorRuns(const std::string& instructionSet) {
    if (instructionSet == "avx2") return __builtin_cpu_supports("avx2");
    if (instructionSet == "avx512") return __builtin_cpu_supports("avx512f");
    return true;
}

// Windows programs end their lines with CR LF on standard output and error.
std::string withUnixLineEnds(std::string text) {
    std::erase(text, '\r');
    return text;
}

std::vector<std::string> namesWithExtension(const TempFolder& folder,
                                            const std::string& extension) {
    std::vector<std::string> names = folder.fileNames();
    std::erase_if(names,
                  [&](const std::string& name) { return fs::path(name).extension() != extension; });
    return names;
}

// What a reader of a saved map or time-course file sees: sizes, data type, statistic and display
// range, then every voxel bit for bit. The bytes of the two headers may differ elsewhere.
void expectSameImage(const std::string& linuxPath, const std::string& windowsPath) {
    SCOPED_TRACE(fs::path(linuxPath).filename().string());
    const host_test::Image expected = host_test::readImage(linuxPath);
    const host_test::Image actual = host_test::readImage(windowsPath);
    EXPECT_TRUE(std::equal(expected->dim, expected->dim + 8, actual->dim));
    EXPECT_EQ(actual->datatype, expected->datatype);
    EXPECT_EQ(actual->intent_code, expected->intent_code);
    EXPECT_EQ(actual->intent_p1, expected->intent_p1);
    EXPECT_EQ(actual->intent_p2, expected->intent_p2);
    EXPECT_EQ(actual->cal_min, expected->cal_min);
    EXPECT_EQ(actual->cal_max, expected->cal_max);
    ASSERT_EQ(actual->nvox * actual->nbyper, expected->nvox * expected->nbyper);
    const auto* a = static_cast<const unsigned char*>(expected->data);
    const auto* b = static_cast<const unsigned char*>(actual->data);
    const std::size_t bytes = expected->nvox * expected->nbyper;
    const auto differ = std::mismatch(a, a + bytes, b);
    EXPECT_EQ(differ.first, a + bytes)
        << "first difference in voxel " << (differ.first - a) / expected->nbyper;
    // A comparison of two empty results would prove nothing.
    EXPECT_TRUE(std::any_of(a, a + bytes, [](unsigned char byte) { return byte != 0; }));
}

// The demo data set, small: 16 x 16 x 8 voxels, 40 volumes, and its two designs.
class WindowsPackage : public testing::Test {
  protected:
    void SetUp() override {
        const ProcessResult made =
            host_test::runProcess({MAKE_DEMO_DATA_PATH, "--out", data.root(), "--dims", "16", "16",
                                   "8", "--volumes", "40"},
                                  data.root());
        ASSERT_EQ(made.status, 0) << made.err;
    }

    void copyInputsTo(const TempFolder& folder) const {
        for (const std::string& name : kInputs) fs::copy_file(data.path(name), folder.path(name));
    }

    TempFolder data;
};

// Each run of the package: the voxel engine's own choice, then each of its paths in turn.
class WindowsPackageOnEachPath : public WindowsPackage,
                                 public testing::WithParamInterface<const char*> {};

TEST_P(WindowsPackageOnEachPath, SavesTheMapsAndResidualRunsOfTheLinuxBuildBitForBit) {
    const std::string instructionSet = GetParam();
    if (!processorRuns(instructionSet)) GTEST_SKIP() << "this processor lacks " << instructionSet;
    TempFolder onLinux;
    TempFolder onWindows;
    copyInputsTo(onLinux);
    copyInputsTo(onWindows);
    std::vector<std::string> arguments = startEverything();
    arguments.insert(arguments.begin(), QUORVIS_PATH);
    const ProcessResult linux = host_test::runProcess(arguments, onLinux.root());
    const ProcessResult windows =
        underWine(kPackage + "/Quorvis.exe", startEverything(), onWindows.root(), instructionSet);

    ASSERT_EQ(linux.status, 0) << linux.err;
    EXPECT_EQ(windows.status, 0) << windows.err;
    EXPECT_EQ(withUnixLineEnds(windows.out), linux.out);
    EXPECT_EQ(withUnixLineEnds(windows.err), linux.err);
    ASSERT_EQ(onWindows.fileNames(), onLinux.fileNames());
    EXPECT_EQ(namesWithExtension(onLinux, ".map").size(), 7u);
    EXPECT_EQ(namesWithExtension(onLinux, ".stc").size(), 2u);
    for (const char* extension : {".map", ".stc"}) {
        for (const std::string& name : namesWithExtension(onLinux, extension)) {
            expectSameImage(onLinux.path(name), onWindows.path(name));
        }
    }
    for (const std::string& name : namesWithExtension(onLinux, ".fmr")) {
        EXPECT_EQ(host_test::readFile(onWindows.path(name)),
                  host_test::readFile(onLinux.path(name)))
            << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Wine, WindowsPackageOnEachPath,
                         testing::Values("", "sse2", "avx2", "avx512"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return *info.param == '\0' ? std::string("chosen") : info.param;
                         });

TEST_F(WindowsPackage, PluginLoadedByAProgramOfAnotherNameDoesNotInitialise) {
    TempFolder folder;
    copyInputsTo(folder);
    fs::copy_file(kPackage + "/Quorvis.exe", folder.path("Viewer.exe"));
    fs::copy_file(kPackage + "/Tandrel.dll", folder.path("Tandrel.dll"));
    const std::vector<std::string> before = folder.fileNames();

    const ProcessResult result =
        underWine(folder.path("Viewer.exe"), startEverything(), folder.root());

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");  // not a single log line
    const std::string notes = withUnixLineEnds(result.err);
    EXPECT_THAT(notes, HasSubstr("quorvis: the plug-in did not initialise; no task was run\n"));
    EXPECT_THAT(notes, Not(HasSubstr("message box")));
    EXPECT_EQ(folder.fileNames(), before);
}

}  // namespace
