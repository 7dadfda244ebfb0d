#include "numerics/vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace numerics {
namespace {

Vector makeVector(std::vector<float> values) {
    Vector v(static_cast<std::int32_t>(values.size()));
    for (std::int32_t i = 0; i < v.count; ++i) v[i] = values[i];
    return v;
}

TEST(Vector, ConstructorsDistinguishEmptyArrayFromNoArray) {
    Vector none;
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.data, nullptr);

    Vector empty(0);
    EXPECT_EQ(empty.count, 0);
    EXPECT_NE(empty.data, nullptr);

    Vector filled(3, 2.5f);
    ASSERT_EQ(filled.count, 3);
    for (std::int32_t i = 0; i < 3; ++i) EXPECT_EQ(filled[i], 2.5f);
}

TEST(Vector, NegativeCountIsAnAllocationFailure) {
    EXPECT_THROW(Vector(-1), std::bad_alloc);
    EXPECT_THROW(Vector(-1, 0.0f), std::bad_alloc);
    Vector v(2);
    EXPECT_THROW(v.resize(-3), std::bad_alloc);
    EXPECT_EQ(v.count, 2);  // a failed resize leaves a usable vector
}

TEST(Vector, CopyIsDeepAndMoveLeavesCountWithoutArray) {
    Vector source = makeVector({1, 2, 3});
    Vector copy(source);
    copy[0] = 9;
    EXPECT_EQ(source[0], 1);

    float* array = source.data;
    Vector moved(std::move(source));
    EXPECT_EQ(moved.data, array);
    EXPECT_EQ(source.count, 3);
    EXPECT_EQ(source.data, nullptr);

    Vector assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.data, array);
    EXPECT_EQ(moved.count, 3);
    EXPECT_EQ(moved.data, nullptr);
}

TEST(Vector, ResizeKeepsTheArrayOnlyForAnUnchangedCount) {
    Vector v = makeVector({1, 2, 3});
    float* array = v.data;
    v.resize(3);
    EXPECT_EQ(v.data, array);
    EXPECT_EQ(v[2], 3);

    v.resize(5);
    EXPECT_EQ(v.count, 5);
    EXPECT_NE(v.data, nullptr);
}

TEST(Vector, MovedFromVectorRegainsAnArrayOnResizeOrAssignment) {
    Vector v = makeVector({1, 2});
    Vector taken(std::move(v));
    v.resize(2);  // same count, but nothing to keep
    ASSERT_NE(v.data, nullptr);
    v[1] = 4;

    Vector w(std::move(taken));
    taken = v;
    ASSERT_NE(taken.data, nullptr);
    EXPECT_EQ(taken[1], 4);
}

TEST(Vector, CopyAssignmentReusesAnArrayOfTheSameCount) {
    Vector target(3, 0.0f);
    float* array = target.data;
    const Vector same = makeVector({4, 5, 6});
    target = same;
    EXPECT_EQ(target.data, array);
    EXPECT_EQ(target[2], 6);

    const Vector shorter = makeVector({7});
    target = shorter;
    EXPECT_EQ(target.count, 1);
    EXPECT_EQ(target[0], 7);

    const Vector& self = target;
    target = self;  // self-assignment leaves the contents
    EXPECT_EQ(target[0], 7);
}

TEST(Vector, ElementwiseOperationsRunOverThisCount) {
    const Vector a = makeVector({1, 2, 3});
    const Vector b = makeVector({4, 5, 6, 100});  // a longer operand is read only up to a.count
    const Vector product = a.elementwiseProduct(b);
    const Vector difference = a - b;
    const Vector shifted = a - 0.5f;
    const Vector squares = b.squared();
    ASSERT_EQ(product.count, 3);
    ASSERT_EQ(difference.count, 3);
    ASSERT_EQ(squares.count, 4);
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(product[i], a[i] * b[i]);
        EXPECT_EQ(difference[i], a[i] - b[i]);
        EXPECT_EQ(shifted[i], a[i] - 0.5f);
    }
    EXPECT_EQ(squares[3], 10000);
    EXPECT_EQ(a[0], 1);  // operands unchanged
}

TEST(Vector, SumRunsLeftToRightInSinglePrecision) {
    EXPECT_EQ(makeVector({1.0e8f, 1.0f, -1.0e8f}).sum(), 0.0f);
    EXPECT_EQ(makeVector({1.0f, 1.0e8f, -1.0e8f}).sum(), 0.0f);
    EXPECT_EQ(makeVector({1.0e8f, -1.0e8f, 1.0f}).sum(), 1.0f);
    // Starting at the first element keeps the sign of a lone negative zero.
    EXPECT_TRUE(std::signbit(makeVector({-0.0f}).sum()));
}

TEST(Vector, MeanDividesTheSumByTheCount) {
    EXPECT_EQ(makeVector({1, 2, 4}).mean(), 7.0f / 3.0f);
    EXPECT_EQ(makeVector({1.0e8f, 1.0f, -1.0e8f, 3.0f}).mean(), 0.75f);
}

TEST(Vector, StdDevIsTheSampleDeviationAboveTheFloor) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<float> values;
        float expected;
    };
    const float ssOfSpread = (0.0f - 0.01f) * (0.0f - 0.01f) + (0.02f - 0.01f) * (0.02f - 0.01f);
    const Case cases[] = {
        {"one element", {5.0f}, 0.0f},
        {"constant", {1.0f, 1.0f, 1.0f}, 0.0f},
        {"ss above the floor, divided by 1", {0.0f, 0.02f}, std::sqrt(ssOfSpread / 1.0f)},
        {"ss 5e-5 below the floor", {0.0f, 0.01f}, 0.0f},
        {"NaN ss", {1.0f, nan}, 0.0f},
        {"three values", {1.0f, 2.0f, 6.0f}, std::sqrt(14.0f / 2.0f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(makeVector(c.values).stdDev(), c.expected);
    }
    EXPECT_NEAR(makeVector({0.0f, 0.02f}).stdDev(), 0.014142f, 1e-6f);
}

TEST(Vector, MinKeepsTheEarliestAndPassesOverLaterNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(std::isnan(makeVector({nan, 1.0f}).min()));
    EXPECT_EQ(makeVector({1.0f, nan, 0.0f}).min(), 0.0f);
    EXPECT_EQ(makeVector({3.0f, -2.0f, 5.0f}).min(), -2.0f);
    // Among equal values the earliest wins: +0 stays ahead of a later −0.
    EXPECT_FALSE(std::signbit(makeVector({0.0f, -0.0f}).min()));
}

TEST(Vector, DoublePrecisionIsTheSameCode) {
    BasicVector<double> v(3, 0.0);
    v[0] = 1.0e16;
    v[1] = 1.0;
    v[2] = -1.0e16;
    EXPECT_EQ(v.sum(), 0.0);
    EXPECT_EQ(v.min(), -1.0e16);
}

}  // namespace
}  // namespace numerics
