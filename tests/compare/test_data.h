#pragma once
// Designs and runs for the comparison tests: predictor columns of the kinds real designs hold (a
// block task, motion-like confounds, a raw linear drift), SDM texts whose values read back to the
// same floats, and small runs built from a design with known weights and noise.

#include <cstdint>
#include <string>
#include <vector>

namespace compare::test {

using Columns = std::vector<std::vector<float>>;

// A boxcar of `period` volumes on, `period` off, smoothed like a haemodynamic response.
std::vector<float> blockTask(std::int32_t n, std::int32_t period);
// `count` slowly wandering series of a few tenths, like realignment parameters.
Columns motionSeries(std::int32_t n, std::int32_t count, std::uint32_t seed);
// 0, 1, …, n−1: a drift predictor written the way people write it, unscaled.
std::vector<float> linearDrift(std::int32_t n);
std::vector<float> constant(std::int32_t n, float value);

// An SDM file of these columns; every value is written with enough digits to read back exactly.
std::string exactSdmText(const Columns& columns, std::int32_t firstConfound);

// Volumes (one vector per volume, at the linear voxel index) of `voxels` voxels: voxel i gets a
// baseline of several hundred, random weights of the columns that move it by some tens, and noise
// of standard deviation sigma; every fourth voxel is background around 50, below the floor.
std::vector<std::vector<float>> syntheticRun(std::int32_t voxels, const Columns& columns,
                                             float sigma, std::uint32_t seed);

}  // namespace compare::test
