// The per-design set-up: which predictors count as confounds, and a projection that stays
// accurate for the ill-conditioned designs people write (a raw 0 … N−1 drift beside a constant).

#include "compare/model_setup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/compare/test_data.h"
#include "tests/sdm/sdm_files.h"

namespace compare {
namespace {

struct MaskCase {
    std::int32_t predictors;
    std::int32_t firstConfound;
    std::vector<float> mask;
};

TEST(ConfoundMask, MarksFromTheFirstConfoundUpToButNotIncludingTheConstant) {
    const std::vector<MaskCase> cases{
        {5, 2, {0, 1, 1, 1, 0}},
        {5, 4, {0, 0, 0, 1, 0}},
        {5, 5, {0, 0, 0, 0, 0}},  // the first confound is the constant itself
        {5, 9, {0, 0, 0, 0, 0}},  // beyond the design: no confounds
        {5, 1, {1, 1, 1, 1, 0}},
        {5, 0, {1, 1, 1, 1, 0}},  // below 1 counts from the first predictor
        {1, 1, {0}},              // a constant alone
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE("p " + std::to_string(c.predictors) + ", first confound " +
                     std::to_string(c.firstConfound));
        const numerics::Vector mask = confoundMask(c.predictors, c.firstConfound);
        ASSERT_EQ(mask.count, c.predictors);
        EXPECT_EQ(std::vector<float>(mask.data, mask.data + mask.count), c.mask);
    }
}

class ModelSetupTest : public ::testing::Test {
  protected:
    sdm::DesignMatrix design(const test::Columns& columns, std::int32_t firstConfound) {
        sdm::DesignMatrix read(
            files.write("design.sdm", test::exactSdmText(columns, firstConfound)));
        read.addConstantIfMissing();
        return read;
    }
    sdm::test::TempDir files;
};

TEST_F(ModelSetupTest, HoldsTheCompletedDesignItsMatrixAndMask) {
    const test::Columns columns{test::blockTask(30, 5), test::linearDrift(30)};
    const ModelSetup setup = setupModel(design(columns, 2));
    EXPECT_EQ(setup.design.nrOfPredictors.value, 3);
    ASSERT_EQ(setup.x.rows, 30);
    ASSERT_EQ(setup.x.cols, 3);
    EXPECT_EQ(setup.x.data[17 + 30 * 1], 17.0f);
    EXPECT_EQ(setup.x.data[17 + 30 * 2], 1.0f);
    EXPECT_EQ(std::vector<float>(setup.confoundMask.data, setup.confoundMask.data + 3),
              (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(setup.projection.rows, 3);
    EXPECT_EQ(setup.projection.cols, 30);
}

// P·X = I for a full-rank design. With the drift written as 0 … 1199 beside six motion series
// and a constant, XᵀX has a condition number near 10¹², hopeless in single precision; formed in
// double and rounded once, each element of P·X is off by a few float roundings of its terms.
TEST_F(ModelSetupTest, ProjectionInvertsAnIllConditionedDesign) {
    const std::int32_t n = 1200;
    test::Columns columns{test::blockTask(n, 10)};
    for (std::vector<float>& motion : test::motionSeries(n, 6, 5)) columns.push_back(motion);
    columns.push_back(test::linearDrift(n));
    const ModelSetup setup = setupModel(design(columns, 2));
    const std::int32_t p = setup.x.cols;
    ASSERT_EQ(p, 9);
    for (std::int32_t r = 0; r < p; ++r) {
        for (std::int32_t c = 0; c < p; ++c) {
            double product = 0;
            for (std::int32_t t = 0; t < n; ++t) {
                product += double(setup.projection.data[r + p * t]) * setup.x.data[t + n * c];
            }
            EXPECT_NEAR(product, r == c ? 1.0 : 0.0, 1e-5) << "element (" << r << ", " << c << ")";
        }
    }
}

TEST_F(ModelSetupTest, CollinearPredictorsStillGiveAProjection) {
    const std::vector<float> task = test::blockTask(20, 4);
    const ModelSetup setup = setupModel(design({task, task}, 3));
    // The pseudo-inverse splits the weight evenly between the two copies of the task.
    double weight0 = 0, weight1 = 0;
    for (std::int32_t t = 0; t < 20; ++t) {
        weight0 += double(setup.projection.data[0 + 3 * t]) * task[t];
        weight1 += double(setup.projection.data[1 + 3 * t]) * task[t];
    }
    EXPECT_NEAR(weight0, 0.5, 1e-5);
    EXPECT_NEAR(weight1, 0.5, 1e-5);
}

TEST_F(ModelSetupTest, DesignWithANonFiniteValueCannotBeInverted) {
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(bad);
        sdm::DesignMatrix broken = design({test::blockTask(20, 4)}, 2);
        broken.columns[0][7] = bad;
        try {
            setupModel(std::move(broken));
            FAIL() << "expected the inversion to fail";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Matrix inversion failed");
        }
    }
}

}  // namespace
}  // namespace compare
