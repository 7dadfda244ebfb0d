// The demo pipeline end to end at a reduced size, as `make demo` runs it: make_demo_data writes
// the run and the two designs, then `quorvis compare ... --maps all --residuals 1,2 --preview`
// compares them with the real plug-in. The maps must tell the demo's story: model 2 (with the
// motion and drift confounds) wins at the head's edges, and the F map peaks where motion moves
// the signal most.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/demo/demo_run.h"
#include "tests/host/host_test_support.h"
#include "tests/host/process_runner.h"

namespace host::demo {
namespace {

namespace fs = std::filesystem;
using host_test::ProcessResult;
using host_test::TempFolder;
using testing::HasSubstr;

const std::vector<std::string> kMaps = {"demo_task_tSNR_residuals.map",
                                        "demo_full_tSNR_residuals.map",
                                        "demo_full_tSNR_diff_demo_task.map",
                                        "demo_task_R2adj.map",
                                        "demo_full_R2adj.map",
                                        "demo_full_R2adj_diff_demo_task.map",
                                        "demo_full_Fval_diff_demo_task.map"};
const std::vector<std::string> kInputs = {"demo_run.nii.gz", "demo_task.sdm", "demo_full.sdm"};

DemoOptions reducedDemo() {
    DemoOptions options;
    options.dimX = 24;
    options.dimY = 24;
    options.dimZ = 12;
    options.volumes = 60;
    return options;
}

ProcessResult compareEverything(const TempFolder& folder) {
    return host_test::runProcess(
        {QUORVIS_PATH, "--plugin", TANDREL_PATH, "compare", "demo_run.nii.gz", "demo_task.sdm",
         "demo_full.sdm", "--maps", "all", "--residuals", "1,2", "--preview"},
        folder.root());
}

std::vector<float> mapValues(const std::string& path) {
    const host_test::Image image = host_test::readImage(path);
    const auto* values = static_cast<const float*>(image->data);
    return std::vector<float>(values, values + image->nvox);
}

float medianOver(const std::vector<float>& values, const std::vector<std::uint8_t>& mask) {
    std::vector<float> chosen;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (mask[i]) chosen.push_back(values[i]);
    }
    std::nth_element(chosen.begin(), chosen.begin() + chosen.size() / 2, chosen.end());
    return chosen[chosen.size() / 2];
}

// A PNG that libpng decodes completely.
void expectValidPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << path << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        << path << ": " << image.message;
    EXPECT_GT(image.width, 24u * 4) << path;
}

// One data set and one full run of the pipeline, shared by the checks below.
class DemoPipeline : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        data = new TempFolder;
        const DemoOptions options = reducedDemo();
        made = new ProcessResult(host_test::runProcess(
            {MAKE_DEMO_DATA_PATH, "--out", ".", "--dims", std::to_string(options.dimX),
             std::to_string(options.dimY), std::to_string(options.dimZ), "--volumes",
             std::to_string(options.volumes)},
            data->root()));
        run = new DemoRun(makeDemoRun(options));
        compared = new ProcessResult(compareEverything(*data));
    }

    static void TearDownTestSuite() {
        delete compared;
        delete run;
        delete made;
        delete data;
    }

    static std::vector<float> map(const std::string& name) { return mapValues(data->path(name)); }

    static inline TempFolder* data = nullptr;
    static inline ProcessResult* made = nullptr;
    static inline DemoRun* run = nullptr;
    static inline ProcessResult* compared = nullptr;
};

TEST_F(DemoPipeline, RunsWithoutAFault) {
    ASSERT_EQ(made->status, 0) << made->err;
    EXPECT_EQ(compared->status, 0) << compared->err;
    EXPECT_THAT(compared->err, testing::Not(HasSubstr("message box")));
}

TEST_F(DemoPipeline, Model2WinsAtTheEdges) {
    for (const char* measure : {"tSNR_residuals", "R2adj"}) {
        const float model1 =
            medianOver(map(std::string("demo_task_") + measure + ".map"), run->edge);
        const float model2 =
            medianOver(map(std::string("demo_full_") + measure + ".map"), run->edge);
        EXPECT_GT(model2, model1) << measure;
    }
}

TEST_F(DemoPipeline, TheFMapPeaksInTheMotionAffectedRim) {
    const std::vector<float> f = map("demo_full_Fval_diff_demo_task.map");
    const std::size_t peak = std::max_element(f.begin(), f.end()) - f.begin();
    EXPECT_TRUE(run->edge[peak]) << "peak F " << f[peak] << " at voxel " << peak;
}

TEST_F(DemoPipeline, EveryMapHasAPreviewThatIsAValidPng) {
    for (const std::string& name : kMaps) {
        ASSERT_TRUE(fs::exists(data->path(name))) << name;
        expectValidPng(data->path(name + ".png"));
        EXPECT_THAT(compared->err, HasSubstr("quorvis: saved " + name + ".png\n"));
    }
}

TEST_F(DemoPipeline, TheSummaryFollowsTheLogWithARowPerSavedFile) {
    const std::string& out = compared->out;
    const std::size_t summary = out.find("\nSummary of the saved files");
    ASSERT_NE(summary, std::string::npos) << out;
    EXPECT_GT(summary, out.find("Tandrel>  Plugin finished!"));
    // The voxels whose time course stays above 100, counted here from the generated run.
    const std::size_t voxels = run->geometry.voxelCount();
    std::size_t analysed = 0;
    for (std::size_t v = 0; v < voxels; ++v) {
        float smallest = run->timeCourses[v];
        for (int t = 1; t < run->geometry.volumes; ++t) {
            smallest = std::min(smallest, run->timeCourses[v + voxels * t]);
        }
        analysed += smallest > 100.0f;
    }
    for (const std::string& name : kMaps) {
        EXPECT_THAT(out, testing::ContainsRegex("\n" + name + " +" + std::to_string(analysed) +
                                                " +[-0-9.e+]+ +[-0-9.e+]+ +[-0-9.e+]+ +0\n"));
    }
    for (const char* model : {"task", "full"}) {
        const std::string residual = std::string("demo_run_min_confounds_of_demo_") + model;
        EXPECT_THAT(out,
                    testing::ContainsRegex("\n" + residual + ".fmr +60  " + residual + ".stc\n"));
    }
}

TEST_F(DemoPipeline, APreviewThatCannotBeWrittenFailsTheRunButNotTheOthers) {
    const TempFolder folder;
    for (const std::string& name : kInputs) fs::copy_file(data->path(name), folder.path(name));
    fs::create_directory(folder.path("demo_full_R2adj.map.png"));

    const ProcessResult result = compareEverything(folder);
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("quorvis: preview of demo_full_R2adj.map: cannot replace "
                                      "demo_full_R2adj.map.png: Is a directory\n"));
    for (const std::string& name : kMaps) {
        EXPECT_TRUE(fs::exists(folder.path(name))) << name;
        if (name != "demo_full_R2adj.map") expectValidPng(folder.path(name + ".png"));
    }
    EXPECT_THAT(result.out, HasSubstr("\ndemo_full_R2adj.map "));
}

}  // namespace
}  // namespace host::demo
