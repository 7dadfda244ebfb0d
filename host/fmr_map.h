#pragma once
// A map of the current run: one float volume of the run's size with the record the plug-in reads
// and sets (type, display thresholds, degrees of freedom), saved as a NIfTI-1 file.

#include <string>
#include <vector>

#include "host/geometry.h"
#include "plugin/host_records.h"

namespace host {

class FmrMap {
  public:
    // A map of zeros on `geometry`'s grid; its record carries the grid size and zeros elsewhere.
    explicit FmrMap(const Geometry& geometry);
    FmrMap(const FmrMap&) = delete;
    FmrMap& operator=(const FmrMap&) = delete;

    const MapHeader& header() const { return header_; }
    // Takes over everything in `header` but the grid size. Throws std::invalid_argument when the
    // record describes another grid.
    void setHeader(const MapHeader& header);

    // DimZ slices; slice z holds DimX·DimY floats, (x, y) at y·DimX + x. The host owns them.
    float** slices() { return slices_.data(); }
    const float* values() const { return values_.data(); }

  private:
    MapHeader header_{};
    std::vector<float> values_;
    std::vector<float*> slices_;
};

// Writes `map` to `path` as a 3D float32 NIfTI-1 file on `geometry` (the run's): the thresholds
// become cal_min and cal_max; an F map (MapType 4) gets the F-test intent with DF1 and DF2.
// Throws WriteError; an old file at `path` then stays as it was.
void saveMap(const FmrMap& map, const Geometry& geometry, const std::string& path);

}  // namespace host
