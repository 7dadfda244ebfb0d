// The tiled voxel engine against the one-voxel-at-a-time reference: every instruction-set path
// this processor runs, on runs full of awkward samples and on awkward designs, compared bit for
// bit over the five volumes, the analysed-voxel list and the kept residuals. Also the choice of
// the path.

#include "compare/voxel_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "compare/instruction_set.h"
#include "compare/model_setup.h"
#include "compare/voxel_analysis.h"
#include "tests/compare/test_data.h"
#include "tests/sdm/sdm_files.h"

namespace compare {
namespace {

using test::Columns;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// One run and two designs. Model 2 takes the first p2 − 1 columns of a pool (a task, a raw
// drift, motion-like confounds) and model 1 the first p1 − 1, so the designs are nested; each
// gets its constant appended (a model of p = 1 is the constant alone). firstConfound counts as
// in an SDM file; one past the columns means no confounds.
struct EngineCase {
    std::string name;
    std::int32_t volumes;
    std::int32_t dimX, dimY, dimZ;
    std::int32_t p1, firstConfound1;
    std::int32_t p2, firstConfound2;
    bool rankDeficient;  // model 2 repeats its first column, and its second doubled
    bool keep1, keep2;
};

std::ostream& operator<<(std::ostream& out, const EngineCase& c) {
    return out << c.name;
}

Columns columnPool(std::int32_t n, std::int32_t count) {
    Columns pool{test::blockTask(n, 5), test::linearDrift(n)};
    for (std::vector<float>& motion : test::motionSeries(n, count, 17)) pool.push_back(motion);
    pool.resize(count);
    return pool;
}

// Samples of every kind a run can hold, voxel by voxel: background below the floor, a minimum
// of exactly 100 and of 100.5, NaN first or later, infinities, flat courses, values whose
// squares overflow, and ordinary bright voxels with a signal of the design and noise. The first
// voxel is always an ordinary one, so that every run has a voxel to analyse.
std::vector<std::vector<float>> awkwardRun(std::int32_t voxels, const Columns& pool,
                                           std::uint32_t seed) {
    const auto n = static_cast<std::int32_t>(pool.at(0).size());
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<std::vector<float>> volumes(n, std::vector<float>(voxels));
    for (std::int32_t i = 0; i < voxels; ++i) {
        const float baseline = 200.0f + 1500.0f * unit(random);
        const float weight = 40.0f * unit(random) - 10.0f;
        for (std::int32_t t = 0; t < n; ++t) {
            const float drift = pool[t % pool.size()][t] * 0.5f;
            volumes[t][i] = baseline + weight * pool[0][t] + drift + 20.0f * unit(random);
        }
        const std::int32_t at = static_cast<std::int32_t>(random() % n);
        switch (i == 0 ? 15 : random() % 16) {
            case 0:
            case 1:
                for (std::int32_t t = 0; t < n; ++t) volumes[t][i] = 99.0f * unit(random);
                break;
            case 2:
                volumes[at][i] = 100.0f;  // at the floor: not analysed
                break;
            case 3:
                volumes[at][i] = 100.5f;
                break;
            case 4:
                volumes[at][i] = kNaN;  // analysed unless it is the first sample
                break;
            case 5:
                volumes[0][i] = kNaN;
                break;
            case 6:
                volumes[at][i] = kInfinity;
                break;
            case 7:
                volumes[at][i] = -kInfinity;
                break;
            case 8:
                for (std::int32_t t = 0; t < n; ++t) volumes[t][i] = 512.0f;
                break;
            case 9:
                volumes[at][i] = 3e19f;
                break;
            case 10:
                volumes[at][i] = kInfinity;
                volumes[(at + 1) % n][i] = kNaN;
                break;
            default:
                break;
        }
    }
    return volumes;
}

bool sameBits(const numerics::Volume& a, const numerics::Volume& b) {
    const auto count = static_cast<std::size_t>(a.voxelCount());
    return b.voxelCount() == a.voxelCount() &&
           std::memcmp(a.data, b.data, count * sizeof(float)) == 0;
}

bool sameBits(const std::vector<numerics::Vector>& a, const std::vector<numerics::Vector>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].count != b[i].count ||
            std::memcmp(a[i].data, b[i].data, sizeof(float) * a[i].count) != 0) {
            return false;
        }
    }
    return true;
}

class VoxelEngineTest : public ::testing::TestWithParam<EngineCase> {
  protected:
    ModelSetup model(Columns columns, std::int32_t firstConfound) {
        const std::string path = files.write("model" + std::to_string(++designCount) + ".sdm",
                                             test::exactSdmText(columns, firstConfound));
        sdm::DesignMatrix design(path);
        design.addConstantIfMissing();
        return setupModel(std::move(design));
    }

    sdm::test::TempDir files;
    int designCount = 0;
};

TEST_P(VoxelEngineTest, EveryPathMatchesTheReferenceBitForBit) {
    const EngineCase& c = GetParam();
    const Columns pool = columnPool(c.volumes, std::max(c.p1, c.p2));
    Columns columns2(pool.begin(), pool.begin() + (c.p2 - 1));
    if (c.rankDeficient) {
        columns2.push_back(columns2.at(0));
        for (float& value : columns2.back()) value = 2.0f * value;
        columns2.push_back(columns2.at(1));
    }
    Columns columns1(pool.begin(), pool.begin() + (c.p1 - 1));
    if (columns1.empty()) columns1.push_back(test::constant(c.volumes, 1.0f));  // constant alone
    const ModelSetup model1 = model(columns1, c.firstConfound1);
    const ModelSetup model2 = model(columns2, c.firstConfound2);

    const std::int32_t voxels = c.dimX * c.dimY * c.dimZ;
    const std::vector<std::vector<float>> run = awkwardRun(voxels, pool, 5);
    std::vector<const float*> timeCourses;
    for (const std::vector<float>& volume : run) timeCourses.push_back(volume.data());

    const ComparisonResult expected = analyseVoxelsReference(
        model1, model2, c.dimX, c.dimY, c.dimZ, c.volumes, timeCourses.data(), c.keep1, c.keep2);
    ASSERT_FALSE(expected.analysedVoxels.empty());
    for (InstructionSet set : kInstructionSets) {
        if (!isSupported(set)) continue;
        SCOPED_TRACE(instructionSetName(set));
        const ComparisonResult result =
            analyseVoxelsWith(set, model1, model2, c.dimX, c.dimY, c.dimZ, c.volumes,
                              timeCourses.data(), c.keep1, c.keep2);
        EXPECT_EQ(result.analysedVoxels, expected.analysedVoxels);
        EXPECT_TRUE(sameBits(result.tSNR1, expected.tSNR1));
        EXPECT_TRUE(sameBits(result.tSNR2, expected.tSNR2));
        EXPECT_TRUE(sameBits(result.R2adj1, expected.R2adj1));
        EXPECT_TRUE(sameBits(result.R2adj2, expected.R2adj2));
        EXPECT_TRUE(sameBits(result.F, expected.F));
        EXPECT_TRUE(sameBits(result.keptResiduals1, expected.keptResiduals1));
        EXPECT_TRUE(sameBits(result.keptResiduals2, expected.keptResiduals2));
    }
}

// Voxel counts around the tile (64 voxels) and slab (256) sizes and off every lane width;
// more rows than one register block of the widest path holds (13) in both products.
INSTANTIATE_TEST_SUITE_P(
    AwkwardRunsAndDesigns, VoxelEngineTest,
    ::testing::Values(EngineCase{"Model2Larger", 40, 9, 7, 5, 3, 3, 8, 3, false, true, true},
                      EngineCase{"Model1Larger", 40, 9, 7, 5, 8, 3, 3, 3, false, true, false},
                      EngineCase{"EqualCounts", 23, 13, 5, 1, 5, 3, 5, 2, false, false, true},
                      EngineCase{"NoConfounds", 31, 7, 7, 7, 4, 4, 6, 6, false, true, true},
                      EngineCase{"RankDeficient", 30, 10, 10, 3, 3, 3, 6, 3, true, true, true},
                      EngineCase{"MorePredictorsThanARegisterBlock", 17, 11, 3, 2, 2, 2, 16, 2,
                                 false, true, true},
                      EngineCase{"OneVoxelThreeVolumes", 3, 1, 1, 1, 1, 1, 2, 2, false, true, true},
                      EngineCase{"ExactlyOneTile", 12, 8, 8, 1, 3, 2, 4, 2, false, false, false},
                      EngineCase{"LongerRun", 130, 5, 5, 3, 5, 3, 11, 3, false, true, true}),
    [](const ::testing::TestParamInfo<EngineCase>& info) { return info.param.name; });

TEST(InstructionSetTest, WithoutAChoiceTheWidestSupportedPathRuns) {
    InstructionSet widest = InstructionSet::sse2;
    for (InstructionSet set : kInstructionSets) {
        if (isSupported(set)) widest = set;
    }
    EXPECT_EQ(chooseInstructionSet(nullptr), widest);
    EXPECT_EQ(chooseInstructionSet(""), widest);
    EXPECT_TRUE(isSupported(InstructionSet::sse2));
}

TEST(InstructionSetTest, ANamedPathIsTakenWhenTheProcessorRunsIt) {
    for (InstructionSet set : kInstructionSets) {
        SCOPED_TRACE(instructionSetName(set));
        if (isSupported(set)) {
            EXPECT_EQ(chooseInstructionSet(instructionSetName(set)), set);
        } else {
            EXPECT_THROW(chooseInstructionSet(instructionSetName(set)), std::runtime_error);
        }
    }
}

TEST(InstructionSetTest, AnUnknownNameIsRefusedWithTheNamesItTakes) {
    for (const char* name : {"avx", "AVX2", "sse2 ", "neon"}) {
        SCOPED_TRACE(name);
        try {
            chooseInstructionSet(name);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(
                std::string(error.what()),
                std::string("TANDREL_ISA: expected sse2, avx2 or avx512, found '") + name + "'");
        }
    }
}

}  // namespace
}  // namespace compare
