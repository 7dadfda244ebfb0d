#pragma once
// The voxel types a NIfTI-1 file can store, and how the host turns stored values into the 32-bit
// floats it keeps a run in: converted in double precision, scaled by the header's scl_slope and
// scl_inter, rounded once to float.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

// The affine transform of scl_slope and scl_inter. A slope of 0 or one that is not finite means
// the stored values are the values; an intercept that is not finite counts as 0.
struct Scaling {
    bool active = false;
    double slope = 1.0;
    double inter = 0.0;

    float apply(double value) const {
        return static_cast<float>(active ? value * slope + inter : value);
    }
};

Scaling scalingOf(float slope, float inter);

// Converts `count` stored values (in the machine's byte order) to floats.
using Converter = void (*)(const unsigned char* stored, std::size_t count, float* out,
                           const Scaling& scaling);

struct NiftiDataType {
    std::int16_t code;
    const char* name;   // as NIfTI tools name it: "INT16", "FLOAT32", "RGB24", ...
    std::size_t bytes;  // per voxel
    std::size_t swap;   // width of the units whose bytes are reversed in the other byte order
    Converter convert;  // null: the host cannot turn this type into floats
};

// The type with this code, or null for a code that NIfTI-1 does not define for voxels (0 is
// "unknown", 1 single bits).
const NiftiDataType* findNiftiDataType(int code);

// Reverses the bytes of each `width`-byte unit in `bytes` bytes of data.
void swapBytes(unsigned char* data, std::size_t bytes, std::size_t width);

// Reads `count` values stored as `type` into `out` as floats, chunk by chunk, so that a run of
// another type never needs a second full copy; float data are read straight into `out`.
// `readExactly(target, bytes, bytesBefore)` reads the next `bytes` bytes or throws.
template <class ReadExactly>
void readAsFloats(const NiftiDataType& type, bool swapped, const Scaling& scaling, float* out,
                  std::size_t count, ReadExactly readExactly) {
    constexpr std::size_t kChunkBytes = std::size_t{1} << 24;
    constexpr std::int16_t kFloat32 = 16;
    const std::size_t width = type.bytes;
    const bool direct = type.code == kFloat32;
    std::vector<unsigned char> chunk(direct ? 0 : std::min(kChunkBytes, count * width));
    const std::size_t perChunk = kChunkBytes / width;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(perChunk, count - done);
        unsigned char* target =
            direct ? reinterpret_cast<unsigned char*>(out + done) : chunk.data();
        readExactly(target, n * width, done * width);
        if (swapped) swapBytes(target, n * width, type.swap);
        if (!direct || scaling.active) type.convert(target, n, out + done, scaling);
        done += n;
    }
}

}  // namespace host
