#pragma once
// The comparison's statistics computed independently, in long double by Householder QR of the
// design (no normal equations, so the design's conditioning is not squared): the yardstick the
// single-precision fits are measured against.

#include <vector>

namespace compare::test {

struct ReferenceFit {
    long double sse;
    long double tSNR;
    long double r2adj;
};

// Least-squares fit of y to the columns of a full-rank design (constant included) with the
// given confound mask: SSE, mean/sd of y − X·(β∘mask), and 1 − (1 − R²)(N−1)/(N−p−1).
ReferenceFit referenceFit(const std::vector<std::vector<float>>& columns,
                          const std::vector<float>& mask, const std::vector<float>& y);

// ((SSE_r − SSE_f)/(p_f − p_r)) / (SSE_f/(N − p_f)), f the fit with more predictors.
long double referenceF(long double sse1, int p1, long double sse2, int p2, int n);

}  // namespace compare::test
