#include "numerics/matrix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <random>
#include <utility>

namespace numerics {
namespace {

// Element (r, c) set to 10·r + c, so every value names its position.
Matrix indexed(std::int32_t rows, std::int32_t cols) {
    Matrix m(rows, cols, 0.0f);
    for (std::int32_t c = 0; c < cols; ++c) {
        for (std::int32_t r = 0; r < rows; ++r) m.data[r + c * rows] = 10.0f * r + c;
    }
    return m;
}

TEST(Matrix, ConstructorsSizeAndFill) {
    Matrix none;
    EXPECT_EQ(none.rows, 0);
    EXPECT_EQ(none.cols, 0);
    EXPECT_EQ(none.data, nullptr);

    Matrix empty(0, 4, 1.0f);
    EXPECT_NE(empty.data, nullptr);

    const Matrix fromShape(std::pair<std::int32_t, std::int32_t>{2, 3}, 1.5f);
    EXPECT_EQ(fromShape.rows, 2);
    EXPECT_EQ(fromShape.cols, 3);
    for (std::int32_t i = 0; i < 6; ++i) EXPECT_EQ(fromShape.data[i], 1.5f);
}

TEST(Matrix, ImpossibleShapesAreAllocationFailures) {
    struct Case {
        std::int32_t rows, cols;
    };
    // A negative size in either place (also both, whose product would look positive) and a
    // product beyond 32 bits describe no array.
    const Case cases[] = {{-1, 5}, {5, -1}, {-1, -5}, {65536, 65536}, {-2147483647 - 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " x " << c.cols);
        EXPECT_THROW(Matrix(c.rows, c.cols, 0.0f), std::bad_alloc);
        Matrix m(1, 1, 0.0f);
        EXPECT_THROW(m.resize(c.rows, c.cols), std::bad_alloc);
        EXPECT_EQ(m.rows, 1);
    }
}

TEST(Matrix, MoveLeavesShapeWithoutArray) {
    Matrix source = indexed(2, 3);
    Matrix moved(std::move(source));
    EXPECT_EQ(source.rows, 2);
    EXPECT_EQ(source.cols, 3);
    EXPECT_EQ(source.data, nullptr);
    EXPECT_EQ(moved.data[5], 12.0f);

    Matrix copy(moved);
    copy.data[0] = -1;
    EXPECT_EQ(moved.data[0], 0.0f);
}

TEST(Matrix, ResizeToTheSameCountRereadsTheArrayInTheNewShape) {
    Matrix m = indexed(2, 3);
    float* array = m.data;
    m.resize(3, 2);
    EXPECT_EQ(m.data, array);
    EXPECT_EQ(m.rows, 3);
    EXPECT_EQ(m.cols, 2);
    EXPECT_EQ(m.data[0 + 1 * 3], 11.0f);  // (0, 1) is the old (1, 1)

    m.resize(2, 2);
    EXPECT_EQ(m.rows, 2);
    EXPECT_EQ(m.cols, 2);
}

TEST(Matrix, CopyAssignmentReusesTheArrayWhenTheCountMatches) {
    Matrix target = indexed(2, 3);
    float* array = target.data;
    const Matrix tall = indexed(3, 2);
    target = tall;
    EXPECT_EQ(target.data, array);
    EXPECT_EQ(target.rows, 3);
    EXPECT_EQ(target.cols, 2);
    EXPECT_EQ(0, std::memcmp(target.data, tall.data, 6 * sizeof(float)));

    target = indexed(2, 2);
    EXPECT_NE(target.data, array);
    EXPECT_EQ(target.data[3], 11.0f);

    const Matrix& self = target;
    target = self;  // self-assignment leaves the contents
    EXPECT_EQ(target.data[3], 11.0f);

    Matrix movedFrom = indexed(2, 2);
    Matrix keeper(std::move(movedFrom));
    movedFrom = keeper;  // same count, but no array to reuse
    ASSERT_NE(movedFrom.data, nullptr);
    EXPECT_EQ(movedFrom.data[3], 11.0f);
}

TEST(Matrix, TransposeSwapsRowsAndColumnsExactly) {
    const Matrix a = indexed(2, 3);
    const Matrix t = a.transposed();
    ASSERT_EQ(t.rows, 3);
    ASSERT_EQ(t.cols, 2);
    for (std::int32_t r = 0; r < 2; ++r) {
        for (std::int32_t c = 0; c < 3; ++c) EXPECT_EQ(t.data[c + r * 3], a.data[r + c * 2]);
    }
    const Matrix back = t.transposed();
    EXPECT_EQ(back.rows, 2);
    EXPECT_EQ(0, std::memcmp(back.data, a.data, 6 * sizeof(float)));
}

TEST(Matrix, ProductShapesAndValues) {
    const Matrix a = indexed(2, 3);  // rows (0 1 2), (10 11 12)
    Matrix b(3, 1, 0.0f);
    b.data[0] = 1;
    b.data[1] = 2;
    b.data[2] = 3;
    const Matrix c = a * b;
    ASSERT_EQ(c.rows, 2);
    ASSERT_EQ(c.cols, 1);
    EXPECT_EQ(c.data[0], 8.0f);
    EXPECT_EQ(c.data[1], 68.0f);

    const Matrix one = Matrix(1, 1, 3.0f) * Matrix(1, 1, -0.5f);
    ASSERT_EQ(one.rows, 1);
    EXPECT_EQ(one.data[0], -1.5f);

    Vector v(3, 0.0f);
    v[0] = 1;
    v[1] = 2;
    v[2] = 3;
    const Vector r = a * v;
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r[1], 68.0f);
    EXPECT_EQ(v[2], 3.0f);  // the caller's vector is copied, not consumed
}

// The products against the plain sequential loops, bit for bit: each sum starts at the first
// product and adds the rest in order of the inner index, with no fused multiply-add.
template <class T>
class Products : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(Products, Precisions);

TYPED_TEST(Products, MatchTheSequentialOrderBitForBit) {
    using T = TypeParam;
    std::mt19937 random(7);
    // Magnitudes spread over many octaves, so a different order of additions changes the bits.
    std::uniform_real_distribution<T> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-20, 20);
    auto fill = [&](BasicMatrix<T>& m) {
        for (std::int32_t i = 0; i < m.rows * m.cols; ++i)
            m.data[i] = std::ldexp(mantissa(random), exponent(random));
    };
    const std::int32_t shapes[][3] = {{1, 1, 1}, {7, 5, 6}, {13, 17, 3}, {4, 40, 9}};
    for (const auto& s : shapes) {
        const std::int32_t rows = s[0], inner = s[1], cols = s[2];
        SCOPED_TRACE(testing::Message() << rows << " x " << inner << " x " << cols);
        BasicMatrix<T> a(rows, inner, 0), b(inner, cols, 0);
        fill(a);
        fill(b);
        BasicMatrix<T> expected(rows, cols, 0);
        for (std::int32_t i = 0; i < cols; ++i) {
            for (std::int32_t j = 0; j < rows; ++j) {
                T acc = a.data[j] * b.data[i * inner];
                for (std::int32_t k = 1; k < inner; ++k)
                    acc = acc + a.data[j + k * rows] * b.data[k + i * inner];
                expected.data[j + i * rows] = acc;
            }
        }
        const BasicMatrix<T> product = a * b;
        EXPECT_EQ(0, std::memcmp(product.data, expected.data, sizeof(T) * rows * cols));

        BasicVector<T> v(inner, 0);
        for (std::int32_t k = 0; k < inner; ++k) v[k] = b.data[k];
        const BasicVector<T> r = a * v;
        EXPECT_EQ(0, std::memcmp(r.data, expected.data, sizeof(T) * rows));
    }
}

TEST(Matrix, ConvertMatrixWidensExactlyAndNarrowsToNearest) {
    BasicMatrix<double> d(1, 2, 0.0);
    d.data[0] = 1.0 / 3.0;
    d.data[1] = 1.0e300;
    const Matrix f = convertMatrix<float>(d);
    EXPECT_EQ(f.rows, 1);
    EXPECT_EQ(f.cols, 2);
    EXPECT_EQ(f.data[0], 1.0f / 3.0f);
    EXPECT_EQ(f.data[1], std::numeric_limits<float>::infinity());

    const BasicMatrix<double> back = convertMatrix<double>(f);
    EXPECT_EQ(back.data[0], static_cast<double>(1.0f / 3.0f));
}

}  // namespace
}  // namespace numerics
