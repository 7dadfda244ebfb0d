#include "sdm/design_matrix.h"

#include <cstddef>
#include <stdexcept>

#include "sdm/path_names.h"

namespace sdm {
namespace {

// A non-zero constant: non-empty, first value not 0, every value equal to the first. Exact
// single-precision comparison, in which a NaN equals nothing, so a NaN is never a constant.
bool isNonZeroConstant(const std::vector<float>& values) {
    if (values.empty() || values.front() == 0.0f) return false;
    for (const float v : values) {
        if (!(v == values.front())) return false;
    }
    return true;
}

template <typename T>
void insertAt(std::vector<T>& sequence, std::size_t fromEnd, const T& element) {
    sequence.insert(sequence.end() - static_cast<std::ptrdiff_t>(fromEnd), element);
}

}  // namespace

bool DesignMatrix::hasConstant() const {
    return !columns.empty() && isNonZeroConstant(columns.back());
}

void DesignMatrix::addPredictor(const std::vector<float>& values, const std::string& name,
                                std::int32_t red, std::int32_t green, std::int32_t blue,
                                bool asConfound) {
    if (nrOfDataPoints.value < 0 || values.size() != static_cast<std::size_t>(nrOfDataPoints.value))
        return;
    const bool hadConstant = hasConstant();
    const bool newIsConstant = isNonZeroConstant(values);
    if (newIsConstant && hadConstant) return;  // a design holds one constant

    // Number of predictors that stay behind the new one.
    const std::int64_t count = static_cast<std::int64_t>(columns.size());
    std::int64_t behind = hadConstant ? 1 : 0;
    if (!asConfound) {
        // The predictor of interest goes just before the first confound; a first confound
        // outside 1..P+1 names no place in the design.
        const std::int64_t first = firstConfoundPredictor.value;
        if (first < 1 || first > count + 1)
            throw std::invalid_argument(fileName(path) +
                                        ": cannot add the predictor of interest \"" + name +
                                        "\": FirstConfoundPredictor is " + std::to_string(first) +
                                        ", expected 1 to " + std::to_string(count + 1));
        behind = count - first + 1;
    }

    const auto fromEnd = static_cast<std::size_t>(behind);
    insertAt(columns, fromEnd, values);
    insertAt(predictorNames, fromEnd, name);
    insertAt(this->blue, fromEnd, blue);
    insertAt(this->green, fromEnd, green);
    insertAt(this->red, fromEnd, red);
    nrOfPredictors.value = static_cast<std::int32_t>(columns.size());
    if (!asConfound) ++firstConfoundPredictor.value;  // the confounds moved one place back
    if (newIsConstant) includesConstant.value = true;
}

void DesignMatrix::addConstantIfMissing() {
    if (!hasConstant()) {
        // The design has no constant, so the ones go last and count among the confounds;
        // firstConfoundPredictor stays.
        const auto n =
            static_cast<std::size_t>(nrOfDataPoints.value < 0 ? 0 : nrOfDataPoints.value);
        addPredictor(std::vector<float>(n, 1.0f), "Constant", 255, 255, 255, true);
    }
    nrOfPredictors.value = static_cast<std::int32_t>(columns.size());
    includesConstant.value = true;
}

numerics::Matrix toMatrix(const DesignMatrix& design) {
    const std::int32_t rows = design.nrOfDataPoints.value;
    const std::int32_t predictors = design.nrOfPredictors.value;
    const std::int32_t cols = predictors + (design.hasConstant() ? 0 : 1);
    // Filled with ones, so the extra last column (when there is one) is the constant.
    numerics::Matrix matrix(rows, cols, 1.0f);
    for (std::int32_t j = 0; j < predictors; ++j) {
        const std::vector<float>& column = design.columns[static_cast<std::size_t>(j)];
        float* target = matrix.data + static_cast<std::ptrdiff_t>(j) * rows;
        for (std::int32_t i = 0; i < rows; ++i) target[i] = column[static_cast<std::size_t>(i)];
    }
    return matrix;
}

}  // namespace sdm
