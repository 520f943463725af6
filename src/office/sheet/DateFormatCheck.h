#pragma once

#include <QString>

namespace office::sheet {

/// True when a number format shows numbers as a date or a time: the built-in date and
/// time formats (14-22, 27-36, 45-47, 50-58, 71-81) when the file gives no code, or a
/// format code with day, month, year, hour or second fields outside quoted text,
/// escapes and bracketed colours or locales ("[h]:mm" elapsed time counts).
bool isDateFormat(int formatIndex, const QString &code);

/// The same test for a format code alone.
bool isDateFormatCode(const QString &code);

}  // namespace office::sheet
