#include "host/demo/demo_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace host::demo {
namespace {

DemoOptions smallRun(std::uint64_t seed = 1) {
    DemoOptions options;
    options.dimX = 24;
    options.dimY = 24;
    options.dimZ = 12;
    options.volumes = 40;
    options.seed = seed;
    return options;
}

float timeCourseMinimum(const DemoRun& run, std::size_t voxel) {
    const std::size_t voxels = run.geometry.voxelCount();
    float lowest = run.timeCourses[voxel];
    for (int t = 1; t < run.geometry.volumes; ++t) {
        lowest = std::min(lowest, run.timeCourses[voxel + voxels * t]);
    }
    return lowest;
}

std::uint64_t fnv1a(const std::vector<float>& values) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(values.data());
    for (std::size_t i = 0; i < values.size() * sizeof(float); ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001b3ull;
    }
    return hash;
}

// The data must not depend on the C library or compiler: this pins them for seed 1.
TEST(DemoRun, SeedOneGivesThePinnedRun) {
    EXPECT_EQ(fnv1a(makeDemoRun(smallRun()).timeCourses), 0xe59a8b1f73d488b1ull);
}

TEST(DemoRun, SameSeedSameRunOtherSeedOtherRun) {
    const DemoRun a = makeDemoRun(smallRun(7));
    const DemoRun b = makeDemoRun(smallRun(7));
    const DemoRun c = makeDemoRun(smallRun(8));
    EXPECT_EQ(a.timeCourses, b.timeCourses);
    EXPECT_NE(a.timeCourses, c.timeCourses);
    EXPECT_NE(a.fullModel.predictors[1].values, c.fullModel.predictors[1].values);
}

// Background voxels must fail the comparison's intensity test (minimum above 100) and tissue
// voxels pass it; the edge is the tenth of the tissue that motion moves most.
TEST(DemoRun, TissueAndBackgroundStraddleTheIntensityThreshold) {
    const DemoRun run = makeDemoRun(smallRun());
    const std::size_t voxels = run.geometry.voxelCount();
    ASSERT_EQ(run.timeCourses.size(), voxels * 40);
    std::size_t tissue = 0;
    std::size_t background = 0;
    std::size_t edge = 0;
    std::size_t activated = 0;
    for (std::size_t v = 0; v < voxels; ++v) {
        SCOPED_TRACE(v);
        if (run.tissue[v]) {
            ++tissue;
            ASSERT_GT(timeCourseMinimum(run, v), 100.0f);
        }
        if (run.background[v]) {
            ++background;
            ASSERT_LE(timeCourseMinimum(run, v), 100.0f);
        }
        ASSERT_FALSE(run.tissue[v] && run.background[v]);
        ASSERT_TRUE(!run.edge[v] || run.tissue[v]);
        ASSERT_TRUE(!run.activated[v] || run.tissue[v]);
        edge += run.edge[v];
        activated += run.activated[v];
    }
    EXPECT_GT(tissue, voxels / 4);
    EXPECT_GT(background, voxels / 4);
    EXPECT_NEAR(static_cast<double>(edge) / tissue, 0.1, 0.01);
    EXPECT_GT(activated, 10u);
}

TEST(DemoRun, DesignsHoldTheTwoModels) {
    const DemoRun run = makeDemoRun(smallRun());
    const Design& task = run.taskModel;
    const Design& full = run.fullModel;
    ASSERT_EQ(task.nrOfPredictors(), 2);
    ASSERT_EQ(full.nrOfPredictors(), 9);
    EXPECT_EQ(task.nrOfDataPoints(), 40);
    EXPECT_EQ(full.nrOfDataPoints(), 40);
    EXPECT_EQ(task.firstConfoundPredictor, 2);
    EXPECT_EQ(full.firstConfoundPredictor, 2);
    EXPECT_EQ(task.predictors[0].values, full.predictors[0].values);
    EXPECT_EQ(full.predictors[8].values, std::vector<double>(40, 1.0));
    // The task rests for the first block, then rises towards 1.
    const auto& taskValues = task.predictors[0].values;
    EXPECT_EQ(taskValues[0], 0.0);
    EXPECT_GT(*std::max_element(taskValues.begin(), taskValues.end()), 0.9);
    // Motion starts at the reference volume.
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(full.predictors[k].values[0], 0.0) << k;
    EXPECT_EQ(full.predictors[7].values.front(), -1.0);
    EXPECT_EQ(full.predictors[7].values.back(), 1.0);
}

TEST(DemoRun, RawDriftChangesOnlyTheDriftColumn) {
    DemoOptions raw = smallRun();
    raw.rawDrift = true;
    const DemoRun scaled = makeDemoRun(smallRun());
    const DemoRun unscaled = makeDemoRun(raw);
    EXPECT_EQ(unscaled.timeCourses, scaled.timeCourses);
    const auto& drift = unscaled.fullModel.predictors[7].values;
    for (int t = 0; t < 40; ++t) EXPECT_EQ(drift[t], t);
}

TEST(DemoRun, RejectsSizesOutOfRange) {
    const struct {
        void (*spoil)(DemoOptions&);
        const char* message;
    } cases[] = {
        {[](DemoOptions& o) { o.dimX = 3; }, "dimension X must be between 4 and 1024, found 3"},
        {[](DemoOptions& o) { o.dimZ = 2000; },
         "dimension Z must be between 4 and 1024, found 2000"},
        {[](DemoOptions& o) { o.volumes = 9; }, "volumes must be between 10 and 100000, found 9"},
        {[](DemoOptions& o) { o.dimX = o.dimY = o.dimZ = 1024; },
         "number of values in the run (X * Y * Z * volumes) must be between 1 and 2147483648, "
         "found 42949672960"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        DemoOptions options = smallRun();
        c.spoil(options);
        try {
            makeDemoRun(options);
            ADD_FAILURE() << "no exception";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace host::demo
