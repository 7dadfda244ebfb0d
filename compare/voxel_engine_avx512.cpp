// The AVX-512 kernels: 512-bit vectors, 32 vector registers. This file alone is compiled for
// AVX-512; the dispatcher calls it only on a processor that has it.
#include <immintrin.h>

#include "compare/voxel_engine_kernel.h"

namespace compare::avx512 {
namespace {

struct Lanes {
    using V = __m512;
    // 2 × kMaxRows accumulators, 2 loaded vectors and a broadcast fit in the 32 registers.
    static constexpr int kMaxRows = 13;
    // All lanes; GCC 12 warns of an uninitialised value inside the unmasked form.
    static V squareRoot(V v) { return _mm512_maskz_sqrt_ps(0xFFFF, v); }
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

}  // namespace compare::avx512
