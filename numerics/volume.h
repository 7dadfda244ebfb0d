#pragma once
// An owning 3-D grid of single-precision values, one per voxel of the functional run: the tSNR,
// adjusted R² and F maps. Voxel (x, y, z) is data[x + dim.x * (y + dim.y * z)], the same linear
// voxel index as in the host's time-course data.

#include <cstdint>

namespace numerics {

struct Dimensions {
    std::int32_t x;
    std::int32_t y;
    std::int32_t z;
};

struct Volume {
    Dimensions dim;
    float* data;  // owned, dim.x * dim.y * dim.z elements; null after a move

    Volume(const Dimensions& dim, float value);
    Volume(const Volume& other);
    Volume(Volume&& other) noexcept;  // other keeps its dimensions, loses its array
    Volume& operator=(const Volume& other);
    Volume& operator=(Volume&& other) noexcept;
    ~Volume();

    std::int32_t voxelCount() const { return dim.x * dim.y * dim.z; }

    // Voxel by voxel difference; `other` must have at least as many voxels.
    Volume operator-(const Volume& other) const;
    // The largest value; a NaN first voxel is returned, a later NaN is passed over.
    float max() const;

  private:
    explicit Volume(const Dimensions& dim);  // uninitialised
};

}  // namespace numerics
