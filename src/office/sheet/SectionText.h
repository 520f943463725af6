#pragma once

#include "office/sheet/NumberFormatCode.h"
#include "office/sheet/NumberFormat.h"

#include <QString>

namespace office::sheet {

// The renderers behind NumberFormat, one per kind of section. Each gets the
// section already chosen for the value.

/// A number section (plain, scientific or fraction) applied to |value|; the
/// caller adds the minus sign.
QString numberSectionText(const FormatSection &section, double magnitude, const QLocale &locale);

/// A date or time section applied to a serial number; empty when the serial
/// cannot be shown as a date (negative or past the year 9999).
QString dateSectionText(const FormatSection &section, double serial, const DisplaySettings &settings);

/// A section applied to text: '@' stands for the text, literals stay.
QString textSectionText(const FormatSection &section, const QString &text);

}  // namespace office::sheet
