#pragma once

// Converts dialog units to pixels. A horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height.
struct DialogUnits {
    int baseX = 0;  // average width of A-Z a-z, in pixels
    int baseY = 0;  // font height, in pixels

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
};

// a * b / c, rounded half away from zero, as the Windows MulDiv rounds.
int MulDiv(int a, int b, int c);
