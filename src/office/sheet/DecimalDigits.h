#pragma once

#include <QString>

namespace office::sheet {

/// A non-negative finite double as Excel keeps it for display: at most 15
/// significant decimal digits. Rounding happens on these decimal digits (half
/// away from zero), so 2.675 shows as 2.68 as it does in the spreadsheet.
class DecimalDigits {
public:
    /// `value` must be finite; its sign is ignored.
    explicit DecimalDigits(double value);

    bool isZero() const { return m_digits.isEmpty(); }
    /// Power of ten of the first significant digit (1234.5 -> 3, 0.05 -> -2); 0 for zero.
    int exponent() const { return isZero() ? 0 : m_pointPos - 1; }

    /// The value times 10^shift (exact on the decimal digits).
    DecimalDigits shifted(int shift) const;

    /// Rounded to `decimals` places: the integer digits without leading zeros
    /// (empty for zero) and exactly `decimals` fraction digits.
    struct Fixed {
        QString integer;
        QString fraction;
    };
    Fixed fixed(int decimals) const;

private:
    DecimalDigits() = default;
    QString m_digits;   ///< significant digits, no leading or trailing zeros; empty for zero
    int m_pointPos = 0; ///< number of digits before the decimal point (may be <= 0 or > size)
};

}  // namespace office::sheet
