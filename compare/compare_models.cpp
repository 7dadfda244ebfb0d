#include "compare/compare_models.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "compare/log_message.h"
#include "compare/map_output.h"
#include "compare/model_setup.h"
#include "compare/output_switches.h"
#include "compare/residual_output.h"
#include "compare/voxel_analysis.h"
#include "plugin/host_api_table.h"
#include "plugin/tandrel.h"
#include "sdm/design_matrix.h"
#include "sdm/path_names.h"

namespace compare {
namespace {

// The text of a fixed-size buffer up to its first NUL, or the whole buffer when there is none.
template <std::size_t size>
std::string textOf(const char (&buffer)[size]) {
    return std::string(buffer, std::find(buffer, buffer + size, '\0'));
}

// The text of a string parameter of the dialog; the host fills at most 511 characters and a NUL,
// and the buffer starts empty so that a host writing nothing gives an empty text.
std::string readStringParameter(const char* name) {
    char buffer[plugin::kHostTextBufferSize] = "";
    plugin::hostApi.zvGetStringParameter(name, buffer);
    return textOf(buffer);
}

std::string fmrSizeMessage(const FMRHeader& header) {
    return ">  FMR size: " + std::to_string(header.DimX) + " x " + std::to_string(header.DimY) +
           " x " + std::to_string(header.DimZ) + " x " + std::to_string(header.NrOfVolumes);
}

// The run's time courses as the host holds them, checked before anything is read through them.
float** hostTimeCourses(std::int32_t nrOfVolumes) {
    float** timeCourses = plugin::hostApi.zvGetSTCFloatDataOfCurrentFMR();
    if (timeCourses == nullptr) {
        throw std::runtime_error("The host gave no time-course data for the current FMR");
    }
    for (std::int32_t t = 0; t < nrOfVolumes; ++t) {
        if (timeCourses[t] == nullptr) {
            throw std::runtime_error("The host gave no time-course data for volume " +
                                     std::to_string(t + 1) + " of the current FMR");
        }
    }
    return timeCourses;
}

}  // namespace

bool compareModels(std::ostream& log) {
    logMessageOnNewLine(log, ">  Start comparing models");
    const OutputSwitches switches = readOutputSwitches();

    // The second design is read only once the first has been read successfully.
    std::vector<sdm::DesignMatrix> designs;
    for (const char* parameter : {"sdmfile1", "sdmfile2"}) {
        designs.emplace_back(readStringParameter(parameter));
    }

    FMRHeader header{};
    plugin::hostApi.zvGetHeaderOfCurrentFMR(&header);
    logMessageOnNewLine(log, fmrSizeMessage(header));
    for (const sdm::DesignMatrix& design : designs) {
        if (design.nrOfDataPoints.value != header.NrOfVolumes) {
            throw std::runtime_error(sdm::fileName(design.path) +
                                     " does not have the same number of volumes as the FMR");
        }
    }
    if (header.NrOfVolumes < 1) throw std::runtime_error("The current FMR has no volumes");
    // Only now that each design is known to be as long as the run: a design without predictors
    // may state any number of data points, and its constant would be that long.
    for (sdm::DesignMatrix& design : designs) design.addConstantIfMissing();
    logMessage(log, ">  Start comparing models");

    float** timeCourses = hostTimeCourses(header.NrOfVolumes);
    const ModelSetup model1 = setupModel(std::move(designs[0]));
    const ModelSetup model2 = setupModel(std::move(designs[1]));
    ComparisonResult result =
        analyseVoxels(model1, model2, header.DimX, header.DimY, header.DimZ, header.NrOfVolumes,
                      timeCourses, switches.residuals1, switches.residuals2);

    const std::string fmrPath = textOf(header.FilePath);
    if (switches.residuals1) {
        saveResiduals(model1.design.path, fmrPath, timeCourses, header.NrOfVolumes,
                      result.analysedVoxels, result.keptResiduals1, log);
    }
    if (switches.residuals2) {
        saveResiduals(model2.design.path, fmrPath, timeCourses, header.NrOfVolumes,
                      result.analysedVoxels, result.keptResiduals2, log);
    }
    saveSelectedMaps(switches, model1.design.path, model2.design.path, result,
                     model1.design.nrOfPredictors.value, model2.design.nrOfPredictors.value,
                     header.NrOfVolumes, log);
    return true;
}

}  // namespace compare

bool tandrel::compareModels() {
    return compare::compareModels(*logStream);
}
