#pragma once
// The time courses of the current run as the host keeps them in memory: one block of 32-bit
// floats, volume-major, and the array of per-volume pointers that the plug-in receives.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "host/geometry.h"

namespace host {

// A block of floats allocated with malloc: the NIfTI reader fills it in place, so a float run is
// read straight into the memory the plug-in works on, without a second copy.
struct FreeDeleter {
    void operator()(void* block) const noexcept { std::free(block); }
};
using FloatBlock = std::unique_ptr<float[], FreeDeleter>;

// Allocates `count` floats; throws std::bad_alloc when memory is short.
FloatBlock allocateFloats(std::size_t count);

class TimeCourses {
  public:
    // Takes the block of `nrOfVolumes` volumes of `geometry`'s size.
    TimeCourses(Geometry geometry, std::int32_t nrOfVolumes, FloatBlock values);

    const Geometry& geometry() const { return geometry_; }
    std::int32_t nrOfVolumes() const { return static_cast<std::int32_t>(volumes_.size()); }
    std::size_t voxelsPerVolume() const { return geometry_.voxelCount(); }

    // volume t starts at volumes()[t]; voxel (x, y, z) lies at x + DimX·(y + DimY·z).
    float** volumes() { return volumes_.data(); }
    const float* const* volumes() const { return volumes_.data(); }

  private:
    Geometry geometry_;
    FloatBlock values_;
    std::vector<float*> volumes_;
};

}  // namespace host
