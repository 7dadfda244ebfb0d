// Reading runs: the header is decoded by nifti_clib, the image is read here through its znz layer
// (plain or gzip-compressed), so that a short file is an error and not silently zero-padded.

#include <nifti1_io.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "host/nifti_data_type.h"
#include "host/nifti_io.h"

namespace host {
namespace {

constexpr int kNifti1HeaderSize = 348;
constexpr int kNifti2HeaderSize = 540;

struct ZnzCloser {
    void operator()(znzptr* file) const noexcept { Xznzclose(&file); }
};
using ZnzHandle = std::unique_ptr<znzptr, ZnzCloser>;

struct ImageFreer {
    void operator()(nifti_image* image) const noexcept { nifti_image_free(image); }
};
using ImageHandle = std::unique_ptr<nifti_image, ImageFreer>;

// The decoded header, with the sizes as the file states them (nifti_clib turns a size of 0 into
// 1, which would hide a run without volumes).
struct Header {
    ImageHandle image;
    std::int16_t dim[8];
};

std::int16_t byteSwapped(std::int16_t value) {
    const auto u = static_cast<std::uint16_t>(value);
    return static_cast<std::int16_t>((u >> 8) | (u << 8));
}

std::int32_t byteSwapped(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>((u >> 24) | ((u >> 8) & 0xff00u) | ((u << 8) & 0xff0000u) |
                                     (u << 24));
}

class RunReader {
  public:
    explicit RunReader(const std::string& path) : path_(path) {}

    TimeCourses read() {
        nifti_set_debug_level(0);  // the library would print its own complaints on stderr
        std::error_code notFound;  // a path that cannot be looked at is reported by znzopen
        if (std::filesystem::is_directory(path_, notFound)) fail("is a folder, not a NIfTI file");
        file_.reset(znzopen(path_.c_str(), "rb", 1));
        if (!file_) fail(std::string("cannot open: ") + std::strerror(errno));
        const Header header = readHeader();
        const Geometry geometry = checkedGeometry(header);
        const std::int32_t nrOfVolumes = header.dim[4];
        const std::size_t count = geometry.voxelCount() * static_cast<std::size_t>(nrOfVolumes);
        checkFileCanHold(*header.image, count);
        FloatBlock values = allocateFloats(count);
        readImage(*header.image, values.get(), count);
        return TimeCourses(geometry, nrOfVolumes, std::move(values));
    }

  private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw RunReadError(path_ + ": " + reason);
    }

    Header readHeader() {
        nifti_1_header header{};
        const std::size_t got = znzread(&header, 1, sizeof header, file_.get());
        if (got > sizeof header) fail("not a NIfTI-1 file: it cannot be read as gzip data");
        if (got < sizeof header) {
            fail("not a NIfTI-1 file: it holds " + std::to_string(got) +
                 " bytes, a NIfTI-1 header needs 348");
        }
        if (header.sizeof_hdr == kNifti2HeaderSize ||
            byteSwapped(header.sizeof_hdr) == kNifti2HeaderSize) {
            fail("is a NIfTI-2 file; the host reads NIfTI-1");
        }
        if (header.sizeof_hdr != kNifti1HeaderSize &&
            byteSwapped(header.sizeof_hdr) != kNifti1HeaderSize) {
            fail("not a NIfTI-1 file: no NIfTI-1 header at its start");
        }
        if (std::memcmp(header.magic, "n+1", 4) != 0) {
            fail("is not a single-file NIfTI-1 image (its magic is not \"n+1\")");
        }
        const bool swapped = header.sizeof_hdr != kNifti1HeaderSize;
        Header decoded{nullptr, {}};
        for (int axis = 0; axis < 8; ++axis) {
            decoded.dim[axis] = swapped ? byteSwapped(header.dim[axis]) : header.dim[axis];
        }
        const std::int16_t datatype = swapped ? byteSwapped(header.datatype) : header.datatype;
        // nifti_clib complains on stderr, whatever its debug level, about a rank outside 1 to 7,
        // a first size below 1 (for any rank) and an undefined data type, so the host says it
        // first, in its own words.
        const std::int16_t rank = decoded.dim[0];
        if (rank < 0 || rank > 7) {
            fail("not a NIfTI-1 file: its header gives " + std::to_string(rank) +
                 " dimensions, NIfTI-1 allows at most 7");
        }
        if (rank < 4) {
            fail("holds a " + std::to_string(rank) +
                 "D image; a run needs 4 dimensions (x, y, z and time)");
        }
        if (decoded.dim[1] < 1) {
            fail("has an invalid size " + std::to_string(decoded.dim[1]) + " along axis 1");
        }
        if (findNiftiDataType(datatype) == nullptr) {
            fail("not a NIfTI-1 file: its data type code " + std::to_string(datatype) +
                 " is none that NIfTI-1 defines for voxels");
        }
        decoded.image.reset(nifti_convert_nhdr2nim(header, path_.c_str()));
        if (!decoded.image) fail("not a NIfTI-1 file: its header is invalid");
        return decoded;
    }

    Geometry checkedGeometry(const Header& header) const {
        const std::int16_t* dim = header.dim;
        const nifti_image& image = *header.image;
        const int rank = dim[0];
        for (int axis = 5; axis <= std::min(rank, 7); ++axis) {
            if (dim[axis] != 1) {
                fail("holds a " + std::to_string(rank) + "D image; a run has 4 dimensions");
            }
        }
        for (int axis = 1; axis <= 3; ++axis) {
            if (dim[axis] < 1) {
                fail("has an invalid size " + std::to_string(dim[axis]) + " along axis " +
                     std::to_string(axis));
            }
        }
        if (dim[4] < 1) {
            fail("holds no volumes (its time dimension is " + std::to_string(dim[4]) + ")");
        }
        constexpr auto kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max());
        const std::int64_t voxels = std::int64_t{dim[1]} * dim[2] * dim[3];
        const std::string size = std::to_string(dim[1]) + " x " + std::to_string(dim[2]) + " x " +
                                 std::to_string(dim[3]);
        if (voxels > kLimit) {
            fail(size + " voxels are more than the 2147483647 a volume of the host can hold");
        }
        if (voxels * dim[4] > kLimit) {
            fail(size + " voxels x " + std::to_string(dim[4]) +
                 " volumes are more than the 2147483647 values a run of the host can hold");
        }
        const NiftiDataType* type = findNiftiDataType(image.datatype);
        if (type == nullptr || type->convert == nullptr) {
            fail(std::string("stores its values as ") + nifti_datatype_string(image.datatype) +
                 ", which the host cannot convert to floats");
        }

        Geometry geometry;
        for (int axis = 0; axis < 3; ++axis) geometry.dim[axis] = dim[axis + 1];
        geometry.voxelSize[0] = image.dx;
        geometry.voxelSize[1] = image.dy;
        geometry.voxelSize[2] = image.dz;
        geometry.repetitionTime = image.dt;
        geometry.xyztUnits = static_cast<std::uint8_t>(image.xyz_units | image.time_units);
        geometry.qformCode = static_cast<std::int16_t>(image.qform_code);
        if (image.qform_code > 0) {
            geometry.quatern[0] = image.quatern_b;
            geometry.quatern[1] = image.quatern_c;
            geometry.quatern[2] = image.quatern_d;
            geometry.qoffset[0] = image.qoffset_x;
            geometry.qoffset[1] = image.qoffset_y;
            geometry.qoffset[2] = image.qoffset_z;
        }
        geometry.qfac = image.qfac < 0.0f ? -1.0f : 1.0f;
        geometry.sformCode = static_cast<std::int16_t>(image.sform_code);
        if (image.sform_code > 0) {
            for (int row = 0; row < 3; ++row) {
                for (int column = 0; column < 4; ++column) {
                    geometry.srow[row][column] = image.sto_xyz.m[row][column];
                }
            }
        }
        return geometry;
    }

    // A header of a few hundred bytes may state a run of gigabytes. Before that memory is taken,
    // the file must be long enough for the image: a plain file must hold every byte of it, and
    // a gzip file can hold at most what deflate's largest expansion (1032 to 1) makes of it.
    void checkFileCanHold(const nifti_image& image, std::size_t count) const {
        std::error_code error;
        const std::uintmax_t fileBytes = std::filesystem::file_size(path_, error);
        if (error) return;  // not a regular file: reading finds out
        const std::uintmax_t imageBytes = count * findNiftiDataType(image.datatype)->bytes;
        const auto offset = static_cast<std::uintmax_t>(image.iname_offset);
        const std::string promise = "is truncated: its header promises " +
                                    std::to_string(imageBytes) +
                                    " bytes of image data after byte " + std::to_string(offset);
        if (isGzip()) {
            constexpr std::uintmax_t kLargestExpansion = 1032;
            if (offset + imageBytes > fileBytes * kLargestExpansion) {
                fail(promise + ", more than its " + std::to_string(fileBytes) +
                     " compressed bytes can hold");
            }
        } else if (offset + imageBytes > fileBytes) {
            fail(promise + ", it holds " +
                 std::to_string(fileBytes > offset ? fileBytes - offset : 0));
        }
    }

    bool isGzip() const {
        std::ifstream file(path_, std::ios::binary);
        char magic[2] = {};
        return file.read(magic, 2) && magic[0] == '\x1f' && magic[1] == '\x8b';
    }

    // Reads `count` values into `out`, converting and byte-swapping chunk by chunk; a float run
    // without scaling is read straight into `out`.
    void readImage(const nifti_image& image, float* out, std::size_t count) {
        if (znzseek(file_.get(), image.iname_offset, SEEK_SET) < 0) {
            fail("is truncated: its image data should start at byte " +
                 std::to_string(image.iname_offset));
        }
        const NiftiDataType& type = *findNiftiDataType(image.datatype);
        const std::size_t total = count * type.bytes;
        readAsFloats(type, image.byteorder != nifti_short_order(),
                     scalingOf(image.scl_slope, image.scl_inter), out, count,
                     [&](unsigned char* target, std::size_t bytes, std::size_t before) {
                         readExactly(target, bytes, before, total, image.iname_offset);
                     });
    }

    void readExactly(unsigned char* target, std::size_t bytes, std::size_t before,
                     std::size_t total, int offset) {
        const std::size_t got = znzread(target, 1, bytes, file_.get());
        if (got > bytes) fail("is damaged: its compressed data cannot be read");
        if (got < bytes) {
            fail("is truncated: its header promises " + std::to_string(total) +
                 " bytes of image data after byte " + std::to_string(offset) + ", it holds " +
                 std::to_string(before + got));
        }
    }

    const std::string& path_;
    ZnzHandle file_;
};

}  // namespace

TimeCourses readNiftiRun(const std::string& path) {
    return RunReader(path).read();
}

}  // namespace host
