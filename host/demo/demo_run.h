#pragma once
// The demo run, made in memory from a seed: a head over a dark background whose edges move with
// six realignment-style motion parameters, a block-design task in two blobs, a slow drift and
// thermal noise; with the two designs to compare on it and masks that say where the story should
// show (model 2, with the motion confounds, wins at the edges).

#include <cstdint>
#include <vector>

#include "host/demo/nifti_run_writer.h"
#include "host/demo/sdm_writer.h"

namespace host::demo {

struct DemoOptions {
    int dimX = 64;
    int dimY = 64;
    int dimZ = 30;
    int volumes = 200;
    std::uint64_t seed = 1;
    // The drift predictor as 0 ... volumes - 1 instead of centred and scaled to [-1, 1]: a badly
    // scaled design for accuracy checks. The run's data do not depend on it.
    bool rawDrift = false;
};

struct DemoRun {
    RunGeometry geometry;
    // Volume after volume; within a volume voxel x + dimX * (y + dimY * z).
    std::vector<float> timeCourses;
    Design taskModel;  // model 1: task, constant
    Design fullModel;  // model 2: task, 3 translations, 3 rotations, drift, constant
    // One byte per voxel, 1 where the voxel belongs to the set:
    std::vector<std::uint8_t> tissue;      // noiseless signal above 200 throughout the run
    std::vector<std::uint8_t> background;  // noiseless signal below 50 throughout the run
    std::vector<std::uint8_t> edge;        // tissue voxels in the top tenth of motion effect
    std::vector<std::uint8_t> activated;   // tissue voxels at least half as active as a blob centre
};

// Throws std::invalid_argument naming the option when a size is out of range (each dimension
// 4 ... 1024, volumes 10 ... 100000, at most 2^31 values in the run).
DemoRun makeDemoRun(const DemoOptions& options);

}  // namespace host::demo
