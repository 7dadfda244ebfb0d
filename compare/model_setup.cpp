#include "compare/model_setup.h"

#include <algorithm>
#include <utility>

namespace compare {

numerics::Vector confoundMask(std::int32_t nrOfPredictors, std::int32_t firstConfound) {
    numerics::Vector mask(nrOfPredictors, 0.0f);
    for (std::int32_t k = std::max(firstConfound - 1, 0); k <= nrOfPredictors - 2; ++k) {
        mask[k] = 1.0f;
    }
    return mask;
}

ModelSetup setupModel(sdm::DesignMatrix design) {
    numerics::Vector mask =
        confoundMask(design.nrOfPredictors.value, design.firstConfoundPredictor.value);
    numerics::Matrix x = sdm::toMatrix(design);

    // X's single-precision values convert to double exactly; the products keep the orders of the
    // single-precision ones, only the element type is wider. P is rounded to single once, so the
    // per-voxel fit sees the best single-precision projection rather than the error of a
    // single-precision pseudo-inverse of an ill-conditioned XᵀX.
    const numerics::BasicMatrix<double> wideX = numerics::convertMatrix<double>(x);
    numerics::BasicMatrix<double> xtxInverse = numerics::inverse(wideX.transposed() * wideX);
    numerics::Matrix projection = numerics::convertMatrix<float>(xtxInverse * wideX.transposed());

    return ModelSetup{std::move(design), std::move(mask), std::move(x), std::move(xtxInverse),
                      std::move(projection)};
}

}  // namespace compare
