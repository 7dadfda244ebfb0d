#pragma once
// Volumes of a comparison leave the plug-in as maps of the current functional run: the host adds
// a map, the plug-in fills it and sets its type, display thresholds and degrees of freedom, and
// the host saves it as a .map file. Maps land beside the design files, the comparison maps beside
// the second design.

#include <cstdint>
#include <ostream>
#include <string>

#include "compare/output_switches.h"
#include "compare/voxel_analysis.h"
#include "numerics/volume.h"

namespace compare {

// Hands volume to the host as a new map of the current run and has it saved to path. A df of 0
// leaves the host's value. Throws std::logic_error("assertion failure (tandrel:169): slices !=
// nullptr") when the host gives no slice array, and the matching assertion for the first axis (z,
// then y, then x) on which the host's map differs from the volume.
void saveMap(const numerics::Volume& volume, std::int32_t mapType, float lowerThreshold,
             float upperThreshold, std::int32_t df1, std::int32_t df2, const std::string& path);

// Saves the maps that the switches select, in the order tSNR1, tSNR2, tSNR3, R2adj1, R2adj2,
// R2adj3, Fmap, named after the design paths. The F map's degrees of freedom are those of the
// nested-model test, p_f − p_r and nrOfVolumes − p_f, where f is the design with more predictors;
// with equal predictor counts there is no F map, and a log line says so when it was asked for.
void saveSelectedMaps(const OutputSwitches& switches, const std::string& sdmPath1,
                      const std::string& sdmPath2, const ComparisonResult& result,
                      std::int32_t nrOfPredictors1, std::int32_t nrOfPredictors2,
                      std::int32_t nrOfVolumes, std::ostream& log);

// The F map's upper display threshold: half the largest finite value of the F volume, so that a
// voxel with a perfect fit (infinite F) does not wash out the display; 0 when no value is finite.
float fMapUpperThreshold(const numerics::Volume& f);

}  // namespace compare
