#include "office/sheet/ExcelDate.h"

#include <cmath>

namespace office::sheet {
namespace {

constexpr qint64 kSecondsPerDay = 86400;

// Day 0 of each system. The 1900 system counts 1900-02-29 (serial 60), a day the
// calendar never had, so serials from 61 on count from one day earlier.
QDate base(bool date1904, qint64 day) {
    if (date1904) return QDate(1904, 1, 1);
    return day >= 61 ? QDate(1899, 12, 30) : QDate(1899, 12, 31);
}

}  // namespace

QDateTime serialToDateTime(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 || serial >= kMaxDateSerial + 1) return {};
    const qint64 totalSeconds = std::llround(serial * kSecondsPerDay);
    const qint64 day = totalSeconds / kSecondsPerDay;
    const qint64 second = totalSeconds % kSecondsPerDay;
    // Serial 60 is the phantom 1900-02-29; show it as the 28th rather than fail.
    const qint64 shownDay = (!date1904 && day == 60) ? 59 : day;
    const QDate date = base(date1904, shownDay).addDays(shownDay);
    return QDateTime(date, QTime(0, 0).addSecs(int(second)));
}

std::optional<double> dateTimeToSerial(const QDateTime &dateTime, bool date1904) {
    if (!dateTime.isValid()) return std::nullopt;
    const QDate date = dateTime.date();
    if (date > QDate(9999, 12, 31)) return std::nullopt;
    qint64 day;
    if (date1904) {
        day = QDate(1904, 1, 1).daysTo(date);
    } else {
        day = QDate(1899, 12, 30).daysTo(date);
        if (day < 61) day = QDate(1899, 12, 31).daysTo(date);
    }
    if (day < 0) return std::nullopt;
    const QTime t = dateTime.time();
    return double(day) + double(t.msecsSinceStartOfDay()) / (1000.0 * kSecondsPerDay);
}

}  // namespace office::sheet
