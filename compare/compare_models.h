#pragma once
// The "start" action: two GLM designs compared on the functional run that is current in the
// host, from the dialog's parameters to the last saved file. The plug-in's compareModels runs it
// on its log stream.

#include <ostream>

namespace compare {

// Reads the switches and both SDM paths from the dialog, fits both designs at every bright voxel
// of the current run, saves the residual runs and maps the switches select, and returns true.
// Progress goes to log, one flushed message per step; every failure is an exception. Nothing is
// written and the host's data are untouched when a design cannot be read or does not fit the run.
bool compareModels(std::ostream& log);

}  // namespace compare
