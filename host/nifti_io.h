#pragma once
// NIfTI-1 single files, the host's format for runs (.nii, .nii.gz), saved time courses (.stc)
// and maps (.map).
//
// Reading decodes the header with nifti_clib and reads the image itself, so that any extension
// is accepted, a short or damaged file is reported instead of padded, and a float run lands in
// the host's memory without a second copy. Writing produces the header bytes directly; a build
// without nifti_clib replaces only the reading side.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host/atomic_file.h"
#include "host/geometry.h"
#include "host/time_courses.h"

namespace host {

// A run file that cannot be used; the text starts with the file's path and says why.
class RunReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a 4D NIfTI-1 single file (gzip-compressed or not): every stored integer or real type is
// converted to 32-bit floats with the header's scl_slope and scl_inter. Throws RunReadError for a
// file that is missing, not NIfTI-1, not 4D, empty in time, too large for the host's 32-bit
// counts, of an unsupported data type, or shorter than its header promises; std::bad_alloc when
// memory is short.
TimeCourses readNiftiRun(const std::string& path);

// What a written image says about itself beyond its voxels.
struct ImageLabels {
    float calMin = 0.0f;  // display range
    float calMax = 0.0f;
    std::int16_t intentCode = 0;  // 0: none, 4: F statistic with intentP1/intentP2 DF
    float intentP1 = 0.0f;
    float intentP2 = 0.0f;
};

inline constexpr std::int16_t kIntentFTest = 4;

// Writes one 3D float32 volume of `geometry`'s size.
void writeNiftiVolume(AtomicFile& file, const Geometry& geometry, const float* values,
                      const ImageLabels& labels);

// Writes a 4D float32 run from its per-volume pointers, volume by volume.
void writeNiftiRun(AtomicFile& file, const TimeCourses& run);

}  // namespace host
