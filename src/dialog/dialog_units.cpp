#include "dialog/dialog_units.h"

#include <QFontMetrics>
#include <cstdint>
#include <cstdlib>

int MulDiv(int a, int b, int c)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = std::abs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t rounded = (std::abs(product) + half) / std::abs(c);
    return static_cast<int>(negative ? -rounded : rounded);
}

DialogUnits DialogUnits::Measure(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The rounded average of 52 characters.
    return {(width / 26 + 1) / 2, metrics.height()};
}

int DialogUnits::ToPixelsX(int units) const
{
    return MulDiv(units, baseX, 4);
}

int DialogUnits::ToPixelsY(int units) const
{
    return MulDiv(units, baseY, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const
{
    return {ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy)};
}
