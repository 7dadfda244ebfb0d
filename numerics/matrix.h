#pragma once
// An owning column-major matrix: a design matrix, its transpose, products and pseudo-inverses.
// Element (r, c) is data[r + c * rows].
//
// The fits use it in single precision (`Matrix`); the model set-up also forms XᵀX and its
// pseudo-inverse in double precision, whose condition number is the square of the design's.

#include <cstdint>
#include <utility>

#include "numerics/vector.h"

namespace numerics {

template <class T>
struct BasicMatrix {
    std::int32_t rows;
    std::int32_t cols;
    T* data;  // owned, rows * cols elements; null after the empty constructor and after a move

    BasicMatrix();  // 0 x 0, no array
    BasicMatrix(std::int32_t rows, std::int32_t cols, T value);
    BasicMatrix(std::pair<std::int32_t, std::int32_t> shape, T value);
    BasicMatrix(const BasicMatrix& other);
    BasicMatrix(BasicMatrix&& other) noexcept;  // other keeps its shape, loses its array
    // Takes the source's shape; the array is reused whenever the element count is unchanged.
    BasicMatrix& operator=(const BasicMatrix& other);
    BasicMatrix& operator=(BasicMatrix&& other) noexcept;
    ~BasicMatrix();

    // Sets the shape. With an unchanged element count the contents stay in memory order and are
    // read in the new shape; otherwise a new, uninitialised array is made.
    void resize(std::int32_t newRows, std::int32_t newCols);

    BasicMatrix transposed() const;
    // The products start each accumulator at the first term and add the others in order of the
    // inner index. The inner dimension is cols; it must be at least 1 and match the operand.
    BasicMatrix operator*(const BasicMatrix& other) const;
    BasicVector<T> operator*(BasicVector<T> vector) const;

    // Singular value decomposition A = U diag(w) Vᵀ in place: this matrix becomes U, w gets
    // cols values (non-negative, unsorted), v becomes cols x cols. False when a singular value
    // does not converge; this matrix, w and v then hold partial results.
    bool svd(BasicVector<T>& w, BasicMatrix& v);
    // Replaces a square matrix by its Moore–Penrose pseudo-inverse. False, untouched, when not
    // square; false, overwritten, when the decomposition does not converge.
    bool invert();

  private:
    BasicMatrix(std::int32_t rows, std::int32_t cols);  // uninitialised
};

using Matrix = BasicMatrix<float>;

// The pseudo-inverse of a square matrix as a new matrix; the argument is left unchanged.
// Throws std::runtime_error("Matrix inversion failed") when invert() would return false.
template <class T>
BasicMatrix<T> inverse(const BasicMatrix<T>& matrix);

// Element-wise conversion between element types: exact from float to double, rounded to nearest
// from double to float.
template <class To, class From>
BasicMatrix<To> convertMatrix(const BasicMatrix<From>& matrix) {
    BasicMatrix<To> result(matrix.rows, matrix.cols, To(0));
    const std::int32_t count = matrix.rows * matrix.cols;
    for (std::int32_t i = 0; i < count; ++i) result.data[i] = static_cast<To>(matrix.data[i]);
    return result;
}

}  // namespace numerics
