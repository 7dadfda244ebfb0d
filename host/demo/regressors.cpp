#include "host/demo/regressors.h"

#include <algorithm>
#include <cmath>

#include "host/demo/portable_math.h"

namespace host::demo {
namespace {

constexpr double kMotionRms = 0.2;
constexpr int kJumps = 3;

// Gamma density of integer shape a and unit scale: t^(a-1) e^-t / (a-1)!.
double gammaDensity(int shape, double t) {
    double value = portableExp(-t);
    for (int n = 1; n < shape; ++n) value = value * t / n;
    return value;
}

// Binomial smoothing over seven volumes, with the ends held.
std::vector<double> smoothed(const std::vector<double>& x) {
    static constexpr double kWeights[] = {1, 6, 15, 20, 15, 6, 1};
    const int n = static_cast<int>(x.size());
    std::vector<double> y(x.size(), 0.0);
    for (int t = 0; t < n; ++t) {
        double sum = 0.0;
        for (int j = -3; j <= 3; ++j) sum += kWeights[j + 3] * x[std::clamp(t + j, 0, n - 1)];
        y[t] = sum / 64.0;
    }
    return y;
}

void scaleToRms(std::vector<double>& x, double rms) {
    double mean = 0.0;
    for (double v : x) mean += v;
    mean /= static_cast<double>(x.size());
    double squares = 0.0;
    for (double v : x) squares += (v - mean) * (v - mean);
    const double current = std::sqrt(squares / static_cast<double>(x.size()));
    if (current == 0.0) return;
    for (double& v : x) v = (v - mean) * (rms / current);
}

}  // namespace

double canonicalHaemodynamicResponse(double seconds) {
    if (seconds <= 0.0) return 0.0;
    return gammaDensity(6, seconds) - gammaDensity(16, seconds) / 6.0;
}

std::vector<double> taskRegressor(int volumes, double repetitionTime, double blockSeconds) {
    // Convolve on a grid 16 times finer than the repetition time, over 32 s of response.
    const double step = repetitionTime / 16.0;
    const int responseSteps = static_cast<int>(32.0 / step);
    std::vector<double> response(responseSteps);
    double plateau = 0.0;
    for (int j = 0; j < responseSteps; ++j) {
        response[j] = canonicalHaemodynamicResponse(j * step) * step;
        plateau += response[j];
    }
    std::vector<double> regressor(volumes, 0.0);
    for (int t = 0; t < volumes; ++t) {
        const double time = t * repetitionTime;
        double sum = 0.0;
        for (int j = 0; j < responseSteps; ++j) {
            const double onset = time - j * step;
            const bool task = onset >= 0.0 && static_cast<long>(onset / blockSeconds) % 2 == 1;
            if (task) sum += response[j];
        }
        regressor[t] = sum / plateau;
    }
    return regressor;
}

std::array<std::vector<double>, 6> motionParameters(int volumes, Random& random) {
    std::array<std::vector<double>, 6> parameters;
    for (auto& series : parameters) {
        std::vector<double> walk(volumes, 0.0);
        for (int t = 1; t < volumes; ++t) walk[t] = walk[t - 1] + random.normal();
        series = smoothed(walk);
        scaleToRms(series, kMotionRms);
    }
    for (int jump = 0; jump < kJumps; ++jump) {
        const int at = volumes / 10 + static_cast<int>(random.uniform() * (volumes * 8 / 10));
        for (auto& series : parameters) {
            const double size = 0.6 * kMotionRms * random.normal();
            for (int t = at; t < volumes; ++t) series[t] += size;
        }
    }
    for (auto& series : parameters) {
        const double reference = series[0];
        for (double& v : series) v -= reference;
    }
    return parameters;
}

std::vector<double> linearDrift(int volumes, bool raw) {
    std::vector<double> drift(volumes, 0.0);
    for (int t = 0; t < volumes; ++t) {
        drift[t] = raw || volumes < 2 ? t : 2.0 * t / (volumes - 1) - 1.0;
    }
    return drift;
}

}  // namespace host::demo
