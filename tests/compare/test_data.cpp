#include "tests/compare/test_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace compare::test {
namespace {

// A normal deviate from two uniform ones (Box–Muller), so the data do not depend on the standard
// library's choice of algorithm for std::normal_distribution.
double normal(std::mt19937& random) {
    const double u1 = (static_cast<double>(random()) + 1.0) / 4294967297.0;
    const double u2 = static_cast<double>(random()) / 4294967296.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

}  // namespace

std::vector<float> blockTask(std::int32_t n, std::int32_t period) {
    std::vector<float> task(n);
    double smoothed = 0.0;
    for (std::int32_t t = 0; t < n; ++t) {
        const double on = (t / period) % 2 == 1 ? 1.0 : 0.0;
        smoothed += (on - smoothed) * 0.35;
        task[t] = static_cast<float>(smoothed);
    }
    return task;
}

Columns motionSeries(std::int32_t n, std::int32_t count, std::uint32_t seed) {
    std::mt19937 random(seed);
    Columns series(count, std::vector<float>(n));
    for (std::vector<float>& column : series) {
        double value = 0.0;
        for (float& sample : column) {
            value = 0.95 * value + 0.05 * normal(random);
            sample = static_cast<float>(value);
        }
    }
    return series;
}

std::vector<float> linearDrift(std::int32_t n) {
    std::vector<float> drift(n);
    for (std::int32_t t = 0; t < n; ++t) drift[t] = static_cast<float>(t);
    return drift;
}

std::vector<float> constant(std::int32_t n, float value) {
    return std::vector<float>(n, value);
}

std::string exactSdmText(const Columns& columns, std::int32_t firstConfound) {
    const std::size_t rows = columns.empty() ? 0 : columns[0].size();
    std::string text =
        "FileVersion:            1\n\nNrOfPredictors:         " + std::to_string(columns.size()) +
        "\nNrOfDataPoints:         " + std::to_string(rows) +
        "\nIncludesConstant:       0\nFirstConfoundPredictor: " + std::to_string(firstConfound) +
        "\n\n";
    for (std::size_t j = 0; j < columns.size(); ++j) text += "255 0 0 ";
    text += "\n";
    for (std::size_t j = 0; j < columns.size(); ++j) text += "\"P" + std::to_string(j + 1) + "\" ";
    text += "\n";
    for (std::size_t i = 0; i < rows; ++i) {
        for (const std::vector<float>& column : columns) {
            char field[40];
            std::snprintf(field, sizeof field, " %.9g", static_cast<double>(column[i]));
            text += field;
        }
        text += "\n";
    }
    return text;
}

std::vector<std::vector<float>> syntheticRun(std::int32_t voxels, const Columns& columns,
                                             float sigma, std::uint32_t seed) {
    std::mt19937 random(seed);
    const std::int32_t n = static_cast<std::int32_t>(columns.at(0).size());
    std::vector<std::vector<float>> volumes(n, std::vector<float>(voxels));
    for (std::int32_t i = 0; i < voxels; ++i) {
        const bool background = i % 4 == 3;
        const double baseline = background ? 50.0 : 600.0 + 40.0 * (i % 7);
        // Each predictor moves the signal by some tens at most, whatever its own scale.
        std::vector<double> weights;
        for (const std::vector<float>& column : columns) {
            double range = 1.0;
            for (float value : column) range = std::max(range, std::fabs(double(value)));
            weights.push_back(background ? 0.0 : 20.0 * normal(random) / range);
        }
        for (std::int32_t t = 0; t < n; ++t) {
            double value = baseline + sigma * normal(random);
            for (std::size_t j = 0; j < columns.size(); ++j) value += weights[j] * columns[j][t];
            volumes[t][i] = static_cast<float>(value);
        }
    }
    return volumes;
}

}  // namespace compare::test
