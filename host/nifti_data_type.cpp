#include "host/nifti_data_type.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace host {
namespace {

template <typename T>
void convert(const unsigned char* stored, std::size_t count, float* out, const Scaling& scaling) {
    for (std::size_t i = 0; i < count; ++i) {
        T value;
        std::memcpy(&value, stored + i * sizeof(T), sizeof(T));
        out[i] = scaling.apply(static_cast<double>(value));
    }
}

constexpr NiftiDataType kTypes[] = {
    {2, "UINT8", 1, 1, convert<std::uint8_t>},
    {4, "INT16", 2, 2, convert<std::int16_t>},
    {8, "INT32", 4, 4, convert<std::int32_t>},
    {16, "FLOAT32", 4, 4, convert<float>},
    {32, "COMPLEX64", 8, 4, nullptr},
    {64, "FLOAT64", 8, 8, convert<double>},
    {128, "RGB24", 3, 1, nullptr},
    {256, "INT8", 1, 1, convert<std::int8_t>},
    {512, "UINT16", 2, 2, convert<std::uint16_t>},
    {768, "UINT32", 4, 4, convert<std::uint32_t>},
    {1024, "INT64", 8, 8, convert<std::int64_t>},
    {1280, "UINT64", 8, 8, convert<std::uint64_t>},
    {1536, "FLOAT128", 16, 16, nullptr},
    {1792, "COMPLEX128", 16, 8, nullptr},
    {2048, "COMPLEX256", 32, 16, nullptr},
    {2304, "RGBA32", 4, 1, nullptr},
};

}  // namespace

Scaling scalingOf(float slope, float inter) {
    Scaling scaling;
    if (std::isfinite(slope) && slope != 0.0f) {
        scaling.slope = slope;
        scaling.inter = std::isfinite(inter) ? inter : 0.0;
        scaling.active = scaling.slope != 1.0 || scaling.inter != 0.0;
    }
    return scaling;
}

const NiftiDataType* findNiftiDataType(int code) {
    const auto found =
        std::find_if(std::begin(kTypes), std::end(kTypes),
                     [code](const NiftiDataType& type) { return type.code == code; });
    return found == std::end(kTypes) ? nullptr : found;
}

void swapBytes(unsigned char* data, std::size_t bytes, std::size_t width) {
    if (width < 2) return;
    for (std::size_t at = 0; at + width <= bytes; at += width)
        std::reverse(data + at, data + at + width);
}

}  // namespace host
