#pragma once
// The unit of work of the voxel engine: a tile of analysed voxels, one voxel per lane, whose time
// courses lie in rows of the tile (one row per volume), and the kernels that fit a tile with each
// instruction set. Every kernel computes each lane exactly as the one-voxel-at-a-time fit does:
// the same operations, each sum from the first volume to the last with one accumulator, so every
// path gives the same bits.
//
// The kernels are plain functions over raw arrays: each instruction set's kernels live in their
// own translation unit, compiled for that instruction set only, and share no inline code with the
// rest of the plug-in.

#include <cstdint>

namespace compare {

// One model's share of a tile: its design, read-only, and the lanes' results.
struct TileModel {
    std::int32_t predictors;    // p, the constant included
    const float* projection;    // P, p × n, column-major
    const float* design;        // X, n × p, column-major
    const float* confoundMask;  // p entries, 1 for a confound
    float adjustment;           // (n − 1) / ((n − p) − 1)
    float* cleaned;             // n rows: y − X·(β ∘ mask)
    float* sse;                 // one value per lane: Σ (y − X·β)²
    float* tSNR;                // one value per lane: mean / sample sd of the cleaned course
    float* r2adj;               // one value per lane
};

// Every array with rows holds one row of `stride` lanes per row index. Lanes [0, lanes) are the
// voxels; the lanes after them up to the next multiple of kLaneMultiple are fitted too, whatever
// they hold, and their results are ignored.
struct TileJob {
    std::int32_t volumes;  // n
    std::int32_t stride;   // lanes per row, at least lanes rounded up to kLaneMultiple
    std::int32_t lanes;
    const float* y;     // n rows: the time courses
    float* beta;        // scratch, max(p1, p2) rows
    float* maskedBeta;  // scratch, max(p1, p2) rows
    float* sst;         // scratch, one row
    TileModel models[2];
    // The F value between the models, or nothing when their predictor counts are equal.
    bool withF;
    bool secondIsFull;     // model 2 has more predictors
    float fNumeratorDf;    // p_full − p_reduced
    float fDenominatorDf;  // n − p_full
    float* f;              // one value per lane
};

// The widest register block of any kernel: tiles are filled in multiples of it.
inline constexpr std::int32_t kLaneMultiple = 32;
// The most voxels a vector copy runs past the end of a stretch: one vector of the widest path.
inline constexpr std::int32_t kGatherSlack = 16;

// For each instruction set: minimum[s] = the smallest value of voxel first + s over the volumes,
// by the rule of Vector::min (a later value replaces the running minimum only when strictly
// smaller; a NaN never replaces it, a NaN first value stays), for s in [0, count).
// gather copies voxels [first, first + count) of every volume into the tile rows at `lane`, in
// whole vectors: up to kGatherSlack voxels past the end are read and written too.
// fitTile fills every result array of the job for the lanes in use.
namespace sse2 {
void slabMinimum(const float* const* volumes, std::int32_t n, std::int32_t first,
                 std::int32_t count, float* minimum);
void gather(const float* const* volumes, std::int32_t n, std::int32_t first, std::int32_t count,
            float* lane, std::int32_t stride);
void fitTile(const TileJob& job);
}  // namespace sse2
namespace avx2 {
void slabMinimum(const float* const* volumes, std::int32_t n, std::int32_t first,
                 std::int32_t count, float* minimum);
void gather(const float* const* volumes, std::int32_t n, std::int32_t first, std::int32_t count,
            float* lane, std::int32_t stride);
void fitTile(const TileJob& job);
}  // namespace avx2
namespace avx512 {
void slabMinimum(const float* const* volumes, std::int32_t n, std::int32_t first,
                 std::int32_t count, float* minimum);
void gather(const float* const* volumes, std::int32_t n, std::int32_t first, std::int32_t count,
            float* lane, std::int32_t stride);
void fitTile(const TileJob& job);
}  // namespace avx512

}  // namespace compare
