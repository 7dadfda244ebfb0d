#include "sdm/design_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/sdm/sdm_files.h"

namespace sdm {
namespace {

using Columns = std::vector<std::vector<float>>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class DesignMatrixTest : public ::testing::Test {
  protected:
    DesignMatrix design(const Columns& columns, int firstConfound, int includesConstant = 0) const {
        return DesignMatrix(
            dir.write("design.sdm", test::sdmText(columns, firstConfound, includesConstant)));
    }
    test::TempDir dir;
};

struct ConstantCase {
    std::string name;
    std::vector<float> last;
    bool constant;
};

TEST_F(DesignMatrixTest, OnlyANonZeroConstantLastColumnIsTheConstant) {
    const std::vector<ConstantCase> cases = {
        {"ones", {1, 1, 1}, true},
        {"2.5 throughout", {2.5f, 2.5f, 2.5f}, true},
        {"zeros", {0, 0, 0}, false},
        {"values differ", {1, 1, 2}, false},
        {"NaN first", {kNaN, kNaN, kNaN}, false},
        {"NaN later", {1, kNaN, 1}, false},
    };
    for (const ConstantCase& c : cases) {
        SCOPED_TRACE(c.name);
        DesignMatrix d = design({{1, 2, 3}, {0, 0, 0}}, 2);
        d.columns.back() = c.last;  // NaN cannot come from a file
        EXPECT_EQ(d.hasConstant(), c.constant);
    }
    // A constant that is not the last predictor does not count.
    EXPECT_FALSE(design({{1, 1, 1}, {1, 2, 3}}, 2).hasConstant());
}

TEST_F(DesignMatrixTest, AddConstantIfMissingKeepsAnExistingConstant) {
    DesignMatrix d = design({{1, 2, 3}, {1, 1, 1}}, 2, 0);
    d.addConstantIfMissing();
    EXPECT_EQ(d.columns, (Columns{{1, 2, 3}, {1, 1, 1}}));
    EXPECT_EQ(d.nrOfPredictors.get(), 2);
    EXPECT_TRUE(d.includesConstant.get());  // although the file said 0
}

TEST_F(DesignMatrixTest, AddConstantIfMissingAppendsOnesAsTheLastConfound) {
    for (const Columns& columns : {Columns{{1, 2, 3}, {0, 0, 0}}, Columns{{1, 1, 1}, {1, 2, 3}}}) {
        DesignMatrix d = design(columns, 2);
        d.addConstantIfMissing();
        ASSERT_EQ(d.columns.size(), 3u);
        EXPECT_EQ(d.columns[2], (std::vector<float>{1, 1, 1}));
        EXPECT_EQ(d.predictorNames, (std::vector<std::string>{"P1", "P2", "Constant"}));
        EXPECT_EQ(d.red, (std::vector<std::int32_t>{10, 20, 255}));
        EXPECT_EQ(d.green, (std::vector<std::int32_t>{20, 40, 255}));
        EXPECT_EQ(d.blue, (std::vector<std::int32_t>{30, 60, 255}));
        EXPECT_EQ(d.nrOfPredictors.get(), 3);
        EXPECT_EQ(d.firstConfoundPredictor.get(), 2);
        EXPECT_TRUE(d.includesConstant.get());
    }
}

TEST_F(DesignMatrixTest, AddPredictorPlacesConfoundsBeforeTheConstant) {
    DesignMatrix d = design({{1, 2}, {3, 4}, {1, 1}}, 2);
    d.addPredictor({5, 6}, "Motion", 1, 2, 3, true);
    EXPECT_EQ(d.columns, (Columns{{1, 2}, {3, 4}, {5, 6}, {1, 1}}));
    EXPECT_EQ(d.predictorNames, (std::vector<std::string>{"P1", "P2", "Motion", "P3"}));
    EXPECT_EQ(d.red, (std::vector<std::int32_t>{10, 20, 1, 30}));
    EXPECT_EQ(d.blue, (std::vector<std::int32_t>{30, 60, 3, 90}));
    EXPECT_EQ(d.nrOfPredictors.get(), 4);
    EXPECT_EQ(d.firstConfoundPredictor.get(), 2);
}

TEST_F(DesignMatrixTest, AddPredictorPlacesInterestBeforeTheFirstConfound) {
    DesignMatrix d = design({{1, 2}, {3, 4}, {5, 6}, {1, 1}}, 3);
    d.addPredictor({7, 8}, "Task2", 1, 2, 3, false);
    EXPECT_EQ(d.columns, (Columns{{1, 2}, {3, 4}, {7, 8}, {5, 6}, {1, 1}}));
    EXPECT_EQ(d.predictorNames[2], "Task2");
    EXPECT_EQ(d.green[2], 2);
    EXPECT_EQ(d.nrOfPredictors.get(), 5);
    EXPECT_EQ(d.firstConfoundPredictor.get(), 4);

    // With no confounds (the first confound just past the last predictor) it goes last.
    DesignMatrix noConfounds = design({{1, 2}}, 2);
    noConfounds.addPredictor({7, 8}, "Task2", 1, 2, 3, false);
    EXPECT_EQ(noConfounds.columns, (Columns{{1, 2}, {7, 8}}));
    EXPECT_EQ(noConfounds.firstConfoundPredictor.get(), 3);
}

TEST_F(DesignMatrixTest, AddPredictorChangesNothingForWrongLengthOrASecondConstant) {
    const Columns columns = {{1, 2, 3}, {1, 1, 1}};
    DesignMatrix d = design(columns, 2);
    d.addPredictor({1, 2}, "Short", 0, 0, 0, true);
    d.addPredictor({1, 2, 3, 4}, "Long", 0, 0, 0, false);
    d.addPredictor({2, 2, 2}, "Second constant", 0, 0, 0, true);
    EXPECT_EQ(d.columns, columns);
    EXPECT_EQ(d.predictorNames, (std::vector<std::string>{"P1", "P2"}));
    EXPECT_EQ(d.nrOfPredictors.get(), 2);
    EXPECT_FALSE(d.includesConstant.get());
}

TEST_F(DesignMatrixTest, AddPredictorOfInterestRefusesAFirstConfoundOutsideTheDesign) {
    DesignMatrix d = design({{1, 2}, {3, 4}}, 4);  // a file may say so: it means no confounds
    try {
        d.addPredictor({5, 6}, "Task2", 0, 0, 0, false);
        ADD_FAILURE() << "no error";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(),
                     "design.sdm: cannot add the predictor of interest \"Task2\": "
                     "FirstConfoundPredictor is 4, expected 1 to 3");
    }
    EXPECT_EQ(d.columns.size(), 2u);
    // A confound needs no position from the header and is still accepted.
    d.addPredictor({5, 6}, "Drift", 0, 0, 0, true);
    EXPECT_EQ(d.columns.size(), 3u);
}

TEST_F(DesignMatrixTest, ToMatrixAddsOnesWhenTheDesignLacksAConstant) {
    const numerics::Matrix plain = toMatrix(design({{1, 2, 3, 4}, {5, 6, 7, 8}}, 2));
    ASSERT_EQ(plain.rows, 4);
    ASSERT_EQ(plain.cols, 3);
    EXPECT_EQ(std::vector<float>(plain.data, plain.data + 12),
              (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 1, 1, 1, 1}));

    const numerics::Matrix withConstant = toMatrix(design({{1, 2, 3, 4}, {2, 2, 2, 2}}, 2));
    ASSERT_EQ(withConstant.rows, 4);
    ASSERT_EQ(withConstant.cols, 2);
    EXPECT_EQ(std::vector<float>(withConstant.data, withConstant.data + 8),
              (std::vector<float>{1, 2, 3, 4, 2, 2, 2, 2}));
}

TEST_F(DesignMatrixTest, NoDataPoints) {
    DesignMatrix d = design({{}, {}}, 2);
    d.addConstantIfMissing();
    ASSERT_EQ(d.columns.size(), 3u);
    EXPECT_TRUE(d.columns[2].empty());
    EXPECT_EQ(d.predictorNames[2], "Constant");
    EXPECT_TRUE(d.includesConstant.get());
    const numerics::Matrix m = toMatrix(d);
    EXPECT_EQ(m.rows, 0);
    EXPECT_EQ(m.cols, 4);  // an empty column is no constant, so the ones column is added again
}

}  // namespace
}  // namespace sdm
