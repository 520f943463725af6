#include "office/sheet/RkNumber.h"

#include <cmath>
#include <cstring>

namespace office::sheet {

double decodeRk(std::uint32_t rk) {
    double value;
    if (rk & 0x02) {
        value = double(std::int32_t(rk) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

bool encodeRk(double value, std::uint32_t &rk) {
    for (std::uint32_t scaled = 0; scaled < 2; ++scaled) {
        const double v = scaled ? value * 100 : value;
        // Rounded, because value * 100 of a two-decimal number is rarely whole in
        // binary (1234567.89 * 100 = 123456788.99999999).
        const double whole = std::nearbyint(v);
        if (std::abs(whole) < double(1 << 29)) {
            const std::uint32_t r = (std::uint32_t(std::int32_t(whole)) << 2) | 0x02 | scaled;
            if (decodeRk(r) == value) return rk = r, true;
        }
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        if ((bits & 0xFFFFFFFFu) == 0 && ((bits >> 32) & 0x03) == 0) {
            const std::uint32_t r = std::uint32_t(bits >> 32) | scaled;
            if (decodeRk(r) == value) return rk = r, true;
        }
    }
    return false;
}

}  // namespace office::sheet
