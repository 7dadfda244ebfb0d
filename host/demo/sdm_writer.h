#pragma once
// Design matrices written as SDM text files, the way such files usually look: the header keys
// padded to one column, one colour triple per predictor, the quoted names, then one row per
// volume of fixed-point numbers with six decimals.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace host::demo {

struct Predictor {
    std::string name;
    std::array<int, 3> colour;   // red, green, blue
    std::vector<double> values;  // one per volume, as written (see sdmValue)
};

struct Design {
    std::vector<Predictor> predictors;
    int firstConfoundPredictor = 1;  // 1-based, as in the file
    bool includesConstant = true;

    int nrOfPredictors() const { return static_cast<int>(predictors.size()); }
    int nrOfDataPoints() const {
        return predictors.empty() ? 0 : static_cast<int>(predictors.front().values.size());
    }
};

// One value as the file holds it: "%.6f", or, when that would need more than two characters in
// front of the decimal point, the same digits in exponent form ("1.199000e+03"). SDM readers
// locate each number of a row by its decimal point and give it at most two characters before
// it, so a fixed-point 199.000000 would be misread.
std::string formatSdmValue(double value);

// The value that a reader of the file gets back (in double precision; a reader that works in
// single precision narrows this once).
double sdmValue(double value);

// The whole file. Throws std::invalid_argument for predictors of unequal length, a name holding
// a double quote or line break, or a value that is not finite.
std::string sdmText(const Design& design);

// Writes sdmText atomically; throws host::WriteError naming the path when it cannot.
void writeSdm(const Design& design, const std::filesystem::path& path);

}  // namespace host::demo
