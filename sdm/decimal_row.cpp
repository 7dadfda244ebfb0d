#include "sdm/decimal_row.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace sdm {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSign(char c) {
    return c == '+' || c == '-';
}

// Length of the decimal number at the start of s, or 0 when s does not start with one. An 'e'
// without exponent digits is not part of the number.
std::size_t numberLength(std::string_view s) {
    std::size_t i = !s.empty() && isSign(s[0]) ? 1 : 0;
    std::size_t digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) ++digits;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i) ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && isSign(s[j])) ++j;
        const std::size_t exponentStart = j;
        while (j < s.size() && isDigit(s[j])) ++j;
        if (j > exponentStart) i = j;
    }
    return i;
}

// Decimal order of magnitude of a number's first significant digit (1.5e3: 3, 0.02: -2). The
// double conversion reports underflow and overflow alike; the order tells them apart.
std::int64_t decimalOrder(std::string_view number) {
    constexpr std::int64_t kSaturation = 1'000'000'000'000;
    std::size_t i = isSign(number[0]) ? 1 : 0;
    std::int64_t integerDigits = 0;  // significant digits before the point
    std::int64_t leadingZeros = 0;   // zeros after the point before the first significant digit
    bool significant = false;
    for (; i < number.size() && isDigit(number[i]); ++i) {
        significant = significant || number[i] != '0';
        if (significant) ++integerDigits;
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && isDigit(number[i]); ++i) {
            significant = significant || number[i] != '0';
            if (!significant) ++leadingZeros;
        }
    }
    std::int64_t exponent = 0;
    if (i < number.size()) {  // the exponent: 'e', optional sign, digits
        ++i;
        const bool negative = number[i] == '-';
        if (isSign(number[i])) ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(kSaturation, exponent * 10 + (number[i] - '0'));
        if (negative) exponent = -exponent;
    }
    return (integerDigits > 0 ? integerDigits - 1 : -(leadingZeros + 1)) + exponent;
}

float toFloat(std::string_view number, const SourceText& text, std::size_t lineNumber) {
    const char* first = number.data() + (number[0] == '+' ? 1 : 0);
    double value = 0.0;
    const auto result = std::from_chars(first, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = decimalOrder(number) < 0 ? (number[0] == '-' ? -0.0 : 0.0) : HUGE_VAL;
    const auto narrowed = static_cast<float>(value);
    if (!std::isfinite(narrowed))
        throw text.error(lineNumber, "expected a finite single-precision value, found '" +
                                         excerpt(number) + "'");
    return narrowed;
}

}  // namespace

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isBlankLine(std::string_view line) {
    for (const char c : line) {
        if (!isBlank(c)) return false;
    }
    return true;
}

void parseDecimalRow(std::string_view line, std::vector<float>& row, const SourceText& text,
                     std::size_t lineNumber) {
    row.clear();
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        if (pos == line.size()) return;
        const std::size_t length = numberLength(line.substr(pos));
        const std::size_t end = pos + length;
        if (length == 0 || (end < line.size() && !isBlank(line[end]) && !isSign(line[end]))) {
            std::size_t tokenEnd = pos;
            while (tokenEnd < line.size() && !isBlank(line[tokenEnd])) ++tokenEnd;
            throw text.error(lineNumber, "expected a number, found '" +
                                             excerpt(line.substr(pos, tokenEnd - pos)) + "'");
        }
        row.push_back(toFloat(line.substr(pos, length), text, lineNumber));
        pos = end;
    }
}

}  // namespace sdm
