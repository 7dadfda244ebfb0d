#include "compare/residual_output.h"

#include <cstddef>
#include <utility>

#include "compare/log_message.h"
#include "plugin/host_api_table.h"
#include "sdm/path_names.h"

namespace compare {
namespace {

// Exchanges the kept residuals with the host's values at the analysed voxels. Applied twice it
// restores both sides, which is what makes the restore after a save cheap and allocation-free.
void swapWithHost(float* const* timeCourses, std::int32_t nrOfVolumes,
                  const std::vector<std::int32_t>& analysedVoxels,
                  std::vector<numerics::Vector>& keptResiduals) noexcept {
    for (std::size_t v = 0; v < analysedVoxels.size(); ++v) {
        const std::int32_t voxel = analysedVoxels[v];
        numerics::Vector& residual = keptResiduals[v];
        for (std::int32_t t = 0; t < nrOfVolumes; ++t) {
            std::swap(timeCourses[t][voxel], residual[t]);
        }
    }
}

// Puts the host's data back when the save ends, however it ends.
class SwapBackGuard {
  public:
    SwapBackGuard(float* const* timeCourses, std::int32_t nrOfVolumes,
                  const std::vector<std::int32_t>& analysedVoxels,
                  std::vector<numerics::Vector>& keptResiduals)
        : timeCourses_(timeCourses),
          nrOfVolumes_(nrOfVolumes),
          analysedVoxels_(analysedVoxels),
          keptResiduals_(keptResiduals) {
        swapWithHost(timeCourses_, nrOfVolumes_, analysedVoxels_, keptResiduals_);
    }
    ~SwapBackGuard() { swapWithHost(timeCourses_, nrOfVolumes_, analysedVoxels_, keptResiduals_); }
    SwapBackGuard(const SwapBackGuard&) = delete;
    SwapBackGuard& operator=(const SwapBackGuard&) = delete;

  private:
    float* const* timeCourses_;
    std::int32_t nrOfVolumes_;
    const std::vector<std::int32_t>& analysedVoxels_;
    std::vector<numerics::Vector>& keptResiduals_;
};

}  // namespace

void saveResiduals(const std::string& sdmPath, const std::string& fmrPath,
                   float* const* timeCourses, std::int32_t nrOfVolumes,
                   const std::vector<std::int32_t>& analysedVoxels,
                   std::vector<numerics::Vector>& keptResiduals, std::ostream& log) {
    const std::string sdmName = sdm::fileName(sdmPath);
    logMessage(log, ">  Saving Residuals of confounds of " + sdmName);

    const std::string suffix = "_min_confounds_of_" + sdm::stripExtension(sdmName);
    const std::string newFmrPath = sdm::insertBeforeExtension(fmrPath, suffix);
    const std::string stcName = sdm::stripExtension(sdm::fileName(newFmrPath));

    const SwapBackGuard cleanedRunInHost(timeCourses, nrOfVolumes, analysedVoxels, keptResiduals);
    plugin::hostApi.zvSaveFMRAndSTC(newFmrPath.c_str(), stcName.c_str());
}

}  // namespace compare
