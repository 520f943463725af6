#pragma once

#include <QString>

#include <cstdint>

namespace office::sheet {

/// What a cell's value is, as the spreadsheet's automation model reports it.
enum class ValueKind : std::uint8_t { Empty, Number, Date, Text, Bool, Error };

/// A cell's value: empty, a number, a date (a serial number under a date or time
/// format), a text, a boolean or an error code. Formula cells report their cached result.
class CellValue {
public:
    CellValue() = default;

    static CellValue number(double value) { return CellValue(ValueKind::Number, value); }
    /// A date as its serial number in the workbook's date system (1904 when date1904).
    static CellValue date(double serial, bool date1904) {
        CellValue v(ValueKind::Date, serial);
        v.m_small = date1904 ? 1 : 0;
        return v;
    }
    static CellValue text(const QString &text) {
        CellValue v(ValueKind::Text, 0);
        v.m_text = text;
        return v;
    }
    static CellValue boolean(bool value) {
        CellValue v(ValueKind::Bool, value ? 1 : 0);
        v.m_small = value ? 1 : 0;
        return v;
    }
    /// An error by its BIFF code (0x07 #DIV/0!, 0x2A #N/A, ...).
    static CellValue error(std::uint8_t code) {
        CellValue v(ValueKind::Error, 0);
        v.m_small = code;
        return v;
    }

    ValueKind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == ValueKind::Empty; }
    /// Number or date serial; 0 for other kinds (1 for a true boolean).
    double toDouble() const { return m_number; }
    /// Text of a text value; empty for other kinds.
    const QString &textValue() const { return m_text; }
    bool boolValue() const { return m_kind == ValueKind::Bool && m_small != 0; }
    std::uint8_t errorCode() const { return m_kind == ValueKind::Error ? m_small : 0; }
    /// For dates: true when the serial counts from 1904-01-01 (Mac date system).
    bool isDate1904() const { return m_kind == ValueKind::Date && m_small != 0; }

    bool operator==(const CellValue &other) const = default;

private:
    CellValue(ValueKind kind, double number) : m_kind(kind), m_number(number) {}

    ValueKind m_kind = ValueKind::Empty;
    std::uint8_t m_small = 0;
    double m_number = 0;
    QString m_text;
};

/// The spreadsheet's text of an error code: "#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
/// "#NAME?", "#NUM!", "#N/A"; "#ERR" followed by the code for unknown codes.
QString errorText(std::uint8_t code);

}  // namespace office::sheet
