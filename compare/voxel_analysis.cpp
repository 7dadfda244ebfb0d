#include "compare/voxel_analysis.h"

#include <utility>

#include "compare/voxel_fit.h"

namespace compare {

ComparisonResult analyseVoxelsReference(const ModelSetup& model1, const ModelSetup& model2,
                                        std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
                                        std::int32_t nrOfVolumes, const float* const* timeCourses,
                                        bool keepResiduals1, bool keepResiduals2) {
    const numerics::Dimensions dim{dimX, dimY, dimZ};
    ComparisonResult result{numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            numerics::Volume(dim, 0.0f),
                            {},
                            {},
                            {}};

    const float n = static_cast<float>(nrOfVolumes);
    const float p1 = static_cast<float>(model1.x.cols);
    const float p2 = static_cast<float>(model2.x.cols);
    const std::int32_t voxelCount = result.F.voxelCount();
    numerics::Vector y(nrOfVolumes);
    for (std::int32_t i = 0; i < voxelCount; ++i) {
        for (std::int32_t t = 0; t < nrOfVolumes; ++t) y[t] = timeCourses[t][i];
        if (!(y.min() > kIntensityFloor)) continue;
        result.analysedVoxels.push_back(i);

        const float sst = totalSumOfSquares(y);
        ModelFit fit1 = fitModel(model1, y, sst);
        ModelFit fit2 = fitModel(model2, y, sst);
        result.tSNR1.data[i] = fit1.tSNR;
        result.R2adj1.data[i] = fit1.r2adj;
        result.tSNR2.data[i] = fit2.tSNR;
        result.R2adj2.data[i] = fit2.r2adj;
        if (p1 != p2) result.F.data[i] = fBetweenModels(fit1.sse, p1, fit2.sse, p2, n);
        if (keepResiduals1) result.keptResiduals1.push_back(std::move(fit1.cleaned));
        if (keepResiduals2) result.keptResiduals2.push_back(std::move(fit2.cleaned));
    }
    return result;
}

}  // namespace compare
