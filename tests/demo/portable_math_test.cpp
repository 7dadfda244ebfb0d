#include "host/demo/portable_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace host::demo {
namespace {

TEST(PortableMath, AgreesWithTheCLibraryToRoundingError) {
    for (double x = -700.0; x <= 700.0; x += 0.37) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(portableExp(x) / std::exp(x), 1.0, 4e-15);
    }
    for (double x = 1e-300; x < 1e300; x *= 3.7) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(portableLog(x), std::log(x), 4e-15 * std::fabs(std::log(x)) + 1e-16);
    }
}

TEST(PortableMath, ExactPointsAndLimits) {
    EXPECT_EQ(portableExp(0.0), 1.0);
    EXPECT_EQ(portableLog(1.0), 0.0);
    EXPECT_EQ(portableExp(-800.0), 0.0);
    EXPECT_EQ(portableExp(800.0), HUGE_VAL);
    EXPECT_TRUE(std::isnan(portableLog(0.0)));
    EXPECT_TRUE(std::isnan(portableLog(-1.0)));
    EXPECT_EQ(portableLog(HUGE_VAL), HUGE_VAL);
}

}  // namespace
}  // namespace host::demo
