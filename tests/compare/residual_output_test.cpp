// Residual runs: what the saved run holds, how it is named, and that the host's run is the data
// again afterwards, also when the save fails.

#include "compare/residual_output.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/zorq_log.h"
#include "tests/compare/fake_host.h"

namespace compare {
namespace {

using test::fakeHost;

// Three voxels, four volumes; voxels 0 and 2 were analysed.
class ResidualOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::resetFakeHost();
        test::setRun(kRunPath, 3, 1, 1, kData);
        kept.emplace_back(4);
        kept.emplace_back(4);
        for (std::int32_t t = 0; t < 4; ++t) {
            kept[0][t] = float(1 + t);
            kept[1][t] = float(5 + t);
        }
    }

    void save(const std::string& sdmPath, const std::string& fmrPath) {
        saveResiduals(sdmPath, fmrPath, fakeHost().volumePointers.data(), 4, analysed, kept, log);
    }

    void expectEverythingAsBefore() {
        EXPECT_EQ(fakeHost().volumes, kData);
        EXPECT_EQ(std::vector<float>(kept[0].data, kept[0].data + 4),
                  (std::vector<float>{1, 2, 3, 4}));
        EXPECT_EQ(std::vector<float>(kept[1].data, kept[1].data + 4),
                  (std::vector<float>{5, 6, 7, 8}));
    }

    static constexpr const char* kRunPath = "D:/exp/run1.fmr";
    const std::vector<std::vector<float>> kData{
        {101, 201, 301}, {102, 202, 302}, {103, 203, 303}, {104, 204, 304}};
    const std::vector<std::int32_t> analysed{0, 2};
    std::vector<numerics::Vector> kept;
    ZorqLog log{test::fakeLogText};
};

TEST_F(ResidualOutputTest, SavedRunHoldsTheResidualsAtAnalysedVoxelsAndTheHostGetsItsDataBack) {
    save("D:/exp/designs/motion.sdm", kRunPath);

    EXPECT_EQ(fakeHost().logTexts,
              std::vector<std::string>{"Tandrel>  Saving Residuals of confounds of motion.sdm"});
    ASSERT_EQ(fakeHost().savedRuns.size(), 1u);
    const test::SavedRun& run = fakeHost().savedRuns[0];
    EXPECT_EQ(run.fmrPath, "D:/exp/run1_min_confounds_of_motion.fmr");
    EXPECT_EQ(run.stcName, "run1_min_confounds_of_motion");
    EXPECT_EQ(run.volumes, (std::vector<std::vector<float>>{
                               {1, 201, 5}, {2, 202, 6}, {3, 203, 7}, {4, 204, 8}}));
    expectEverythingAsBefore();
}

TEST_F(ResidualOutputTest, FailedSaveStillRestoresTheHostsRun) {
    fakeHost().duringRunSave = [] { throw std::runtime_error("disk full"); };
    EXPECT_THROW(save("motion.sdm", kRunPath), std::runtime_error);
    ASSERT_EQ(fakeHost().savedRuns.size(), 1u);
    EXPECT_EQ(fakeHost().savedRuns[0].volumes[0], (std::vector<float>{1, 201, 5}));
    expectEverythingAsBefore();
}

TEST_F(ResidualOutputTest, NamesLookForTheExtensionInTheFileNameOnly) {
    struct Case {
        const char* sdmPath;
        const char* fmrPath;
        const char* newFmrPath;
        const char* stcName;
    };
    const Case cases[] = {
        {"C:\\designs.v2\\full.sdm", "D:/exp.old/run", "D:/exp.old/run_min_confounds_of_full",
         "run_min_confounds_of_full"},
        {"motion", "D:\\exp\\run1.fmr", "D:\\exp\\run1_min_confounds_of_motion.fmr",
         "run1_min_confounds_of_motion"},
    };
    for (const Case& c : cases) {
        fakeHost().savedRuns.clear();
        save(c.sdmPath, c.fmrPath);
        ASSERT_EQ(fakeHost().savedRuns.size(), 1u);
        EXPECT_EQ(fakeHost().savedRuns[0].fmrPath, c.newFmrPath);
        EXPECT_EQ(fakeHost().savedRuns[0].stcName, c.stcName);
    }
}

}  // namespace
}  // namespace compare
