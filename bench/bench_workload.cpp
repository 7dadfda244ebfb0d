#include "bench/bench_workload.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "sdm/design_matrix.h"

namespace bench {
namespace {

// A small, fast generator: the run of W2 alone holds 184 million samples.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    double uniform() {  // [0, 1)
        state_ += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
    }
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // Near-normal: four uniforms, centred and scaled to unit variance.
    double normal() {
        return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508075688772;
    }

  private:
    std::uint64_t state_;
};

using Columns = std::vector<std::vector<double>>;

// Nested designs: [interest..., confounds...]; model 1 takes the first p1 − 1 columns, model 2
// the first p2 − 1, and each gets the constant appended as the run does.
Columns designColumns(std::int32_t n, std::int32_t p2, std::int32_t interest, Random& random) {
    Columns columns;
    double hrf[16], total = 0.0;
    for (int k = 0; k < 16; ++k) total += hrf[k] = std::exp(-k / 3.0) * k * k;
    for (std::int32_t i = 0; i < interest; ++i) {  // block designs, smoothed like a response
        std::vector<double> column(n, 0.0);
        for (std::int32_t t = 0; t < n; ++t) {
            for (int k = 0; k < 16 && k <= t; ++k) {
                const double box = ((t - k) / (10 + 5 * i)) % 2;
                column[t] += box * hrf[k] / total;
            }
        }
        columns.push_back(column);
    }
    for (std::int32_t i = 0; i < p2 - interest - 1; ++i) {  // random walks and cosine drifts
        std::vector<double> column(n);
        double walk = 0.0, mean = 0.0;
        for (std::int32_t t = 0; t < n; ++t) {
            column[t] = i % 2 == 0 ? (walk += random.normal())
                                   : std::cos(M_PI * (i / 2 + 1) * (t + 0.5) / n);
            mean += column[t] / n;
        }
        for (double& value : column) value -= mean;
        columns.push_back(column);
    }
    return columns;
}

compare::ModelSetup setUp(const Columns& columns, std::int32_t count, std::int32_t firstConfound,
                          const std::filesystem::path& file) {
    const std::size_t n = columns.at(0).size();
    std::ofstream out(file);
    out << "FileVersion: 1\nNrOfPredictors: " << count << "\nNrOfDataPoints: " << n
        << "\nIncludesConstant: 0\nFirstConfoundPredictor: " << firstConfound << "\n\n";
    for (std::int32_t j = 0; j < count; ++j) out << "255 0 0 ";
    out << "\n";
    for (std::int32_t j = 0; j < count; ++j) out << "\"P" << j + 1 << "\" ";
    out << "\n";
    char field[40];
    for (std::size_t t = 0; t < n; ++t) {
        for (std::int32_t j = 0; j < count; ++j) {
            std::snprintf(field, sizeof field, " %.9g", static_cast<float>(columns[j][t]));
            out << field;
        }
        out << "\n";
    }
    out.close();
    sdm::DesignMatrix design(file.string());
    design.addConstantIfMissing();
    return compare::setupModel(std::move(design));
}

}  // namespace

Workload makeWorkload(const std::string& name) {
    if (name != "W1" && name != "W2") {
        throw std::runtime_error("unknown workload '" + name + "' (expected W1 or W2)");
    }
    const bool first = name == "W1";
    const std::int32_t dimX = first ? 64 : 80, dimY = first ? 64 : 80, dimZ = first ? 30 : 48;
    const std::int32_t n = first ? 200 : 600, p1 = first ? 4 : 8, p2 = first ? 11 : 30;
    const std::int32_t interest = first ? 1 : 2;
    const double fraction = first ? 0.45 : 0.40;
    Random random(1);

    const Columns columns = designColumns(n, p2, interest, random);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tandrel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    compare::ModelSetup model1 = setUp(columns, p1 - 1, interest + 1, folder / "model1.sdm");
    compare::ModelSetup model2 = setUp(columns, p2 - 1, interest + 1, folder / "model2.sdm");
    std::filesystem::remove_all(folder);

    // An ellipsoid 'brain' holding the fraction of the voxels, dark background outside.
    const std::int32_t voxels = dimX * dimY * dimZ;
    std::vector<double> radius(voxels);
    for (std::int32_t i = 0; i < voxels; ++i) {
        const double x = (i % dimX + 0.5) / dimX - 0.5, y = (i / dimX % dimY + 0.5) / dimY - 0.5;
        const double z = (i / dimX / dimY + 0.5) / dimZ - 0.5;
        radius[i] = x * x + y * y + z * z;
    }
    std::vector<double> sorted = radius;
    const auto cut = static_cast<std::ptrdiff_t>(fraction * (voxels - 1));
    std::nth_element(sorted.begin(), sorted.begin() + cut, sorted.end());
    const double inside = sorted[cut];

    // The task and two confounds move the brain's signal by up to a few per cent.
    double scale[3];
    for (int j = 0; j < 3; ++j) {
        scale[j] = 0.0;
        for (double value : columns[j]) scale[j] = std::max(scale[j], std::abs(value));
    }
    std::vector<std::vector<float>> data(n, std::vector<float>(voxels));
    for (std::int32_t i = 0; i < voxels; ++i) {
        const bool brain = radius[i] <= inside;
        const double base = brain ? random.uniform(400, 1200) : random.uniform(0, 60);
        const double noise = brain ? 0.02 * base : 10.0;
        double amplitude[3];
        for (double& a : amplitude) a = brain ? random.uniform(-0.01, 0.03) * base : 0.0;
        for (std::int32_t t = 0; t < n; ++t) {
            double value = base + noise * random.normal();
            for (int j = 0; j < 3; ++j) value += amplitude[j] * columns[j][t] / scale[j];
            data[t][i] = static_cast<float>(value);
        }
    }
    Workload w{
        name, dimX, dimY, dimZ, n, p1, p2, std::move(model1), std::move(model2), std::move(data),
        {}};
    for (const std::vector<float>& volume : w.data) w.timeCourses.push_back(volume.data());
    return w;
}

double matVecFlops(std::int32_t volumes, std::int32_t predictors) {
    const double n = volumes, p = predictors;
    return p * (2 * n - 1) + 2 * n * (2 * p - 1);
}

}  // namespace bench
