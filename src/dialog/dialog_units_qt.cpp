#include "dialog/dialog_units_qt.h"

#include <cstdint>
#include <cstdlib>

namespace {

// a * b / c, rounded half away from zero.
int ScaleRounded(int a, int b, int c)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = std::abs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t rounded = (std::abs(product) + half) / std::abs(c);
    return static_cast<int>(negative ? -rounded : rounded);
}

}  // namespace

int DialogUnits::ToPixelsX(int units) const
{
    return ScaleRounded(units, baseX, 4);
}

int DialogUnits::ToPixelsY(int units) const
{
    return ScaleRounded(units, baseY, 8);
}
