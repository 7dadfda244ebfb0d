#pragma once
// Test files for the design-matrix tests: a temporary folder that removes itself, and the text
// of a well-formed SDM file for given predictor columns.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace sdm::test {

class TempDir {
  public:
    TempDir() {
        std::random_device random;
        dir_ = std::filesystem::temp_directory_path() /
               ("tandrel-sdm-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(dir_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return dir_; }

    // Writes content byte for byte (no line-end translation) and returns the file's path.
    std::string write(const std::string& name, const std::string& content) const {
        const std::filesystem::path file = dir_ / name;
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }

  private:
    std::filesystem::path dir_;
};

// A well-formed SDM text: the header, colours (10·j, 20·j, 30·j), names "P1".."Pk", and the
// columns' values written as "%f" in fixed-width fields.
inline std::string sdmText(const std::vector<std::vector<float>>& columns, int firstConfound,
                           int includesConstant = 0) {
    const std::size_t rows = columns.empty() ? 0 : columns[0].size();
    std::string text = "FileVersion: 1\nNrOfPredictors: " + std::to_string(columns.size()) +
                       "\nNrOfDataPoints: " + std::to_string(rows) +
                       "\nIncludesConstant: " + std::to_string(includesConstant) +
                       "\nFirstConfoundPredictor: " + std::to_string(firstConfound) + "\n\n";
    for (std::size_t j = 1; j <= columns.size(); ++j)
        text += std::to_string(10 * j) + " " + std::to_string(20 * j) + " " +
                std::to_string(30 * j) + "   ";
    text += "\n";
    for (std::size_t j = 1; j <= columns.size(); ++j) text += "\"P" + std::to_string(j) + "\" ";
    text += "\n";
    for (std::size_t i = 0; i < rows; ++i) {
        for (const auto& column : columns) {
            char field[64];
            std::snprintf(field, sizeof field, " %f", static_cast<double>(column[i]));
            text += field;
        }
        text += "\n";
    }
    return text;
}

}  // namespace sdm::test
