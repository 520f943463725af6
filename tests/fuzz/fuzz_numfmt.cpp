// Fuzz target: number-format codes applied to a value. The first byte picks the
// value's kind, the date system and the locale, the next eight are the number
// (a double, also the text value's length seed), the rest is the code as UTF-8.
#include "office/sheet/NumberFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 9 || size > 4096) return 0;
    using office::sheet::FormatValue;
    double number = 0;
    std::memcpy(&number, data + 1, sizeof number);
    const QString code = QString::fromUtf8(reinterpret_cast<const char *>(data + 9), qsizetype(size - 9));
    FormatValue value;
    switch (data[0] & 3) {
    case 0: value = FormatValue::fromNumber(number); break;
    case 1: value = FormatValue::fromText(code.left(int(data[1]))); break;
    case 2: value = FormatValue::fromBoolean(data[1] & 1); break;
    default: value = FormatValue::fromError(data[1]); break;
    }
    office::sheet::DisplaySettings settings;
    settings.dateSystem = (data[0] & 4) ? office::sheet::DateSystem::Mac1904 : office::sheet::DateSystem::Windows1900;
    static const QLocale locales[] = {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::Japanese, QLocale::Japan), QLocale(QLocale::Arabic, QLocale::Egypt)};
    settings.locale = locales[(data[0] >> 3) & 3];
    const office::sheet::NumberFormat format(code);
    (void)format.isDateTime();
    (void)format.displayText(value, settings);
    return 0;
}
