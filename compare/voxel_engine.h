#pragma once
// The fast voxel loop. It produces the same ComparisonResult as fitting the voxels one at a time,
// to the bit, but reads the run a slab of voxels at a time from every volume, drops the
// background voxels of the slab before any fitting, packs the analysed voxels' time courses side
// by side into a tile that stays in cache, and fits the whole tile with vector instructions, one
// voxel per lane. Each lane keeps the order of every sum of the one-voxel fit; vectors run across
// voxels, never across a sum.

#include <cstdint>
#include <vector>

#include "compare/instruction_set.h"
#include "compare/model_setup.h"
#include "compare/voxel_analysis.h"
#include "compare/voxel_engine_tile.h"

namespace compare {

// Built once per run: it owns every scratch array of the fit, so analysing a voxel allocates
// nothing. The model set-ups must outlive it.
class VoxelEngine {
  public:
    VoxelEngine(const ModelSetup& model1, const ModelSetup& model2, std::int32_t nrOfVolumes,
                InstructionSet set);

    // analyseVoxels for a run of this engine's number of volumes.
    ComparisonResult analyse(std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
                             const float* const* timeCourses, bool keepResiduals1,
                             bool keepResiduals2);

  private:
    void gather(const float* const* timeCourses, std::int32_t first, std::int32_t count,
                std::int32_t voxelCount);
    void fitTile(ComparisonResult& result, bool keepResiduals1, bool keepResiduals2);
    void keepCleaned(const TileModel& model, std::vector<numerics::Vector>& kept) const;
    float* take(std::size_t count);

    InstructionSet set_;
    std::int32_t volumes_;
    std::vector<float> storage_;
    std::size_t used_ = 0;
    float* slabMinimum_;
    float* tile_;                           // the analysed voxels' time courses, one row per volume
    std::vector<std::int32_t> tileVoxels_;  // linear voxel index of each filled lane
    TileJob job_;
};

// analyseVoxels on the given instruction-set path.
ComparisonResult analyseVoxelsWith(InstructionSet set, const ModelSetup& model1,
                                   const ModelSetup& model2, std::int32_t dimX, std::int32_t dimY,
                                   std::int32_t dimZ, std::int32_t nrOfVolumes,
                                   const float* const* timeCourses, bool keepResiduals1,
                                   bool keepResiduals2);

}  // namespace compare
