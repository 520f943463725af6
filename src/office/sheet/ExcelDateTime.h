#pragma once

#include "office/sheet/FormatValue.h"

#include <optional>

namespace office::sheet {

/// A serial date-time split into what date and time codes show.
struct ExcelDateTime {
    int year = 1900;
    int month = 1;   ///< 1-12
    int day = 0;     ///< 0-31; day 0 of January 1900 is serial 0
    int weekday = 0; ///< 0 = Sunday ... 6 = Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int subsecond = 0;       ///< in units of 10^-subsecondDigits seconds
    double totalDays = 0;    ///< whole days of the rounded serial (for elapsed [h] [mm] [ss])
    long long totalSeconds = 0; ///< whole seconds of the rounded serial since serial 0

    /// Splits `serial` after rounding it to whole seconds, or to `subsecondDigits`
    /// (0-3) decimals of a second. Empty for a negative serial or one past
    /// 9999-12-31, which the spreadsheet shows as a row of '#'.
    static std::optional<ExcelDateTime> fromSerial(double serial, DateSystem system, int subsecondDigits);
};

}  // namespace office::sheet
