#include "host/run_header_checks.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

#include "host/nifti_io.h"

namespace host {
namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw RunReadError(path + ": " + reason);
}

bool isGzip(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char magic[2] = {};
    return file.read(magic, 2) && magic[0] == '\x1f' && magic[1] == '\x8b';
}

}  // namespace

void checkNiftiRank(const std::string& path, std::int16_t rank) {
    if (rank < 0 || rank > 7) {
        fail(path, "not a NIfTI-1 file: its header gives " + std::to_string(rank) +
                       " dimensions, NIfTI-1 allows at most 7");
    }
}

void checkRunShape(const std::string& path, const std::int16_t (&dim)[8]) {
    const int rank = dim[0];
    if (rank < 4) {
        fail(path, "holds a " + std::to_string(rank) +
                       "D image; a run needs 4 dimensions (x, y, z and time)");
    }
    for (int axis = 5; axis <= std::min(rank, 7); ++axis) {
        if (dim[axis] != 1) {
            fail(path, "holds a " + std::to_string(rank) + "D image; a run has 4 dimensions");
        }
    }
    for (int axis = 1; axis <= 3; ++axis) {
        if (dim[axis] < 1) {
            fail(path, "has an invalid size " + std::to_string(dim[axis]) + " along axis " +
                           std::to_string(axis));
        }
    }
    if (dim[4] < 1) {
        fail(path, "holds no volumes (its time dimension is " + std::to_string(dim[4]) + ")");
    }
    constexpr auto kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max());
    const std::int64_t voxels = std::int64_t{dim[1]} * dim[2] * dim[3];
    const std::string size =
        std::to_string(dim[1]) + " x " + std::to_string(dim[2]) + " x " + std::to_string(dim[3]);
    if (voxels > kLimit) {
        fail(path, size + " voxels are more than the 2147483647 a volume of the host can hold");
    }
    if (voxels * dim[4] > kLimit) {
        fail(path, size + " voxels x " + std::to_string(dim[4]) +
                       " volumes are more than the 2147483647 values a run of the host can hold");
    }
}

void checkFileCanHold(const std::string& path, std::uintmax_t imageBytes, std::uintmax_t offset) {
    std::error_code error;
    const std::uintmax_t fileBytes = std::filesystem::file_size(path, error);
    if (error) return;
    const std::string promise = "is truncated: its header promises " + std::to_string(imageBytes) +
                                " bytes of image data after byte " + std::to_string(offset);
    if (isGzip(path)) {
        constexpr std::uintmax_t kLargestExpansion = 1032;
        if (offset + imageBytes > fileBytes * kLargestExpansion) {
            fail(path, promise + ", more than its " + std::to_string(fileBytes) +
                           " compressed bytes can hold");
        }
    } else if (offset + imageBytes > fileBytes) {
        fail(path,
             promise + ", it holds " + std::to_string(fileBytes > offset ? fileBytes - offset : 0));
    }
}

}  // namespace host
