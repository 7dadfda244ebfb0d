// The whole "start" action against an in-process host: the order of its log lines and host
// calls, the files it asks for, its failures, and that the host's run is left as it was read.

#include "compare/compare_models.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "compare/model_setup.h"
#include "compare/voxel_analysis.h"
#include "plugin/zorq_log.h"
#include "tests/compare/fake_host.h"
#include "tests/compare/test_data.h"
#include "tests/sdm/sdm_files.h"

namespace compare {
namespace {

using test::fakeHost;

constexpr std::int32_t kVolumes = 200;
const char* const kSwitches[] = {"tSNR1",  "tSNR2", "tSNR3",      "R2adj1",    "R2adj2",
                                 "R2adj3", "Fmap",  "residuals1", "residuals2"};

// A run of 4 × 3 × 2 voxels and 200 volumes; model 1 is the task and the constant (p = 2),
// model 2 adds two motion series and a drift as confounds (p = 5).
class CompareModelsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::Columns full{test::blockTask(kVolumes, 10)};
        for (std::vector<float>& motion : test::motionSeries(kVolumes, 2, 9))
            full.push_back(motion);
        full.push_back(test::linearDrift(kVolumes));
        taskPath = files.write("task.sdm", test::exactSdmText({full[0]}, 2));
        fullPath = files.write("full.sdm", test::exactSdmText(full, 2));
        data = test::syntheticRun(24, full, 6.0f, 21);

        test::resetFakeHost();
        test::setRun("D:/exp/run1.fmr", 4, 3, 2, data);
        for (const char* name : kSwitches) fakeHost().intParameters[name] = 1;
        setDesigns(taskPath, fullPath);
    }

    static void setDesigns(const std::string& first, const std::string& second) {
        fakeHost().stringParameters["sdmfile1"] = first;
        fakeHost().stringParameters["sdmfile2"] = second;
    }

    // What the run should have computed, straight from the voxel loop.
    ComparisonResult expectedResult(const std::string& first, const std::string& second) const {
        sdm::DesignMatrix design1(first), design2(second);
        design1.addConstantIfMissing();
        design2.addConstantIfMissing();
        std::vector<const float*> pointers;
        for (const std::vector<float>& volume : data) pointers.push_back(volume.data());
        return analyseVoxels(setupModel(design1), setupModel(design2), 4, 3, 2, kVolumes,
                             pointers.data(), true, true);
    }

    std::string mapPath(const std::string& name) const { return (files.path() / name).string(); }

    // The failure's text, with the promise that nothing was saved and the run is untouched.
    std::string failure() {
        try {
            compareModels(log);
        } catch (const std::exception& error) {
            EXPECT_TRUE(fakeHost().savedMaps.empty());
            EXPECT_TRUE(fakeHost().savedRuns.empty());
            EXPECT_EQ(fakeHost().volumes, data);
            return error.what();
        }
        ADD_FAILURE() << "expected the run to fail";
        return "";
    }

    sdm::test::TempDir files;
    std::string taskPath, fullPath;
    std::vector<std::vector<float>> data;
    ZorqLog log{test::fakeLogText};
};

std::vector<float> flatten(const std::vector<std::vector<float>>& slices) {
    std::vector<float> values;
    for (const std::vector<float>& slice : slices)
        values.insert(values.end(), slice.begin(), slice.end());
    return values;
}

std::vector<float> valuesOf(const numerics::Volume& volume) {
    return std::vector<float>(volume.data, volume.data + volume.voxelCount());
}

TEST_F(CompareModelsTest, EverySwitchOnLogsSavesRunsThenMapsAndLeavesTheRunAsRead) {
    ASSERT_TRUE(compareModels(log));

    EXPECT_EQ(
        fakeHost().logTexts,
        (std::vector<std::string>{
            "\nTandrel>  Start comparing models", "\nTandrel>  FMR size: 4 x 3 x 2 x 200",
            "Tandrel>  Start comparing models",
            "Tandrel>  Saving Residuals of confounds of task.sdm",
            "Tandrel>  Saving Residuals of confounds of full.sdm", "Tandrel>  Saving Maps..."}));
    const ComparisonResult expected = expectedResult(taskPath, fullPath);
    ASSERT_FALSE(expected.analysedVoxels.empty());

    ASSERT_EQ(fakeHost().savedRuns.size(), 2u);
    const std::vector<numerics::Vector>* kept[] = {&expected.keptResiduals1,
                                                   &expected.keptResiduals2};
    const char* names[] = {"D:/exp/run1_min_confounds_of_task.fmr",
                           "D:/exp/run1_min_confounds_of_full.fmr"};
    for (int model = 0; model < 2; ++model) {
        SCOPED_TRACE(names[model]);
        const test::SavedRun& run = fakeHost().savedRuns[model];
        EXPECT_EQ(run.fmrPath, names[model]);
        std::vector<std::vector<float>> expectedRun = data;
        for (std::size_t v = 0; v < expected.analysedVoxels.size(); ++v) {
            for (std::int32_t t = 0; t < kVolumes; ++t) {
                expectedRun[t][expected.analysedVoxels[v]] = (*kept[model])[v][t];
            }
        }
        EXPECT_EQ(run.volumes, expectedRun);
    }
    EXPECT_EQ(fakeHost().volumes, data);

    const numerics::Volume tSNRDiff = expected.tSNR2 - expected.tSNR1;
    const numerics::Volume r2adjDiff = expected.R2adj2 - expected.R2adj1;
    const struct {
        std::string name;
        const numerics::Volume* volume;
    } maps[] = {
        {"task_tSNR_residuals.map", &expected.tSNR1}, {"full_tSNR_residuals.map", &expected.tSNR2},
        {"full_tSNR_diff_task.map", &tSNRDiff},       {"task_R2adj.map", &expected.R2adj1},
        {"full_R2adj.map", &expected.R2adj2},         {"full_R2adj_diff_task.map", &r2adjDiff},
        {"full_Fval_diff_task.map", &expected.F}};
    ASSERT_EQ(fakeHost().savedMaps.size(), std::size(maps));
    for (std::size_t m = 0; m < std::size(maps); ++m) {
        SCOPED_TRACE(maps[m].name);
        EXPECT_EQ(fakeHost().savedMaps[m].path, mapPath(maps[m].name));
        EXPECT_EQ(flatten(fakeHost().savedMaps[m].slices), valuesOf(*maps[m].volume));
    }
    const MapHeader& f = fakeHost().savedMaps.back().header;
    EXPECT_EQ(f.MapType, 4);
    EXPECT_EQ(f.DF1, 3);
    EXPECT_EQ(f.DF2, 195);
    EXPECT_EQ(f.UpperThreshold, 0.5f * expected.F.max());
}

TEST_F(CompareModelsTest, SecondStartWithResidualsSavesExactlyWhatTheFirstSaved) {
    ASSERT_TRUE(compareModels(log));
    ASSERT_TRUE(compareModels(log));
    const std::vector<test::SavedMap>& maps = fakeHost().savedMaps;
    ASSERT_EQ(maps.size(), 14u);
    for (std::size_t m = 0; m < 7; ++m) {
        EXPECT_EQ(maps[m + 7].slices, maps[m].slices) << maps[m].path;
    }
    ASSERT_EQ(fakeHost().savedRuns.size(), 4u);
    EXPECT_EQ(fakeHost().savedRuns[2].volumes, fakeHost().savedRuns[0].volumes);
    EXPECT_EQ(fakeHost().savedRuns[3].volumes, fakeHost().savedRuns[1].volumes);
}

TEST_F(CompareModelsTest, LargerModelFirstGivesTheSameFValuesAndDegreesOfFreedom) {
    setDesigns(fullPath, taskPath);
    ASSERT_TRUE(compareModels(log));
    const test::SavedMap& f = fakeHost().savedMaps.back();
    EXPECT_EQ(f.path, mapPath("task_Fval_diff_full.map"));
    EXPECT_EQ(f.header.DF1, 3);
    EXPECT_EQ(f.header.DF2, 195);
    EXPECT_EQ(flatten(f.slices), valuesOf(expectedResult(taskPath, fullPath).F));
}

TEST_F(CompareModelsTest, EqualPredictorCountsLogInsteadOfSavingAnFMap) {
    setDesigns(taskPath, taskPath);
    ASSERT_TRUE(compareModels(log));
    EXPECT_EQ(fakeHost().logTexts.back(),
              "Tandrel>  Fmap could not be create because both SDMs have the same number of "
              "predictors");
    EXPECT_EQ(fakeHost().savedMaps.size(), 6u);
}

TEST_F(CompareModelsTest, EverySwitchOffStillAnalysesButSavesNothing) {
    for (const char* name : kSwitches) fakeHost().intParameters[name] = 0;
    ASSERT_TRUE(compareModels(log));
    EXPECT_EQ(fakeHost().logTexts.size(), 4u);
    EXPECT_EQ(fakeHost().logTexts.back(), "Tandrel>  Saving Maps...");
    EXPECT_EQ(fakeHost().hostCalls, (std::vector<std::string>{"zvGetStringParameter sdmfile1",
                                                              "zvGetStringParameter sdmfile2",
                                                              "zvGetSTCFloatDataOfCurrentFMR"}));
}

TEST_F(CompareModelsTest, EmptyFirstPathFailsBeforeTheSecondIsRead) {
    fakeHost().stringParameters["sdmfile1"] = "";
    EXPECT_EQ(failure(), "Failed opening for reading: ");
    EXPECT_EQ(fakeHost().hostCalls, std::vector<std::string>{"zvGetStringParameter sdmfile1"});
    EXPECT_EQ(fakeHost().logTexts, std::vector<std::string>{"\nTandrel>  Start comparing models"});
}

TEST_F(CompareModelsTest, DesignOfAnotherLengthFailsAfterTheSizeLineWithoutTouchingTheRun) {
    test::Columns shortTask{test::blockTask(kVolumes - 1, 10)};
    setDesigns(taskPath, files.write("short.sdm", test::exactSdmText(shortTask, 2)));
    EXPECT_EQ(failure(), "short.sdm does not have the same number of volumes as the FMR");
    EXPECT_EQ(fakeHost().logTexts.back(), "\nTandrel>  FMR size: 4 x 3 x 2 x 200");
    EXPECT_EQ(fakeHost().logTexts.size(), 2u);
    EXPECT_EQ(fakeHost().hostCalls.back(), "zvGetStringParameter sdmfile2");
}

// A design without predictors holds no values, so its file may state any length; the check
// against the run must come before the constant of that length (8 GB here) is made.
TEST_F(CompareModelsTest, DesignWithoutPredictorsOfHugeLengthFailsOnItsLength) {
    setDesigns(taskPath, files.write("huge.sdm",
                                     "NrOfPredictors: 0\nNrOfDataPoints: 2000000000\n"
                                     "FirstConfoundPredictor: 1\n"));
    EXPECT_EQ(failure(), "huge.sdm does not have the same number of volumes as the FMR");
    EXPECT_EQ(fakeHost().logTexts.back(), "\nTandrel>  FMR size: 4 x 3 x 2 x 200");
}

TEST_F(CompareModelsTest, MissingTimeCoursesAreReportedInsteadOfRead) {
    fakeHost().giveNoTimeCourses = true;
    EXPECT_EQ(failure(), "The host gave no time-course data for the current FMR");
    fakeHost().giveNoTimeCourses = false;
    fakeHost().volumePointers[57] = nullptr;
    EXPECT_EQ(failure(), "The host gave no time-course data for volume 58 of the current FMR");
}

TEST_F(CompareModelsTest, RunWithoutVolumesIsRefused) {
    setDesigns(files.write("empty1.sdm", test::exactSdmText({{}}, 2)),
               files.write("empty2.sdm", test::exactSdmText({{}}, 2)));
    test::setRun("D:/exp/run1.fmr", 4, 3, 2, {});
    data.clear();
    EXPECT_EQ(failure(), "The current FMR has no volumes");
}

}  // namespace
}  // namespace compare
