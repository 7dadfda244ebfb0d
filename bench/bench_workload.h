#pragma once
// The benchmark workloads generated in memory, laid out as the host hands a run over, and the
// FLOPs of their matrix-vector products.

#include <cstdint>
#include <string>
#include <vector>

#include "compare/model_setup.h"

namespace bench {

struct Workload {
    std::string name;
    std::int32_t dimX, dimY, dimZ, volumes;
    std::int32_t p1, p2;  // predictors, the constant included
    compare::ModelSetup model1;
    compare::ModelSetup model2;
    std::vector<std::vector<float>> data;  // one array per volume, at the linear voxel index
    std::vector<const float*> timeCourses;
};

// "W1" or "W2"; throws std::runtime_error for any other name.
Workload makeWorkload(const std::string& name);

// FLOPs of P·y, X·β and X·(β ∘ mask) for one voxel and one model: p(2N − 1) + 2·N(2p − 1).
double matVecFlops(std::int32_t volumes, std::int32_t predictors);

}  // namespace bench
