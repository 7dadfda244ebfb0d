#include "compare/map_output.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "compare/log_message.h"
#include "plugin/host_api_table.h"
#include "sdm/path_names.h"

namespace compare {
namespace {

// The host's map must match the volume; a mismatch is a broken promise of the host, reported with
// the assertion texts (and fixed line numbers) that users and support know from the plug-in.
void checkMap(bool holds, int line, const char* expression) {
    if (!holds) {
        throw std::logic_error("assertion failure (tandrel:" + std::to_string(line) +
                               "): " + expression);
    }
}

// Display thresholds of the fixed maps.
constexpr float kTSNRLower = 5.0f, kTSNRUpper = 100.0f;
constexpr float kTSNRDiffLower = 1.0f, kTSNRDiffUpper = 20.0f;
constexpr float kR2adjLower = 0.1f, kR2adjUpper = 0.5f;
constexpr float kR2adjDiffLower = 0.05f, kR2adjDiffUpper = 0.5f;
constexpr float kFLower = 2.0f;

}  // namespace

void saveMap(const numerics::Volume& volume, std::int32_t mapType, float lowerThreshold,
             float upperThreshold, std::int32_t df1, std::int32_t df2, const std::string& path) {
    plugin::hostApi.zvCreateMAPForCurrentFMR();
    MapHeader header{};
    float** slices = plugin::hostApi.zvGetMAPOfCurrentFMR(&header);
    checkMap(slices != nullptr, 169, "slices != nullptr");
    const numerics::Dimensions& dim = volume.dim;
    checkMap(dim.z == header.DimZ, 170, "dim.z == header.DimZ");
    checkMap(dim.y == header.DimY, 171, "dim.y == header.DimY");
    checkMap(dim.x == header.DimX, 172, "dim.x == header.DimX");

    for (std::int32_t z = 0; z < dim.z; ++z) {
        float* slice = slices[z];
        for (std::int32_t y = 0; y < dim.y; ++y) {
            for (std::int32_t x = 0; x < dim.x; ++x) {
                slice[y * dim.x + x] = volume.data[x + dim.x * (y + dim.y * z)];
            }
        }
    }

    header.MapType = mapType;
    header.LowerThreshold = lowerThreshold;
    header.UpperThreshold = upperThreshold;
    header.ClearedSetting = 0;
    if (df1 != 0) header.DF1 = df1;
    if (df2 != 0) header.DF2 = df2;
    plugin::hostApi.zvSetMAPParametersOfCurrentFMR(&header);
    plugin::hostApi.zvSaveMAPsOfCurrentFMR(path.c_str());
}

float fMapUpperThreshold(const numerics::Volume& f) {
    bool found = false;
    float largest = 0.0f;
    const std::int32_t count = f.voxelCount();
    for (std::int32_t i = 0; i < count; ++i) {
        const float value = f.data[i];
        if (std::isfinite(value) && (!found || value > largest)) {
            largest = value;
            found = true;
        }
    }
    return found ? 0.5f * largest : 0.0f;
}

void saveSelectedMaps(const OutputSwitches& switches, const std::string& sdmPath1,
                      const std::string& sdmPath2, const ComparisonResult& result,
                      std::int32_t nrOfPredictors1, std::int32_t nrOfPredictors2,
                      std::int32_t nrOfVolumes, std::ostream& log) {
    logMessage(log, ">  Saving Maps...");
    const std::string base1 = sdm::stripExtension(sdmPath1);
    const std::string base2 = sdm::stripExtension(sdmPath2);
    const std::string name1 = sdm::fileName(base1);

    if (switches.tSNR1) {
        saveMap(result.tSNR1, kMapTypeStatistic, kTSNRLower, kTSNRUpper, 0, 0,
                base1 + "_tSNR_residuals.map");
    }
    if (switches.tSNR2) {
        saveMap(result.tSNR2, kMapTypeStatistic, kTSNRLower, kTSNRUpper, 0, 0,
                base2 + "_tSNR_residuals.map");
    }
    if (switches.tSNR3) {
        saveMap(result.tSNR2 - result.tSNR1, kMapTypeStatistic, kTSNRDiffLower, kTSNRDiffUpper, 0,
                0, base2 + "_tSNR_diff_" + name1 + ".map");
    }
    if (switches.R2adj1) {
        saveMap(result.R2adj1, kMapTypeStatistic, kR2adjLower, kR2adjUpper, 0, 0,
                base1 + "_R2adj.map");
    }
    if (switches.R2adj2) {
        saveMap(result.R2adj2, kMapTypeStatistic, kR2adjLower, kR2adjUpper, 0, 0,
                base2 + "_R2adj.map");
    }
    if (switches.R2adj3) {
        saveMap(result.R2adj2 - result.R2adj1, kMapTypeStatistic, kR2adjDiffLower, kR2adjDiffUpper,
                0, 0, base2 + "_R2adj_diff_" + name1 + ".map");
    }
    if (switches.Fmap) {
        if (nrOfPredictors1 == nrOfPredictors2) {
            logMessage(log,
                       ">  Fmap could not be create because both SDMs have the same number of "
                       "predictors");
        } else {
            const std::int32_t fullCount = std::max(nrOfPredictors1, nrOfPredictors2);
            const std::int32_t reducedCount = std::min(nrOfPredictors1, nrOfPredictors2);
            saveMap(result.F, kMapTypeF, kFLower, fMapUpperThreshold(result.F),
                    fullCount - reducedCount, nrOfVolumes - fullCount,
                    base2 + "_Fval_diff_" + name1 + ".map");
        }
    }
}

}  // namespace compare
