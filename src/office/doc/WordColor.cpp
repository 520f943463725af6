#include "office/doc/WordColor.h"

namespace office::doc {

namespace {

// The word processor's colour-index palette, in index order 1..16 (red, green, blue).
constexpr int kPalette[kColorIndexCount - 1][3] = {
    {0, 0, 0},       {0, 0, 255},   {0, 255, 255}, {0, 255, 0},   {255, 0, 255}, {255, 0, 0},
    {255, 255, 0},   {255, 255, 255}, {0, 0, 128}, {0, 128, 128}, {0, 128, 0},   {128, 0, 128},
    {128, 0, 0},     {128, 128, 0}, {128, 128, 128}, {192, 192, 192},
};

}  // namespace

int colorFromIndex(int colorIndex) {
    if (colorIndex < 1 || colorIndex >= kColorIndexCount) return kColorAutomatic;
    const int *rgb = kPalette[colorIndex - 1];
    return colorFromRgb(rgb[0], rgb[1], rgb[2]);
}

int indexFromColor(int color) {
    if (color == kColorAutomatic) return 0;
    for (int i = 1; i < kColorIndexCount; ++i)
        if (colorFromIndex(i) == color) return i;
    return -1;
}

}  // namespace office::doc
