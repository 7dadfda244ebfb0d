#include "host/demo/random.h"

#include <cmath>

#include "host/demo/portable_math.h"

namespace host::demo {
namespace {

std::uint64_t splitmix64(std::uint64_t& x) {
    x += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t rotateLeft(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

}  // namespace

Random::Random(std::uint64_t seed) {
    for (auto& word : state_) word = splitmix64(seed);
}

std::uint64_t Random::next() {
    const std::uint64_t result = rotateLeft(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotateLeft(state_[3], 45);
    return result;
}

double Random::uniform() {
    // Odd multiples of 2^-54 keep the value strictly inside (0, 1).
    return (static_cast<double>(next() >> 11) + 0.5) * 0x1.0p-53;
}

double Random::normal() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    double u = 0.0;
    double v = 0.0;
    double s = 0.0;
    do {
        u = 2.0 * uniform() - 1.0;
        v = 2.0 * uniform() - 1.0;
        s = u * u + v * v;
    } while (s >= 1.0 || s == 0.0);
    const double scale = std::sqrt(-2.0 * portableLog(s) / s);
    spare_ = v * scale;
    hasSpare_ = true;
    return u * scale;
}

}  // namespace host::demo
