#pragma once
// One data row of a design file: decimal numbers, one per predictor, as people and scripts
// write them: fixed-width "%f" columns, tab-separated values, integers, exponent forms. A number
// is an optional sign, digits with an optional decimal point (at least one digit), and an
// optional exponent. Numbers are separated by white space, except that a number starting with a
// sign may follow the previous one directly, so "1.000000-1.000000" reads as 1 and -1.
//
// The decimal point is always '.', whatever the locale of the host process.

#include <cstddef>
#include <string_view>
#include <vector>

#include "sdm/source_text.h"

namespace sdm {

// White space within a line: blanks, tabs and the carriage return of a Windows line end.
bool isBlank(char c);
bool isBlankLine(std::string_view line);

// Replaces row with the numbers of line, each converted in double precision and narrowed to
// single precision. A value that underflows becomes zero of its sign; anything that is not a
// number, or a value beyond the single-precision range, throws text.error(lineNumber, ...).
void parseDecimalRow(std::string_view line, std::vector<float>& row, const SourceText& text,
                     std::size_t lineNumber);

}  // namespace sdm
