#pragma once
// The tile kernels, written once for any vector width. Each instruction set's translation unit
// includes this header after defining its lane traits L:
//   L::V             the vector type, a GCC/Clang vector of floats (__m128, __m256, __m512)
//   L::kMaxRows      rows of accumulators a product block holds in registers
//   L::squareRoot(v) lane-wise single-precision square root
// and instantiates slabMinimumWith<L>, gatherWith<L> and fitTileWith<L>. Every template here
// depends on L, which each path declares in an unnamed namespace: each instruction set gets its
// own copies with internal linkage, and none can be merged with another path's at link time.
//
// Every lane is one voxel. Vector operators on these types are the IEEE single-precision
// operations lane by lane, with no fusing (the build forbids contraction), so a lane computes
// exactly what the scalar code computes for that voxel. The accumulator blocks of the products
// are explicit vectors rather than plain loops because they must stay in registers across the
// whole sum, which the auto-vectoriser does not guarantee.

#include <cstddef>
#include <cstdint>

#include "compare/voxel_engine_tile.h"

namespace compare::kernel {

// Vectors of lanes that one product block covers.
inline constexpr int kBlockVectors = 2;

template <class L>
constexpr int kWidth = sizeof(typename L::V) / sizeof(float);

template <class L>
typename L::V load(const float* from) {
    typename L::V v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}

template <class L>
void store(float* to, typename L::V v) {
    __builtin_memcpy(to, &v, sizeof v);
}

// What a product does with each finished row t of one block of lanes, called for t in increasing
// order: store it, or use it at once while the row is still in registers.
template <class L>
struct StoreRows {  // out(t, ·) = the row
    float* out;
    std::int32_t stride;
    void row(std::int32_t t, const typename L::V* value) {
        for (int k = 0; k < kBlockVectors; ++k) {
            store<L>(out + static_cast<std::ptrdiff_t>(t) * stride + k * kWidth<L>, value[k]);
        }
    }
};

template <class L>
struct SumSquaredResiduals {  // sum = Σ_t (y(t, ·) − row)², from t = 0: the SSE of a fit
    const float* y;
    std::int32_t stride;
    typename L::V sum[kBlockVectors];
    void row(std::int32_t t, const typename L::V* fit) {
        for (int k = 0; k < kBlockVectors; ++k) {
            const typename L::V d =
                load<L>(y + static_cast<std::ptrdiff_t>(t) * stride + k * kWidth<L>) - fit[k];
            sum[k] = t == 0 ? d * d : sum[k] + d * d;
        }
    }
};

template <class L>
struct CleanedRows {  // cleaned(t, ·) = y(t, ·) − row, and sum = Σ_t cleaned(t, ·) from t = 0
    const float* y;
    float* cleaned;
    std::int32_t stride;
    typename L::V sum[kBlockVectors];
    void row(std::int32_t t, const typename L::V* confounds) {
        for (int k = 0; k < kBlockVectors; ++k) {
            const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(t) * stride + k * kWidth<L>;
            const typename L::V c = load<L>(y + at) - confounds[k];
            store<L>(cleaned + at, c);
            sum[k] = t == 0 ? c : sum[k] + c;
        }
    }
};

// Rows first … first + R − 1 of a·in over one block of lanes, handed to out in order:
// row(r, ·) = Σ_i a(r, i)·in(i, ·), where a(r, i) = a[r + i·rows] (column-major). Each
// accumulator starts at the product with i = 0 and adds the others in order of i.
template <class L, int R, class Out>
void productBlock(const float* a, std::int32_t rows, std::int32_t inner, const float* in,
                  std::int32_t stride, std::int32_t first, Out& out) {
    using V = typename L::V;
    constexpr int W = kWidth<L>;
    constexpr int K = kBlockVectors;
    a += first;
    V x[K];
    V acc[R][K];
#pragma GCC unroll 4
    for (int k = 0; k < K; ++k) x[k] = load<L>(in + k * W);
#pragma GCC unroll 16
    for (int r = 0; r < R; ++r) {
#pragma GCC unroll 4
        for (int k = 0; k < K; ++k) acc[r][k] = a[r] * x[k];
    }
    for (std::int32_t i = 1; i < inner; ++i) {
        const float* column = a + static_cast<std::ptrdiff_t>(i) * rows;
        const float* row = in + static_cast<std::ptrdiff_t>(i) * stride;
#pragma GCC unroll 4
        for (int k = 0; k < K; ++k) x[k] = load<L>(row + k * W);
#pragma GCC unroll 16
        for (int r = 0; r < R; ++r) {
#pragma GCC unroll 4
            for (int k = 0; k < K; ++k) acc[r][k] = acc[r][k] + column[r] * x[k];
        }
    }
#pragma GCC unroll 16
    for (int r = 0; r < R; ++r) out.row(first + r, acc[r]);
}

// productBlock for `count` rows, 1 ≤ count ≤ R.
template <class L, int R, class Out>
void productRows(std::int32_t count, const float* a, std::int32_t rows, std::int32_t inner,
                 const float* in, std::int32_t stride, std::int32_t first, Out& out) {
    if constexpr (R > 1) {
        if (count < R) {
            return productRows<L, R - 1>(count, a, rows, inner, in, stride, first, out);
        }
    }
    productBlock<L, R>(a, rows, inner, in, stride, first, out);
}

// The matrix-vector product of a (rows × inner, column-major) with every lane of one block, its
// rows handed to out in order: they are formed in near-equal chunks that fit the registers.
template <class L, class Out>
void product(const float* a, std::int32_t rows, std::int32_t inner, const float* in,
             std::int32_t stride, Out& out) {
    const std::int32_t chunks = (rows + L::kMaxRows - 1) / L::kMaxRows;
    std::int32_t first = 0;
    for (std::int32_t c = 0; c < chunks; ++c) {
        const std::int32_t count = (rows - first) / (chunks - c);
        productRows<L, L::kMaxRows>(count, a, rows, inner, in, stride, first, out);
        first += count;
    }
}

// Σ_t row(t, ·), starting at the row of t = 0 and adding the others in order: Vector::sum.
template <class L>
typename L::V sumOfRows(const float* rows, std::int32_t n, std::int32_t stride) {
    typename L::V sum = load<L>(rows);
    for (std::int32_t t = 1; t < n; ++t) {
        sum = sum + load<L>(rows + static_cast<std::ptrdiff_t>(t) * stride);
    }
    return sum;
}

// Σ_t (row(t, ·) − mean)², starting at the term of t = 0: the sum of the squared deviations.
template <class L>
typename L::V sumOfSquaredDeviations(const float* rows, std::int32_t n, std::int32_t stride,
                                     typename L::V mean) {
    typename L::V d = load<L>(rows) - mean;
    typename L::V sum = d * d;
    for (std::int32_t t = 1; t < n; ++t) {
        d = load<L>(rows + static_cast<std::ptrdiff_t>(t) * stride) - mean;
        sum = sum + d * d;
    }
    return sum;
}

// One model's fit of the lanes [l, l + block), given the lanes' y and SST.
template <class L>
void fitModel(const TileJob& job, const TileModel& model, std::int32_t l) {
    using V = typename L::V;
    constexpr int W = kWidth<L>;
    const std::int32_t n = job.volumes;
    const std::int32_t p = model.predictors;
    const std::int32_t stride = job.stride;
    const float volumes = static_cast<float>(n);

    // β = P·y, then β ∘ mask, then X·β and X·(β ∘ mask), full products whatever the mask
    // holds; the fit is used row by row for the SSE and never stored.
    StoreRows<L> beta{job.beta + l, stride};
    product<L>(model.projection, p, n, job.y + l, stride, beta);
    for (std::int32_t j = 0; j < p; ++j) {
        for (int k = 0; k < kBlockVectors; ++k) {
            const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(j) * stride + l + k * W;
            store<L>(job.maskedBeta + at, load<L>(job.beta + at) * model.confoundMask[j]);
        }
    }
    SumSquaredResiduals<L> sse{job.y + l, stride, {}};
    product<L>(model.design, n, p, job.beta + l, stride, sse);
    CleanedRows<L> cleaned{job.y + l, model.cleaned + l, stride, {}};
    product<L>(model.design, n, p, job.maskedBeta + l, stride, cleaned);

    for (int k = 0; k < kBlockVectors; ++k) {
        const std::int32_t at = l + k * W;
        // Vector::mean and Vector::stdDev: ss starts at 0, the floor decides between the square
        // root of ss / (n − 1) and 0 (a NaN ss gives 0 too).
        const V mean = cleaned.sum[k] / volumes;
        V ss{};
        for (std::int32_t t = 0; t < n; ++t) {
            const V d =
                load<L>(model.cleaned + at + static_cast<std::ptrdiff_t>(t) * stride) - mean;
            ss = ss + d * d;
        }
        const V sd = ss > 0.0001f ? L::squareRoot(ss / static_cast<float>(n - 1)) : V{};

        const V rSquared = 1.0f - sse.sum[k] / load<L>(job.sst + at);
        store<L>(model.sse + at, sse.sum[k]);
        store<L>(model.tSNR + at, mean / sd);
        store<L>(model.r2adj + at, 1.0f - (1.0f - rSquared) * model.adjustment);
    }
}

// Both fits and F for the lanes [l, l + block).
template <class L>
void fitBlock(const TileJob& job, std::int32_t l) {
    using V = typename L::V;
    constexpr int W = kWidth<L>;
    const float volumes = static_cast<float>(job.volumes);
    for (int k = 0; k < kBlockVectors; ++k) {
        // SST = Σ (y − mean(y))², which both models' R² share.
        const float* y = job.y + l + k * W;
        const V mean = sumOfRows<L>(y, job.volumes, job.stride) / volumes;
        store<L>(job.sst + l + k * W, sumOfSquaredDeviations<L>(y, job.volumes, job.stride, mean));
    }
    fitModel<L>(job, job.models[0], l);
    fitModel<L>(job, job.models[1], l);
    if (!job.withF) return;
    const TileModel& full = job.models[job.secondIsFull ? 1 : 0];
    const TileModel& reduced = job.models[job.secondIsFull ? 0 : 1];
    for (int k = 0; k < kBlockVectors; ++k) {
        const std::int32_t at = l + k * W;
        const V sseFull = load<L>(full.sse + at);
        const V sseReduced = load<L>(reduced.sse + at);
        store<L>(job.f + at,
                 ((sseReduced - sseFull) / job.fNumeratorDf) / (sseFull / job.fDenominatorDf));
    }
}

template <class L>
void fitTileWith(const TileJob& job) {
    constexpr std::int32_t block = kBlockVectors * kWidth<L>;
    static_assert(kLaneMultiple % block == 0);
    for (std::int32_t l = 0; l < job.lanes; l += block) fitBlock<L>(job, l);
}

// How many volumes ahead the slab's stretch is fetched: the hardware prefetchers cannot guess the
// jump from one volume's array to the next.
inline constexpr std::int32_t kPrefetchVolumes = 8;

// The running minimum of Vector::min for each voxel of the slab, volume after volume: each volume's
// stretch of the slab is read front to back, and the minima stay in the first level cache.
template <class L>
void slabMinimumWith(const float* const* volumes, std::int32_t n, std::int32_t first,
                     std::int32_t count, float* minimum) {
    constexpr std::int32_t W = kWidth<L>;
    const std::int32_t whole = count / W * W;
    __builtin_memcpy(minimum, volumes[0] + first, sizeof(float) * count);
    for (std::int32_t t = 1; t < n; ++t) {
        const float* volume = volumes[t] + first;
        if (t + kPrefetchVolumes < n) {
            const float* ahead = volumes[t + kPrefetchVolumes] + first;
            for (std::int32_t s = 0; s < count; s += 16) __builtin_prefetch(ahead + s, 0, 3);
        }
        for (std::int32_t s = 0; s < whole; s += W) {
            const typename L::V m = load<L>(minimum + s);
            const typename L::V x = load<L>(volume + s);
            store<L>(minimum + s, m > x ? x : m);
        }
        for (std::int32_t s = whole; s < count; ++s) {
            if (minimum[s] > volume[s]) minimum[s] = volume[s];
        }
    }
}

// Copies voxels [first, first + count) of every volume into row t of the tile at `lane`, whole
// vectors at a time: the last vector may copy up to W − 1 voxels more, so the volumes must hold
// them and the tile rows must have that many lanes of slack.
template <class L>
void gatherWith(const float* const* volumes, std::int32_t n, std::int32_t first, std::int32_t count,
                float* lane, std::int32_t stride) {
    constexpr std::int32_t W = kWidth<L>;
    for (std::int32_t t = 0; t < n; ++t) {
        const float* from = volumes[t] + first;
        float* to = lane + static_cast<std::ptrdiff_t>(t) * stride;
        for (std::int32_t i = 0; i < count; i += W) store<L>(to + i, load<L>(from + i));
    }
}

}  // namespace compare::kernel
