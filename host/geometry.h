#pragma once
// Where a run's voxels lie in space: the grid size, the voxel sizes and the two orientations a
// NIfTI-1 header carries (qform and sform). Maps and saved runs take it over from the run they
// belong to, so a viewer overlays them on the run exactly.

#include <cstddef>
#include <cstdint>

namespace host {

struct Geometry {
    std::int32_t dim[3] = {0, 0, 0};  // voxels along x, y and z
    float voxelSize[3] = {1.0f, 1.0f, 1.0f};
    float repetitionTime = 0.0f;            // spacing of the volumes, in the time unit of xyztUnits
    std::uint8_t xyztUnits = 0;             // NIfTI-1 space and time unit codes, packed
    std::int16_t qformCode = 0;             // 0: no qform
    float quatern[3] = {0.0f, 0.0f, 0.0f};  // b, c, d
    float qoffset[3] = {0.0f, 0.0f, 0.0f};
    float qfac = 1.0f;           // handedness of the qform, +1 or -1
    std::int16_t sformCode = 0;  // 0: no sform
    float srow[3][4] = {};       // the sform's rows

    std::size_t voxelCount() const {
        return static_cast<std::size_t>(dim[0]) * static_cast<std::size_t>(dim[1]) *
               static_cast<std::size_t>(dim[2]);
    }
};

}  // namespace host
