#pragma once
// The ordinary-least-squares fit of one model to one voxel's time course, and the F value between
// two fits. This is the reference arithmetic: every operation is single precision, each sum runs
// from the first volume to the last with one accumulator, and any faster voxel engine has to
// reproduce its results to the bit.

#include "compare/model_setup.h"
#include "numerics/vector.h"

namespace compare {

// What one model's fit leaves for one voxel.
struct ModelFit {
    float sse;    // residual sum of squares, Σ (y − X·β)²
    float tSNR;   // mean over sample standard deviation of the cleaned time course
    float r2adj;  // adjusted R², with p counting every column, the constant included
    // y − X·(β ∘ mask): the data with the fitted confound signal removed; it keeps the constant,
    // the fitted signal of interest and the residual.
    numerics::Vector cleaned;
};

// Σ (y − mean(y))², the total sum of squares that both models' R² share.
float totalSumOfSquares(const numerics::Vector& y);

// Fits model to y (NrOfVolumes values) given its total sum of squares. Divisions are not guarded:
// a constant cleaned time course gives an infinite tSNR, an SST of 0 a non-finite R².
ModelFit fitModel(const ModelSetup& model, const numerics::Vector& y, float sst);

// The F value of the nested-model test between two fits with different predictor counts p1 ≠ p2
// over n volumes: the model with more predictors is the full model f, the other the reduced r,
// F = ((SSE_r − SSE_f) / (p_f − p_r)) / (SSE_f / (n − p_f)).
float fBetweenModels(float sse1, float p1, float sse2, float p2, float n);

}  // namespace compare
