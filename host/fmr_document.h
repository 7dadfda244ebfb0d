#pragma once
// The host's current document: a functional run in memory (its time courses, its path and its
// maps), opened from a NIfTI file or from an FMR document the host wrote.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/fmr_map.h"
#include "host/time_courses.h"
#include "plugin/host_records.h"

namespace host {

// FMRHeader::FilePath holds 303 characters and the terminating NUL.
inline constexpr std::size_t kMaxDocumentPath = sizeof(FMRHeader::FilePath) - 1;

// The document path of a run file: "dir/run1.nii.gz" and "dir/run1.nii" give "dir/run1.fmr",
// an FMR document keeps its path. Throws RunReadError for any other extension and for a path
// that does not fit the FMR header.
std::string documentPathFor(const std::string& runPath);

class FmrDocument {
  public:
    FmrDocument(std::string path, TimeCourses run);

    const std::string& path() const { return path_; }
    TimeCourses& run() { return run_; }
    const TimeCourses& run() const { return run_; }

    // The header the plug-in asks for: path, size, float data type; every other byte zero.
    void fillHeader(FMRHeader& header) const;

    // Adds a map of zeros of the run's size; it becomes the newest map.
    FmrMap& createMap();
    // The map added last, or null when there is none.
    FmrMap* newestMap() { return maps_.empty() ? nullptr : maps_.back().get(); }

    // Saves a copy of the run as it is in memory: the time courses as `stcName`.stc in the folder
    // of `fmrPath`, and the document at `fmrPath` naming them; returns the time-course file's
    // path. The document itself keeps its path. Throws WriteError (nothing replaced) or
    // std::invalid_argument for a bad name.
    std::string saveCopy(const std::string& fmrPath, const std::string& stcName) const;

  private:
    std::string path_;
    TimeCourses run_;
    std::vector<std::unique_ptr<FmrMap>> maps_;
};

// Opens the run at `runPath`: a 4D NIfTI file (.nii, .nii.gz) or an FMR document (.fmr) with its
// time-course file. Throws RunReadError or FmrFormatError naming the file and the reason.
FmrDocument openDocument(const std::string& runPath);

}  // namespace host
