#include "host/fmr_file.h"

#include <charconv>
#include <map>
#include <sstream>

namespace host {
namespace {

constexpr const char* kVersionKey = "FileVersion";
constexpr const char* kStcKey = "STCFile";
constexpr const char* kVolumesKey = "NrOfVolumes";
constexpr const char* kKeyList = "FileVersion, STCFile, NrOfVolumes, DimX, DimY, DimZ";

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

class FmrParser {
  public:
    explicit FmrParser(const std::string& path) : path_(path) {}

    FmrFile parse(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            ++lineNumber_;
            if (!trimmed(line).empty()) parseLine(line);
        }
        if (!seen_.count(kVersionKey)) fail("no \"FileVersion:\" line");
        if (!seen_.count(kStcKey)) fail("no \"STCFile:\" line");
        return document_;
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw FmrFormatError(path_ + ": " + what);
    }
    [[noreturn]] void failAtLine(const std::string& what) const {
        fail("line " + std::to_string(lineNumber_) + ": " + what);
    }

    void parseLine(const std::string& line) {
        const std::size_t colon = line.find(':');
        const std::string key = colon == std::string::npos ? "" : trimmed(line.substr(0, colon));
        if (key.empty()) failAtLine("expected \"Key: value\", found \"" + trimmed(line) + "\"");
        const std::string value = trimmed(line.substr(colon + 1));
        if (!seen_.emplace(key, lineNumber_).second) {
            failAtLine("\"" + key + ":\" is given a second time");
        }
        if (key == kVersionKey) {
            if (value != "1") failAtLine("expected FileVersion 1, found \"" + value + "\"");
        } else if (key == kStcKey) {
            if (value.empty()) failAtLine("expected a file name after \"STCFile:\", found none");
            document_.stcFile = value;
        } else if (key == kVolumesKey) {
            document_.nrOfVolumes = positive(key, value);
        } else if (key == "DimX") {
            document_.dimX = positive(key, value);
        } else if (key == "DimY") {
            document_.dimY = positive(key, value);
        } else if (key == "DimZ") {
            document_.dimZ = positive(key, value);
        } else {
            failAtLine("unknown key \"" + key + ":\"; expected one of " + kKeyList);
        }
    }

    std::int32_t positive(const std::string& key, const std::string& value) const {
        std::int32_t number = 0;
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, number);
        if (error != std::errc() || stop != end || number < 1) {
            failAtLine("expected a positive integer after \"" + key + ":\", found \"" + value +
                       "\"");
        }
        return number;
    }

    const std::string& path_;
    int lineNumber_ = 0;
    std::map<std::string, int> seen_;
    FmrFile document_;
};

}  // namespace

FmrFile parseFmrFile(std::istream& in, const std::string& path) {
    return FmrParser(path).parse(in);
}

std::string formatFmrFile(const std::string& stcFile, const TimeCourses& run) {
    std::ostringstream text;
    text << kVersionKey << ": 1\n"
         << kStcKey << ": " << stcFile << "\n"
         << kVolumesKey << ": " << run.nrOfVolumes() << "\n"
         << "DimX: " << run.geometry().dim[0] << "\n"
         << "DimY: " << run.geometry().dim[1] << "\n"
         << "DimZ: " << run.geometry().dim[2] << "\n";
    return text.str();
}

std::string stcPathOf(const std::string& fmrPath, const std::string& stcFile) {
    if (stcFile.empty()) return fmrPath;
    const bool absolute = stcFile.front() == '/' || stcFile.front() == '\\' ||
                          (stcFile.size() > 1 && stcFile[1] == ':');
    const std::size_t slash = fmrPath.find_last_of("/\\");
    if (absolute || slash == std::string::npos) return stcFile;
    return fmrPath.substr(0, slash + 1) + stcFile;
}

void checkRunMatches(const FmrFile& document, const TimeCourses& run, const std::string& path) {
    const auto check = [&](const char* key, const std::optional<std::int32_t>& stated,
                           std::int32_t actual) {
        if (stated && *stated != actual) {
            throw FmrFormatError(path + ": states " + key + ": " + std::to_string(*stated) +
                                 ", but " + document.stcFile + " holds " + std::to_string(actual));
        }
    };
    check(kVolumesKey, document.nrOfVolumes, run.nrOfVolumes());
    check("DimX", document.dimX, run.geometry().dim[0]);
    check("DimY", document.dimY, run.geometry().dim[1]);
    check("DimZ", document.dimZ, run.geometry().dim[2]);
}

}  // namespace host
