#include "host/time_courses.h"

#include <new>
#include <utility>

namespace host {

FloatBlock allocateFloats(std::size_t count) {
    if (count > SIZE_MAX / sizeof(float)) throw std::bad_alloc();
    // One extra float keeps the block valid when count is 0.
    void* block = std::malloc((count + 1) * sizeof(float));
    if (block == nullptr) throw std::bad_alloc();
    return FloatBlock(static_cast<float*>(block));
}

TimeCourses::TimeCourses(Geometry geometry, std::int32_t nrOfVolumes, FloatBlock values)
    : geometry_(std::move(geometry)), values_(std::move(values)) {
    const std::size_t voxels = geometry_.voxelCount();
    volumes_.reserve(static_cast<std::size_t>(nrOfVolumes));
    for (std::int32_t t = 0; t < nrOfVolumes; ++t) {
        volumes_.push_back(values_.get() + static_cast<std::size_t>(t) * voxels);
    }
}

}  // namespace host
