#pragma once
// The summary quorvis prints after a session that saved files: for each map, what it holds over
// the voxels the plug-in analysed (count, minimum, median, maximum and the values that are not
// finite), and each residual run with its number of volumes. Background voxels hold 0 in every
// map, so statistics over the whole grid would say little; the plug-in analyses a voxel when its
// time course stays above a fixed intensity, and the host applies the same rule to the run as it
// was when the map was saved.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "host/save_listener.h"
#include "host/time_courses.h"

namespace host {

// The plug-in fits a voxel only when the smallest value of its time course exceeds this.
inline constexpr float kAnalysedIntensity = 100.0f;

// One byte per voxel (linear index), 1 where the plug-in analyses the voxel. The smallest value
// is taken as the plug-in takes it: start from volume 0 and replace it by every later value that
// is smaller. A NaN in volume 0 therefore fails the test, a NaN later on is passed over.
std::vector<std::uint8_t> analysedVoxels(const TimeCourses& run);

struct MapStatistics {
    std::size_t analysed = 0;   // voxels the plug-in analysed
    std::size_t nonFinite = 0;  // of those, values that are NaN or infinite
    // Over the finite values of the analysed voxels; none when there is no such value. The median
    // of an even count is the mean of the two middle values.
    std::optional<double> minimum;
    std::optional<double> median;
    std::optional<double> maximum;
};

// Statistics of `values` over the voxels marked in `analysed` (both one entry per voxel). Throws
// std::invalid_argument when the sizes differ.
MapStatistics mapStatistics(std::span<const float> values, std::span<const std::uint8_t> analysed);

class RunSummary : public SaveListener {
  public:
    std::string role() const override { return "summary"; }
    void mapSaved(const SavedMap& saved) override;
    void runSaved(const SavedRun& saved) override;

    bool empty() const { return maps_.empty() && runs_.empty(); }
    // A table of the maps and one of the residual runs, in the order they were saved; a table
    // without rows is left out. Numbers have five significant digits.
    void print(std::ostream& out) const;

  private:
    struct MapRow {
        std::string path;
        MapStatistics statistics;
    };
    std::vector<MapRow> maps_;
    std::vector<SavedRun> runs_;
};

}  // namespace host
