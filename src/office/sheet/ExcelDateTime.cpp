#include "office/sheet/ExcelDateTime.h"

#include <QDate>

#include <cmath>

namespace office::sheet {

namespace {

constexpr double kLastSerial1900 = 2958466.0;  // 10000-01-01
constexpr double kLastSerial1904 = kLastSerial1900 - 1462.0;

}  // namespace

std::optional<ExcelDateTime> ExcelDateTime::fromSerial(double serial, DateSystem system, int subsecondDigits) {
    if (!std::isfinite(serial) || serial < 0) return std::nullopt;
    if (serial >= (system == DateSystem::Windows1900 ? kLastSerial1900 : kLastSerial1904)) return std::nullopt;
    if (subsecondDigits < 0) subsecondDigits = 0;
    if (subsecondDigits > 3) subsecondDigits = 3;
    long long unitsPerSecond = 1;
    for (int i = 0; i < subsecondDigits; ++i) unitsPerSecond *= 10;

    // Round the whole serial to the smallest unit shown, so 23:59:59.7 becomes the next day.
    const long long unitsPerDay = 86400LL * unitsPerSecond;
    const double wholeDays = std::floor(serial);
    long long days = static_cast<long long>(wholeDays);
    long long units = std::llround((serial - wholeDays) * double(unitsPerDay));
    if (units >= unitsPerDay) {
        units -= unitsPerDay;
        ++days;
    }

    ExcelDateTime dt;
    dt.subsecond = int(units % unitsPerSecond);
    const long long seconds = units / unitsPerSecond;
    dt.hour = int(seconds / 3600);
    dt.minute = int(seconds / 60 % 60);
    dt.second = int(seconds % 60);
    dt.totalDays = double(days);
    dt.totalSeconds = days * 86400LL + seconds;

    if (system == DateSystem::Mac1904) {
        const QDate d = QDate(1904, 1, 1).addDays(days);
        dt.year = d.year();
        dt.month = d.month();
        dt.day = d.day();
        dt.weekday = d.dayOfWeek() % 7;
        return dt;
    }
    // The 1900 system counts a 29 February 1900 that never was (serial 60),
    // and serial 0 is shown as 0 January 1900.
    if (days == 0) {
        dt.year = 1900;
        dt.month = 1;
        dt.day = 0;
    } else if (days == 60) {
        dt.year = 1900;
        dt.month = 2;
        dt.day = 29;
    } else {
        const QDate d = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days);
        dt.year = d.year();
        dt.month = d.month();
        dt.day = d.day();
    }
    // Before March 1900 the weekday follows the spreadsheet's own count (serial 1 =
    // Sunday); from serial 61 on it agrees with the calendar.
    dt.weekday = int((days + 6) % 7);
    return dt;
}

}  // namespace office::sheet
