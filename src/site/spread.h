#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tarnel::site {

// The least, the middle and the greatest of some measurements.
template <class T>
struct Spread {
    T min{}, median{}, max{};
    std::size_t count = 0;
};

// Of `values`, which must not be empty.
template <class T>
Spread<T> SpreadOf(std::vector<T> values)
{
    std::ranges::sort(values);
    return {values.front(), values[values.size() / 2], values.back(), values.size()};
}

}  // namespace tarnel::site
