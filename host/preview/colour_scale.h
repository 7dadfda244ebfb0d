#pragma once
// How a map value is shown: values at or beyond the lower threshold in colour (positive from red
// at the lower to yellow at the upper threshold, negative from blue to cyan), values short of it
// in grey that brightens towards the threshold, so the head's outline stays visible, and values
// that are not finite in magenta.

#include "host/preview/canvas.h"

namespace host::preview {

inline constexpr Rgb kNotFiniteColour{255, 0, 255};

struct Thresholds {
    float lower = 0.0f;
    float upper = 0.0f;
};

// The thresholds as drawn: a lower threshold below 0 or not finite counts as 0, and an upper
// threshold below the lower one or not finite as the lower one (everything past it full scale).
Thresholds usableThresholds(Thresholds given);

Rgb positiveColour(float t);      // t from 0 (red) to 1 (yellow)
Rgb negativeColour(float t);      // t from 0 (blue) to 1 (cyan)
Rgb subThresholdColour(float t);  // t from 0 (value 0) to 1 (just short of the threshold)

// The colour of `value` under usable thresholds.
Rgb mapColour(float value, const Thresholds& thresholds);

}  // namespace host::preview
