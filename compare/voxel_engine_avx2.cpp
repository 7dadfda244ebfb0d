// The AVX2 kernels: 256-bit vectors, 16 vector registers. This file alone is compiled for
// AVX2; the dispatcher calls it only on a processor that has it.
#include <immintrin.h>

#include "compare/voxel_engine_kernel.h"

namespace compare::avx2 {
namespace {

struct Lanes {
    using V = __m256;
    // 2 × kMaxRows accumulators, 2 loaded vectors and a broadcast fit in the 16 registers.
    static constexpr int kMaxRows = 5;
    static V squareRoot(V v) { return _mm256_sqrt_ps(v); }
};

}  // namespace

void slabMinimum(const float* const* volumes, std::int32_t n, std::int32_t first,
                 std::int32_t count, float* minimum) {
    kernel::slabMinimumWith<Lanes>(volumes, n, first, count, minimum);
}

void gather(const float* const* volumes, std::int32_t n, std::int32_t first, std::int32_t count,
            float* lane, std::int32_t stride) {
    kernel::gatherWith<Lanes>(volumes, n, first, count, lane, stride);
}

void fitTile(const TileJob& job) {
    kernel::fitTileWith<Lanes>(job);
}

}  // namespace compare::avx2
