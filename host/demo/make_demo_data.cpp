// make_demo_data: writes the deterministic demo data set (a functional run and two designs to
// compare on it) for `make demo` and for trying the comparison without data of one's own.

#include <CLI/CLI.hpp>
#include <array>
#include <cstdint>
#include <exception>
#include <iostream>
#include <string>

#include "host/demo/demo_files.h"

int main(int argc, char** argv) {
    host::demo::DemoOptions options;
    std::string folder;
    std::string prefix = "demo";
    std::array<int, 3> dims{options.dimX, options.dimY, options.dimZ};

    CLI::App app{
        "Writes the demo data: a functional run with head motion, a block-design task, drift and "
        "noise (<prefix>_run.nii.gz), the task design (<prefix>_task.sdm, model 1) and the design "
        "with motion and drift confounds (<prefix>_full.sdm, model 2). The same seed gives the "
        "same files.",
        "make_demo_data"};
    app.add_option("--out", folder, "Folder to write to (created when missing)")->required();
    app.add_option("--dims", dims, "Voxels along X Y Z")->capture_default_str();
    app.add_option("--volumes", options.volumes, "Number of volumes (TR 2 s)")
        ->capture_default_str();
    app.add_option("--seed", options.seed, "Seed of the random numbers")->capture_default_str();
    app.add_option("--prefix", prefix, "Start of the file names")->capture_default_str();
    app.add_flag("--raw-drift", options.rawDrift,
                 "Write the drift predictor as 0 ... volumes-1 instead of scaled to [-1, 1]");
    app.footer("Example: make_demo_data --out demo-output --dims 32 32 16 --volumes 100");
    CLI11_PARSE(app, argc, argv);

    options.dimX = dims[0];
    options.dimY = dims[1];
    options.dimZ = dims[2];
    try {
        const auto files = host::demo::writeDemoData(options, folder, prefix);
        std::cout << "run:     " << files.run.string() << "\n"
                  << "model 1: " << files.taskModel.string() << "\n"
                  << "model 2: " << files.fullModel.string() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "make_demo_data: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
