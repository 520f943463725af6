#pragma once

#include <QtGlobal>

namespace office::doc {

/// Unicode values of the Windows-1252 bytes 0x80..0x9F (0 where the byte is unused).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

/// The Windows-1252 byte of a character, -1 when it has none.
inline int cp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c) return 0x80 + i;
    return -1;
}

/// The character of a Windows-1252 byte; the unused bytes stand for themselves.
inline char16_t cp1252Char(quint8 b) {
    if (b < 0x80 || b >= 0xA0) return b;
    const char16_t c = kCp1252High[b - 0x80];
    return c ? c : char16_t(b);
}

}  // namespace office::doc
