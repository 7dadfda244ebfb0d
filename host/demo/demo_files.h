#pragma once
// The demo data set on disk: the run as NIfTI and the two designs as SDM files, all in one folder
// under a common prefix.

#include <filesystem>
#include <string>

#include "host/demo/demo_run.h"

namespace host::demo {

struct DemoFiles {
    std::filesystem::path run;        // <prefix>_run.nii.gz
    std::filesystem::path taskModel;  // <prefix>_task.sdm, model 1
    std::filesystem::path fullModel;  // <prefix>_full.sdm, model 2
};

DemoFiles demoFileNames(const std::filesystem::path& folder, const std::string& prefix);

// Makes the demo run and writes its three files, creating the folder when needed; each file is
// complete or absent. Throws std::invalid_argument for bad options or a prefix that is empty or
// holds a path separator, std::runtime_error naming the path when a file cannot be written.
DemoFiles writeDemoData(const DemoOptions& options, const std::filesystem::path& folder,
                        const std::string& prefix);

}  // namespace host::demo
