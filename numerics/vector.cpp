#include "numerics/vector.h"

#include <cmath>
#include <utility>

#include "numerics/storage.h"

namespace numerics {

template <class T>
BasicVector<T>::BasicVector() : count(0), data(nullptr) {}

template <class T>
BasicVector<T>::BasicVector(std::int32_t count)
    : count(count), data(detail::allocateArray<T>(count)) {}

template <class T>
BasicVector<T>::BasicVector(std::int32_t count, T value) : BasicVector(count) {
    std::fill_n(data, count, value);
}

template <class T>
BasicVector<T>::BasicVector(const BasicVector& other)
    : count(other.count), data(detail::copyArray(other.data, other.count)) {}

template <class T>
BasicVector<T>::BasicVector(BasicVector&& other) noexcept
    : count(other.count), data(std::exchange(other.data, nullptr)) {}

template <class T>
BasicVector<T>& BasicVector<T>::operator=(const BasicVector& other) {
    if (this == &other) return *this;
    resize(other.count);
    if (other.data != nullptr) std::copy_n(other.data, count, data);
    return *this;
}

template <class T>
BasicVector<T>& BasicVector<T>::operator=(BasicVector&& other) noexcept {
    if (this == &other) return *this;
    delete[] data;
    count = other.count;
    data = std::exchange(other.data, nullptr);
    return *this;
}

template <class T>
BasicVector<T>::~BasicVector() {
    delete[] data;
}

template <class T>
void BasicVector<T>::resize(std::int32_t newCount) {
    if (newCount == count && data != nullptr) return;
    T* fresh = detail::allocateArray<T>(newCount);
    delete[] data;
    data = fresh;
    count = newCount;
}

template <class T>
BasicVector<T> BasicVector<T>::elementwiseProduct(const BasicVector& other) const {
    BasicVector result(count);
    for (std::int32_t i = 0; i < count; ++i) result.data[i] = data[i] * other.data[i];
    return result;
}

template <class T>
BasicVector<T> BasicVector<T>::operator-(const BasicVector& other) const {
    BasicVector result(count);
    for (std::int32_t i = 0; i < count; ++i) result.data[i] = data[i] - other.data[i];
    return result;
}

template <class T>
BasicVector<T> BasicVector<T>::operator-(T value) const {
    BasicVector result(count);
    for (std::int32_t i = 0; i < count; ++i) result.data[i] = data[i] - value;
    return result;
}

template <class T>
BasicVector<T> BasicVector<T>::squared() const {
    BasicVector result(count);
    for (std::int32_t i = 0; i < count; ++i) result.data[i] = data[i] * data[i];
    return result;
}

template <class T>
T BasicVector<T>::sum() const {
    T total = data[0];
    for (std::int32_t i = 1; i < count; ++i) total += data[i];
    return total;
}

template <class T>
T BasicVector<T>::mean() const {
    return sum() / static_cast<T>(count);
}

template <class T>
T BasicVector<T>::min() const {
    T smallest = data[0];
    for (std::int32_t i = 1; i < count; ++i) {
        if (smallest > data[i]) smallest = data[i];
    }
    return smallest;
}

template <class T>
T BasicVector<T>::stdDev() const {
    // Below this floor on the summed squared deviations a time course counts as constant: a
    // one-volume or flat course then has no spread instead of a division by zero.
    const T floor = static_cast<T>(0.0001f);
    const T m = sum() / static_cast<T>(count);
    T ss = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const T deviation = data[i] - m;
        ss += deviation * deviation;
    }
    if (ss > floor) return std::sqrt(ss / static_cast<T>(count - 1));
    return 0;
}

template struct BasicVector<float>;
template struct BasicVector<double>;

}  // namespace numerics
