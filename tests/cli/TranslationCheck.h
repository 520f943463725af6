#pragma once
// What a translator's round trip is checked with: python3-xlrd's view of a
// workbook, and the value a cell or comment takes when its translation (upper
// case) is imported.

#include "office/sheet/TypedInput.h"
#include "support/TestSupport.h"

#include <QLocale>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <cmath>

namespace clitest {

inline QString unescape(const QString &field) {
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) != u'\\' || i + 1 == field.size()) {
            out += field.at(i);
            continue;
        }
        const QChar c = field.at(++i);
        out += c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c == u'r' ? QChar(u'\r') : c;
    }
    return out;
}

// "cell|note <sheet> <row> <col>" -> value, and "sheet <name>" lines, as xlrd reads them.
inline QMap<QString, QString> xlrdDump(const QString &path) {
    const auto r = testsupport::runProgram(
        QStringLiteral("/usr/bin/python3"),
        {testsupport::fixtureDir() + QStringLiteral("/xlrd_dump.py"), QStringLiteral("--dates"), path});
    QMap<QString, QString> entries;
    for (const QString &line : QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (f.first() == QLatin1String("cell") && f.size() == 6)
            entries.insert(f.mid(0, 4).join(u'\t'), f.at(4) + u'\t' + unescape(f.at(5)));
        else if (f.first() == QLatin1String("note") && f.size() == 5)
            entries.insert(f.mid(0, 4).join(u'\t'), QStringLiteral("text\t") + unescape(f.at(4)));
        else if (f.first() == QLatin1String("sheet") || f.first() == QLatin1String("refused") ||
                 f.first() == QLatin1String("biff"))
            entries.insert(line, QString());
    }
    return entries;
}

// The locale and a settings folder of its own for every program the test starts.
struct ProgramEnvironment {
    QTemporaryDir config;
    ProgramEnvironment() {
        qputenv("LC_ALL", "de_DE.UTF-8");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    ~ProgramEnvironment() {
        qunsetenv("LC_ALL");
        qunsetenv("XDG_CONFIG_HOME");
    }
};

inline const QLocale de(QLocale::German, QLocale::Germany);

// The translation of a dump entry as the import writes it back: upper case;
// cells and comments without the line feeds at their ends, comments also
// without their blanks; a cell takes its new text as typing it does. Entries
// that are no texts, and texts that leave their cell alone, stay as they were.
inline QString translated(const QString &key, const QString &value) {
    const QLatin1String text("text\t");
    if (!value.startsWith(text)) return value;
    QString t = value.mid(text.size());
    while (t.endsWith(u'\n')) t.chop(1);
    while (t.startsWith(u'\n')) t.remove(0, 1);
    t = t.toUpper();
    if (key.startsWith(QLatin1String("note"))) {
        while (t.startsWith(u' ')) t.remove(0, 1);
        while (t.endsWith(u' ')) t.chop(1);
        return text + t;
    }
    if (t.isEmpty() || t == QLatin1String(" ")) return value;
    const office::sheet::TypedInput typed = office::sheet::interpretTypedText(t, de, false);
    switch (typed.kind) {
        case office::sheet::TypedInput::Number:
            return QStringLiteral("number\t%1").arg(typed.number, 0, 'g', 17);
        case office::sheet::TypedInput::Date:
            return QStringLiteral("date\t%1").arg(typed.number, 0, 'g', 17);
        case office::sheet::TypedInput::Bool:
        case office::sheet::TypedInput::Error:
            return (typed.kind == office::sheet::TypedInput::Bool ? QStringLiteral("bool\t")
                                                                  : QStringLiteral("error\t")) +
                   QString::number(int(typed.number));
        default:
            return text + t;
    }
}

// Entries compare as texts, numbers as numbers. A date goes out as the locale's
// short date with the time to the second and comes back as typed: a serial
// rounded to the second.
inline bool sameEntry(const QString &expected, const QString &actual) {
    if (expected == actual) return true;
    const QString kind = expected.section(u'\t', 0, 0);
    if (kind != actual.section(u'\t', 0, 0) || (kind != QLatin1String("number") && kind != QLatin1String("date")))
        return false;
    bool okExpected = false;
    bool okActual = false;
    const double a = expected.section(u'\t', 1).toDouble(&okExpected);
    const double b = actual.section(u'\t', 1).toDouble(&okActual);
    if (!okExpected || !okActual) return false;
    return kind == QLatin1String("date") ? std::abs(a - b) <= 1.0 / 86400 : a == b;
}

}  // namespace clitest
