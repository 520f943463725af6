#pragma once

#include <QtGlobal>

namespace office::doc {

/// Colours as the word processor's object model gives them: a 24-bit value
/// 0x00BBGGRR (so 255 is red), or kColorAutomatic for the automatic colour.
constexpr int kColorAutomatic = -16777216;

/// Number of entries in the word processor's colour-index palette (index 0 is automatic).
constexpr int kColorIndexCount = 17;

/// The colour of a palette index 1..16 (15 is grey 50 %, 6 red); automatic for
/// 0 and any index outside the palette.
int colorFromIndex(int colorIndex);
/// The palette index of a colour, 0 for automatic, -1 when the colour is not in the palette.
int indexFromColor(int color);

inline int colorRed(int color) { return color & 0xFF; }
inline int colorGreen(int color) { return (color >> 8) & 0xFF; }
inline int colorBlue(int color) { return (color >> 16) & 0xFF; }
inline int colorFromRgb(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

}  // namespace office::doc
