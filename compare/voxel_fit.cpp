#include "compare/voxel_fit.h"

#include <utility>

namespace compare {

float totalSumOfSquares(const numerics::Vector& y) {
    const float mean = y.mean();
    return (y - mean).squared().sum();
}

ModelFit fitModel(const ModelSetup& model, const numerics::Vector& y, float sst) {
    const numerics::Vector beta = model.projection * y;
    const numerics::Vector fit = model.x * beta;
    numerics::Vector cleaned = y - model.x * beta.elementwiseProduct(model.confoundMask);
    const float sse = (y - fit).squared().sum();

    const float n = static_cast<float>(y.count);
    const float p = static_cast<float>(model.x.cols);
    const float rSquared = 1.0f - sse / sst;
    const float adjustment = (n - 1.0f) / ((n - p) - 1.0f);

    ModelFit result{sse, cleaned.mean() / cleaned.stdDev(), 1.0f - (1.0f - rSquared) * adjustment,
                    std::move(cleaned)};
    return result;
}

float fBetweenModels(float sse1, float p1, float sse2, float p2, float n) {
    const bool secondIsFull = p2 > p1;
    const float sseFull = secondIsFull ? sse2 : sse1;
    const float pFull = secondIsFull ? p2 : p1;
    const float sseReduced = secondIsFull ? sse1 : sse2;
    const float pReduced = secondIsFull ? p1 : p2;
    return ((sseReduced - sseFull) / (pFull - pReduced)) / (sseFull / (n - pFull));
}

}  // namespace compare
