#include "host/preview/colour_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace host::preview {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(ColourScale, ValuesAgainstThresholds) {
    const Thresholds t{2.0f, 10.0f};
    const struct {
        float value;
        Rgb colour;
    } cases[] = {
        {0.0f, {28, 28, 28}},       // not analysed: darkest grey
        {1.0f, {74, 74, 74}},       // half way to the threshold
        {-1.0f, {74, 74, 74}},      //
        {1.999f, {120, 120, 120}},  // just short of it
        {2.0f, {255, 0, 0}},        // at the lower threshold: red
        {6.0f, {255, 128, 0}},      // half way: orange
        {10.0f, {255, 255, 0}},     // at the upper threshold: yellow
        {500.0f, {255, 255, 0}},    // beyond it: still full scale
        {-2.0f, {0, 0, 255}},       // negative side: blue ...
        {-10.0f, {0, 255, 255}},    // ... to cyan
        {-1e9f, {0, 255, 255}},     //
        {std::nanf(""), kNotFiniteColour},
        {kInf, kNotFiniteColour},
        {-kInf, kNotFiniteColour},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const Rgb got = mapColour(c.value, t);
        EXPECT_EQ(got, c.colour) << int(got.r) << " " << int(got.g) << " " << int(got.b);
    }
}

// Thresholds as maps may carry them: an upper threshold of 0 (an F map where nothing was
// analysed), an upper below the lower one, a negative or infinite one.
TEST(ColourScale, UnusableThresholdsBecomeSafeOnes) {
    const struct {
        Thresholds given;
        Thresholds usable;
    } cases[] = {
        {{2.0f, 0.0f}, {2.0f, 2.0f}},   {{2.0f, kInf}, {2.0f, 2.0f}},
        {{-1.0f, 5.0f}, {0.0f, 5.0f}},  {{std::nanf(""), 3.0f}, {0.0f, 3.0f}},
        {{1.0f, 20.0f}, {1.0f, 20.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.given.lower << " " << c.given.upper);
        const Thresholds usable = usableThresholds(c.given);
        EXPECT_EQ(usable.lower, c.usable.lower);
        EXPECT_EQ(usable.upper, c.usable.upper);
    }
    // Equal thresholds: everything past them is full scale; 0 stays grey with a lower of 0.
    EXPECT_EQ(mapColour(2.0f, {2.0f, 2.0f}), (Rgb{255, 255, 0}));
    EXPECT_EQ(mapColour(0.0f, {0.0f, 1.0f}), (Rgb{28, 28, 28}));
    EXPECT_EQ(mapColour(0.5f, {0.0f, 1.0f}), (Rgb{255, 128, 0}));
}

}  // namespace
}  // namespace host::preview
