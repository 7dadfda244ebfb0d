#pragma once
// An owning sequence of values: a voxel's time course, a model's beta weights, a confound mask.
//
// Every arithmetic operation is carried out in the element type with one accumulator per sum,
// left to right, so that the fits round the same way on every build.

#include <cstdint>

namespace numerics {

template <class T>
struct BasicVector {
    std::int32_t count;
    T* data;  // owned; null after the empty constructor and after a move

    BasicVector();                             // count 0, no array
    explicit BasicVector(std::int32_t count);  // uninitialised
    BasicVector(std::int32_t count, T value);
    BasicVector(const BasicVector& other);
    BasicVector(BasicVector&& other) noexcept;  // other keeps its count, loses its array
    BasicVector& operator=(const BasicVector& other);
    BasicVector& operator=(BasicVector&& other) noexcept;
    ~BasicVector();

    // Sets count; a new, uninitialised array is made only when the count changes (or when there
    // is no array at all), otherwise the contents stay.
    void resize(std::int32_t newCount);

    T& operator[](std::int32_t index) { return data[index]; }
    const T& operator[](std::int32_t index) const { return data[index]; }

    // Element-wise operations over this vector's count; `other` must be at least as long.
    BasicVector elementwiseProduct(const BasicVector& other) const;
    BasicVector operator-(const BasicVector& other) const;
    BasicVector operator-(T value) const;
    BasicVector squared() const;

    // Statistics; each needs at least one element.
    T sum() const;     // left to right, starting at the first element
    T mean() const;    // sum() / count
    T min() const;     // a NaN first element is returned, a later NaN is passed over
    T stdDev() const;  // sample standard deviation; 0 when the squared deviations are tiny
};

using Vector = BasicVector<float>;

}  // namespace numerics
