#pragma once
// A model's confound-cleaned time courses leave the plug-in as a new run: the host saves the
// current FMR under a new name while its time courses hold the cleaned values, then gets its own
// data back, so the open document and any later comparison still see the data as read.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "numerics/vector.h"

namespace compare {

// Saves one model's kept residuals as the run fmrPath with "_min_confounds_of_" and
// the design's file name (without extension) inserted before its extension; the time-course file
// is named after the new run. At the analysed voxels the saved run holds the kept residuals, at
// every other voxel the data. Afterwards, whether the save returned or failed, the host's time
// courses and keptResiduals hold exactly what they held before: the values are swapped in place
// for the save and swapped back, so no second copy of the run is needed.
void saveResiduals(const std::string& sdmPath, const std::string& fmrPath,
                   float* const* timeCourses, std::int32_t nrOfVolumes,
                   const std::vector<std::int32_t>& analysedVoxels,
                   std::vector<numerics::Vector>& keptResiduals, std::ostream& log);

}  // namespace compare
