#pragma once
// The time courses behind the demo run and its two designs: a block-design task convolved with
// the canonical haemodynamic response, six head-motion parameters, and a linear scanner drift.
// All are sampled at the start of each volume's repetition time.

#include <array>
#include <vector>

#include "host/demo/random.h"

namespace host::demo {

// Canonical double-gamma haemodynamic response at `seconds` after a brief stimulus: a gamma
// density of shape 6 (peak near 5 s, mean 6 s) minus one sixth of a gamma density of shape 16
// (the undershoot near 15-16 s). Zero for negative times.
double canonicalHaemodynamicResponse(double seconds);

// Alternating rest and task blocks of `blockSeconds` each, starting with rest, convolved with the
// canonical response and scaled so that a sustained block reaches 1.
std::vector<double> taskRegressor(int volumes, double repetitionTime, double blockSeconds);

// Realignment-style motion parameters: translations along x, y, z in mm, then rotations about
// x, y, z in degrees. Each is a smoothed random walk with an RMS of 0.2 about its mean, plus a few
// small jumps where the head moved abruptly; all six start at 0 (the reference volume).
std::array<std::vector<double>, 6> motionParameters(int volumes, Random& random);

// A straight line over the run: 0 ... volumes - 1 when `raw`, else centred and scaled to [-1, 1].
std::vector<double> linearDrift(int volumes, bool raw);

}  // namespace host::demo
