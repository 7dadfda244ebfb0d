#include "host/demo/demo_files.h"

#include <stdexcept>
#include <system_error>

namespace host::demo {

DemoFiles demoFileNames(const std::filesystem::path& folder, const std::string& prefix) {
    return {folder / (prefix + "_run.nii.gz"), folder / (prefix + "_task.sdm"),
            folder / (prefix + "_full.sdm")};
}

DemoFiles writeDemoData(const DemoOptions& options, const std::filesystem::path& folder,
                        const std::string& prefix) {
    if (prefix.empty() || prefix.find_first_of("/\\") != std::string::npos) {
        throw std::invalid_argument("the file prefix must be a plain name, found \"" + prefix +
                                    "\"");
    }
    const DemoRun run = makeDemoRun(options);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("Cannot create folder " + folder.string() + ": " +
                                 error.message());
    }
    const DemoFiles files = demoFileNames(folder, prefix);
    writeRunNifti(run.geometry, run.timeCourses, files.run,
                  "Tandrel demo run, seed " + std::to_string(options.seed));
    writeSdm(run.taskModel, files.taskModel);
    writeSdm(run.fullModel, files.fullModel);
    return files;
}

}  // namespace host::demo
