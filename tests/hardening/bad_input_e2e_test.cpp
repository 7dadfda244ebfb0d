// Bad input end to end: the real quorvis loads the real plug-in and is handed one fault at a time
// (a malformed or missing design, a run it cannot use, a text too long for the dialog, an output it
// cannot write, a switch that is no number). Each case must end with the documented exit status
// and exactly one message that names the file and the fault; the folder holding the inputs must
// hold the same files with the same bytes afterwards (nothing written, nothing half-written,
// nothing changed); and no case may hold much memory, whatever sizes a file claims.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "host/demo/demo_files.h"
#include "tests/hardening/child_process.h"
#include "tests/hardening/nifti_headers.h"
#include "tests/sdm/malformed_sdm_files.h"
#include "tests/sdm/sdm_files.h"

namespace hardening {
namespace {

namespace fs = std::filesystem;

// A comparison of the small run here holds a few megabytes (tens under the sanitizers); a case
// that allocates what a file merely claims would hold gigabytes.
constexpr long kPeakResidentLimitKiB = 256 * 1024;

constexpr const char* kDescriptorLine = "quorvis: plug-in \"";

const char* const kSwitches[] = {"tSNR1",  "tSNR2", "tSNR3",      "R2adj1",    "R2adj2",
                                 "R2adj3", "Fmap",  "residuals1", "residuals2"};

struct BadInput {
    std::string name;
    std::function<void(const fs::path&)> makeFault;  // applied to a copy of the good inputs
    std::vector<std::string> arguments;              // quorvis's arguments
    int status;
    std::string message;  // the one line on standard error besides the plug-in's descriptor
    bool permissionsMatter = false;  // a fault made with file permissions, which root ignores
};

void PrintTo(const BadInput& c, std::ostream* out) {
    *out << c.name << ": quorvis";
    for (const std::string& argument : c.arguments) *out << " '" << argument << "'";
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void writeGzip(const fs::path& path, const std::string& bytes) {
    gzFile file = gzopen(path.c_str(), "wb");
    gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
    gzclose(file);
}

// The arguments of a comparison of two designs on a run; every map and residual run selected
// unless `switches` names the only ones wanted.
std::vector<std::string> comparison(const std::string& design1, const std::string& design2,
                                    const std::string& run, std::vector<std::string> switches = {},
                                    std::vector<std::string> extra = {}) {
    if (switches.empty()) switches.assign(std::begin(kSwitches), std::end(kSwitches));
    std::vector<std::string> arguments{"--set", "sdmfile1=" + design1, "--set",
                                       "sdmfile2=" + design2};
    for (const std::string& name : switches) {
        arguments.insert(arguments.end(), {"--set", name + "=1"});
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.insert(arguments.end(), {"--task", "start", run});
    return arguments;
}

std::vector<std::string> goodComparisonWith(std::vector<std::string> extra) {
    return comparison("task.sdm", "full.sdm", "run.nii.gz", {}, std::move(extra));
}

// A fault that is a file of its own (a design or a run), written beside the good inputs.
std::function<void(const fs::path&)> withFile(std::string name, std::string bytes) {
    return [name, bytes](const fs::path& folder) { writeFile(folder / name, bytes); };
}

void nothing(const fs::path&) {}

std::string messageBox(const std::string& text) {
    return "message box: Error: " + text;
}

std::vector<BadInput> badInputs() {
    std::vector<BadInput> cases;
    for (const sdm::test::MalformedCase& c : sdm::test::malformedSdmFiles()) {
        cases.push_back({"malformed SDM: " + c.name, withFile("case.sdm", c.content),
                         comparison("case.sdm", "full.sdm", "run.nii.gz"), 1,
                         messageBox(c.message)});
    }
    const std::string longPath = std::string(600, 'a') + ".sdm";
    std::string longestPath;
    while (longestPath.size() + 11 < 511) longestPath += "./";
    longestPath += "missing.sdm";
    const std::string shortImage = niftiFile(4, {6, 6, 3, 16}, 1000);

    const std::vector<BadInput> others = {
        {"SDM that does not exist", nothing, comparison("task.sdm", "missing.sdm", "run.nii.gz"), 1,
         messageBox("Failed opening for reading: missing.sdm")},
        {"folder given as SDM", [](const fs::path& f) { fs::create_directory(f / "folder.sdm"); },
         comparison("folder.sdm", "full.sdm", "run.nii.gz"), 1,
         messageBox("Failed opening for reading: folder.sdm")},
        {"device given as SDM", nothing, comparison("/dev/zero", "full.sdm", "run.nii.gz"), 1,
         messageBox("Failed opening for reading: /dev/zero")},
        {"SDM that cannot be read",
         [](const fs::path& f) { fs::permissions(f / "full.sdm", fs::perms::none); },
         comparison("task.sdm", "full.sdm", "run.nii.gz"), 1,
         messageBox("Failed opening for reading: full.sdm"), true},
        {"SDM path of 511 characters is passed whole", nothing,
         comparison("task.sdm", longestPath, "run.nii.gz"), 1,
         messageBox("Failed opening for reading: " + longestPath)},
        {"SDM path longer than a dialog text", nothing,
         comparison("task.sdm", longPath, "run.nii.gz"), 2,
         "quorvis: parameter \"sdmfile2\": the text has 604 characters; a dialog parameter holds "
         "at most 511"},
        {"SDM without predictors claiming two billion data points",
         withFile("huge.sdm",
                  "NrOfPredictors: 0\nNrOfDataPoints: 2000000000\n"
                  "FirstConfoundPredictor: 1\n"),
         comparison("task.sdm", "huge.sdm", "run.nii.gz"), 1,
         messageBox("huge.sdm does not have the same number of volumes as the FMR")},
        {"run that does not exist", nothing, comparison("task.sdm", "full.sdm", "absent.nii"), 2,
         "quorvis: absent.nii: cannot open: No such file or directory"},
        {"folder given as run", [](const fs::path& f) { fs::create_directory(f / "folder.nii"); },
         comparison("task.sdm", "full.sdm", "folder.nii"), 2,
         "quorvis: folder.nii: is a folder, not a NIfTI file"},
        {"run of an unknown kind", withFile("run.txt", "x"),
         comparison("task.sdm", "full.sdm", "run.txt"), 2,
         "quorvis: run.txt: unknown kind of run; expected a .nii, .nii.gz or .fmr file"},
        {"run that is 3D", withFile("flat.nii", niftiFile(3, {6, 6, 3}, 6 * 6 * 3 * 4)),
         comparison("task.sdm", "full.sdm", "flat.nii"), 2,
         "quorvis: flat.nii: holds a 3D image; a run needs 4 dimensions (x, y, z and time)"},
        {"run whose header gives more dimensions than NIfTI-1 has",
         withFile("rank.nii", niftiFile(9, {6, 6, 3, 16}, 6 * 6 * 3 * 16 * 4)),
         comparison("task.sdm", "full.sdm", "rank.nii"), 2,
         "quorvis: rank.nii: not a NIfTI-1 file: its header gives 9 dimensions, NIfTI-1 allows "
         "at most 7"},
        {"run whose header gives no dimensions and no sizes",
         withFile("none.nii", niftiFile(0, {0, 0, 0, 0}, 0)),
         comparison("task.sdm", "full.sdm", "none.nii"), 2,
         "quorvis: none.nii: holds a 0D image; a run needs 4 dimensions (x, y, z and time)"},
        {"run that is truncated", withFile("cut.nii", shortImage),
         comparison("task.sdm", "full.sdm", "cut.nii"), 2,
         "quorvis: cut.nii: is truncated: its header promises 6912 bytes of image data after "
         "byte 352, it holds 1000"},
        {"compressed run that is truncated",
         [shortImage](const fs::path& f) { writeGzip(f / "cut.nii.gz", shortImage); },
         comparison("task.sdm", "full.sdm", "cut.nii.gz"), 2,
         "quorvis: cut.nii.gz: is truncated: its header promises 6912 bytes of image data after "
         "byte 352, it holds 1000"},
        {"run that is a short text", withFile("notes.nii", "this is not an image\n"),
         comparison("task.sdm", "full.sdm", "notes.nii"), 2,
         "quorvis: notes.nii: not a NIfTI-1 file: it holds 21 bytes, a NIfTI-1 header needs 348"},
        {"run that is a long text", withFile("notes.nii", std::string(400, 'x')),
         comparison("task.sdm", "full.sdm", "notes.nii"), 2,
         "quorvis: notes.nii: not a NIfTI-1 file: no NIfTI-1 header at its start"},
        {"run whose volume overflows 32 bits",
         withFile("cube.nii", niftiFile(4, {32767, 32767, 32767, 2}, 0)),
         comparison("task.sdm", "full.sdm", "cube.nii"), 2,
         "quorvis: cube.nii: 32767 x 32767 x 32767 voxels are more than the 2147483647 a volume "
         "of the host can hold"},
        {"run whose values overflow 32 bits",
         withFile("long.nii", niftiFile(4, {2000, 2000, 1, 1000}, 0)),
         comparison("task.sdm", "full.sdm", "long.nii"), 2,
         "quorvis: long.nii: 2000 x 2000 x 1 voxels x 1000 volumes are more than the 2147483647 "
         "values a run of the host can hold"},
        {"run without volumes", withFile("empty.nii", niftiFile(4, {6, 6, 3, 0}, 0)),
         comparison("task.sdm", "full.sdm", "empty.nii"), 2,
         "quorvis: empty.nii: holds no volumes (its time dimension is 0)"},
        {"run claiming 8 GB in a file of 352 bytes",
         withFile("claim.nii", niftiFile(4, {32767, 32767, 2, 1}, 0)),
         comparison("task.sdm", "full.sdm", "claim.nii"), 2,
         "quorvis: claim.nii: is truncated: its header promises 8589410312 bytes of image data "
         "after byte 352, it holds 0"},
        {"output folder that cannot be written",
         [](const fs::path& f) {
             fs::permissions(
                 f, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                 fs::perm_options::remove);
         },
         comparison("task.sdm", "full.sdm", "run.nii.gz", {"R2adj1"}), 1,
         "quorvis: zvSaveMAPsOfCurrentFMR: cannot write task_R2adj.map: Permission denied", true},
        {"output file whose place a folder takes",
         [](const fs::path& f) { fs::create_directory(f / "task_R2adj.map"); },
         comparison("task.sdm", "full.sdm", "run.nii.gz", {"R2adj1"}), 1,
         "quorvis: zvSaveMAPsOfCurrentFMR: cannot replace task_R2adj.map: Is a directory"},
        {"switch given a word", nothing, goodComparisonWith({"--set", "Fmap=yes"}), 2,
         "quorvis: parameter \"Fmap\": expected an integer, found \"yes\""},
        {"switch given a fraction", nothing, goodComparisonWith({"--set", "residuals1=1.5"}), 2,
         "quorvis: parameter \"residuals1\": expected an integer, found \"1.5\""},
        {"switch given nothing", nothing, goodComparisonWith({"--set", "tSNR1="}), 2,
         "quorvis: parameter \"tSNR1\": expected an integer, found \"\""},
        {"switch beyond 32 bits", nothing, goodComparisonWith({"--set", "R2adj3=99999999999"}), 2,
         "quorvis: parameter \"R2adj3\": expected an integer, found \"99999999999\""},
    };
    cases.insert(cases.end(), others.begin(), others.end());
    return cases;
}

std::string testName(const ::testing::TestParamInfo<BadInput>& info) {
    std::string name;
    for (const char c : info.param.name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

// Every entry under the folder: its kind and, for a file, its bytes.
std::map<std::string, std::string> contentsOf(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        if (entry.is_directory()) {
            contents[name] = "folder";
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        contents[name] = in ? "file: " + std::string(std::istreambuf_iterator<char>(in), {})
                            : "unreadable file of " + std::to_string(entry.file_size()) + " bytes";
    }
    return contents;
}

// What quorvis said on standard error, less the plug-in's descriptor, line by line.
std::vector<std::string> errorLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.rfind(kDescriptorLine, 0) != 0) lines.push_back(line);
    }
    return lines;
}

class BadInputEndToEnd : public ::testing::TestWithParam<BadInput> {
  protected:
    // The good inputs every case starts from: a small generated run and its two designs.
    static void SetUpTestSuite() {
        good = new sdm::test::TempDir;
        host::demo::DemoOptions options;
        options.dimX = 6;
        options.dimY = 6;
        options.dimZ = 4;
        options.volumes = 16;
        const host::demo::DemoFiles files =
            host::demo::writeDemoData(options, good->path(), "demo");
        fs::rename(files.run, good->path() / "run.nii.gz");
        fs::rename(files.taskModel, good->path() / "task.sdm");
        fs::rename(files.fullModel, good->path() / "full.sdm");
    }
    static void TearDownTestSuite() {
        delete good;
        good = nullptr;
    }

    // Makes the folder and everything in it writable again, so it can be removed.
    static void restorePermissions(const fs::path& folder) {
        fs::permissions(folder, fs::perms::owner_all);
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            fs::permissions(entry.path(), fs::perms::owner_all);
        }
    }

    static sdm::test::TempDir* good;
};

sdm::test::TempDir* BadInputEndToEnd::good = nullptr;

TEST_P(BadInputEndToEnd, FailsWithOneClearMessageAndChangesNothing) {
    const BadInput& c = GetParam();
    if (c.permissionsMatter && ::geteuid() == 0) {
        GTEST_SKIP() << "running as root, whom file permissions do not stop from reading or "
                        "writing, so this fault cannot be made";
    }
    const sdm::test::TempDir folder;
    for (const char* name : {"run.nii.gz", "task.sdm", "full.sdm"}) {
        fs::copy_file(good->path() / name, folder.path() / name);
    }
    c.makeFault(folder.path());
    const auto before = contentsOf(folder.path());

    std::vector<std::string> command{TANDREL_QUORVIS_PATH};
    command.insert(command.end(), c.arguments.begin(), c.arguments.end());
    const ChildResult result = runChild(command, folder.path().string());
    const auto after = contentsOf(folder.path());
    restorePermissions(folder.path());

    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(errorLines(result.err), std::vector<std::string>{c.message}) << result.err;
    EXPECT_TRUE(after == before) << "the folder's files changed";
    EXPECT_LT(result.peakResidentKiB, kPeakResidentLimitKiB);
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputEndToEnd, ::testing::ValuesIn(badInputs()), testName);

}  // namespace
}  // namespace hardening
