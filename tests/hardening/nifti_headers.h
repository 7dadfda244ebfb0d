#pragma once
// NIfTI-1 single files made byte by byte, so that a test can state sizes no well-behaved writer
// would write: a header of any rank and size followed by as many image bytes as the case needs.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace hardening {

// A 352-byte NIfTI-1 header of float32 voxels (rank = dim[0], then the sizes), with the image
// starting right after it; `imageBytes` zero bytes follow.
std::string niftiFile(std::int16_t rank, std::initializer_list<std::int16_t> sizes,
                      std::size_t imageBytes);

}  // namespace hardening
