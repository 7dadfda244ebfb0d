#include "host/fmr_document.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "host/atomic_file.h"
#include "host/fmr_file.h"
#include "host/nifti_io.h"

namespace host {
namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[text.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != suffix[i]) {
            return false;
        }
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

FmrDocument openFmrDocument(const std::string& path) {
    // A device such as /dev/zero would be read as one endless line.
    std::error_code unknown;  // a path that cannot be looked at is reported by the open below
    const std::filesystem::file_status status = std::filesystem::status(path, unknown);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        throw RunReadError(path + ": is not a regular file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RunReadError(path + ": cannot open: " + std::strerror(errno));
    const FmrFile document = parseFmrFile(in, path);
    TimeCourses run = readNiftiRun(stcPathOf(path, document.stcFile));
    checkRunMatches(document, run, path);
    return FmrDocument(path, std::move(run));
}

}  // namespace

std::string documentPathFor(const std::string& runPath) {
    std::string path;
    if (endsWith(runPath, ".fmr")) {
        path = runPath;
    } else if (endsWith(runPath, ".nii.gz")) {
        path = runPath.substr(0, runPath.size() - 7) + ".fmr";
    } else if (endsWith(runPath, ".nii")) {
        path = runPath.substr(0, runPath.size() - 4) + ".fmr";
    } else {
        throw RunReadError(runPath +
                           ": unknown kind of run; expected a .nii, .nii.gz or .fmr file");
    }
    if (path.size() > kMaxDocumentPath) {
        throw RunReadError(
            runPath + ": the run's document path " + path + " has " + std::to_string(path.size()) +
            " characters; an FMR header holds at most " + std::to_string(kMaxDocumentPath));
    }
    return path;
}

FmrDocument::FmrDocument(std::string path, TimeCourses run)
    : path_(std::move(path)), run_(std::move(run)) {}

void FmrDocument::fillHeader(FMRHeader& header) const {
    std::memset(&header, 0, sizeof header);
    std::memcpy(header.FilePath, path_.data(), std::min(path_.size(), kMaxDocumentPath));
    header.NrOfVolumes = run_.nrOfVolumes();
    header.DimX = run_.geometry().dim[0];
    header.DimY = run_.geometry().dim[1];
    header.DimZ = run_.geometry().dim[2];
    header.DataType = kFloatTimeCourses;
}

FmrMap& FmrDocument::createMap() {
    maps_.push_back(std::make_unique<FmrMap>(run_.geometry()));
    return *maps_.back();
}

std::string FmrDocument::saveCopy(const std::string& fmrPath, const std::string& stcName) const {
    if (stcName.empty() || stcName.find_first_of("/\\") != std::string::npos) {
        throw std::invalid_argument("the time-course name \"" + stcName +
                                    "\" is not a plain file name");
    }
    const std::string stcFile = stcName + ".stc";
    const std::string stcPath = folderOf(fmrPath) + stcFile;
    if (stcPath == fmrPath) {
        throw std::invalid_argument("the document " + fmrPath +
                                    " and its time courses would share one file");
    }
    AtomicFile timeCourses(stcPath);
    writeNiftiRun(timeCourses, run_);
    AtomicFile document(fmrPath);
    const std::string text = formatFmrFile(stcFile, run_);
    document.write(text.data(), text.size());
    timeCourses.commit();
    document.commit();
    return stcPath;
}

FmrDocument openDocument(const std::string& runPath) {
    const std::string path = documentPathFor(runPath);
    if (endsWith(runPath, ".fmr")) return openFmrDocument(runPath);
    return FmrDocument(path, readNiftiRun(runPath));
}

}  // namespace host
