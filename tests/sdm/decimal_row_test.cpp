#include "sdm/decimal_row.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "sdm/io_error.h"

namespace sdm {
namespace {

struct RowCase {
    std::string line;
    std::vector<float> values;
};

// Bit patterns, so that -0 and +0 differ and no tolerance hides a wrong rounding.
std::vector<std::uint32_t> bits(const std::vector<float>& values) {
    std::vector<std::uint32_t> result;
    for (const float v : values) {
        std::uint32_t b;
        std::memcpy(&b, &v, sizeof b);
        result.push_back(b);
    }
    return result;
}

TEST(DecimalRow, ReadsNumbersAsWritten) {
    const std::vector<RowCase> cases = {
        {" 1.000000 -0.750000  1.000000", {1.0f, -0.75f, 1.0f}},
        {"1.000000-1.000000", {1.0f, -1.0f}},
        {"0.5+0.25-2", {0.5f, 0.25f, -2.0f}},
        {"1\t0\t-3", {1.0f, 0.0f, -3.0f}},
        {"1e-05 2.5E+02 -1.5e-3", {1e-05f, 250.0f, -1.5e-3f}},
        {"1e-5-2e1", {1e-5f, -20.0f}},
        {".5 5. +7", {0.5f, 5.0f, 7.0f}},
        {" 100.5 -10.25 12345.678000", {100.5f, -10.25f, 12345.678f}},
        {"0.1 3.4028234e38 -3.4028234e38", {0.1f, 3.4028234e38f, -3.4028234e38f}},
        // Converted in double, then narrowed: just below the halfway point between 1 + 2^-23
        // and 1 + 2^-22, the double is the halfway point itself, which rounds to even.
        {"1.0000001788139343261718749", {0x1.000004p0f}},
        // Underflow in the double conversion is zero of its sign, not an error.
        {"1e-400 -1e-400 0.000001e-330", {0.0f, -0.0f, 0.0f}},
        {"1e-40", {static_cast<float>(1e-40)}},
        {"1.5\r", {1.5f}},
        {"  \t ", {}},
        {"", {}},
    };
    const SourceText text("run.sdm", "");
    std::vector<float> row;
    for (const RowCase& c : cases) {
        SCOPED_TRACE("line: '" + c.line + "'");
        parseDecimalRow(c.line, row, text, 7);
        EXPECT_EQ(bits(row), bits(c.values));
    }
}

struct BadRowCase {
    std::string line;
    std::string message;
};

TEST(DecimalRow, RefusesWhatIsNoFiniteNumber) {
    const std::vector<BadRowCase> cases = {
        {"abc.5", "run.sdm: line 7: expected a number, found 'abc.5'"},
        {"1.0 2.0x 3", "run.sdm: line 7: expected a number, found '2.0x'"},
        {"1,5", "run.sdm: line 7: expected a number, found '1,5'"},
        {"1--1", "run.sdm: line 7: expected a number, found '--1'"},
        {"1.0e", "run.sdm: line 7: expected a number, found '1.0e'"},
        {"1.0e+ 2", "run.sdm: line 7: expected a number, found '1.0e+'"},
        {"- 1", "run.sdm: line 7: expected a number, found '-'"},
        {".", "run.sdm: line 7: expected a number, found '.'"},
        {"nan", "run.sdm: line 7: expected a number, found 'nan'"},
        {"inf", "run.sdm: line 7: expected a number, found 'inf'"},
        {"0x1p3", "run.sdm: line 7: expected a number, found '0x1p3'"},
        {"1.0\"", "run.sdm: line 7: expected a number, found '1.0\"'"},
        {"1.0e39", "run.sdm: line 7: expected a finite single-precision value, found '1.0e39'"},
        {"-3.5e38", "run.sdm: line 7: expected a finite single-precision value, found '-3.5e38'"},
        {"1e400", "run.sdm: line 7: expected a finite single-precision value, found '1e400'"},
        {"0.0001e-300 1" + std::string(400, '0'),
         "run.sdm: line 7: expected a finite single-precision value, found '1" +
             std::string(39, '0') + "...'"},
    };
    const SourceText text("run.sdm", "");
    std::vector<float> row;
    for (const BadRowCase& c : cases) {
        SCOPED_TRACE("line: '" + c.line + "'");
        try {
            parseDecimalRow(c.line, row, text, 7);
            ADD_FAILURE() << "no error";
        } catch (const IOError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

TEST(DecimalRow, BlankLines) {
    EXPECT_TRUE(isBlankLine(""));
    EXPECT_TRUE(isBlankLine(" \t\r"));
    EXPECT_FALSE(isBlankLine(" 0"));
}

}  // namespace
}  // namespace sdm
