#include "office/sheet/DateFormatCheck.h"

namespace office::sheet {
namespace {

bool isBuiltInDate(int index) {
    return (index >= 14 && index <= 22) || (index >= 27 && index <= 36) || (index >= 45 && index <= 47) ||
           (index >= 50 && index <= 58) || (index >= 71 && index <= 81);
}

}  // namespace

bool isDateFormatCode(const QString &code) {
    // Only the first section decides: "0;[Red]-0" is a number format.
    bool inQuote = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (inQuote) {
            if (c == QLatin1Char('"')) inQuote = false;
            continue;
        }
        switch (c.unicode()) {
        case '"': inQuote = true; break;
        case '\\':
        case '_':
        case '*': ++i; break;  // escaped character, space of a character's width, fill
        case '[': {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i);
            if (close < 0) return false;
            // [h], [mm], [ss]: elapsed time; [Red], [$-407], [>=100]: not dates.
            const QString inner = code.mid(i + 1, close - i - 1).toLower();
            if (!inner.isEmpty() && inner.count(inner[0]) == inner.size() &&
                (inner[0] == QLatin1Char('h') || inner[0] == QLatin1Char('m') || inner[0] == QLatin1Char('s')))
                return true;
            i = close;
            break;
        }
        case ';': return false;
        case 'd': case 'D': case 'm': case 'M': case 'y': case 'Y':
        case 'h': case 'H': case 's': case 'S':
            return true;
        case 'G': case 'g':
            // "General" is not a date; "g"/"gg"/"ggg" era (Japanese) is.
            if (code.mid(i, 7).compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) {
                i += 6;
                break;
            }
            return true;
        case 'e': case 'E':
            // "E+"/"E-" is an exponent; a lone "e" is the era year of some locales.
            if (i + 1 < code.size() && (code[i + 1] == QLatin1Char('+') || code[i + 1] == QLatin1Char('-'))) {
                ++i;
                break;
            }
            return true;
        default: break;
        }
    }
    return false;
}

bool isDateFormat(int formatIndex, const QString &code) {
    if (code.isNull()) return isBuiltInDate(formatIndex);
    return isDateFormatCode(code);
}

}  // namespace office::sheet
