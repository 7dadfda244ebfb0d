#pragma once
// `quorvis compare RUN SDM1 SDM2`: the common case in one command. It fills the comparison dialog
// as a user would (the two design files, the seven map switches, the two residual switches) and
// presses "start"; the session then runs as for the generic --set/--task form.

#include <string>
#include <vector>

#include "host/dialog_parameters.h"

namespace CLI {
class App;
}

namespace host {

struct CompareArguments {
    std::string run;
    std::string model1;                  // SDM file of model 1 ("sdmfile1")
    std::string model2;                  // SDM file of model 2 ("sdmfile2")
    std::vector<std::string> maps;       // each a comma-separated list; none given: all
    std::vector<std::string> residuals;  // each a comma-separated list of model numbers
    bool preview = false;
};

// Adds the subcommand "compare" to `app`; parsing fills `arguments`.
CLI::App& addCompareCommand(CLI::App& app, CompareArguments& arguments);

// The dialog parameters the comparison dialog holds for `arguments`: "sdmfile1", "sdmfile2" and
// the nine switches, 1 for each map and residual run asked for and 0 for the others. Throws
// UsageError naming a map or model that does not exist and the ones that do, or a design path
// longer than the dialog holds.
DialogParameters compareParameters(const CompareArguments& arguments);

}  // namespace host
