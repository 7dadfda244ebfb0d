#pragma once
// The checks of a run's NIfTI-1 header that do not depend on how the header was decoded: the
// run's shape within the host's 32-bit counts, and whether the file can hold the image the header
// claims, tested before the memory for it is taken. Every reader of runs makes them, so a file is
// refused with the same words on every system. Each throws RunReadError, its text starting with
// the file's path.

#include <cstdint>
#include <string>

namespace host {

// A rank (dim[0]) outside 0 to 7 is not NIfTI-1: refused before anything else of the header is
// decoded.
void checkNiftiRank(const std::string& path, std::int16_t rank);

// `dim` as the header states it: rank, then the sizes along x, y, z, time and beyond. A run has 4
// dimensions (any beyond of size 1), at least one voxel along each axis and one volume, and at
// most 2147483647 voxels in a volume and values in the run.
void checkRunShape(const std::string& path, const std::int16_t (&dim)[8]);

// A plain file must hold every one of the `imageBytes` after `offset`; a gzip file at most what
// deflate's largest expansion (1032 to 1) makes of its length. A path that is not a regular file
// passes: reading it finds out.
void checkFileCanHold(const std::string& path, std::uintmax_t imageBytes, std::uintmax_t offset);

}  // namespace host
