#pragma once
// One single-study design matrix (an SDM file) in memory: its header entries, one colour and one
// name per predictor, and every predictor's value at every data point (volume of the run).
//
// Predictors keep one order throughout: predictors of interest first, then the confounds from
// firstConfoundPredictor on, and, once addConstantIfMissing has run, the constant last.
//
// Invariants, kept by the reader and by every operation here: red, green, blue, predictorNames
// and columns hold P = nrOfPredictors.value elements, and every column holds
// N = nrOfDataPoints.value values.

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "numerics/matrix.h"

namespace sdm {

// One header entry of an SDM file; T is std::int32_t or bool.
template <typename T>
struct HeaderField {
    std::string key;  // the key token without its colon, e.g. "NrOfPredictors"; empty until read
    T value{};
    // Length of the key token plus the blanks and tabs after it on its own line: the column at
    // which the value starts when it stands on the key's line.
    std::uint32_t valueColumn = 0;
    bool present = false;  // false until the key has been met in the file

    T get() const { return value; }

    // Fills the entry once its key token has been read from the stream: takes the blanks and
    // tabs after the key, then the value, which may stand on a later line. The value token must
    // be a whole decimal integer in the 32-bit range (for bool: 0 or 1); otherwise IOError with
    // a text that starts with the key, e.g. "NrOfPredictors: expected an integer, found 'x'".
    void readFrom(std::istream& in, const std::string& token);
};

class DesignMatrix {
  public:
    // Reads the SDM file at path; throws OpenFileError when it cannot be opened and IOError,
    // naming the file and line, when its contents are malformed. No partly read record exists.
    explicit DesignMatrix(std::string path);

    std::string path;  // as passed to the constructor
    HeaderField<std::int32_t> fileVersion;
    HeaderField<std::int32_t> nrOfPredictors;
    HeaderField<std::int32_t> nrOfDataPoints;
    HeaderField<bool> includesConstant;
    HeaderField<std::int32_t> firstConfoundPredictor;  // 1-based; above P means no confounds
    std::vector<std::int32_t> red;
    std::vector<std::int32_t> green;
    std::vector<std::int32_t> blue;
    std::vector<std::string> predictorNames;
    std::vector<std::vector<float>> columns;  // columns[j][i]: predictor j at data point i

    // True when the last predictor is a non-zero constant (exact comparison; NaN is no constant).
    bool hasConstant() const;

    // Inserts a predictor: a confound goes last, or just before the constant when the design
    // ends in one; a predictor of interest goes just before the first confound. Values of the
    // wrong length, or a second constant, change nothing. A predictor of interest needs
    // firstConfoundPredictor in 1..P+1, otherwise std::invalid_argument.
    void addPredictor(const std::vector<float>& values, const std::string& name, std::int32_t red,
                      std::int32_t green, std::int32_t blue, bool asConfound);

    // Appends a constant confound of ones named "Constant" unless the design ends in a constant;
    // in every case the design then states that it includes a constant.
    void addConstantIfMissing();
};

// The model matrix of a fit: one row per data point, one column per predictor, plus a last
// column of ones when the design does not end in a constant.
numerics::Matrix toMatrix(const DesignMatrix& design);

}  // namespace sdm
