#include "host/demo/sdm_writer.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "host/atomic_file.h"

namespace host::demo {
namespace {

constexpr int kValueWidth = 9;

std::string toChars(double value, std::chars_format format, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

std::string headerLine(const std::string& key, int value) {
    std::string line = key;
    line.resize(24, ' ');
    return line + std::to_string(value) + "\n";
}

void checkDesign(const Design& design) {
    const auto points = static_cast<std::size_t>(design.nrOfDataPoints());
    for (int p = 0; p < design.nrOfPredictors(); ++p) {
        const Predictor& predictor = design.predictors[p];
        const std::string which =
            "predictor " + std::to_string(p + 1) + " \"" + predictor.name + "\"";
        if (predictor.name.find_first_of("\"\r\n") != std::string::npos) {
            throw std::invalid_argument(which + ": a name cannot hold a quote or a line break");
        }
        if (predictor.values.size() != points) {
            throw std::invalid_argument(which + ": expected " + std::to_string(points) +
                                        " values, found " +
                                        std::to_string(predictor.values.size()));
        }
        for (std::size_t t = 0; t < points; ++t) {
            if (!std::isfinite(predictor.values[t])) {
                throw std::invalid_argument(which + ", data point " + std::to_string(t + 1) +
                                            ": value is not finite");
            }
        }
    }
}

}  // namespace

std::string formatSdmValue(double value) {
    std::string text = toChars(value, std::chars_format::fixed, 6);
    if (text == "-0.000000") return "0.000000";
    const std::size_t lead = text.find('.');
    if (lead <= 2) return text;
    const int integerDigits = static_cast<int>(lead) - (text[0] == '-' ? 1 : 0);
    return toChars(value, std::chars_format::scientific, integerDigits - 1 + 6);
}

double sdmValue(double value) {
    const std::string text = formatSdmValue(value);
    double parsed = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), parsed);
    return parsed;
}

std::string sdmText(const Design& design) {
    checkDesign(design);
    std::string text = headerLine("FileVersion:", 1) + "\n";
    text += headerLine("NrOfPredictors:", design.nrOfPredictors());
    text += headerLine("NrOfDataPoints:", design.nrOfDataPoints());
    text += headerLine("IncludesConstant:", design.includesConstant ? 1 : 0);
    text += headerLine("FirstConfoundPredictor:", design.firstConfoundPredictor) + "\n";
    for (int p = 0; p < design.nrOfPredictors(); ++p) {
        const auto& c = design.predictors[p].colour;
        text += (p == 0 ? "" : "   ") + std::to_string(c[0]) + " " + std::to_string(c[1]) + " " +
                std::to_string(c[2]);
    }
    text += "\n";
    for (int p = 0; p < design.nrOfPredictors(); ++p) {
        text += (p == 0 ? "\"" : " \"") + design.predictors[p].name + "\"";
    }
    text += "\n";
    for (int t = 0; t < design.nrOfDataPoints(); ++t) {
        for (int p = 0; p < design.nrOfPredictors(); ++p) {
            const std::string value = formatSdmValue(design.predictors[p].values[t]);
            if (p > 0) text += ' ';
            if (value.size() < kValueWidth) text.append(kValueWidth - value.size(), ' ');
            text += value;
        }
        text += "\n";
    }
    return text;
}

void writeSdm(const Design& design, const std::filesystem::path& path) {
    const std::string text = sdmText(design);
    AtomicFile file(path.string());
    file.write(text.data(), text.size());
    file.commit();
}

}  // namespace host::demo
