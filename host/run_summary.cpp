#include "host/run_summary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iomanip>
#include <stdexcept>

namespace host {
namespace {

constexpr int kNumberWidth = 12;

// Five significant digits, the same on every platform (std::to_chars does not go through the C
// library's printf, whose output differs between Linux and Windows).
std::string number(const std::optional<double>& value) {
    if (!value) return "-";
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, *value, std::chars_format::general, 5);
    return std::string(text, result.ptr);
}

std::size_t nameWidth(const std::string& heading, const std::vector<std::string>& names) {
    std::size_t width = heading.size();
    for (const std::string& name : names) width = std::max(width, name.size());
    return width + 2;
}

}  // namespace

std::vector<std::uint8_t> analysedVoxels(const TimeCourses& run) {
    const std::size_t voxels = run.voxelsPerVolume();
    if (run.nrOfVolumes() == 0) return std::vector<std::uint8_t>(voxels, 0);
    const float* const* volumes = run.volumes();
    std::vector<float> smallest(volumes[0], volumes[0] + voxels);
    for (std::int32_t t = 1; t < run.nrOfVolumes(); ++t) {
        const float* volume = volumes[t];
        for (std::size_t i = 0; i < voxels; ++i) {
            if (smallest[i] > volume[i]) smallest[i] = volume[i];
        }
    }
    std::vector<std::uint8_t> analysed(voxels);
    for (std::size_t i = 0; i < voxels; ++i) analysed[i] = smallest[i] > kAnalysedIntensity;
    return analysed;
}

MapStatistics mapStatistics(std::span<const float> values, std::span<const std::uint8_t> analysed) {
    if (values.size() != analysed.size()) {
        throw std::invalid_argument("map statistics: " + std::to_string(values.size()) +
                                    " values for a run of " + std::to_string(analysed.size()) +
                                    " voxels");
    }
    MapStatistics statistics;
    std::vector<float> finite;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!analysed[i]) continue;
        ++statistics.analysed;
        if (std::isfinite(values[i])) {
            finite.push_back(values[i]);
        } else {
            ++statistics.nonFinite;
        }
    }
    if (finite.empty()) return statistics;
    const auto [lowest, highest] = std::minmax_element(finite.begin(), finite.end());
    statistics.minimum = *lowest;
    statistics.maximum = *highest;
    const std::size_t middle = finite.size() / 2;
    std::nth_element(finite.begin(), finite.begin() + middle, finite.end());
    const double upper = finite[middle];
    if (finite.size() % 2 == 1) {
        statistics.median = upper;
    } else {
        const double lower = *std::max_element(finite.begin(), finite.begin() + middle);
        statistics.median = (lower + upper) / 2.0;
    }
    return statistics;
}

void RunSummary::mapSaved(const SavedMap& saved) {
    const std::vector<std::uint8_t> analysed = analysedVoxels(saved.run);
    const std::span<const float> values(saved.map.values(), saved.run.voxelsPerVolume());
    maps_.push_back(MapRow{saved.path, mapStatistics(values, analysed)});
}

void RunSummary::runSaved(const SavedRun& saved) {
    runs_.push_back(saved);
}

void RunSummary::print(std::ostream& out) const {
    out << "\nSummary of the saved files (analysed voxels: those whose time course stays above "
        << number(kAnalysedIntensity) << ")\n";
    if (!maps_.empty()) {
        std::vector<std::string> names;
        for (const MapRow& row : maps_) names.push_back(row.path);
        const std::size_t width = nameWidth("map", names);
        out << std::left << std::setw(static_cast<int>(width)) << "map" << std::right;
        for (const char* heading : {"analysed", "minimum", "median", "maximum", "non-finite"}) {
            out << std::setw(kNumberWidth) << heading;
        }
        out << "\n";
        for (const MapRow& row : maps_) {
            const MapStatistics& s = row.statistics;
            out << std::left << std::setw(static_cast<int>(width)) << row.path << std::right
                << std::setw(kNumberWidth) << s.analysed << std::setw(kNumberWidth)
                << number(s.minimum) << std::setw(kNumberWidth) << number(s.median)
                << std::setw(kNumberWidth) << number(s.maximum) << std::setw(kNumberWidth)
                << s.nonFinite << "\n";
        }
    }
    if (!runs_.empty()) {
        std::vector<std::string> names;
        for (const SavedRun& run : runs_) names.push_back(run.fmrPath);
        const std::size_t width = nameWidth("residual run", names);
        out << std::left << std::setw(static_cast<int>(width)) << "residual run" << std::right
            << std::setw(kNumberWidth) << "volumes"
            << "  time courses\n";
        for (const SavedRun& run : runs_) {
            out << std::left << std::setw(static_cast<int>(width)) << run.fmrPath << std::right
                << std::setw(kNumberWidth) << run.volumes << "  " << run.stcPath << "\n";
        }
    }
    out.flush();
}

}  // namespace host
