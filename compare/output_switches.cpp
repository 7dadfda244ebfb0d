#include "compare/output_switches.h"

#include "plugin/host_api_table.h"

namespace compare {

OutputSwitches readOutputSwitches() {
    const auto isOn = [](const char* name) { return plugin::hostApi.zvGetIntParameter(name) != 0; };
    OutputSwitches switches;
    switches.tSNR1 = isOn("tSNR1");
    switches.tSNR2 = isOn("tSNR2");
    switches.tSNR3 = isOn("tSNR3");
    switches.R2adj1 = isOn("R2adj1");
    switches.R2adj2 = isOn("R2adj2");
    switches.R2adj3 = isOn("R2adj3");
    switches.Fmap = isOn("Fmap");
    switches.residuals1 = isOn("residuals1");
    switches.residuals2 = isOn("residuals2");
    return switches;
}

}  // namespace compare
