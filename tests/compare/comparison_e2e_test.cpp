// The comparison end to end: the real host program loads the real plug-in, opens a generated run
// and compares its two designs with every switch on. Every file the host writes is checked against
// the same comparison computed in this process, to the bit.

#include <gtest/gtest.h>
#include <nifti1.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "compare/map_output.h"
#include "compare/model_setup.h"
#include "compare/voxel_analysis.h"
#include "host/demo/demo_files.h"
#include "tests/sdm/sdm_files.h"

namespace compare {
namespace {

constexpr int kDimX = 20, kDimY = 16, kDimZ = 8, kVolumes = 120;
constexpr int kVoxels = kDimX * kDimY * kDimZ;

// A NIfTI-1 single file, gzip-compressed or not, as the bytes of its header and its float image.
struct NiftiFile {
    nifti_1_header header{};
    std::vector<float> values;
};

NiftiFile readNifti(const std::filesystem::path& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) throw std::runtime_error("cannot open " + path.string());
    std::string bytes;
    char buffer[1 << 16];
    for (int got; (got = gzread(file, buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
    gzclose(file);
    NiftiFile nifti;
    if (bytes.size() < sizeof nifti.header) throw std::runtime_error("short " + path.string());
    std::memcpy(&nifti.header, bytes.data(), sizeof nifti.header);
    const auto offset = static_cast<std::size_t>(nifti.header.vox_offset);
    nifti.values.resize((bytes.size() - offset) / sizeof(float));
    std::memcpy(nifti.values.data(), bytes.data() + offset, nifti.values.size() * sizeof(float));
    return nifti;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool sameBits(const std::vector<float>& a, const float* b, std::size_t count) {
    return a.size() == count && std::memcmp(a.data(), b, count * sizeof(float)) == 0;
}

// One generated data set and one run of the host over it, shared by the checks below.
class ComparisonEndToEnd : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new sdm::test::TempDir;
        host::demo::DemoOptions options;
        options.dimX = kDimX;
        options.dimY = kDimY;
        options.dimZ = kDimZ;
        options.volumes = kVolumes;
        options.rawDrift = true;
        files = host::demo::writeDemoData(options, folder->path(), "demo");
        runBefore = new std::string(fileText(files.run));

        std::string command = std::string("'") + TANDREL_QUORVIS_PATH + "'";
        for (const char* name : {"tSNR1", "tSNR2", "tSNR3", "R2adj1", "R2adj2", "R2adj3", "Fmap",
                                 "residuals1", "residuals2"}) {
            command += std::string(" --set ") + name + "=1";
        }
        command += " --set 'sdmfile1=" + files.taskModel.string() + "'";
        command += " --set 'sdmfile2=" + files.fullModel.string() + "'";
        command += " --task start '" + files.run.string() + "'";
        command += " > '" + (folder->path() / "log.txt").string() + "' 2> '" +
                   (folder->path() / "messages.txt").string() + "'";
        exitStatus = std::system(command.c_str());
    }

    static void TearDownTestSuite() {
        delete runBefore;
        delete folder;
    }

    // The comparison of the same designs on the same run, computed here.
    static ComparisonResult expected() {
        const NiftiFile run = readNifti(files.run);
        sdm::DesignMatrix task(files.taskModel.string()), full(files.fullModel.string());
        task.addConstantIfMissing();
        full.addConstantIfMissing();
        std::vector<const float*> volumes;
        for (int t = 0; t < kVolumes; ++t) volumes.push_back(run.values.data() + t * kVoxels);
        return analyseVoxels(setupModel(task), setupModel(full), kDimX, kDimY, kDimZ, kVolumes,
                             volumes.data(), true, true);
    }

    static std::filesystem::path output(const std::string& name) { return folder->path() / name; }

    static inline sdm::test::TempDir* folder = nullptr;
    static inline host::demo::DemoFiles files;
    static inline std::string* runBefore = nullptr;
    static inline int exitStatus = -1;
};

TEST_F(ComparisonEndToEnd, HostSucceedsAndTheLogHasEveryLineInOrder) {
    EXPECT_EQ(exitStatus, 0) << fileText(output("messages.txt"));
    std::vector<std::string> lines;
    std::istringstream log(fileText(output("log.txt")));
    for (std::string line; std::getline(log, line);) {
        // The log pane's lines; the host's summary of the saved files follows them.
        if (line.starts_with("Tandrel>")) lines.push_back(line);
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Tandrel>  Running...", "Tandrel>  Start comparing models",
                                        "Tandrel>  FMR size: 20 x 16 x 8 x 120",
                                        "Tandrel>  Start comparing models",
                                        "Tandrel>  Saving Residuals of confounds of demo_task.sdm",
                                        "Tandrel>  Saving Residuals of confounds of demo_full.sdm",
                                        "Tandrel>  Saving Maps...", "Tandrel>  Plugin finished!"}));
}

TEST_F(ComparisonEndToEnd, EveryMapIsSavedUnderItsNameWithItsTypeThresholdsAndValues) {
    const ComparisonResult result = expected();
    const numerics::Volume tSNRDiff = result.tSNR2 - result.tSNR1;
    const numerics::Volume r2adjDiff = result.R2adj2 - result.R2adj1;
    const float fUpper = fMapUpperThreshold(result.F);
    ASSERT_GT(fUpper, 2.0f);
    const struct {
        const char* name;
        const numerics::Volume* volume;
        float lower, upper;
        short intent;
        float df1, df2;
    } maps[] = {
        {"demo_task_tSNR_residuals.map", &result.tSNR1, 5.0f, 100.0f, 0, 0, 0},
        {"demo_full_tSNR_residuals.map", &result.tSNR2, 5.0f, 100.0f, 0, 0, 0},
        {"demo_full_tSNR_diff_demo_task.map", &tSNRDiff, 1.0f, 20.0f, 0, 0, 0},
        {"demo_task_R2adj.map", &result.R2adj1, 0.1f, 0.5f, 0, 0, 0},
        {"demo_full_R2adj.map", &result.R2adj2, 0.1f, 0.5f, 0, 0, 0},
        {"demo_full_R2adj_diff_demo_task.map", &r2adjDiff, 0.05f, 0.5f, 0, 0, 0},
        // Task and constant against task, six motion series, drift and constant: 2 and 9.
        {"demo_full_Fval_diff_demo_task.map", &result.F, 2.0f, fUpper, NIFTI_INTENT_FTEST, 7,
         kVolumes - 9},
    };
    for (const auto& map : maps) {
        SCOPED_TRACE(map.name);
        ASSERT_TRUE(std::filesystem::exists(output(map.name)));
        const NiftiFile saved = readNifti(output(map.name));
        EXPECT_EQ(saved.header.dim[0], 3);
        EXPECT_EQ(saved.header.dim[1], kDimX);
        EXPECT_EQ(saved.header.dim[2], kDimY);
        EXPECT_EQ(saved.header.dim[3], kDimZ);
        EXPECT_EQ(saved.header.datatype, DT_FLOAT32);
        EXPECT_EQ(saved.header.cal_min, map.lower);
        EXPECT_EQ(saved.header.cal_max, map.upper);
        EXPECT_EQ(saved.header.intent_code, map.intent);
        if (map.intent == NIFTI_INTENT_FTEST) {
            EXPECT_EQ(saved.header.intent_p1, map.df1);
            EXPECT_EQ(saved.header.intent_p2, map.df2);
        }
        EXPECT_TRUE(sameBits(saved.values, map.volume->data, kVoxels));
    }
}

TEST_F(ComparisonEndToEnd, EachResidualRunHoldsItsModelsCleanedCoursesAndTheDataElsewhere) {
    const ComparisonResult result = expected();
    const NiftiFile run = readNifti(files.run);
    const struct {
        const char* name;
        const std::vector<numerics::Vector>* kept;
    } runs[] = {{"demo_run_min_confounds_of_demo_task", &result.keptResiduals1},
                {"demo_run_min_confounds_of_demo_full", &result.keptResiduals2}};
    ASSERT_GT(result.analysedVoxels.size(), 0u);
    for (const auto& saved : runs) {
        SCOPED_TRACE(saved.name);
        const std::string stcName = std::string(saved.name) + ".stc";
        EXPECT_NE(fileText(output(std::string(saved.name) + ".fmr")).find(stcName),
                  std::string::npos);
        std::vector<float> expectedValues = run.values;
        for (std::size_t v = 0; v < result.analysedVoxels.size(); ++v) {
            for (int t = 0; t < kVolumes; ++t) {
                expectedValues[t * kVoxels + result.analysedVoxels[v]] = (*saved.kept)[v][t];
            }
        }
        const NiftiFile stc = readNifti(output(stcName));
        EXPECT_EQ(stc.header.dim[4], kVolumes);
        EXPECT_TRUE(sameBits(stc.values, expectedValues.data(), expectedValues.size()));
    }
}

TEST_F(ComparisonEndToEnd, RunOnDiskIsUntouched) {
    EXPECT_TRUE(fileText(files.run) == *runBefore);
    EXPECT_FALSE(std::filesystem::exists(output("demo_run.fmr")));
}

}  // namespace
}  // namespace compare
