#include "compare/voxel_engine.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace compare {
namespace {

// Voxels per tile. A tile holds NrOfVolumes rows of this many floats (plus slack) in each of its
// time-course arrays (the data and the two cleaned courses): under 1 MB at 1000 volumes, and the
// kernels work on 32 lanes of it at a time, so what they touch stays in the second-level cache.
constexpr std::int32_t kTileLanes = 64;
// Lanes per row of the tile's arrays: the voxels and the slack the vector copies write into.
constexpr std::int32_t kTileStride = kTileLanes + kGatherSlack;
// Voxels per slab: each volume contributes one stretch of 512 bytes per slab (the kernels fetch
// the stretches a few volumes ahead), and the slab stays in the second-level cache beside the
// tile while its analysed voxels are packed (300 KB at 600 volumes). 256 and 512 measured slower.
constexpr std::int32_t kSlabVoxels = 128;
// Arrays start on a cache line.
constexpr std::size_t kAlignFloats = 16;

std::size_t roundUp(std::size_t count) {
    return (count + kAlignFloats - 1) / kAlignFloats * kAlignFloats;
}

void slabMinimum(InstructionSet set, const float* const* volumes, std::int32_t n,
                 std::int32_t first, std::int32_t count, float* minimum) {
    switch (set) {
        case InstructionSet::avx512:
            return avx512::slabMinimum(volumes, n, first, count, minimum);
        case InstructionSet::avx2:
            return avx2::slabMinimum(volumes, n, first, count, minimum);
        case InstructionSet::sse2:
            return sse2::slabMinimum(volumes, n, first, count, minimum);
    }
}

void gatherWith(InstructionSet set, const float* const* volumes, std::int32_t n, std::int32_t first,
                std::int32_t count, float* lane, std::int32_t stride) {
    switch (set) {
        case InstructionSet::avx512:
            return avx512::gather(volumes, n, first, count, lane, stride);
        case InstructionSet::avx2:
            return avx2::gather(volumes, n, first, count, lane, stride);
        case InstructionSet::sse2:
            return sse2::gather(volumes, n, first, count, lane, stride);
    }
}

void fitTileWith(InstructionSet set, const TileJob& job) {
    switch (set) {
        case InstructionSet::avx512:
            return avx512::fitTile(job);
        case InstructionSet::avx2:
            return avx2::fitTile(job);
        case InstructionSet::sse2:
            return sse2::fitTile(job);
    }
}

}  // namespace

VoxelEngine::VoxelEngine(const ModelSetup& model1, const ModelSetup& model2,
                         std::int32_t nrOfVolumes, InstructionSet set)
    : set_(set), volumes_(nrOfVolumes), tileVoxels_(kTileLanes) {
    const std::size_t rows = static_cast<std::size_t>(std::max(nrOfVolumes, 0));
    const std::size_t predictors = static_cast<std::size_t>(std::max(model1.x.cols, model2.x.cols));
    const std::size_t lanes = kTileStride;
    storage_.resize(kAlignFloats + roundUp(kSlabVoxels) + roundUp(3 * rows * lanes) +
                    roundUp(2 * predictors * lanes) + 10 * roundUp(lanes));

    const float n = static_cast<float>(nrOfVolumes);
    const ModelSetup* setups[2] = {&model1, &model2};
    job_.volumes = nrOfVolumes;
    job_.stride = kTileStride;
    job_.lanes = 0;
    slabMinimum_ = take(kSlabVoxels);
    tile_ = take(rows * lanes);
    job_.y = tile_;
    job_.beta = take(predictors * lanes);
    job_.maskedBeta = take(predictors * lanes);
    job_.sst = take(lanes);
    for (int m = 0; m < 2; ++m) {
        const ModelSetup& setup = *setups[m];
        const float p = static_cast<float>(setup.x.cols);
        TileModel& model = job_.models[m];
        model.predictors = setup.x.cols;
        model.projection = setup.projection.data;
        model.design = setup.x.data;
        model.confoundMask = setup.confoundMask.data;
        model.adjustment = (n - 1.0f) / ((n - p) - 1.0f);
        model.cleaned = take(rows * lanes);
        model.sse = take(lanes);
        model.tSNR = take(lanes);
        model.r2adj = take(lanes);
    }
    // The F value of fBetweenModels, with its degrees of freedom formed as it forms them.
    const float p1 = static_cast<float>(model1.x.cols);
    const float p2 = static_cast<float>(model2.x.cols);
    job_.withF = p1 != p2;
    job_.secondIsFull = p2 > p1;
    const float pFull = job_.secondIsFull ? p2 : p1;
    const float pReduced = job_.secondIsFull ? p1 : p2;
    job_.fNumeratorDf = pFull - pReduced;
    job_.fDenominatorDf = n - pFull;
    job_.f = take(lanes);
}

float* VoxelEngine::take(std::size_t count) {
    if (used_ == 0) {
        // Align the first array; every size is rounded up, so the others follow aligned.
        const auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
        used_ = (kAlignFloats - address / sizeof(float) % kAlignFloats) % kAlignFloats;
    }
    float* array = storage_.data() + used_;
    used_ += roundUp(count);
    return array;
}

ComparisonResult VoxelEngine::analyse(std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
                                      const float* const* timeCourses, bool keepResiduals1,
                                      bool keepResiduals2) {
    const numerics::Dimensions dim{dimX, dimY, dimZ};
    ComparisonResult result{numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            {},
                            {},
                            {}};
    if (volumes_ < 1) return result;  // no samples: no minimum can lie above the floor

    const std::int32_t voxelCount = result.F.voxelCount();
    job_.lanes = 0;
    for (std::int32_t first = 0; first < voxelCount; first += kSlabVoxels) {
        const std::int32_t count = std::min(kSlabVoxels, voxelCount - first);
        slabMinimum(set_, timeCourses, volumes_, first, count, slabMinimum_);
        // Runs of neighbouring analysed voxels are packed into the tile together.
        for (std::int32_t s = 0; s < count;) {
            if (!(slabMinimum_[s] > kIntensityFloor)) {
                ++s;
                continue;
            }
            std::int32_t end = s + 1;
            while (end < count && end - s < kTileLanes - job_.lanes &&
                   slabMinimum_[end] > kIntensityFloor) {
                ++end;
            }
            gather(timeCourses, first + s, end - s, voxelCount);
            s = end;
            if (job_.lanes == kTileLanes) fitTile(result, keepResiduals1, keepResiduals2);
        }
    }
    if (job_.lanes > 0) fitTile(result, keepResiduals1, keepResiduals2);
    return result;
}

void VoxelEngine::gather(const float* const* timeCourses, std::int32_t first, std::int32_t count,
                         std::int32_t voxelCount) {
    float* lane = tile_ + job_.lanes;
    if (voxelCount - first - count >= kGatherSlack) {
        gatherWith(set_, timeCourses, volumes_, first, count, lane, kTileStride);
    } else {  // at the end of the volumes: no vector may reach past them
        for (std::int32_t t = 0; t < volumes_; ++t) {
            std::memcpy(lane + static_cast<std::ptrdiff_t>(t) * kTileStride, timeCourses[t] + first,
                        sizeof(float) * count);
        }
    }
    for (std::int32_t i = 0; i < count; ++i) tileVoxels_[job_.lanes + i] = first + i;
    job_.lanes += count;
}

void VoxelEngine::fitTile(ComparisonResult& result, bool keepResiduals1, bool keepResiduals2) {
    fitTileWith(set_, job_);
    const TileModel& model1 = job_.models[0];
    const TileModel& model2 = job_.models[1];
    for (std::int32_t l = 0; l < job_.lanes; ++l) {
        const std::int32_t i = tileVoxels_[l];
        result.analysedVoxels.push_back(i);
        result.tSNR1.data[i] = model1.tSNR[l];
        result.R2adj1.data[i] = model1.r2adj[l];
        result.tSNR2.data[i] = model2.tSNR[l];
        result.R2adj2.data[i] = model2.r2adj[l];
        if (job_.withF) result.F.data[i] = job_.f[l];
    }
    if (keepResiduals1) keepCleaned(model1, result.keptResiduals1);
    if (keepResiduals2) keepCleaned(model2, result.keptResiduals2);
    job_.lanes = 0;
}

void VoxelEngine::keepCleaned(const TileModel& model, std::vector<numerics::Vector>& kept) const {
    for (std::int32_t l = 0; l < job_.lanes; ++l) {
        numerics::Vector& cleaned = kept.emplace_back(volumes_);
        for (std::int32_t t = 0; t < volumes_; ++t) {
            cleaned[t] = model.cleaned[static_cast<std::ptrdiff_t>(t) * kTileStride + l];
        }
    }
}

ComparisonResult analyseVoxelsWith(InstructionSet set, const ModelSetup& model1,
                                   const ModelSetup& model2, std::int32_t dimX, std::int32_t dimY,
                                   std::int32_t dimZ, std::int32_t nrOfVolumes,
                                   const float* const* timeCourses, bool keepResiduals1,
                                   bool keepResiduals2) {
    VoxelEngine engine(model1, model2, nrOfVolumes, set);
    return engine.analyse(dimX, dimY, dimZ, timeCourses, keepResiduals1, keepResiduals2);
}

ComparisonResult analyseVoxels(const ModelSetup& model1, const ModelSetup& model2,
                               std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
                               std::int32_t nrOfVolumes, const float* const* timeCourses,
                               bool keepResiduals1, bool keepResiduals2) {
    return analyseVoxelsWith(activeInstructionSet(), model1, model2, dimX, dimY, dimZ, nrOfVolumes,
                             timeCourses, keepResiduals1, keepResiduals2);
}

}  // namespace compare
