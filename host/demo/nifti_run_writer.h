#pragma once
// A functional run on disk as a single-file NIfTI-1 image (.nii, or gzip-compressed .nii.gz):
// float32 voxels, isotropic voxels centred on the scanner origin with identical qform and sform,
// and the repetition time as the fourth pixel dimension, in mm and seconds.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace host::demo {

struct RunGeometry {
    int dimX = 0;
    int dimY = 0;
    int dimZ = 0;
    int volumes = 0;
    double voxelSize = 3.0;       // mm
    double repetitionTime = 2.0;  // s

    std::size_t voxelCount() const {
        return static_cast<std::size_t>(dimX) * static_cast<std::size_t>(dimY) *
               static_cast<std::size_t>(dimZ);
    }
};

// Writes the time courses (volume after volume, voxel x + dimX * (y + dimY * z) within a volume)
// atomically; a name ending in ".gz" is compressed. `description` (at most 79 characters kept)
// goes to the header's description field. Throws std::invalid_argument when the buffer does not
// match the geometry and host::WriteError naming the path when the file cannot be written.
void writeRunNifti(const RunGeometry& geometry, std::span<const float> timeCourses,
                   const std::filesystem::path& path, const std::string& description);

}  // namespace host::demo
