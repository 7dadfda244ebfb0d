#include "numerics/volume.h"

#include <utility>

#include "numerics/storage.h"

namespace numerics {

Volume::Volume(const Dimensions& dim)
    : dim(dim), data(detail::allocateArray<float>(detail::elementCount({dim.x, dim.y, dim.z}))) {}

Volume::Volume(const Dimensions& dim, float value) : Volume(dim) {
    std::fill_n(data, voxelCount(), value);
}

Volume::Volume(const Volume& other)
    : dim(other.dim), data(detail::copyArray(other.data, other.voxelCount())) {}

Volume::Volume(Volume&& other) noexcept
    : dim(other.dim), data(std::exchange(other.data, nullptr)) {}

Volume& Volume::operator=(const Volume& other) {
    if (this == &other) return *this;
    const std::int32_t count = other.voxelCount();
    if (count != voxelCount() || data == nullptr) {
        float* fresh = detail::allocateArray<float>(count);
        delete[] data;
        data = fresh;
    }
    dim = other.dim;
    if (other.data != nullptr) std::copy_n(other.data, count, data);
    return *this;
}

Volume& Volume::operator=(Volume&& other) noexcept {
    if (this == &other) return *this;
    delete[] data;
    dim = other.dim;
    data = std::exchange(other.data, nullptr);
    return *this;
}

Volume::~Volume() {
    delete[] data;
}

Volume Volume::operator-(const Volume& other) const {
    Volume result(dim);
    const std::int32_t count = voxelCount();
    for (std::int32_t i = 0; i < count; ++i) result.data[i] = data[i] - other.data[i];
    return result;
}

float Volume::max() const {
    const std::int32_t count = voxelCount();
    float best = data[0];
    for (std::int32_t i = 1; i < count; ++i) {
        if (data[i] > best) best = data[i];
    }
    return best;
}

}  // namespace numerics
