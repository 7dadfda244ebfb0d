#pragma once
// The demo data's random numbers: xoshiro256** seeded through splitmix64, with uniform and normal
// deviates of our own. The standard library's distributions differ between library vendors, and
// the demo run must come out bit for bit the same from every build for a given seed.

#include <cstdint>

namespace host::demo {

class Random {
  public:
    explicit Random(std::uint64_t seed);

    std::uint64_t next();
    // Uniform on (0, 1): 53 random bits, never exactly 0 or 1.
    double uniform();
    // Standard normal deviate (Marsaglia's polar method; the second value of each pair is kept
    // for the next call).
    double normal();

  private:
    std::uint64_t state_[4];
    double spare_ = 0.0;
    bool hasSpare_ = false;
};

}  // namespace host::demo
