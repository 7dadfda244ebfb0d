#include "numerics/svd.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace numerics {

namespace {

// |p| carrying the sign of q; a NaN q counts as negative.
template <class T>
T sign(T p, T q) {
    return q >= 0 ? std::abs(p) : -std::abs(p);
}

// Column-major element access for the decomposition's index formulas.
template <class T>
struct Columns {
    T* data;
    std::int32_t rows;
    T& operator()(std::int32_t r, std::int32_t c) const { return data[r + c * rows]; }
};

// Sum of x[k·xStride]·y[k·yStride] for k = 0..count − 1 with one accumulator started at the
// first product; an empty range sums to 0.
template <class T>
T dot(std::int32_t count, const T* x, std::int32_t xStride, const T* y, std::int32_t yStride) {
    if (count <= 0) return 0;
    T s = x[0] * y[0];
    for (std::int32_t k = 1; k < count; ++k) s += x[k * xStride] * y[k * yStride];
    return s;
}

// Applies the plane rotation (c, s) to columns j and i: (p, q) -> (p·c + q·s, q·c − p·s).
template <class T>
void rotate(Columns<T> m, std::int32_t count, std::int32_t j, std::int32_t i, T c, T s) {
    for (std::int32_t r = 0; r < count; ++r) {
        const T p = m(r, j);
        const T q = m(r, i);
        m(r, j) = p * c + q * s;
        m(r, i) = q * c - p * s;
    }
}

}  // namespace

template <class T>
T scaledHypot(T p, T q) {
    const T absP = std::abs(p);
    const T absQ = std::abs(q);
    if (absP > absQ) {
        const T ratio = absQ / absP;
        return absP * std::sqrt(1 + ratio * ratio);
    }
    if (absQ == 0) return 0;
    const T ratio = absP / absQ;
    return absQ * std::sqrt(1 + ratio * ratio);
}

template <class T>
bool BasicMatrix<T>::svd(BasicVector<T>& w, BasicMatrix& v) {
    const std::int32_t m = rows;
    const std::int32_t n = cols;
    w.resize(n);
    v.resize(n, n);
    BasicVector<T> e(n);
    const Columns<T> a{data, m};
    const Columns<T> V{v.data, n};

    // Householder reduction to bidiagonal form; tau bounds every negligibility test below.
    T g = 0, scale = 0, tau = 0;
    std::int32_t l = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        l = i + 1;
        e[i] = scale * g;
        g = 0;
        T s = 0;
        scale = 0;
        if (i < m) {
            for (std::int32_t k = i; k < m; ++k) scale += std::abs(a(k, i));
            if (scale != 0) {
                for (std::int32_t k = i; k < m; ++k) {
                    a(k, i) = a(k, i) / scale;
                    s = s + a(k, i) * a(k, i);
                }
                T f = a(i, i);
                g = -sign(std::sqrt(s), f);
                const T h = f * g - s;
                a(i, i) = f - g;
                for (std::int32_t j = l; j < n; ++j) {
                    const T sj = dot(m - i, &a(i, i), 1, &a(i, j), 1);
                    f = sj / h;
                    for (std::int32_t k = i; k < m; ++k) a(k, j) = a(k, j) + f * a(k, i);
                }
                for (std::int32_t k = i; k < m; ++k) a(k, i) = a(k, i) * scale;
            }
        }
        w[i] = scale * g;
        g = 0;
        s = 0;
        scale = 0;
        if (i < m && i != n - 1) {
            for (std::int32_t k = l; k < n; ++k) scale += std::abs(a(i, k));
            if (scale != 0) {
                for (std::int32_t k = l; k < n; ++k) {
                    a(i, k) = a(i, k) / scale;
                    s = s + a(i, k) * a(i, k);
                }
                const T f = a(i, l);
                g = -sign(std::sqrt(s), f);
                const T h = f * g - s;
                a(i, l) = f - g;
                for (std::int32_t k = l; k < n; ++k) e[k] = a(i, k) / h;
                for (std::int32_t j = l; j < m; ++j) {
                    const T sj = dot(n - l, &a(j, l), m, &a(i, l), m);
                    for (std::int32_t k = l; k < n; ++k) a(j, k) = a(j, k) + sj * e[k];
                }
                for (std::int32_t k = l; k < n; ++k) a(i, k) = a(i, k) * scale;
            }
        }
        const T x = std::abs(e[i]) + std::abs(w[i]);
        if (x > tau) tau = x;
    }

    // Accumulation of the right-hand transformations into V.
    for (std::int32_t i = n - 1; i >= 0; --i) {
        if (i < n - 1) {
            if (g != 0) {
                for (std::int32_t j = l; j < n; ++j) V(j, i) = (a(i, j) / a(i, l)) / g;
                for (std::int32_t j = l; j < n; ++j) {
                    const T sj = dot(n - l, &a(i, l), m, &V(l, j), 1);
                    for (std::int32_t k = l; k < n; ++k) V(k, j) = V(k, j) + sj * V(k, i);
                }
            }
            for (std::int32_t j = l; j < n; ++j) {
                V(i, j) = 0;
                V(j, i) = 0;
            }
        }
        V(i, i) = 1;
        g = e[i];
        l = i;
    }

    // Accumulation of the left-hand transformations into this matrix, which becomes U.
    for (std::int32_t i = std::min(m, n) - 1; i >= 0; --i) {
        l = i + 1;
        g = w[i];
        for (std::int32_t j = l; j < n; ++j) a(i, j) = 0;
        if (g != 0) {
            g = 1 / g;
            for (std::int32_t j = l; j < n; ++j) {
                const T sj = dot(m - l, &a(l, i), 1, &a(l, j), 1);
                const T f = (sj / a(i, i)) * g;
                for (std::int32_t k = i; k < m; ++k) a(k, j) = a(k, j) + f * a(k, i);
            }
            for (std::int32_t j = i; j < m; ++j) a(j, i) = a(j, i) * g;
        } else {
            for (std::int32_t j = i; j < m; ++j) a(j, i) = 0;
        }
        a(i, i) = a(i, i) + 1;
    }

    // Diagonalisation of the bidiagonal form by implicit-shift QR sweeps, from the last
    // singular value up. Each value gets at most 29 sweeps.
    for (std::int32_t k = n - 1; k >= 0; --k) {
        for (std::int32_t sweeps = 0;; ++sweeps) {
            // Split test. e[0] is always zero here, so the search ends at l = 0; w[l - 1] is only
            // read for l ≥ 1.
            bool cancel = false;
            for (l = k; l >= 0; --l) {
                if (l == 0 || std::abs(e[l]) + tau == tau) break;
                if (std::abs(w[l - 1]) + tau == tau) {
                    cancel = true;
                    break;
                }
            }
            if (cancel) {
                T c = 0, s = 1;
                for (std::int32_t i = l; i <= k; ++i) {
                    const T f = s * e[i];
                    e[i] = c * e[i];
                    if (std::abs(f) + tau == tau) break;
                    g = w[i];
                    T h = scaledHypot(f, g);
                    w[i] = h;
                    h = 1 / h;
                    c = g * h;
                    s = -(f * h);
                    rotate(a, m, l - 1, i, c, s);
                }
            }
            T z = w[k];
            if (l == k) {
                if (z < 0) {
                    w[k] = -z;
                    for (std::int32_t r = 0; r < n; ++r) V(r, k) = -V(r, k);
                }
                break;
            }
            if (sweeps == 29) return false;

            // Shift from the trailing 2 x 2 block.
            T x = w[l];
            T y = w[k - 1];
            g = e[k - 1];
            T h = e[k];
            T f = ((y - z) * (z + y) + (g - h) * (h + g)) / ((h * 2) * y);
            g = scaledHypot(f, T(1));
            f = ((x - z) * (x + z) + h * (y / (f + sign(g, f)) - h)) / x;

            T c = 1, s = 1;
            for (std::int32_t j = l; j < k; ++j) {
                const std::int32_t i = j + 1;
                g = e[i];
                y = w[i];
                h = s * g;
                g = c * g;
                z = scaledHypot(f, h);
                e[j] = z;
                c = f / z;
                s = h / z;
                f = x * c + g * s;
                g = g * c - x * s;
                h = y * s;
                y = y * c;
                rotate(V, n, j, i, c, s);
                z = scaledHypot(f, h);
                w[j] = z;
                if (z != 0) {
                    z = 1 / z;
                    c = f * z;
                    s = h * z;
                }
                f = c * g + s * y;
                x = c * y - s * g;
                rotate(a, m, j, i, c, s);
            }
            e[l] = 0;
            e[k] = f;
            w[k] = x;
        }
    }
    return true;
}

// P = V·diag(1/w)·Uᵀ over the singular values that carry information. Values at or below
// n·ε·wmax are rounding noise of a rank-deficient matrix (collinear predictors); inverting them
// would blow the result up by the reciprocal of that noise, so they are left out like exact
// zeros. A NaN value is kept, so a broken input shows in the result instead of vanishing.
template <class T>
bool BasicMatrix<T>::invert() {
    if (rows != cols) return false;
    const std::int32_t n = rows;
    BasicVector<T> w;
    BasicMatrix v;
    if (!svd(w, v)) return false;
    T wmax = n > 0 ? w[0] : T(0);
    for (std::int32_t k = 1; k < n; ++k) {
        if (w[k] > wmax) wmax = w[k];
    }
    const T tol = (static_cast<T>(n) * std::numeric_limits<T>::epsilon()) * wmax;
    BasicMatrix p(std::pair{n, n}, T(0));
    const Columns<T> U{data, n}, V{v.data, n}, P{p.data, n};
    for (std::int32_t i = 0; i < n; ++i) {
        for (std::int32_t j = 0; j < n; ++j) {
            for (std::int32_t k = 0; k < n; ++k) {
                if (w[k] == 0 || w[k] <= tol) continue;
                P(i, j) = (U(j, k) * V(i, k)) / w[k] + P(i, j);
            }
        }
    }
    *this = p;
    return true;
}

template <class T>
BasicMatrix<T> inverse(const BasicMatrix<T>& matrix) {
    BasicMatrix<T> result(matrix);
    if (!result.invert()) throw std::runtime_error("Matrix inversion failed");
    return result;
}

template float scaledHypot(float, float);
template double scaledHypot(double, double);
template bool BasicMatrix<float>::svd(BasicVector<float>&, BasicMatrix<float>&);
template bool BasicMatrix<double>::svd(BasicVector<double>&, BasicMatrix<double>&);
template bool BasicMatrix<float>::invert();
template bool BasicMatrix<double>::invert();
template Matrix inverse(const Matrix&);
template BasicMatrix<double> inverse(const BasicMatrix<double>&);

}  // namespace numerics
