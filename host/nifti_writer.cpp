// Writing NIfTI-1 single files: the 348-byte header, four zero bytes (no extensions), then the
// float32 voxels, x fastest. The header is laid out field by field at the offsets the NIfTI-1
// format fixes, so writing needs no library.

#include <array>
#include <bit>
#include <cstring>

#include "host/nifti_io.h"

namespace host {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the header is written in the machine's byte order and read back as little-endian");

constexpr std::size_t kHeaderSize = 348;
constexpr std::size_t kDataOffset = 352;
constexpr std::int16_t kFloat32 = 16;

class HeaderBytes {
  public:
    template <typename T>
    void put(std::size_t offset, T value) {
        std::memcpy(bytes_.data() + offset, &value, sizeof value);
    }
    void putText(std::size_t offset, const char* text) {
        std::memcpy(bytes_.data() + offset, text, std::strlen(text));
    }
    const unsigned char* data() const { return bytes_.data(); }

  private:
    std::array<unsigned char, kDataOffset> bytes_{};
};

void writeHeader(AtomicFile& file, const Geometry& geometry, int rank, std::int32_t nrOfVolumes,
                 const ImageLabels& labels) {
    HeaderBytes header;
    header.put<std::int32_t>(0, kHeaderSize);
    header.put<char>(38, 'r');
    header.put<std::int16_t>(40, static_cast<std::int16_t>(rank));
    for (int axis = 0; axis < 3; ++axis) {
        header.put<std::int16_t>(42 + 2 * axis, static_cast<std::int16_t>(geometry.dim[axis]));
    }
    header.put<std::int16_t>(48, static_cast<std::int16_t>(rank == 4 ? nrOfVolumes : 1));
    for (int axis = 5; axis <= 7; ++axis) header.put<std::int16_t>(40 + 2 * axis, 1);
    header.put<float>(56, labels.intentP1);
    header.put<float>(60, labels.intentP2);
    header.put<std::int16_t>(68, labels.intentCode);
    header.put<std::int16_t>(70, kFloat32);
    header.put<std::int16_t>(72, 32);  // bits per voxel
    header.put<float>(76, geometry.qfac);
    for (int axis = 0; axis < 3; ++axis) header.put<float>(80 + 4 * axis, geometry.voxelSize[axis]);
    header.put<float>(92, rank == 4 ? geometry.repetitionTime : 0.0f);
    header.put<float>(108, static_cast<float>(kDataOffset));
    header.put<float>(112, 1.0f);  // scl_slope: the values are stored as they are
    header.put<float>(116, 0.0f);
    // A map has no time axis, so it keeps the space unit only.
    header.put<std::uint8_t>(
        123, rank == 4 ? geometry.xyztUnits : static_cast<std::uint8_t>(geometry.xyztUnits & 7));
    header.put<float>(124, labels.calMax);
    header.put<float>(128, labels.calMin);
    header.put<std::int16_t>(252, geometry.qformCode);
    header.put<std::int16_t>(254, geometry.sformCode);
    for (int i = 0; i < 3; ++i) {
        header.put<float>(256 + 4 * i, geometry.quatern[i]);
        header.put<float>(268 + 4 * i, geometry.qoffset[i]);
    }
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            header.put<float>(280 + 16 * row + 4 * column, geometry.srow[row][column]);
        }
    }
    header.putText(344, "n+1");
    file.write(header.data(), kDataOffset);
}

}  // namespace

void writeNiftiVolume(AtomicFile& file, const Geometry& geometry, const float* values,
                      const ImageLabels& labels) {
    writeHeader(file, geometry, 3, 1, labels);
    file.write(values, geometry.voxelCount() * sizeof(float));
}

void writeNiftiRun(AtomicFile& file, const TimeCourses& run) {
    writeHeader(file, run.geometry(), 4, run.nrOfVolumes(), ImageLabels{});
    const std::size_t bytes = run.voxelsPerVolume() * sizeof(float);
    for (std::int32_t t = 0; t < run.nrOfVolumes(); ++t) file.write(run.volumes()[t], bytes);
}

}  // namespace host
