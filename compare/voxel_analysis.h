#pragma once
// The voxel loop of a model comparison: every voxel of the run whose time course stays above the
// intensity floor is fitted by both models, and the per-voxel statistics go into five volumes.

#include <cstdint>
#include <vector>

#include "compare/model_setup.h"
#include "numerics/vector.h"
#include "numerics/volume.h"

namespace compare {

// Voxels whose smallest sample is not above this (or is NaN) are background and left out.
inline constexpr float kIntensityFloor = 100.0f;

struct ComparisonResult {
    // DimX × DimY × DimZ each, 0 at every voxel that was not analysed.
    numerics::Volume tSNR1;
    numerics::Volume tSNR2;
    numerics::Volume R2adj1;
    numerics::Volume R2adj2;
    numerics::Volume F;  // all 0 when both models have the same number of predictors
    // Linear voxel indices x + DimX·(y + DimY·z) of the analysed voxels, increasing.
    std::vector<std::int32_t> analysedVoxels;
    // One cleaned time course per analysed voxel, in the order above; filled only when the
    // model's residual switch is on, empty otherwise.
    std::vector<numerics::Vector> keptResiduals1;
    std::vector<numerics::Vector> keptResiduals2;
};

// Fits both models at every voxel. timeCourses is the host's array of nrOfVolumes pointers, each
// to one volume of dimX·dimY·dimZ floats at the linear voxel index; it is only read, a slab of
// voxels at a time. Both setups must have nrOfVolumes rows. Runs the voxel engine (voxel_engine.h)
// on the instruction-set path chosen for this process.
ComparisonResult analyseVoxels(const ModelSetup& model1, const ModelSetup& model2,
                               std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
                               std::int32_t nrOfVolumes, const float* const* timeCourses,
                               bool keepResiduals1, bool keepResiduals2);

// The same, one voxel's time course at a time with a fresh vector per step: the straightforward
// reference whose results the voxel engine reproduces to the bit.
ComparisonResult analyseVoxelsReference(const ModelSetup& model1, const ModelSetup& model2,
                                        std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
                                        std::int32_t nrOfVolumes, const float* const* timeCourses,
                                        bool keepResiduals1, bool keepResiduals2);

}  // namespace compare
