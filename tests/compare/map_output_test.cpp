// Maps handed to the host: the layout of the copy, the record's settings, the assertions on the
// host's map, and the fixed names, types, thresholds and degrees of freedom of every map.

#include "compare/map_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/zorq_log.h"
#include "tests/compare/fake_host.h"

namespace compare {
namespace {

using test::fakeHost;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A run of 3 × 2 × 2 voxels; the volumes hold distinct values so a misplaced copy shows.
class MapOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::resetFakeHost();
        test::setRun("D:/exp/run1.fmr", 3, 2, 2, std::vector<std::vector<float>>(10));
    }

    static numerics::Volume numbered(float offset) {
        numerics::Volume volume({3, 2, 2}, 0.0f);
        for (std::int32_t i = 0; i < 12; ++i) volume.data[i] = offset + float(i);
        return volume;
    }

    static ComparisonResult result() {
        return ComparisonResult{
            numbered(100), numbered(200), numbered(300), numbered(400), numbered(1), {}, {}, {}};
    }

    ZorqLog log{test::fakeLogText};
};

TEST_F(MapOutputTest, SaveMapCopiesEachVoxelIntoItsSliceAndSetsTheRecord) {
    saveMap(numbered(0), 4, 2.0f, 7.5f, 3, 0, "D:/exp/out.map");

    EXPECT_EQ(
        fakeHost().hostCalls,
        (std::vector<std::string>{"zvCreateMAPForCurrentFMR", "zvGetMAPOfCurrentFMR",
                                  "zvSetMAPParametersOfCurrentFMR", "zvSaveMAPsOfCurrentFMR"}));
    ASSERT_EQ(fakeHost().savedMaps.size(), 1u);
    const test::SavedMap& map = fakeHost().savedMaps[0];
    EXPECT_EQ(map.path, "D:/exp/out.map");
    // Voxel (x, y, z) = x + 3·(y + 2·z) lands in slice z at y·3 + x.
    EXPECT_EQ(map.slices,
              (std::vector<std::vector<float>>{{0, 1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}}));
    EXPECT_EQ(map.header.MapType, 4);
    EXPECT_EQ(map.header.LowerThreshold, 2.0f);
    EXPECT_EQ(map.header.UpperThreshold, 7.5f);
    EXPECT_EQ(map.header.ClearedSetting, 0);
    EXPECT_EQ(map.header.DF1, 3);
    EXPECT_EQ(map.header.DF2, test::FakeHost::kHostDF2);  // a df of 0 keeps the host's value
}

TEST_F(MapOutputTest, HostMapThatDoesNotFitRaisesTheAssertionOfTheFirstDifferingAxis) {
    struct Case {
        std::array<std::int32_t, 3> mapSize;
        bool noSlices;
        const char* message;
    };
    const std::vector<Case> cases{
        {{3, 2, 2}, true, "assertion failure (tandrel:169): slices != nullptr"},
        {{4, 5, 3}, true, "assertion failure (tandrel:169): slices != nullptr"},
        {{4, 5, 3}, false, "assertion failure (tandrel:170): dim.z == header.DimZ"},
        {{4, 5, 2}, false, "assertion failure (tandrel:171): dim.y == header.DimY"},
        {{4, 2, 2}, false, "assertion failure (tandrel:172): dim.x == header.DimX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fakeHost().mapSize = c.mapSize;
        fakeHost().giveNoSlices = c.noSlices;
        fakeHost().savedMaps.clear();
        try {
            saveMap(numbered(0), 0, 1.0f, 2.0f, 0, 0, "D:/exp/out.map");
            ADD_FAILURE() << "expected an assertion failure";
        } catch (const std::logic_error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_TRUE(fakeHost().savedMaps.empty());
    }
}

TEST_F(MapOutputTest, EverySwitchOnSavesTheSevenMapsInOrderUnderTheirNames) {
    const OutputSwitches all{true, true, true, true, true, true, true, false, false};
    saveSelectedMaps(all, "D:/exp/run1_motion.sdm", "D:/exp/models/run1_full.sdm", result(), 3, 10,
                     200, log);

    EXPECT_EQ(fakeHost().logTexts, std::vector<std::string>{"Tandrel>  Saving Maps..."});
    struct Expected {
        const char* path;
        std::int32_t type;
        float lower, upper;
        std::int32_t df1, df2;
        float firstValue, lastValue;  // voxels (0, 0, 0) and (2, 1, 1)
    };
    const Expected expected[] = {
        {"D:/exp/run1_motion_tSNR_residuals.map", 0, 5.0f, 100.0f, 17, 23, 100, 111},
        {"D:/exp/models/run1_full_tSNR_residuals.map", 0, 5.0f, 100.0f, 17, 23, 200, 211},
        {"D:/exp/models/run1_full_tSNR_diff_run1_motion.map", 0, 1.0f, 20.0f, 17, 23, 100, 100},
        {"D:/exp/run1_motion_R2adj.map", 0, 0.1f, 0.5f, 17, 23, 300, 311},
        {"D:/exp/models/run1_full_R2adj.map", 0, 0.1f, 0.5f, 17, 23, 400, 411},
        {"D:/exp/models/run1_full_R2adj_diff_run1_motion.map", 0, 0.05f, 0.5f, 17, 23, 100, 100},
        // F: half its largest value (12), DF1 = 10 − 3 and DF2 = 200 − 10.
        {"D:/exp/models/run1_full_Fval_diff_run1_motion.map", 4, 2.0f, 6.0f, 7, 190, 1, 12},
    };
    ASSERT_EQ(fakeHost().savedMaps.size(), std::size(expected));
    for (std::size_t m = 0; m < std::size(expected); ++m) {
        const Expected& e = expected[m];
        const test::SavedMap& map = fakeHost().savedMaps[m];
        SCOPED_TRACE(e.path);
        EXPECT_EQ(map.path, e.path);
        EXPECT_EQ(map.header.MapType, e.type);
        EXPECT_EQ(map.header.LowerThreshold, e.lower);
        EXPECT_EQ(map.header.UpperThreshold, e.upper);
        EXPECT_EQ(map.header.DF1, e.df1);
        EXPECT_EQ(map.header.DF2, e.df2);
        EXPECT_EQ(map.slices[0][0], e.firstValue);
        EXPECT_EQ(map.slices[1][5], e.lastValue);
    }
}

TEST_F(MapOutputTest, NoSwitchOnSavesNothingButTheLogLine) {
    saveSelectedMaps(OutputSwitches{}, "a.sdm", "b.sdm", result(), 3, 3, 200, log);
    EXPECT_EQ(fakeHost().logTexts, std::vector<std::string>{"Tandrel>  Saving Maps..."});
    EXPECT_TRUE(fakeHost().hostCalls.empty());
}

TEST_F(MapOutputTest, FMapDegreesOfFreedomFollowTheLargerModelOnEitherSide) {
    OutputSwitches fOnly;
    fOnly.Fmap = true;
    saveSelectedMaps(fOnly, "D:/exp/big.sdm", "D:/exp/small.sdm", result(), 9, 2, 200, log);
    ASSERT_EQ(fakeHost().savedMaps.size(), 1u);
    EXPECT_EQ(fakeHost().savedMaps[0].path, "D:/exp/small_Fval_diff_big.map");
    EXPECT_EQ(fakeHost().savedMaps[0].header.DF1, 7);
    EXPECT_EQ(fakeHost().savedMaps[0].header.DF2, 191);
}

TEST_F(MapOutputTest, EqualPredictorCountsGiveNoFMapAndSaySoOnlyWhenItWasAskedFor) {
    OutputSwitches tSNROnly;
    tSNROnly.tSNR1 = true;
    saveSelectedMaps(tSNROnly, "a.sdm", "b.sdm", result(), 4, 4, 200, log);
    EXPECT_EQ(fakeHost().logTexts.size(), 1u);

    OutputSwitches withF = tSNROnly;
    withF.Fmap = true;
    fakeHost().savedMaps.clear();
    saveSelectedMaps(withF, "a.sdm", "b.sdm", result(), 4, 4, 200, log);
    EXPECT_EQ(fakeHost().logTexts.back(),
              "Tandrel>  Fmap could not be create because both SDMs have the same number of "
              "predictors");
    ASSERT_EQ(fakeHost().savedMaps.size(), 1u);
    EXPECT_EQ(fakeHost().savedMaps[0].path, "a_tSNR_residuals.map");
}

TEST_F(MapOutputTest, NamesKeepADottedFolderAndAPathWithoutExtensionWhole) {
    OutputSwitches r2adj;
    r2adj.R2adj1 = r2adj.R2adj3 = true;
    saveSelectedMaps(r2adj, "D:/exp.old/design", "D:\\exp.v2\\full.model.sdm", result(), 2, 3, 200,
                     log);
    ASSERT_EQ(fakeHost().savedMaps.size(), 2u);
    EXPECT_EQ(fakeHost().savedMaps[0].path, "D:/exp.old/design_R2adj.map");
    EXPECT_EQ(fakeHost().savedMaps[1].path, "D:\\exp.v2\\full.model_R2adj_diff_design.map");
}

TEST(FMapUpperThreshold, IsHalfTheLargestFiniteValue) {
    struct Case {
        std::vector<float> values;
        float threshold;
    };
    const std::vector<Case> cases{
        {{0, 3, 8, 1}, 4.0f},
        {{kInf, 3, kNaN, 0}, 1.5f},  // a perfect fit must not make the display range infinite
        {{kNaN, 6, kInf, 2}, 3.0f},  // nor a NaN first voxel hide the others
        {{kInf, kNaN, -kInf, kNaN}, 0.0f},
        {{0, 0, 0, 0}, 0.0f},       // nothing analysed
        {{-4, -2, -8, -3}, -1.0f},  // every voxel analysed, reduced model fitting better
    };
    for (const Case& c : cases) {
        numerics::Volume f({2, 2, 1}, 0.0f);
        std::copy(c.values.begin(), c.values.end(), f.data);
        EXPECT_EQ(fMapUpperThreshold(f), c.threshold) << ::testing::PrintToString(c.values);
    }
}

}  // namespace
}  // namespace compare
