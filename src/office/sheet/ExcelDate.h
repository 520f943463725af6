#pragma once

#include <QDateTime>

#include <optional>

namespace office::sheet {

/// Largest serial the spreadsheet shows as a date (9999-12-31 in the 1900 system).
constexpr double kMaxDateSerial = 2958465.0;

/// Calendar date and time of a date serial (days since 1899-12-31 with the phantom
/// 1900-02-29, or since 1904-01-01 when date1904), rounded to the second. Invalid for
/// serials outside 0 .. kMaxDateSerial + 1.
QDateTime serialToDateTime(double serial, bool date1904);

/// Serial of a calendar date and time in the given date system; empty when the date
/// lies before the system's first day or after 9999-12-31.
std::optional<double> dateTimeToSerial(const QDateTime &dateTime, bool date1904);

}  // namespace office::sheet
