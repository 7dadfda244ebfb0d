#include "host/demo/portable_math.h"

#include <cmath>
#include <limits>

namespace host::demo {
namespace {

constexpr double kLn2 = 0.69314718055994530942;
// ln 2 split so that k * kLn2High is exact for every k that exp needs.
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kSqrtHalf = 0.70710678118654752440;

// Series coefficients, evaluated by Horner's rule: 1/n! for e^r and 1/(2n+1) for atanh.
constexpr int kExpTerms = 19;
constexpr int kAtanhTerms = 13;

struct Coefficients {
    double exp[kExpTerms];
    double atanh[kAtanhTerms];
};

constexpr Coefficients makeCoefficients() {
    Coefficients c{};
    c.exp[0] = 1.0;
    for (int n = 1; n < kExpTerms; ++n) c.exp[n] = c.exp[n - 1] / n;
    for (int n = 0; n < kAtanhTerms; ++n) c.atanh[n] = 1.0 / (2 * n + 1);
    return c;
}

constexpr Coefficients kCoefficients = makeCoefficients();

}  // namespace

double portableExp(double x) {
    if (x < -745.0) return 0.0;
    if (x > 709.0) return std::numeric_limits<double>::infinity();
    // x = k ln2 + r with |r| <= ln2 / 2, then e^r by its Taylor series (terms fall below 1e-17
    // of the sum after 18 of them) and an exact scaling by 2^k.
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = (x - k * kLn2High) - k * kLn2Low;
    double sum = kCoefficients.exp[kExpTerms - 1];
    for (int n = kExpTerms - 2; n >= 0; --n) sum = sum * r + kCoefficients.exp[n];
    return std::ldexp(sum, static_cast<int>(k));
}

double portableLog(double x) {
    if (!(x > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    if (std::isinf(x)) return x;
    // x = m 2^e with m in [sqrt(1/2), sqrt(2)); ln m = 2 atanh(s) with s = (m-1)/(m+1), |s| <
    // 0.172, whose odd series converges to double precision within 12 terms.
    int e = 0;
    double m = std::frexp(x, &e);
    if (m < kSqrtHalf) {
        m *= 2.0;
        e -= 1;
    }
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double sum = kCoefficients.atanh[kAtanhTerms - 1];
    for (int n = kAtanhTerms - 2; n >= 0; --n) sum = sum * s2 + kCoefficients.atanh[n];
    return 2.0 * s * sum + e * kLn2;
}

}  // namespace host::demo
