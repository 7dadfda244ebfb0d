#pragma once
// Everything about one GLM design that does not depend on the data, prepared once before the
// voxel loop: which predictors are confounds, the model matrix X and the projection matrix P that
// turns a voxel's time course y into its beta weights, β = P·y.

#include "numerics/matrix.h"
#include "numerics/vector.h"
#include "sdm/design_matrix.h"

namespace compare {

struct ModelSetup {
    // The design after addConstantIfMissing: its constant is the last of its p predictors.
    sdm::DesignMatrix design;
    // p entries: 1.0 for a confound predictor, 0.0 for a predictor of interest and the constant.
    numerics::Vector confoundMask;
    // NrOfVolumes × p: one row per volume, one column per predictor, the constant last.
    numerics::Matrix x;
    // p × p: the pseudo-inverse of XᵀX. XᵀX squares the condition number of X, and a linear
    // drift written as 0 … N−1 beside a constant makes that far too large for single precision,
    // so it is formed in double precision.
    numerics::BasicMatrix<double> xtxInverse;
    // p × NrOfVolumes: P = (XᵀX)⁺·Xᵀ, formed in double precision and rounded to single once.
    numerics::Matrix projection;
};

// Prepares a design on which addConstantIfMissing has run. Throws std::runtime_error("Matrix
// inversion failed") when XᵀX cannot be inverted (a design holding a NaN or an infinity).
ModelSetup setupModel(sdm::DesignMatrix design);

// The confound mask of a design with p predictors: predictors firstConfound … p−1 (1-based) are
// confounds; the last predictor, the constant, never is. A first confound of p or more gives no
// confounds; one below 1 counts from the first predictor.
numerics::Vector confoundMask(std::int32_t nrOfPredictors, std::int32_t firstConfound);

}  // namespace compare
