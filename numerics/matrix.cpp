#include "numerics/matrix.h"

#include "numerics/storage.h"

namespace numerics {

template <class T>
BasicMatrix<T>::BasicMatrix() : rows(0), cols(0), data(nullptr) {}

template <class T>
BasicMatrix<T>::BasicMatrix(std::int32_t rows, std::int32_t cols)
    : rows(rows), cols(cols), data(detail::allocateArray<T>(detail::elementCount({rows, cols}))) {}

template <class T>
BasicMatrix<T>::BasicMatrix(std::int32_t rows, std::int32_t cols, T value)
    : BasicMatrix(rows, cols) {
    std::fill_n(data, rows * cols, value);
}

template <class T>
BasicMatrix<T>::BasicMatrix(std::pair<std::int32_t, std::int32_t> shape, T value)
    : BasicMatrix(shape.first, shape.second, value) {}

template <class T>
BasicMatrix<T>::BasicMatrix(const BasicMatrix& other)
    : rows(other.rows), cols(other.cols), data(detail::copyArray(other.data, rows * cols)) {}

template <class T>
BasicMatrix<T>::BasicMatrix(BasicMatrix&& other) noexcept
    : rows(other.rows), cols(other.cols), data(std::exchange(other.data, nullptr)) {}

template <class T>
BasicMatrix<T>& BasicMatrix<T>::operator=(const BasicMatrix& other) {
    if (this == &other) return *this;
    resize(other.rows, other.cols);
    if (other.data != nullptr) std::copy_n(other.data, rows * cols, data);
    return *this;
}

template <class T>
BasicMatrix<T>& BasicMatrix<T>::operator=(BasicMatrix&& other) noexcept {
    if (this == &other) return *this;
    delete[] data;
    rows = other.rows;
    cols = other.cols;
    data = std::exchange(other.data, nullptr);
    return *this;
}

template <class T>
BasicMatrix<T>::~BasicMatrix() {
    delete[] data;
}

template <class T>
void BasicMatrix<T>::resize(std::int32_t newRows, std::int32_t newCols) {
    const std::int32_t newCount = detail::elementCount({newRows, newCols});
    if (newCount != rows * cols || data == nullptr) {
        T* fresh = detail::allocateArray<T>(newCount);
        delete[] data;
        data = fresh;
    }
    rows = newRows;
    cols = newCols;
}

template <class T>
BasicMatrix<T> BasicMatrix<T>::transposed() const {
    BasicMatrix result(cols, rows);
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < cols; ++j)
            result.data[j + i * result.rows] = data[i + j * rows];
    }
    return result;
}

// Each element of the product is its own sum over the inner index, started at the first term.
// The loops run over the rows of a column innermost, so the independent sums of one column
// advance together while each keeps exactly its sequential order.
template <class T>
BasicMatrix<T> BasicMatrix<T>::operator*(const BasicMatrix& other) const {
    BasicMatrix result(rows, other.cols);
    for (std::int32_t i = 0; i < other.cols; ++i) {
        T* column = result.data + i * rows;
        const T* right = other.data + i * other.rows;
        for (std::int32_t j = 0; j < rows; ++j) column[j] = data[j] * right[0];
        for (std::int32_t k = 1; k < cols; ++k) {
            const T* left = data + k * rows;
            for (std::int32_t j = 0; j < rows; ++j) column[j] += left[j] * right[k];
        }
    }
    return result;
}

template <class T>
BasicVector<T> BasicMatrix<T>::operator*(BasicVector<T> vector) const {
    BasicVector<T> result(rows);
    for (std::int32_t i = 0; i < rows; ++i) result.data[i] = data[i] * vector.data[0];
    for (std::int32_t k = 1; k < cols; ++k) {
        const T* left = data + k * rows;
        for (std::int32_t i = 0; i < rows; ++i) result.data[i] += left[i] * vector.data[k];
    }
    return result;
}

template struct BasicMatrix<float>;
template struct BasicMatrix<double>;

}  // namespace numerics
