#include "numerics/volume.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <new>
#include <utility>

namespace numerics {
namespace {

TEST(Volume, FillsEveryVoxelAndIndexesXFastest) {
    const Dimensions dim{3, 4, 2};
    Volume v(dim, 1.5f);
    EXPECT_EQ(v.dim.x, 3);
    EXPECT_EQ(v.dim.z, 2);
    ASSERT_EQ(v.voxelCount(), 24);
    for (std::int32_t i = 0; i < 24; ++i) EXPECT_EQ(v.data[i], 1.5f);
    v.data[2 + 3 * (1 + 4 * 1)] = 7.0f;  // voxel (2, 1, 1)
    EXPECT_EQ(v.max(), 7.0f);
}

TEST(Volume, ImpossibleDimensionsAreAllocationFailures) {
    const Dimensions cases[] = {{-1, 2, 2}, {2, 2, -1}, {-1, -1, 1}, {2048, 2048, 1024}};
    for (const Dimensions& d : cases) {
        SCOPED_TRACE(testing::Message() << d.x << " x " << d.y << " x " << d.z);
        EXPECT_THROW(Volume(d, 0.0f), std::bad_alloc);
    }
    EXPECT_NE(Volume(Dimensions{0, 5, 5}, 0.0f).data, nullptr);
}

TEST(Volume, CopyIsDeepAndMoveKeepsDimensions) {
    Volume source(Dimensions{2, 2, 1}, 1.0f);
    Volume copy(source);
    copy.data[0] = 5.0f;
    EXPECT_EQ(source.data[0], 1.0f);

    Volume moved(std::move(source));
    EXPECT_EQ(source.dim.y, 2);
    EXPECT_EQ(source.data, nullptr);

    source = copy;
    ASSERT_NE(source.data, nullptr);
    EXPECT_EQ(source.data[0], 5.0f);
    copy = std::move(moved);
    EXPECT_EQ(copy.data[0], 1.0f);
    EXPECT_EQ(moved.data, nullptr);
}

TEST(Volume, DifferenceIsVoxelByVoxel) {
    Volume a(Dimensions{2, 1, 2}, 0.0f), b(Dimensions{2, 1, 2}, 0.0f);
    for (std::int32_t i = 0; i < 4; ++i) {
        a.data[i] = 1.0f + i;
        b.data[i] = 0.25f * i;
    }
    const Volume d = a - b;
    EXPECT_EQ(d.dim.z, 2);
    for (std::int32_t i = 0; i < 4; ++i) EXPECT_EQ(d.data[i], a.data[i] - b.data[i]);
}

TEST(Volume, MaxKeepsTheEarliestAndPassesOverLaterNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        float values[3];
        float expected;
    };
    const Case cases[] = {
        {"plain", {1.0f, 3.0f, 2.0f}, 3.0f},
        {"later NaN passed over", {1.0f, nan, 0.5f}, 1.0f},
        {"earliest of equal maxima", {0.0f, -0.0f, -1.0f}, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Volume v(Dimensions{3, 1, 1}, 0.0f);
        std::copy_n(c.values, 3, v.data);
        EXPECT_EQ(v.max(), c.expected);
        EXPECT_EQ(std::signbit(v.max()), std::signbit(c.expected));
    }
    Volume first(Dimensions{1, 1, 2}, 5.0f);
    first.data[0] = nan;
    EXPECT_TRUE(std::isnan(first.max()));
}

}  // namespace
}  // namespace numerics
