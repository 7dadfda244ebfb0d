#pragma once
// What the host does beside a save the plug-in asked for: the summary printed after the session
// and the map previews hear of every map and every residual run the moment it is on disk, while
// the run in memory is still as it was when the file was written.

#include <cstdint>
#include <string>

#include "host/dialog_parameters.h"
#include "host/fmr_map.h"
#include "host/time_courses.h"

namespace host {

// A map just written to `path`. Valid only during the call.
struct SavedMap {
    const std::string& path;
    const FmrMap& map;
    const TimeCourses& run;              // the current run at the save
    const DialogParameters& parameters;  // the dialog at the save: it names the two models
};

// A copy of the current run just written: the FMR document and its time-course file.
struct SavedRun {
    std::string fmrPath;
    std::string stcPath;
    std::int32_t volumes = 0;
};

class SaveListener {
  public:
    virtual ~SaveListener() = default;
    // What the listener makes, as its failures are reported ("preview of <map>: ...").
    virtual std::string role() const = 0;
    // Both may throw; the host reports the failure and the session ends with status 1.
    virtual void mapSaved(const SavedMap& saved) = 0;
    virtual void runSaved(const SavedRun& saved) = 0;
};

}  // namespace host
