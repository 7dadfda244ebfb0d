#include "host/demo/random.h"

#include <gtest/gtest.h>

namespace host::demo {
namespace {

// Pinned outputs for seed 1: every build, on every platform, must produce exactly these, or the
// demo run would differ between them.
TEST(Random, SeedOneGivesThePinnedSequence) {
    Random random(1);
    EXPECT_EQ(random.next(), 0xb3f2af6d0fc710c5ull);
    EXPECT_EQ(random.next(), 0x853b559647364ceaull);
    EXPECT_EQ(random.uniform(), 0x1.25f12eac10548p-1);
    EXPECT_EQ(random.normal(), -0x1.b97f261fed5e9p-1);
    EXPECT_EQ(random.normal(), 0x1.908937aee2a38p+0);
}

TEST(Random, DeviatesHaveTheirDistributions) {
    Random random(42);
    constexpr int kCount = 200000;
    double uniformSum = 0.0;
    double sum = 0.0;
    double squares = 0.0;
    for (int i = 0; i < kCount; ++i) {
        const double u = random.uniform();
        ASSERT_GT(u, 0.0);
        ASSERT_LT(u, 1.0);
        uniformSum += u;
        const double z = random.normal();
        sum += z;
        squares += z * z;
    }
    EXPECT_NEAR(uniformSum / kCount, 0.5, 0.005);
    EXPECT_NEAR(sum / kCount, 0.0, 0.01);
    EXPECT_NEAR(squares / kCount, 1.0, 0.01);
}

TEST(Random, SeedsGiveDifferentStreams) {
    Random a(1);
    Random b(2);
    EXPECT_NE(a.next(), b.next());
}

}  // namespace
}  // namespace host::demo
