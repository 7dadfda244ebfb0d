#include "host/demo/demo_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "host/demo/head_phantom.h"
#include "host/demo/random.h"
#include "host/demo/regressors.h"

namespace host::demo {
namespace {

constexpr double kVoxelSize = 3.0;
constexpr double kRepetitionTime = 2.0;
constexpr double kBlockSeconds = 20.0;
constexpr double kTaskChange = 0.02;   // 2 % signal change at the centre of a blob
constexpr double kDriftChange = 0.01;  // 1 % up or down at the ends of the run
constexpr double kNoise = 10.0;        // thermal noise, 1 % of the tissue signal
constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr int kMotion = 6;

void checkRange(const char* option, long long value, long long lowest, long long highest) {
    if (value < lowest || value > highest) {
        throw std::invalid_argument(std::string(option) + " must be between " +
                                    std::to_string(lowest) + " and " + std::to_string(highest) +
                                    ", found " + std::to_string(value));
    }
}

void checkOptions(const DemoOptions& o) {
    checkRange("dimension X", o.dimX, 4, 1024);
    checkRange("dimension Y", o.dimY, 4, 1024);
    checkRange("dimension Z", o.dimZ, 4, 1024);
    checkRange("volumes", o.volumes, 10, 100000);
    checkRange("number of values in the run (X * Y * Z * volumes)",
               static_cast<long long>(o.dimX) * o.dimY * o.dimZ * o.volumes, 1, 1ll << 31);
}

std::vector<double> asWritten(std::vector<double> values) {
    for (double& v : values) v = sdmValue(v);
    return values;
}

Predictor constantPredictor(std::size_t volumes) {
    return {"Constant", {255, 255, 255}, std::vector<double>(volumes, 1.0)};
}

// Model 1: the task and the constant, which is its only confound.
Design taskModel(const std::vector<double>& task) {
    return Design{{{"Task", {255, 0, 0}, task}, constantPredictor(task.size())}, 2, true};
}

// Model 2: the task, then the confounds: six motion parameters, the drift and the constant.
Design fullModel(const std::vector<double>& task, const std::array<std::vector<double>, 6>& motion,
                 const std::vector<double>& drift) {
    static constexpr const char* kNames[kMotion] = {"Trans X (mm)", "Trans Y (mm)", "Trans Z (mm)",
                                                    "Rot X (deg)",  "Rot Y (deg)",  "Rot Z (deg)"};
    static constexpr std::array<int, 3> kColours[kMotion] = {
        {0, 128, 255}, {0, 192, 128}, {128, 64, 255}, {255, 128, 0}, {255, 192, 0}, {192, 0, 128}};
    Design design{{{"Task", {255, 0, 0}, task}}, 2, true};
    for (int k = 0; k < kMotion; ++k) {
        design.predictors.push_back({kNames[k], kColours[k], motion[k]});
    }
    design.predictors.push_back({"Drift", {128, 128, 128}, drift});
    design.predictors.push_back(constantPredictor(task.size()));
    return design;
}

// How strongly each motion parameter changes each voxel: the intensity gradient dotted with the
// displacement that a unit of the parameter causes there (1 mm along an axis, or 1 degree about
// an axis through the centre of the grid).
std::vector<std::array<double, kMotion>> motionSensitivity(const HeadPhantom& head,
                                                           const RunGeometry& g) {
    std::vector<std::array<double, kMotion>> sensitivity(g.voxelCount());
    std::size_t v = 0;
    for (int z = 0; z < g.dimZ; ++z) {
        for (int y = 0; y < g.dimY; ++y) {
            for (int x = 0; x < g.dimX; ++x, ++v) {
                const Point p = head.position(x, y, z);
                const Point d = head.gradient(p);
                sensitivity[v] = {d[0],
                                  d[1],
                                  d[2],
                                  kDegree * (d[2] * p[1] - d[1] * p[2]),
                                  kDegree * (d[0] * p[2] - d[2] * p[0]),
                                  kDegree * (d[1] * p[0] - d[0] * p[1])};
            }
        }
    }
    return sensitivity;
}

// Tissue voxels whose motion-induced signal change (its RMS over the run) is in the top tenth.
std::vector<std::uint8_t> edgeMask(const std::vector<std::array<double, kMotion>>& sensitivity,
                                   const std::array<std::vector<double>, 6>& motion,
                                   const std::vector<std::uint8_t>& tissue) {
    const std::size_t n = motion[0].size();
    std::array<double, kMotion> mean{};
    for (int k = 0; k < kMotion; ++k) {
        for (double m : motion[k]) mean[k] += m;
        mean[k] /= static_cast<double>(n);
    }
    std::array<std::array<double, kMotion>, kMotion> covariance{};
    for (int j = 0; j < kMotion; ++j) {
        for (int k = 0; k < kMotion; ++k) {
            for (std::size_t t = 0; t < n; ++t) {
                covariance[j][k] += (motion[j][t] - mean[j]) * (motion[k][t] - mean[k]);
            }
            covariance[j][k] /= static_cast<double>(n);
        }
    }
    std::vector<double> effect(sensitivity.size(), 0.0);
    std::vector<double> tissueEffects;
    for (std::size_t v = 0; v < sensitivity.size(); ++v) {
        for (int j = 0; j < kMotion; ++j) {
            for (int k = 0; k < kMotion; ++k) {
                effect[v] += sensitivity[v][j] * covariance[j][k] * sensitivity[v][k];
            }
        }
        if (tissue[v]) tissueEffects.push_back(effect[v]);
    }
    std::vector<std::uint8_t> edge(sensitivity.size(), 0);
    if (tissueEffects.empty()) return edge;
    const auto cut = tissueEffects.begin() + static_cast<long>(tissueEffects.size() * 9 / 10);
    std::nth_element(tissueEffects.begin(), cut, tissueEffects.end());
    for (std::size_t v = 0; v < edge.size(); ++v) edge[v] = tissue[v] && effect[v] >= *cut;
    return edge;
}

}  // namespace

DemoRun makeDemoRun(const DemoOptions& options) {
    checkOptions(options);
    DemoRun run;
    RunGeometry& g = run.geometry;
    g = {options.dimX, options.dimY, options.dimZ, options.volumes, kVoxelSize, kRepetitionTime};
    const std::size_t voxels = g.voxelCount();
    const int n = g.volumes;

    // The data are made from the regressors exactly as the SDM files hold them.
    Random random(options.seed);
    const std::vector<double> task = asWritten(taskRegressor(n, kRepetitionTime, kBlockSeconds));
    std::array<std::vector<double>, 6> motion = motionParameters(n, random);
    for (auto& series : motion) series = asWritten(series);
    const std::vector<double> drift = asWritten(linearDrift(n, false));
    run.taskModel = taskModel(task);
    run.fullModel = fullModel(task, motion, asWritten(linearDrift(n, options.rawDrift)));

    const HeadPhantom head(g.dimX, g.dimY, g.dimZ, kVoxelSize);
    std::vector<double> baseline(voxels);
    std::vector<double> activation(voxels);
    std::size_t v = 0;
    for (int z = 0; z < g.dimZ; ++z) {
        for (int y = 0; y < g.dimY; ++y) {
            for (int x = 0; x < g.dimX; ++x, ++v) {
                const Point p = head.position(x, y, z);
                baseline[v] = head.intensity(p);
                activation[v] = head.activation(p);
            }
        }
    }
    const auto sensitivity = motionSensitivity(head, g);

    run.timeCourses.resize(voxels * static_cast<std::size_t>(n));
    std::vector<double> lowest(voxels, HUGE_VAL);
    std::vector<double> highest(voxels, -HUGE_VAL);
    for (int t = 0; t < n; ++t) {
        float* volume = run.timeCourses.data() + voxels * static_cast<std::size_t>(t);
        const double driftFactor = 1.0 + kDriftChange * drift[t];
        const double taskFactor = kTaskChange * task[t];
        for (v = 0; v < voxels; ++v) {
            double signal = baseline[v] * (driftFactor + taskFactor * activation[v]);
            for (int k = 0; k < kMotion; ++k) signal -= motion[k][t] * sensitivity[v][k];
            lowest[v] = std::min(lowest[v], signal);
            highest[v] = std::max(highest[v], signal);
            // Magnitude images, whose noise folds at zero in the background, stored as the
            // scanner's whole numbers.
            volume[v] =
                static_cast<float>(std::round(std::fabs(signal + kNoise * random.normal())));
        }
    }

    run.tissue.resize(voxels);
    run.background.resize(voxels);
    run.activated.resize(voxels);
    for (v = 0; v < voxels; ++v) {
        run.tissue[v] = lowest[v] > 200.0;
        run.background[v] = highest[v] < 50.0;
        run.activated[v] = run.tissue[v] && activation[v] >= 0.5;
    }
    run.edge = edgeMask(sensitivity, motion, run.tissue);
    return run;
}

}  // namespace host::demo
