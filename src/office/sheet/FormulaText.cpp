#include "office/sheet/FormulaText.h"

#include "office/sheet/CellReferenceText.h"
#include "office/sheet/CellValue.h"
#include "office/sheet/DecimalDigits.h"
#include "office/sheet/FormulaFunctions.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace office::sheet {

namespace {

// Longest formula text built; beyond it the tokens are taken as malformed (the
// spreadsheet itself stops at 8192 characters).
constexpr qsizetype kMaxTextLength = 32768;
constexpr int kMaxRow0 = 65535;
constexpr int kMaxRow0Biff5 = 16383;
constexpr int kMaxColumn0 = 255;

// Binding strength of what an operand's text ends with; parentheses are added
// only where the stored tokens lack them.
enum Precedence : int {
    kComparison = 10,
    kConcat = 20,
    kAdditive = 30,
    kMultiplicative = 40,
    kPower = 50,
    kPercent = 60,
    kUnary = 70,
    kUnion = 80,
    kIntersection = 85,
    kRange = 90,
    kAtom = 100,
};

struct Operand {
    QString text;
    int precedence = kAtom;
};

/// Little-endian reads that never pass the end of their bytes.
class ByteReader {
public:
    explicit ByteReader(const QByteArray &bytes) : m_bytes(bytes) {}
    qsizetype position() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    bool has(qsizetype n) const { return n >= 0 && m_bytes.size() - m_pos >= n; }
    bool u8(std::uint8_t &v) {
        if (!has(1)) return false;
        v = std::uint8_t(m_bytes[m_pos++]);
        return true;
    }
    bool u16(std::uint16_t &v) {
        if (!has(2)) return false;
        v = std::uint16_t(std::uint8_t(m_bytes[m_pos]) | (std::uint8_t(m_bytes[m_pos + 1]) << 8));
        m_pos += 2;
        return true;
    }
    bool f64(double &v) {
        if (!has(8)) return false;
        std::memcpy(&v, m_bytes.constData() + m_pos, 8);  // BIFF doubles are little-endian IEEE
        m_pos += 8;
        return true;
    }
    bool skip(qsizetype n) {
        if (!has(n)) return false;
        m_pos += n;
        return true;
    }
    /// Characters of a BIFF8 string body: `count` characters, 1 or 2 bytes each.
    bool chars(qsizetype count, bool wide, QString &out) {
        const qsizetype bytes = wide ? count * 2 : count;
        if (!has(bytes)) return false;
        out.resize(count);
        for (qsizetype i = 0; i < count; ++i) {
            const auto *p = reinterpret_cast<const unsigned char *>(m_bytes.constData() + m_pos);
            out[i] = wide ? QChar(char16_t(p[2 * i] | (p[2 * i + 1] << 8))) : QChar(char16_t(p[i]));
        }
        m_pos += bytes;
        return true;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
};

QString numberText(double v) {
    if (!std::isfinite(v)) return QStringLiteral("#NUM!");
    const QString sign = v < 0 ? QStringLiteral("-") : QString();
    const DecimalDigits d(v);
    if (d.isZero()) return QStringLiteral("0");
    const int exp = d.exponent();
    if (exp >= -5 && exp < 15) {
        const DecimalDigits::Fixed f = d.fixed(14 - exp);  // 15 significant digits
        QString fraction = f.fraction;
        while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
        QString text = f.integer.isEmpty() ? QStringLiteral("0") : f.integer;
        if (!fraction.isEmpty()) text += QLatin1Char('.') + fraction;
        return sign + text;
    }
    const DecimalDigits::Fixed m = d.shifted(-exp).fixed(14);
    QString fraction = m.fraction;
    while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    QString mantissa = m.integer;
    int e = exp;
    if (mantissa.size() > 1) {  // 9.99...95 rounded up to 10
        mantissa.chop(1);
        ++e;
    }
    if (!fraction.isEmpty()) mantissa += QLatin1Char('.') + fraction;
    return sign + mantissa + QLatin1Char('E') + QLatin1Char(e < 0 ? '-' : '+') +
           QString::number(std::abs(e)).rightJustified(2, QLatin1Char('0'));
}

QString stringLiteral(const QString &s) {
    QString inner = s;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString sheetPrefix(const SheetSpan &span) {
    if (span.deleted) return QStringLiteral("#REF!");
    QString sheets = span.firstSheet;
    if (!span.lastSheet.isEmpty() && span.lastSheet != span.firstSheet) sheets += QLatin1Char(':') + span.lastSheet;
    const QString book = span.workbook.isEmpty() ? QString() : QLatin1Char('[') + span.workbook + QLatin1Char(']');
    const bool quote = !book.isEmpty() ? (sheetNameNeedsQuotes(span.workbook) || sheetNameNeedsQuotes(span.firstSheet) ||
                                          sheetNameNeedsQuotes(span.lastSheet))
                                       : (sheetNameNeedsQuotes(span.firstSheet) ||
                                          (!span.lastSheet.isEmpty() && sheetNameNeedsQuotes(span.lastSheet)));
    const QString text = book + sheets;
    return (quote ? quotedName(text) : text) + QLatin1Char('!');
}

class Decompiler {
public:
    Decompiler(const FormulaTokens &f, int row0, int column0, const FormulaContext &context)
        : m_in(f.tokens), m_extra(f.extra), m_shared(f.shared), m_biff5(f.biff5),
          m_maxRow0(f.biff5 ? kMaxRow0Biff5 : kMaxRow0), m_row0(row0), m_column0(column0), m_context(context) {}

    Status run(QString &text);

private:
    Status fail(const QString &why) const { return Status::failure(why, m_tokenStart); }
    Status truncated() const { return fail(QStringLiteral("Formel ist abgeschnitten")); }
    bool push(QString text, int precedence);
    bool pop(Operand &out);

    Status token(std::uint8_t ptg);
    Status binary(const char *symbol, int precedence);
    Status attribute();
    Status function(int index, int argCount, bool variable);
    Status reference(std::uint8_t base, const QString &prefix);
    Status arrayConstant();
    Status skipExtraMem();

    QString cellText(std::uint16_t row, std::uint16_t col, bool relativeToCell) const;
    bool readCell(std::uint16_t &row, std::uint16_t &col);
    /// A relative row of a shared formula: signed 16 bits, or 14 bits in BIFF5.
    int rowOffset(std::uint16_t row) const {
        if (m_biff5) return (row & 0x2000) ? int(row) - 0x4000 : int(row);
        return std::int16_t(row);
    }
    QString takeSpace() {
        QString s = m_space;
        m_space.clear();
        return s;
    }

    ByteReader m_in;
    ByteReader m_extra;
    const bool m_shared;
    const bool m_biff5;
    const int m_maxRow0;
    const int m_row0;
    const int m_column0;
    const FormulaContext &m_context;
    std::vector<Operand> m_stack;
    qsizetype m_tokenStart = 0;
    QString m_space;       // blanks stored before the next item
    QString m_openSpace;   // blanks stored before the next opening parenthesis
    QString m_closeSpace;  // blanks stored before the next closing parenthesis
};

bool Decompiler::push(QString text, int precedence) {
    if (text.size() > kMaxTextLength) return false;
    m_stack.push_back({std::move(text), precedence});
    return true;
}

bool Decompiler::pop(Operand &out) {
    if (m_stack.empty()) return false;
    out = std::move(m_stack.back());
    m_stack.pop_back();
    return true;
}

Status Decompiler::run(QString &text) {
    text.clear();
    while (!m_in.atEnd()) {
        m_tokenStart = m_in.position();
        std::uint8_t ptg = 0;
        m_in.u8(ptg);
        const Status st = token(ptg);
        if (!st) return st;
    }
    m_tokenStart = m_in.position();
    if (m_stack.size() != 1)
        return fail(m_stack.empty() ? QStringLiteral("Formel ist leer")
                                    : QStringLiteral("Formel hinterlässt %1 Werte").arg(m_stack.size()));
    text = QLatin1Char('=') + m_stack.front().text;
    return Status::success();
}

Status Decompiler::binary(const char *symbol, int precedence) {
    Operand right, left;
    if (!pop(right) || !pop(left)) return fail(QStringLiteral("Operator ohne Operanden"));
    // Left-associative: the right side needs parentheses at equal strength too.
    if (left.precedence < precedence) left.text = QLatin1Char('(') + left.text + QLatin1Char(')');
    if (right.precedence <= precedence) right.text = QLatin1Char('(') + right.text + QLatin1Char(')');
    const QString space = takeSpace();
    if (!push(left.text + space + QLatin1String(symbol) + right.text, precedence))
        return fail(QStringLiteral("Formeltext ist zu lang"));
    return Status::success();
}

/// Row and column of a reference in BIFF8 layout (flags in the column field);
/// BIFF5 keeps the flags in the row and the column in one byte.
bool Decompiler::readCell(std::uint16_t &row, std::uint16_t &col) {
    if (!m_biff5) return m_in.u16(row) && m_in.u16(col);
    std::uint16_t raw = 0;
    std::uint8_t column = 0;
    if (!m_in.u16(raw) || !m_in.u8(column)) return false;
    row = raw & 0x3FFF;
    col = std::uint16_t(column | (raw & 0xC000));
    return true;
}

QString Decompiler::cellText(std::uint16_t row, std::uint16_t col, bool relativeToCell) const {
    const bool rowRelative = col & 0x8000;
    const bool colRelative = col & 0x4000;
    int r = row;
    int c = col & 0x00FF;
    if (relativeToCell) {
        // Shared formulas keep relative parts as offsets from the cell.
        if (rowRelative) r = (m_row0 + rowOffset(row)) & m_maxRow0;
        if (colRelative) c = (m_column0 + std::int8_t(std::uint8_t(col & 0xFF))) & kMaxColumn0;
    }
    return cellReferenceText(r, c, rowRelative, colRelative);
}

Status Decompiler::reference(std::uint8_t base, const QString &prefix) {
    const bool relativeToCell = base == 0x0C || base == 0x0D || (m_shared && (base == 0x1A || base == 0x1B));
    const bool area = base == 0x05 || base == 0x0B || base == 0x0D || base == 0x1B || base == 0x1D;
    const bool error = base == 0x0A || base == 0x0B || base == 0x1C || base == 0x1D;
    if (error) {
        if (!m_in.skip(m_biff5 ? (area ? 6 : 3) : (area ? 8 : 4))) return truncated();
        return push(takeSpace() + prefix + QStringLiteral("#REF!"), kAtom) ? Status::success()
                                                                            : fail(QStringLiteral("Formeltext ist zu lang"));
    }
    QString text;
    if (!area) {
        std::uint16_t row = 0, col = 0;
        if (!readCell(row, col)) return truncated();
        text = cellText(row, col, relativeToCell);
    } else {
        std::uint16_t row1 = 0, row2 = 0, col1 = 0, col2 = 0;
        if (m_biff5) {
            std::uint8_t c1 = 0, c2 = 0;
            if (!m_in.u16(row1) || !m_in.u16(row2) || !m_in.u8(c1) || !m_in.u8(c2)) return truncated();
            col1 = std::uint16_t(c1 | (row1 & 0xC000));
            col2 = std::uint16_t(c2 | (row2 & 0xC000));
            row1 &= 0x3FFF;
            row2 &= 0x3FFF;
        } else if (!m_in.u16(row1) || !m_in.u16(row2) || !m_in.u16(col1) || !m_in.u16(col2)) {
            return truncated();
        }
        auto resolve = [&](std::uint16_t row, std::uint16_t col, int &r, int &c) {
            r = row;
            c = col & 0xFF;
            if (relativeToCell && (col & 0x8000)) r = (m_row0 + rowOffset(row)) & m_maxRow0;
            if (relativeToCell && (col & 0x4000)) c = (m_column0 + std::int8_t(std::uint8_t(col & 0xFF))) & kMaxColumn0;
        };
        int r1, c1, r2, c2;
        resolve(row1, col1, r1, c1);
        resolve(row2, col2, r2, c2);
        const bool rel1r = col1 & 0x8000, rel1c = col1 & 0x4000, rel2r = col2 & 0x8000, rel2c = col2 & 0x4000;
        if (c1 == 0 && c2 == kMaxColumn0) {
            // Whole rows: "1:3", "$2:$2".
            text = (rel1r ? QString() : QStringLiteral("$")) + QString::number(r1 + 1) + QLatin1Char(':') +
                   (rel2r ? QString() : QStringLiteral("$")) + QString::number(r2 + 1);
        } else if (r1 == 0 && r2 == m_maxRow0) {
            // Whole columns: "A:B", "$C:$C".
            text = (rel1c ? QString() : QStringLiteral("$")) + columnLetters(c1) + QLatin1Char(':') +
                   (rel2c ? QString() : QStringLiteral("$")) + columnLetters(c2);
        } else {
            text = cellReferenceText(r1, c1, rel1r, rel1c) + QLatin1Char(':') + cellReferenceText(r2, c2, rel2r, rel2c);
        }
    }
    if (!push(takeSpace() + prefix + text, kAtom)) return fail(QStringLiteral("Formeltext ist zu lang"));
    return Status::success();
}

Status Decompiler::arrayConstant() {
    std::uint8_t lastColumn = 0;
    std::uint16_t lastRow = 0;
    if (!m_extra.u8(lastColumn) || !m_extra.u16(lastRow)) return fail(QStringLiteral("Matrixkonstante fehlt"));
    const int columns = lastColumn + 1;
    const int rows = lastRow + 1;
    QString text = QStringLiteral("{");
    for (int r = 0; r < rows; ++r) {
        if (r > 0) text += QLatin1Char(';');
        for (int c = 0; c < columns; ++c) {
            if (c > 0) text += QLatin1Char(',');
            std::uint8_t type = 0;
            if (!m_extra.u8(type)) return fail(QStringLiteral("Matrixkonstante ist abgeschnitten"));
            switch (type) {
            case 0x00:  // empty
                if (!m_extra.skip(8)) return fail(QStringLiteral("Matrixkonstante ist abgeschnitten"));
                break;
            case 0x01: {
                double v = 0;
                if (!m_extra.f64(v)) return fail(QStringLiteral("Matrixkonstante ist abgeschnitten"));
                text += numberText(v);
                break;
            }
            case 0x02: {
                std::uint16_t count = 0;
                std::uint8_t flags = 0;
                QString s;
                std::uint8_t shortCount = 0;
                const bool read = m_biff5 ? (m_extra.u8(shortCount) && m_extra.chars(shortCount, false, s))
                                          : (m_extra.u16(count) && m_extra.u8(flags) && m_extra.chars(count, flags & 0x01, s));
                if (!read)
                    return fail(QStringLiteral("Matrixkonstante ist abgeschnitten"));
                text += stringLiteral(s);
                break;
            }
            case 0x04:
            case 0x10: {
                std::uint8_t v = 0;
                if (!m_extra.u8(v) || !m_extra.skip(7)) return fail(QStringLiteral("Matrixkonstante ist abgeschnitten"));
                text += type == 0x04 ? (v ? QStringLiteral("TRUE") : QStringLiteral("FALSE")) : errorText(v);
                break;
            }
            default: return fail(QStringLiteral("Unbekannter Wert in einer Matrixkonstante"));
            }
            if (text.size() > kMaxTextLength) return fail(QStringLiteral("Formeltext ist zu lang"));
        }
    }
    text += QLatin1Char('}');
    return push(takeSpace() + text, kAtom) ? Status::success() : fail(QStringLiteral("Formeltext ist zu lang"));
}

Status Decompiler::skipExtraMem() {
    std::uint16_t count = 0;
    if (!m_extra.u16(count) || !m_extra.skip(qsizetype(count) * 8))
        return fail(QStringLiteral("Zusatzdaten eines Bereichsausdrucks fehlen"));
    return Status::success();
}

Status Decompiler::attribute() {
    std::uint8_t flags = 0;
    std::uint16_t data = 0;
    if (!m_in.u8(flags) || !m_in.u16(data)) return truncated();
    if (flags & 0x04) {  // CHOOSE jump table: data + 1 offsets follow
        if (!m_in.skip((qsizetype(data) + 1) * 2)) return truncated();
        return Status::success();
    }
    if (flags & 0x10) {  // SUM with one argument
        Operand arg;
        if (!pop(arg)) return fail(QStringLiteral("SUM ohne Argument"));
        const QString open = m_openSpace, close = m_closeSpace;
        m_openSpace.clear();
        m_closeSpace.clear();
        return push(takeSpace() + QStringLiteral("SUM") + open + QLatin1Char('(') + arg.text + close + QLatin1Char(')'),
                    kAtom)
                   ? Status::success()
                   : fail(QStringLiteral("Formeltext ist zu lang"));
    }
    if (flags & 0x40) {  // blanks or line breaks the user typed
        const std::uint8_t kind = data & 0xFF;
        const int count = data >> 8;
        const QString blanks(count, kind % 2 == 1 ? QLatin1Char('\n') : QLatin1Char(' '));
        if (kind <= 1) m_space += blanks;
        else if (kind <= 3) m_openSpace += blanks;
        else if (kind <= 5) m_closeSpace += blanks;
        // Kind 6 (before the '=') has no place in the Formula text.
    }
    // IF, skip, goto and volatile markers only steer the calculation.
    return Status::success();
}

Status Decompiler::function(int index, int argCount, bool variable) {
    const FormulaFunction *f = index == kExternalFunctionIndex ? nullptr : formulaFunction(index);
    if (index != kExternalFunctionIndex && !f) return fail(QStringLiteral("Unbekannte Funktion %1").arg(index));
    if (!variable) {
        // External calls always say how many arguments they take.
        if (!f) return fail(QStringLiteral("Externe Funktion ohne Argumentzahl"));
        argCount = f->fixedArgs;
    }
    if (argCount < 0 || size_t(argCount) > m_stack.size()) return fail(QStringLiteral("Funktion ohne ihre Argumente"));
    std::vector<Operand> args(m_stack.end() - argCount, m_stack.end());
    m_stack.resize(m_stack.size() - size_t(argCount));
    QString name;
    size_t first = 0;
    if (index == kExternalFunctionIndex) {
        // Add-in and newer functions: the first argument names the function.
        if (args.empty()) return fail(QStringLiteral("Externe Funktion ohne Namen"));
        name = args.front().text.trimmed();
        if (name.startsWith(QLatin1String("_xlfn."))) name = name.mid(6);
        first = 1;
    } else {
        name = QString::fromLatin1(f->name);
    }
    QString text = takeSpace() + name + m_openSpace + QLatin1Char('(');
    m_openSpace.clear();
    for (size_t i = first; i < args.size(); ++i) {
        if (i > first) text += QLatin1Char(',');
        // A union inside an argument list needs its parentheses: SUM((A1,B1)).
        text += args[i].precedence == kUnion ? QLatin1Char('(') + args[i].text + QLatin1Char(')') : args[i].text;
        if (text.size() > kMaxTextLength) return fail(QStringLiteral("Formeltext ist zu lang"));
    }
    text += m_closeSpace + QLatin1Char(')');
    m_closeSpace.clear();
    return push(text, kAtom) ? Status::success() : fail(QStringLiteral("Formeltext ist zu lang"));
}

Status Decompiler::token(std::uint8_t ptg) {
    switch (ptg) {
    case 0x01: return fail(QStringLiteral("Verweis auf eine gemeinsame oder Matrixformel"));
    case 0x02: return fail(QStringLiteral("Mehrfachoperation (Datentabelle)"));
    case 0x03: return binary("+", kAdditive);
    case 0x04: return binary("-", kAdditive);
    case 0x05: return binary("*", kMultiplicative);
    case 0x06: return binary("/", kMultiplicative);
    case 0x07: return binary("^", kPower);
    case 0x08: return binary("&", kConcat);
    case 0x09: return binary("<", kComparison);
    case 0x0A: return binary("<=", kComparison);
    case 0x0B: return binary("=", kComparison);
    case 0x0C: return binary(">=", kComparison);
    case 0x0D: return binary(">", kComparison);
    case 0x0E: return binary("<>", kComparison);
    case 0x0F: return binary(" ", kIntersection);
    case 0x10: return binary(",", kUnion);
    case 0x11: return binary(":", kRange);
    case 0x12:
    case 0x13: {
        Operand x;
        if (!pop(x)) return fail(QStringLiteral("Vorzeichen ohne Operand"));
        if (x.precedence < kUnary) x.text = QLatin1Char('(') + x.text + QLatin1Char(')');
        return push(takeSpace() + QLatin1Char(ptg == 0x12 ? '+' : '-') + x.text, kUnary)
                   ? Status::success()
                   : fail(QStringLiteral("Formeltext ist zu lang"));
    }
    case 0x14: {
        Operand x;
        if (!pop(x)) return fail(QStringLiteral("Prozent ohne Operand"));
        if (x.precedence < kPercent) x.text = QLatin1Char('(') + x.text + QLatin1Char(')');
        return push(x.text + takeSpace() + QLatin1Char('%'), kPercent) ? Status::success()
                                                                      : fail(QStringLiteral("Formeltext ist zu lang"));
    }
    case 0x15: {
        Operand x;
        if (!pop(x)) return fail(QStringLiteral("Klammer ohne Inhalt"));
        QString text = takeSpace() + m_openSpace + QLatin1Char('(') + x.text + m_closeSpace + QLatin1Char(')');
        m_openSpace.clear();
        m_closeSpace.clear();
        return push(text, kAtom) ? Status::success() : fail(QStringLiteral("Formeltext ist zu lang"));
    }
    case 0x16: return push(takeSpace(), kAtom) ? Status::success() : truncated();  // missing argument
    case 0x17: {
        std::uint8_t count = 0, flags = 0;
        QString s;
        if (!m_in.u8(count) || (!m_biff5 && !m_in.u8(flags)) || !m_in.chars(count, flags & 0x01, s)) return truncated();
        return push(takeSpace() + stringLiteral(s), kAtom) ? Status::success() : truncated();
    }
    case 0x19: return attribute();
    case 0x1C: {
        std::uint8_t code = 0;
        if (!m_in.u8(code)) return truncated();
        return push(takeSpace() + errorText(code), kAtom) ? Status::success() : truncated();
    }
    case 0x1D: {
        std::uint8_t v = 0;
        if (!m_in.u8(v)) return truncated();
        return push(takeSpace() + (v ? QStringLiteral("TRUE") : QStringLiteral("FALSE")), kAtom) ? Status::success()
                                                                                                 : truncated();
    }
    case 0x1E: {
        std::uint16_t v = 0;
        if (!m_in.u16(v)) return truncated();
        return push(takeSpace() + QString::number(v), kAtom) ? Status::success() : truncated();
    }
    case 0x1F: {
        double v = 0;
        if (!m_in.f64(v)) return truncated();
        return push(takeSpace() + numberText(v), kAtom) ? Status::success() : truncated();
    }
    default: break;
    }
    if (ptg < 0x20 || ptg >= 0x80) return fail(QStringLiteral("Unbekanntes Formelelement 0x%1").arg(ptg, 2, 16, QLatin1Char('0')));

    // Tokens with a class (reference, value, array) in bits 5-6.
    const std::uint8_t base = ptg & 0x1F;
    switch (base) {
    case 0x00:  // array constant: its values are in the extra data
        if (!m_in.skip(7)) return truncated();
        return arrayConstant();
    case 0x01: {
        std::uint16_t index = 0;
        if (!m_in.u16(index)) return truncated();
        return function(index, 0, false);
    }
    case 0x02: {
        std::uint8_t count = 0;
        std::uint16_t index = 0;
        if (!m_in.u8(count) || !m_in.u16(index)) return truncated();
        if (index & 0x8000) return fail(QStringLiteral("Makrobefehl in einer Formel"));
        return function(index, count & 0x7F, true);
    }
    case 0x03: {
        std::uint16_t index = 0;
        if (!m_in.u16(index) || !m_in.skip(m_biff5 ? 12 : 2)) return truncated();
        const std::optional<QString> name = m_context.definedName(index);
        if (!name) return fail(QStringLiteral("Unbekannter Name %1").arg(index));
        return push(takeSpace() + *name, kAtom) ? Status::success() : truncated();
    }
    case 0x04: case 0x05: case 0x0A: case 0x0B: case 0x0C: case 0x0D:
        return reference(base, QString());
    case 0x06:  // the area tokens that follow are what counts
        if (!m_in.skip(6)) return truncated();
        return skipExtraMem();
    case 0x07: case 0x08:
        return m_in.skip(6) ? Status::success() : truncated();
    case 0x09: case 0x0E: case 0x0F:
        return m_in.skip(2) ? Status::success() : truncated();
    case 0x19: {
        if (m_biff5) return fail(QStringLiteral("Externe Namen in Formeln von Excel 95 werden nicht gelesen"));
        std::uint16_t xti = 0, index = 0;
        if (!m_in.u16(xti) || !m_in.u16(index) || !m_in.skip(2)) return truncated();
        const std::optional<QString> name = m_context.externalName(xti, index);
        if (!name) return fail(QStringLiteral("Unbekannter externer Name %1").arg(index));
        return push(takeSpace() + *name, kAtom) ? Status::success() : truncated();
    }
    case 0x1A: case 0x1B: case 0x1C: case 0x1D: {
        if (m_biff5) return fail(QStringLiteral("3D-Bezüge in Formeln von Excel 95 werden nicht gelesen"));
        std::uint16_t xti = 0;
        if (!m_in.u16(xti)) return truncated();
        const std::optional<SheetSpan> span = m_context.sheetSpan(xti);
        if (!span) return fail(QStringLiteral("Unbekannter Tabellenverweis %1").arg(xti));
        return reference(base, sheetPrefix(*span));
    }
    default:
        return fail(QStringLiteral("Unbekanntes Formelelement 0x%1").arg(ptg, 2, 16, QLatin1Char('0')));
    }
}

}  // namespace

Status formulaText(const FormulaTokens &formula, int row0, int column0, const FormulaContext &context, QString &text) {
    text.clear();
    Decompiler d(formula, row0, column0, context);
    return d.run(text);
}

}  // namespace office::sheet
