#include "host/preview/colour_scale.h"

#include <algorithm>
#include <cmath>

namespace host::preview {
namespace {

std::uint8_t level(float t, float from, float to) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * std::clamp(t, 0.0f, 1.0f)));
}

}  // namespace

Thresholds usableThresholds(Thresholds given) {
    Thresholds usable = given;
    if (!std::isfinite(usable.lower) || usable.lower < 0.0f) usable.lower = 0.0f;
    if (!std::isfinite(usable.upper) || usable.upper < usable.lower) usable.upper = usable.lower;
    return usable;
}

Rgb positiveColour(float t) {
    return {255, level(t, 0, 255), 0};
}

Rgb negativeColour(float t) {
    return {0, level(t, 0, 255), 255};
}

Rgb subThresholdColour(float t) {
    const std::uint8_t grey = level(t, 28, 120);
    return {grey, grey, grey};
}

Rgb mapColour(float value, const Thresholds& thresholds) {
    if (!std::isfinite(value)) return kNotFiniteColour;
    const float magnitude = std::fabs(value);
    const float range = thresholds.upper - thresholds.lower;
    if (value != 0.0f && magnitude >= thresholds.lower) {
        const float t = range > 0.0f ? (magnitude - thresholds.lower) / range : 1.0f;
        return value > 0.0f ? positiveColour(t) : negativeColour(t);
    }
    return subThresholdColour(thresholds.lower > 0.0f ? magnitude / thresholds.lower : 0.0f);
}

}  // namespace host::preview
