#include "host/compare_command.h"

#include <CLI/CLI.hpp>
#include <array>

#include "host/command_line.h"

namespace host {
namespace {

// The map switches in the order the plug-in saves them.
constexpr std::array<const char*, 7> kMaps = {"tSNR1",  "tSNR2",  "tSNR3", "R2adj1",
                                              "R2adj2", "R2adj3", "Fmap"};

constexpr const char* kMapsHelp =
    "the maps to save, comma-separated (default: all): tSNR1, tSNR2 (tSNR of each model's "
    "confound-cleaned time course), tSNR3 (tSNR of model 2 minus model 1), R2adj1, R2adj2 "
    "(adjusted R2 of each model), R2adj3 (model 2 minus model 1), Fmap (F between the models); "
    "or all, or none";

constexpr const char* kCompareFooter =
    "The maps land beside the SDM files (the comparison maps beside SDM2), the residual runs\n"
    "beside RUN. Example:\n"
    "  quorvis compare data/run1.nii.gz designs/task.sdm designs/task_motion.sdm \\\n"
    "          --maps tSNR3,R2adj3,Fmap --residuals 2 --preview";

std::vector<std::string> items(const std::vector<std::string>& lists) {
    std::vector<std::string> found;
    for (const std::string& list : lists) {
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = list.find(',', start);
            found.push_back(list.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    return found;
}

void switchOn(DialogParameters& parameters, const std::string& name) {
    parameters.set(name, "1");
}

void setMaps(DialogParameters& parameters, const std::vector<std::string>& lists) {
    const std::vector<std::string> names =
        lists.empty() ? std::vector<std::string>{"all"} : items(lists);
    for (const std::string& name : names) {
        bool known = name == "all" || name == "none";
        for (const char* map : kMaps) {
            if (name == map || name == "all") switchOn(parameters, map);
            known = known || name == map;
        }
        if (!known) {
            std::string valid = "all, none";
            for (const char* map : kMaps) valid += std::string(", ") + map;
            throw UsageError("--maps: unknown map \"" + name + "\"; the maps are " + valid);
        }
    }
}

void setResiduals(DialogParameters& parameters, const std::vector<std::string>& lists) {
    for (const std::string& model : items(lists)) {
        if (model == "1" || model == "2") {
            switchOn(parameters, "residuals" + model);
        } else if (model != "none") {
            throw UsageError("--residuals: unknown model \"" + model +
                             "\"; the models are 1 and 2, for example --residuals 1,2");
        }
    }
}

void setModel(DialogParameters& parameters, const char* name, const std::string& path) {
    try {
        parameters.set(name, path);
    } catch (const ParameterError& error) {
        throw UsageError(error.what());
    }
}

}  // namespace

CLI::App& addCompareCommand(CLI::App& app, CompareArguments& arguments) {
    CLI::App& compare = *app.add_subcommand(
        "compare",
        "compares two designs on a run: fills the comparison dialog with SDM1 as model 1 and "
        "SDM2 as model 2, switches on the maps and residual runs asked for and runs \"start\"");
    compare.fallthrough();
    compare.footer(kCompareFooter);
    compare
        .add_option("RUN", arguments.run,
                    "the functional run: a 4D NIfTI file (.nii, .nii.gz) or an .fmr document")
        ->type_name("PATH")
        ->required();
    compare.add_option("SDM1", arguments.model1, "the design of model 1, e.g. the task alone")
        ->type_name("PATH")
        ->required();
    compare
        .add_option("SDM2", arguments.model2,
                    "the design of model 2, e.g. the task with confounds such as motion")
        ->type_name("PATH")
        ->required();
    compare.add_option("--maps", arguments.maps, kMapsHelp)
        ->type_name("LIST")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    compare
        .add_option("--residuals", arguments.residuals,
                    "the models whose confound-cleaned runs to save: 1, 2 or 1,2 (default: none)")
        ->type_name("LIST")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    compare.add_flag("--preview", arguments.preview,
                     "also writes a PNG picture of each saved map: <map file>.png");
    return compare;
}

DialogParameters compareParameters(const CompareArguments& arguments) {
    DialogParameters parameters;
    setModel(parameters, "sdmfile1", arguments.model1);
    setModel(parameters, "sdmfile2", arguments.model2);
    setMaps(parameters, arguments.maps);
    setResiduals(parameters, arguments.residuals);
    return parameters;
}

}  // namespace host
