#pragma once
// The owned arrays behind Vector, Matrix and Volume: how an element count is formed from the
// sizes, how an array of that count is obtained, and how a deep copy is made.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <new>

namespace numerics::detail {

// The element count of an array described by 32-bit signed sizes. A negative size, or a product
// that does not fit in 32 bits, describes no array at all; it is reported as the standard
// allocation failure, exactly like a request the system cannot satisfy.
inline std::int32_t elementCount(std::initializer_list<std::int32_t> sizes) {
    std::int64_t count = 1;
    for (std::int32_t size : sizes) {
        if (size < 0) throw std::bad_array_new_length();
        count *= size;
        if (count > std::numeric_limits<std::int32_t>::max()) throw std::bad_array_new_length();
    }
    return static_cast<std::int32_t>(count);
}

// A fresh, uninitialised array of exactly `count` elements. A count of 0 still yields a valid,
// non-null array, so an empty container is distinguishable from a moved-from one.
template <class T>
T* allocateArray(std::int32_t count) {
    if (count < 0) throw std::bad_array_new_length();
    return new T[static_cast<std::size_t>(count)];
}

// A new array holding a copy of `source`. A source without an array (a moved-from container)
// yields an uninitialised array of the same count rather than a read through a null pointer.
template <class T>
T* copyArray(const T* source, std::int32_t count) {
    T* copy = allocateArray<T>(count);
    if (source != nullptr) std::copy_n(source, count, copy);
    return copy;
}

}  // namespace numerics::detail
