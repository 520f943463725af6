#pragma once

#include <QLocale>

#include <optional>

namespace office::sheet {

/// The locale of a Windows locale id as format codes carry it ("[$-407]"),
/// for the month and day names of a date. Empty for ids it does not know.
std::optional<QLocale> localeForFormatId(int lcid);

/// Locale ids with a meaning of their own in format codes.
constexpr int kSystemLongDateId = 0xF800;  ///< "[$-F800]": the system's long date
constexpr int kSystemTimeId = 0xF400;      ///< "[$-F400]": the system's time

}  // namespace office::sheet
