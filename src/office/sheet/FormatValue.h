#pragma once

#include <QString>

#include <cstdint>

namespace office::sheet {

/// A cell value as the number formats see it.
struct FormatValue {
    enum class Kind { Number, Text, Boolean, Error };

    Kind kind = Kind::Number;
    double number = 0;      ///< Kind::Number: the stored double (dates are serial numbers)
    QString text;           ///< Kind::Text
    bool boolean = false;   ///< Kind::Boolean
    std::uint8_t error = 0; ///< Kind::Error: the BIFF8 error code (0x07 = #DIV/0!, ...)

    static FormatValue fromNumber(double v) { return {Kind::Number, v, {}, false, 0}; }
    static FormatValue fromText(const QString &t) { return {Kind::Text, 0, t, false, 0}; }
    static FormatValue fromBoolean(bool b) { return {Kind::Boolean, 0, {}, b, 0}; }
    static FormatValue fromError(std::uint8_t code) { return {Kind::Error, 0, {}, false, code}; }
};

/// Which day serial number 0 stands for (DATEMODE record).
enum class DateSystem {
    Windows1900, ///< serial 1 = 1900-01-01, with the fictitious 1900-02-29 as serial 60
    Mac1904      ///< serial 0 = 1904-01-01
};

}  // namespace office::sheet
