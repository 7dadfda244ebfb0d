#include "tests/compare/reference_fit.h"

#include <cmath>
#include <cstddef>

namespace compare::test {

ReferenceFit referenceFit(const std::vector<std::vector<float>>& columns,
                          const std::vector<float>& mask, const std::vector<float>& y) {
    const std::size_t n = y.size(), p = columns.size();
    std::vector<std::vector<long double>> r(p, std::vector<long double>(n));
    for (std::size_t j = 0; j < p; ++j)
        for (std::size_t i = 0; i < n; ++i) r[j][i] = columns[j][i];
    std::vector<long double> qty(y.begin(), y.end());

    // Householder QR: column k is reflected onto e_k, and the same reflection is applied to the
    // later columns and to y, leaving R in the upper triangle and Qᵀy in qty.
    for (std::size_t k = 0; k < p; ++k) {
        long double norm = 0;
        for (std::size_t i = k; i < n; ++i) norm += r[k][i] * r[k][i];
        norm = std::sqrt(norm);
        const long double alpha = r[k][k] > 0 ? -norm : norm;
        std::vector<long double> v(n, 0);
        for (std::size_t i = k; i < n; ++i) v[i] = r[k][i];
        v[k] -= alpha;
        long double vv = 0;
        for (std::size_t i = k; i < n; ++i) vv += v[i] * v[i];
        const auto reflect = [&](std::vector<long double>& column) {
            long double dot = 0;
            for (std::size_t i = k; i < n; ++i) dot += v[i] * column[i];
            for (std::size_t i = k; i < n; ++i) column[i] -= 2 * dot / vv * v[i];
        };
        for (std::size_t j = k; j < p; ++j) reflect(r[j]);
        reflect(qty);
    }
    std::vector<long double> beta(p);
    for (std::size_t k = p; k-- > 0;) {
        long double sum = qty[k];
        for (std::size_t j = k + 1; j < p; ++j) sum -= r[j][k] * beta[j];
        beta[k] = sum / r[k][k];
    }

    long double mean = 0;
    for (float value : y) mean += value;
    mean /= n;
    long double sse = 0, sst = 0, cleanedSum = 0;
    std::vector<long double> cleaned(n);
    for (std::size_t i = 0; i < n; ++i) {
        long double fit = 0, confounds = 0;
        for (std::size_t j = 0; j < p; ++j) {
            fit += columns[j][i] * beta[j];
            confounds += columns[j][i] * beta[j] * mask[j];
        }
        sse += (y[i] - fit) * (y[i] - fit);
        sst += (y[i] - mean) * (y[i] - mean);
        cleaned[i] = y[i] - confounds;
        cleanedSum += cleaned[i];
    }
    const long double cleanedMean = cleanedSum / n;
    long double ss = 0;
    for (long double value : cleaned) ss += (value - cleanedMean) * (value - cleanedMean);
    const long double sd = std::sqrt(ss / (n - 1));
    const long double nn = n, pp = p;
    return {sse, cleanedMean / sd, 1 - (sse / sst) * (nn - 1) / (nn - pp - 1)};
}

long double referenceF(long double sse1, int p1, long double sse2, int p2, int n) {
    if (p1 > p2) return referenceF(sse2, p2, sse1, p1, n);
    return ((sse1 - sse2) / (p2 - p1)) / (sse2 / (n - p2));
}

}  // namespace compare::test
