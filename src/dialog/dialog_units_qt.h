#pragma once

// Converts dialog units to pixels. A horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height;
// both round half away from zero, as Windows does.
struct DialogUnits {
    int baseX = 0;  // average width of A-Z a-z, in pixels
    int baseY = 0;  // font height, in pixels

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
};
