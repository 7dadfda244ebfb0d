#pragma once
// The host's FMR document: a short text that names the file holding the run's time courses (its
// .stc, a 4D NIfTI-1 file) and repeats the run's size, so that a document and a time-course file
// that do not belong together are noticed. docs/formats.md describes the format.

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>

#include "host/time_courses.h"

namespace host {

struct FmrFile {
    std::string stcFile;  // as written: relative to the document's folder, or absolute
    std::optional<std::int32_t> nrOfVolumes;
    std::optional<std::int32_t> dimX;
    std::optional<std::int32_t> dimY;
    std::optional<std::int32_t> dimZ;
};

// A malformed document; the text names the file, the 1-based line and what was expected.
class FmrFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses the document text read from `in`; `path` names it in messages.
FmrFile parseFmrFile(std::istream& in, const std::string& path);

// The document text for a run whose time courses are saved as `stcFile`.
std::string formatFmrFile(const std::string& stcFile, const TimeCourses& run);

// The path of the time-course file that the document at `fmrPath` names.
std::string stcPathOf(const std::string& fmrPath, const std::string& stcFile);

// Throws FmrFormatError when the sizes the document states differ from the run's.
void checkRunMatches(const FmrFile& document, const TimeCourses& run, const std::string& path);

}  // namespace host
