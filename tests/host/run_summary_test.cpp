#include "host/run_summary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace host {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// A run of one voxel per time course given, `volumes` long, laid out as the host keeps runs.
TimeCourses runOf(const std::vector<std::vector<float>>& timeCourses) {
    Geometry geometry;
    geometry.dim[0] = static_cast<std::int32_t>(timeCourses.size());
    geometry.dim[1] = geometry.dim[2] = 1;
    const std::size_t volumes = timeCourses.front().size();
    FloatBlock values = allocateFloats(timeCourses.size() * volumes);
    for (std::size_t v = 0; v < timeCourses.size(); ++v) {
        for (std::size_t t = 0; t < volumes; ++t)
            values[t * timeCourses.size() + v] = timeCourses[v][t];
    }
    return TimeCourses(geometry, static_cast<std::int32_t>(volumes), std::move(values));
}

// The plug-in's intensity rule, voxel by voxel, with its way of taking the minimum.
TEST(AnalysedVoxels, FollowThePluginsIntensityRule) {
    struct Case {
        const char* name;
        std::vector<float> timeCourse;
        bool analysed;
    };
    const std::vector<Case> cases = {
        {"smallest exactly 100", {500.0f, 100.0f, 400.0f}, false},
        {"smallest 100.5", {500.0f, 100.5f, 400.0f}, true},
        {"one dip below", {1000.0f, 1000.0f, 20.0f}, false},
        {"NaN in the first volume", {kNaN, 500.0f, 500.0f}, false},
        {"NaN later is passed over", {500.0f, kNaN, 500.0f}, true},
        {"infinite values stay above", {kInf, 500.0f, kInf}, true},
        {"background", {0.0f, 0.0f, 0.0f}, false},
    };
    std::vector<std::vector<float>> timeCourses;
    for (const Case& c : cases) timeCourses.push_back(c.timeCourse);
    const std::vector<std::uint8_t> analysed = analysedVoxels(runOf(timeCourses));
    ASSERT_EQ(analysed.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(analysed[i] == 1, cases[i].analysed) << cases[i].name;
    }
}

TEST(MapStatistics, OverTheFiniteValuesOfTheAnalysedVoxels) {
    // Unmarked voxels (the 0s and the -50) take no part; NaN and infinity are only counted.
    const std::vector<float> values = {0.0f, 4.0f, -50.0f, 1.0f, kNaN, 9.0f, kInf, 2.0f, 0.0f};
    const std::vector<std::uint8_t> analysed = {0, 1, 0, 1, 1, 1, 1, 1, 0};
    const MapStatistics odd = mapStatistics(values, analysed);
    EXPECT_EQ(odd.analysed, 6u);
    EXPECT_EQ(odd.nonFinite, 2u);
    EXPECT_EQ(odd.minimum, 1.0);
    EXPECT_EQ(odd.median, 3.0);  // of 1, 2, 4, 9: the mean of the middle two
    EXPECT_EQ(odd.maximum, 9.0);

    const std::vector<std::uint8_t> three = {0, 1, 0, 1, 0, 1, 0, 0, 0};
    EXPECT_EQ(mapStatistics(values, three).median, 4.0);
}

TEST(MapStatistics, WithoutFiniteValuesThereIsNoMinimumMedianOrMaximum) {
    const std::vector<float> values = {kNaN, 5.0f};
    const MapStatistics some = mapStatistics(values, std::vector<std::uint8_t>{1, 0});
    EXPECT_EQ(some.analysed, 1u);
    EXPECT_EQ(some.nonFinite, 1u);
    EXPECT_FALSE(some.minimum || some.median || some.maximum);
    EXPECT_EQ(mapStatistics(values, std::vector<std::uint8_t>{0, 0}).analysed, 0u);
    try {
        mapStatistics(values, std::vector<std::uint8_t>{1});
        FAIL() << "sizes that differ were accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "map statistics: 2 values for a run of 1 voxels");
    }
}

// A map is summarised against the run as it is at the save: a run changed afterwards does not
// change the row.
TEST(RunSummary, PrintsOneRowPerMapAndPerResidualRun) {
    TimeCourses run = runOf({{500.0f, 600.0f}, {50.0f, 50.0f}, {700.0f, 800.0f}, {900.0f, 950.0f}});
    FmrMap map(run.geometry());
    map.slices()[0][0] = 12.5f;
    map.slices()[0][1] = 99.0f;  // background: not in the statistics
    map.slices()[0][2] = -0.000123456f;
    map.slices()[0][3] = kNaN;
    const DialogParameters parameters;
    RunSummary summary;
    EXPECT_TRUE(summary.empty());
    const std::string path = "designs/model_R2adj.map";
    summary.mapSaved(SavedMap{path, map, run, parameters});
    run.volumes()[1][1] = 1000.0f;
    run.volumes()[1][0] = 1.0f;
    summary.runSaved(
        SavedRun{"data/run_min_confounds_of_model.fmr", "data/run_min_confounds_of_model.stc", 2});
    const std::string fPath = "designs/F.map";
    summary.mapSaved(SavedMap{fPath, map, run, parameters});

    std::ostringstream out;
    summary.print(out);
    EXPECT_EQ(
        out.str(),
        "\nSummary of the saved files (analysed voxels: those whose time course stays above "
        "100)\n"
        "map                          analysed     minimum      median     maximum  non-finite\n"
        "designs/model_R2adj.map             3 -0.00012346      6.2499        12.5           1\n"
        "designs/F.map                       2 -0.00012346 -0.00012346 -0.00012346           1\n"
        "residual run                              volumes  time courses\n"
        "data/run_min_confounds_of_model.fmr             2  data/run_min_confounds_of_model.stc\n");
}

TEST(RunSummary, LeavesOutATableWithoutRows) {
    RunSummary summary;
    summary.runSaved(SavedRun{"a.fmr", "a.stc", 7});
    std::ostringstream out;
    summary.print(out);
    EXPECT_EQ(out.str(),
              "\nSummary of the saved files (analysed voxels: those whose time course stays above "
              "100)\n"
              "residual run       volumes  time courses\n"
              "a.fmr                    7  a.stc\n");
}

}  // namespace
}  // namespace host
