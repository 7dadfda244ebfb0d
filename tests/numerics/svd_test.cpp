#include "numerics/svd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

namespace numerics {
namespace {

Matrix fromRows(std::int32_t rows, std::int32_t cols, std::vector<float> values) {
    Matrix m(rows, cols, 0.0f);
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < cols; ++c) m.data[r + c * rows] = values[r * cols + c];
    }
    return m;
}

TEST(ScaledHypot, AvoidsOverflowAndUnderflow) {
    EXPECT_EQ(scaledHypot(3.0f, 4.0f), 5.0f);
    EXPECT_EQ(scaledHypot(-4.0f, 3.0f), 5.0f);
    EXPECT_EQ(scaledHypot(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(scaledHypot(0.0f, -2.0f), 2.0f);
    EXPECT_EQ(scaledHypot(1.0e30f, 1.0e30f), 1.0e30f * std::sqrt(2.0f));
    EXPECT_NEAR(scaledHypot(3.0e-30f, 4.0e-30f), 5.0e-30f, 1.0e-36f);
    EXPECT_EQ(scaledHypot(3.0, 4.0), 5.0);
}

TEST(Inverse, NonSquareFailsBeforeDecomposing) {
    const Matrix a = fromRows(2, 3, {1, 2, 3, 4, 5, 6});
    try {
        inverse(a);
        FAIL() << "expected std::runtime_error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Matrix inversion failed");
    }
    Matrix b = a;
    EXPECT_FALSE(b.invert());
    EXPECT_EQ(0, std::memcmp(a.data, b.data, 6 * sizeof(float)));
}

TEST(Inverse, OneByOne) {
    Matrix a(1, 1, 2.0f);
    Vector w;
    Matrix v;
    ASSERT_TRUE(a.svd(w, v));
    EXPECT_EQ(w[0], 2.0f);
    EXPECT_EQ(a.data[0], -1.0f);
    EXPECT_EQ(v.data[0], -1.0f);

    EXPECT_EQ(inverse(Matrix(1, 1, 2.0f)).data[0], 0.5f);
    EXPECT_EQ(inverse(Matrix(1, 1, -3.0f)).data[0], -1.0f / 3.0f);
}

TEST(Inverse, AllZeroGivesZeroWithoutSweeps) {
    for (std::int32_t n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const Matrix p = inverse(Matrix(n, n, 0.0f));
        ASSERT_EQ(p.rows, n);
        for (std::int32_t i = 0; i < n * n; ++i) EXPECT_EQ(p.data[i], 0.0f);
    }
}

TEST(Inverse, DiagonalKeepsItsOrderAndInvertsExactly) {
    Matrix a = fromRows(2, 2, {2, 0, 0, 4});
    const Matrix p = inverse(a);
    EXPECT_EQ(p.data[0], 0.5f);
    EXPECT_EQ(p.data[1], 0.0f);
    EXPECT_EQ(p.data[2], 0.0f);
    EXPECT_EQ(p.data[3], 0.25f);
    EXPECT_EQ(a.data[3], 4.0f);  // the argument is left alone

    Vector w;
    Matrix v;
    ASSERT_TRUE(a.svd(w, v));
    EXPECT_EQ(w[0], 2.0f);  // unsorted: the order of the diagonal
    EXPECT_EQ(w[1], 4.0f);
}

TEST(Inverse, AllOnesSkipsItsZeroSingularValue) {
    Matrix a(2, 2, 1.0f);
    Vector w;
    Matrix v;
    ASSERT_TRUE(Matrix(a).svd(w, v));
    EXPECT_LT(w[0], 2 * std::numeric_limits<float>::epsilon());
    EXPECT_FLOAT_EQ(w[1], 2.0f);

    const Matrix p = inverse(a);
    for (std::int32_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(p.data[i], 0.25f);
}

TEST(Inverse, RankOneThreeByThreeGivesItsTruePseudoInverse) {
    // Rank one, A = u·uᵀ with u = (1, 2, 3): its pseudo-inverse is A / |u|⁴ = A / 196. The two
    // other singular values come out as rounding noise near 1e-7 and must not be inverted.
    const Matrix a = fromRows(3, 3, {1, 2, 3, 2, 4, 6, 3, 6, 9});
    const Matrix p = inverse(a);
    for (std::int32_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(p.data[i], a.data[i] / 196.0f, 1.0e-6f);
    }
}

TEST(Inverse, NaNMakesTheDecompositionFail) {
    // A NaN never converges, so a broken design ends in the error instead of a silent result.
    for (std::int32_t position = 0; position < 4; ++position) {
        SCOPED_TRACE(position);
        Matrix a = fromRows(2, 2, {1, 0, 0, 2});
        a.data[position] = std::numeric_limits<float>::quiet_NaN();
        Vector w;
        Matrix v;
        EXPECT_FALSE(Matrix(a).svd(w, v));
        EXPECT_THROW(inverse(a), std::runtime_error);
    }
}

// Properties of the decomposition and the pseudo-inverse on random square matrices, in both
// precisions. The checks themselves run in long double so that they add no error of note.
//
// Tolerances. A Householder/QR decomposition is backward stable: the computed factors are
// orthonormal to within a small multiple of n·ε and reproduce a matrix within n·ε·‖A‖ of A
// (ε the machine epsilon of the element type, ‖A‖ = max w the 2-norm). The pseudo-inverse
// P = V·diag(1/w)·Uᵀ magnifies those errors by at most κ = wmax / wmin over the kept values, so
// the four Moore–Penrose conditions hold within n·ε·κ times the size of each side: ‖A‖ for
// A·P·A = A, ‖P‖ = 1 / wmin for P·A·P = P, 1 for the symmetry of the projectors A·P and P·A.
// The dropped values are at most n·ε·‖A‖, which the first bound covers. kSlack is the constant
// of these bounds: the errors observed reach about n·ε for small n (orthonormality of V,
// reconstruction) and fall well below it as n grows, so 4 leaves room for other inputs while a
// wrong rotation or a kept noise value misses by orders of magnitude.
constexpr long double kSlack = 4;

using Wide = std::vector<long double>;  // n x n, column-major

template <class T>
Wide widen(const BasicMatrix<T>& m) {
    return Wide(m.data, m.data + m.rows * m.cols);
}

Wide multiply(const Wide& a, const Wide& b, std::int32_t n) {
    Wide c(n * n, 0);
    for (std::int32_t j = 0; j < n; ++j) {
        for (std::int32_t k = 0; k < n; ++k) {
            for (std::int32_t i = 0; i < n; ++i) c[i + j * n] += a[i + k * n] * b[k + j * n];
        }
    }
    return c;
}

Wide transpose(const Wide& a, std::int32_t n) {
    Wide t(n * n);
    for (std::int32_t j = 0; j < n; ++j) {
        for (std::int32_t i = 0; i < n; ++i) t[j + i * n] = a[i + j * n];
    }
    return t;
}

long double maxDifference(const Wide& a, const Wide& b) {
    long double worst = 0;
    for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
    return worst;
}

enum class Kind { WellConditioned, RankDeficient };

// Well conditioned: entries uniform in [−1, 1] plus 2n on the diagonal, so every singular value
// lies within a factor of about 3 of 2n. Rank deficient: B·C with B n × n/2 and C n/2 × n of small
// integers; the products are exact in both precisions, so the rank is at most n/2 exactly and the
// missing singular values are pure rounding noise.
template <class T>
BasicMatrix<T> randomMatrix(Kind kind, std::int32_t n, std::mt19937& random) {
    BasicMatrix<T> a(n, n, T(0));
    if (kind == Kind::WellConditioned) {
        std::uniform_real_distribution<T> entry(-1, 1);
        for (std::int32_t i = 0; i < n * n; ++i) a.data[i] = entry(random);
        for (std::int32_t i = 0; i < n; ++i) a.data[i + i * n] += T(2 * n);
        return a;
    }
    const std::int32_t rank = n / 2;
    std::uniform_int_distribution<int> entry(-3, 3);
    std::vector<int> b(n * rank), c(rank * n);
    for (int& x : b) x = entry(random);
    for (int& x : c) x = entry(random);
    for (std::int32_t j = 0; j < n; ++j) {
        for (std::int32_t i = 0; i < n; ++i) {
            int sum = 0;
            for (std::int32_t k = 0; k < rank; ++k) sum += b[i + k * n] * c[k + j * rank];
            a.data[i + j * n] = T(sum);
        }
    }
    return a;
}

template <class T>
class Decomposition : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(Decomposition, Precisions);

TYPED_TEST(Decomposition, RandomSquareMatricesMeetTheSvdAndMoorePenroseProperties) {
    using T = TypeParam;
    const long double eps = std::numeric_limits<T>::epsilon();
    std::mt19937 random(2024);
    for (Kind kind : {Kind::WellConditioned, Kind::RankDeficient}) {
        for (std::int32_t n = 1; n <= 40; ++n) {
            SCOPED_TRACE(testing::Message()
                         << (kind == Kind::WellConditioned ? "well conditioned" : "rank deficient")
                         << " n = " << n);
            const BasicMatrix<T> a = randomMatrix<T>(kind, n, random);
            BasicMatrix<T> u(a), v;
            BasicVector<T> w;
            ASSERT_TRUE(u.svd(w, v));
            ASSERT_EQ(w.count, n);
            ASSERT_EQ(v.rows, n);

            long double wmax = 0;
            for (std::int32_t k = 0; k < n; ++k) {
                ASSERT_GE(w[k], T(0)) << "k = " << k;
                wmax = std::max<long double>(wmax, w[k]);
            }
            const long double bound = kSlack * n * eps;

            // V orthonormal, and U·diag(w)·Vᵀ reproduces A.
            Wide identity(n * n, 0);
            for (std::int32_t i = 0; i < n; ++i) identity[i + i * n] = 1;
            const Wide wideV = widen(v);
            EXPECT_LE(maxDifference(multiply(transpose(wideV, n), wideV, n), identity), bound);
            Wide scaledU = widen(u);
            for (std::int32_t k = 0; k < n; ++k) {
                for (std::int32_t i = 0; i < n; ++i) scaledU[i + k * n] *= w[k];
            }
            const Wide wideA = widen(a);
            EXPECT_LE(maxDifference(multiply(scaledU, transpose(wideV, n), n), wideA),
                      bound * wmax);

            // The kept singular values are exactly the true rank's; noise is dropped.
            const T tol = (T(n) * std::numeric_limits<T>::epsilon()) * T(wmax);
            long double wmin = std::numeric_limits<long double>::infinity();
            std::int32_t kept = 0;
            for (std::int32_t k = 0; k < n; ++k) {
                if (w[k] > tol) {
                    ++kept;
                    wmin = std::min<long double>(wmin, w[k]);
                }
            }
            EXPECT_EQ(kept, kind == Kind::WellConditioned ? n : n / 2);
            if (kept == 0) continue;  // the zero matrix, covered above
            const long double kappa = wmax / wmin;

            // The four Moore–Penrose conditions.
            const Wide p = widen(inverse(a));
            const Wide ap = multiply(wideA, p, n);
            const Wide pa = multiply(p, wideA, n);
            EXPECT_LE(maxDifference(multiply(ap, wideA, n), wideA), bound * kappa * wmax);
            EXPECT_LE(maxDifference(multiply(pa, p, n), p), bound * kappa / wmin);
            EXPECT_LE(maxDifference(transpose(ap, n), ap), bound * kappa);
            EXPECT_LE(maxDifference(transpose(pa, n), pa), bound * kappa);
        }
    }
}

}  // namespace
}  // namespace numerics
