// Reading runs where nifti_clib is not available (the Windows build, which has zlib only): the
// NIfTI-1 header is decoded here field by field, the image is read through zlib, which reads an
// uncompressed file as it is. Checks, conversions and messages are those of the reader over
// nifti_clib, and so is the decoding of the header's geometry (a voxel size of 0 counts as 1, an
// orientation is taken only when its code is positive), so a run reads the same on every system.

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "host/nifti_data_type.h"
#include "host/nifti_io.h"
#include "host/run_header_checks.h"

namespace host {
namespace {

constexpr std::int32_t kNifti1HeaderSize = 348;
constexpr std::int32_t kNifti2HeaderSize = 540;

struct GzCloser {
    void operator()(gzFile_s* file) const noexcept { gzclose(file); }
};
using GzHandle = std::unique_ptr<gzFile_s, GzCloser>;

// The 348 header bytes, read in the file's byte order.
class RawHeader {
  public:
    unsigned char* data() { return bytes_.data(); }

    template <typename T>
    T at(std::size_t offset) const {
        std::array<unsigned char, sizeof(T)> raw;
        std::memcpy(raw.data(), bytes_.data() + offset, sizeof(T));
        if (swapped_) std::reverse(raw.begin(), raw.end());
        return std::bit_cast<T>(raw);
    }
    void setSwapped(bool swapped) { swapped_ = swapped; }
    bool swapped() const { return swapped_; }

  private:
    std::array<unsigned char, kNifti1HeaderSize> bytes_{};
    bool swapped_ = false;
};

// What the reader needs from the header, decoded.
struct Header {
    bool swapped;  // stored in the other byte order
    std::int16_t dim[8];
    const NiftiDataType* type;
    float pixdim[8];
    std::int64_t dataOffset;
    Scaling scaling;
    std::uint8_t xyztUnits;
    std::int16_t qformCode;
    float quatern[3];
    float qoffset[3];
    std::int16_t sformCode;
    float srow[3][4];
};

// A header value that must be a number: anything else counts as 0.
float finiteOr0(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

class RunReader {
  public:
    explicit RunReader(const std::string& path) : path_(path) {}

    TimeCourses read() {
        std::error_code notFound;  // a path that cannot be looked at is reported by gzopen
        if (std::filesystem::is_directory(path_, notFound)) fail("is a folder, not a NIfTI file");
        errno = 0;
        file_.reset(gzopen(path_.c_str(), "rb"));
        if (!file_) fail(std::string("cannot open: ") + std::strerror(errno));
        const Header header = readHeader();
        const Geometry geometry = checkedGeometry(header);
        const std::int32_t nrOfVolumes = header.dim[4];
        const std::size_t count = geometry.voxelCount() * static_cast<std::size_t>(nrOfVolumes);
        checkFileCanHold(path_, count * header.type->bytes,
                         static_cast<std::uintmax_t>(header.dataOffset));
        FloatBlock values = allocateFloats(count);
        readImage(header, values.get(), count);
        return TimeCourses(geometry, nrOfVolumes, std::move(values));
    }

  private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw RunReadError(path_ + ": " + reason);
    }

    Header readHeader() {
        RawHeader raw;
        const int got = gzread(file_.get(), raw.data(), kNifti1HeaderSize);
        if (got < 0) fail("not a NIfTI-1 file: it cannot be read as gzip data");
        if (got < kNifti1HeaderSize) {
            fail("not a NIfTI-1 file: it holds " + std::to_string(got) +
                 " bytes, a NIfTI-1 header needs 348");
        }
        const auto size = raw.at<std::int32_t>(0);
        raw.setSwapped(true);
        const auto swappedSize = raw.at<std::int32_t>(0);
        if (size == kNifti2HeaderSize || swappedSize == kNifti2HeaderSize) {
            fail("is a NIfTI-2 file; the host reads NIfTI-1");
        }
        if (size != kNifti1HeaderSize && swappedSize != kNifti1HeaderSize) {
            fail("not a NIfTI-1 file: no NIfTI-1 header at its start");
        }
        if (std::memcmp(raw.data() + 344, "n+1", 4) != 0) {
            fail("is not a single-file NIfTI-1 image (its magic is not \"n+1\")");
        }
        raw.setSwapped(size != kNifti1HeaderSize);
        return decoded(raw);
    }

    Header decoded(const RawHeader& raw) const {
        Header header{};
        header.swapped = raw.swapped();
        for (int axis = 0; axis < 8; ++axis) header.dim[axis] = raw.at<std::int16_t>(40 + 2 * axis);
        header.type = findNiftiDataType(raw.at<std::int16_t>(70));
        checkNiftiRank(path_, header.dim[0]);
        if (header.dim[0] >= 1 && header.dim[1] < 1) {
            fail("has an invalid size " + std::to_string(header.dim[1]) + " along axis 1");
        }
        if (header.type == nullptr) {
            fail("not a NIfTI-1 file: its data type code " +
                 std::to_string(raw.at<std::int16_t>(70)) +
                 " is none that NIfTI-1 defines for voxels");
        }
        for (int axis = 0; axis < 8; ++axis) {
            const float size = raw.at<float>(76 + 4 * axis);
            header.pixdim[axis] = axis == 0 || (std::isfinite(size) && size != 0.0f) ? size : 1.0f;
        }
        // The image starts after the header at the earliest.
        const float offset = raw.at<float>(108);
        header.dataOffset = offset >= static_cast<float>(kNifti1HeaderSize)
                                ? static_cast<std::int64_t>(std::min(offset, 0x1p62f))
                                : kNifti1HeaderSize;
        header.scaling = scalingOf(raw.at<float>(112), raw.at<float>(116));
        header.xyztUnits = static_cast<std::uint8_t>(raw.at<std::uint8_t>(123) & 0x3f);
        header.qformCode = std::max<std::int16_t>(raw.at<std::int16_t>(252), 0);
        header.sformCode = std::max<std::int16_t>(raw.at<std::int16_t>(254), 0);
        for (int i = 0; i < 3; ++i) {
            header.quatern[i] = finiteOr0(raw.at<float>(256 + 4 * i));
            header.qoffset[i] = finiteOr0(raw.at<float>(268 + 4 * i));
            for (int column = 0; column < 4; ++column) {
                header.srow[i][column] = raw.at<float>(280 + 16 * i + 4 * column);
            }
        }
        return header;
    }

    Geometry checkedGeometry(const Header& header) const {
        checkRunShape(path_, header.dim);
        if (header.type->convert == nullptr) {
            fail(std::string("stores its values as ") + header.type->name +
                 ", which the host cannot convert to floats");
        }

        Geometry geometry;
        for (int axis = 0; axis < 3; ++axis) {
            geometry.dim[axis] = header.dim[axis + 1];
            geometry.voxelSize[axis] = header.pixdim[axis + 1];
        }
        geometry.repetitionTime = header.pixdim[4];
        geometry.xyztUnits = header.xyztUnits;
        geometry.qformCode = header.qformCode;
        if (header.qformCode > 0) {
            std::copy_n(header.quatern, 3, geometry.quatern);
            std::copy_n(header.qoffset, 3, geometry.qoffset);
            geometry.qfac = header.pixdim[0] < 0.0f ? -1.0f : 1.0f;
        }
        geometry.sformCode = header.sformCode;
        if (header.sformCode > 0) std::copy_n(&header.srow[0][0], 12, &geometry.srow[0][0]);
        return geometry;
    }

    // Reads `count` values into `out`, converting and byte-swapping chunk by chunk; a float run
    // in the machine's byte order without scaling is read straight into `out`.
    void readImage(const Header& header, float* out, std::size_t count) {
        if (header.dataOffset > std::numeric_limits<z_off_t>::max() ||
            gzseek(file_.get(), static_cast<z_off_t>(header.dataOffset), SEEK_SET) < 0) {
            fail("is truncated: its image data should start at byte " +
                 std::to_string(header.dataOffset));
        }
        const std::size_t total = count * header.type->bytes;
        readAsFloats(*header.type, header.swapped, header.scaling, out, count,
                     [&](unsigned char* target, std::size_t bytes, std::size_t before) {
                         readExactly(target, bytes, before, total, header.dataOffset);
                     });
    }

    void readExactly(unsigned char* target, std::size_t bytes, std::size_t before,
                     std::size_t total, std::int64_t offset) {
        const int got = gzread(file_.get(), target, static_cast<unsigned>(bytes));
        if (got < 0) fail("is damaged: its compressed data cannot be read");
        if (static_cast<std::size_t>(got) < bytes) {
            fail("is truncated: its header promises " + std::to_string(total) +
                 " bytes of image data after byte " + std::to_string(offset) + ", it holds " +
                 std::to_string(before + static_cast<std::size_t>(got)));
        }
    }

    const std::string& path_;
    GzHandle file_;
};

}  // namespace

TimeCourses readNiftiRun(const std::string& path) {
    return RunReader(path).read();
}

}  // namespace host
