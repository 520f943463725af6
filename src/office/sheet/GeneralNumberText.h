#pragma once

#include <QLocale>
#include <QString>

namespace office::sheet {

/// A number as the "General" format shows it in a column of standard width:
/// at most 11 characters besides the minus sign, rounded to fit, switching to
/// exponent form ("1.23457E+11", "1E-05") when the number does not fit.
/// The decimal separator is the locale's; there is never a group separator.
QString generalNumberText(double value, const QLocale &locale);

}  // namespace office::sheet
