#pragma once

#include <cstdint>

namespace office::sheet {

/// The number an RK value holds: a 30-bit integer or the top 30 bits of a double,
/// divided by 100 when its lowest bit is set.
double decodeRk(std::uint32_t rk);

/// An RK value that decodes to exactly this number; false when there is none (the
/// number then needs a NUMBER record).
bool encodeRk(double value, std::uint32_t &rk);

}  // namespace office::sheet
