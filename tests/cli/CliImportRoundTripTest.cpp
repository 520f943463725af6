// A translator's round trip through the command-line program: export, a
// translation by LibreOffice Writer (upper case outside the markers), import;
// python3-xlrd then reads every translated cell and comment changed and
// everything else as it was.

#include "office/sheet/TypedInput.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <vector>

namespace {

QString unescape(const QString &field) {
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
QMap<QString, QString> xlrdDump(const QString &path) {
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

// One workbook in a folder of its own, with xlrd's view of it before the trip.
struct RoundTrip {
    QTemporaryDir dir;
    QString source;
    QString name;
    QMap<QString, QString> before;

    QString book() const { return dir.filePath(name); }
    testsupport::ProcessResult cli(const QString &command, const QStringList &files) const {
        return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                       QStringList{command} + files, 300000, dir.path());
    }
    QStringList documents() const { return QDir(dir.path()).entryList({QStringLiteral("Text_*.rtf")}, QDir::Files); }
};

// Translates the documents of every trip in one Writer session (starting
// soffice takes longer than translating a small document).
bool translate(const std::vector<std::unique_ptr<RoundTrip>> &trips) {
    QStringList args{QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../import/lo_translate.py"))};
    for (const auto &trip : trips)
        for (const QString &d : trip->documents())
            args << trip->dir.filePath(d) << trip->dir.filePath(QStringLiteral("tr_") + d);
    if (testsupport::runProgram(QStringLiteral("/usr/bin/python3"), args, 1200000).exitCode != 0) return false;
    for (const auto &trip : trips) {
        for (const QString &d : trip->documents()) {
            QFile::remove(trip->dir.filePath(d));
            if (!QFile::rename(trip->dir.filePath(QStringLiteral("tr_") + d), trip->dir.filePath(d))) return false;
        }
    }
    return true;
}

// The workbooks of the round trip: our LibreOffice-made fixtures, then the
// BIFF8 workbooks of the shared corpus up to 100 KB (the larger ones are
// grids and sheet collections that add time, not cases).
QStringList workbooks() {
    QStringList paths = {testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"),
                         testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls")};
    if (!testsupport::corpusDir().isEmpty()) {
        const QDir corpus(testsupport::corpusDir() + QStringLiteral("/xls"));
        for (const QFileInfo &file : corpus.entryInfoList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name))
            if (file.size() <= 100 * 1024) paths << file.filePath();
    }
    return paths;
}

const QLocale de(QLocale::German, QLocale::Germany);

// The translation of a dump entry as the import writes it back: upper case;
// cells and comments without the line feeds at their ends, comments also
// without their blanks; a cell takes its new text as typing it does. Entries
// that are no texts, and texts that leave their cell alone, stay as they were.
QString translated(const QString &key, const QString &value) {
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
    case office::sheet::TypedInput::Number: return QStringLiteral("number\t%1").arg(typed.number, 0, 'g', 17);
    case office::sheet::TypedInput::Date: return QStringLiteral("date\t%1").arg(typed.number, 0, 'g', 17);
    case office::sheet::TypedInput::Bool:
    case office::sheet::TypedInput::Error:
        return (typed.kind == office::sheet::TypedInput::Bool ? QStringLiteral("bool\t") : QStringLiteral("error\t")) +
               QString::number(int(typed.number));
    default: return text + t;
    }
}

// Entries compare as texts, numbers as numbers. A date goes out as the locale's
// short date with the time to the second and comes back as typed: a serial
// rounded to the second.
bool sameEntry(const QString &expected, const QString &actual) {
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

}  // namespace

TEST(CliImportRoundTrip, TranslatedCellsAndCommentsComeBackAndNothingElseChanges) {
    REQUIRE_PROGRAM("soffice");
    ProgramEnvironment environment;
    std::vector<std::unique_ptr<RoundTrip>> trips;
    for (const QString &source : workbooks()) {
        SCOPED_TRACE(source.toStdString());
        auto trip = std::make_unique<RoundTrip>();
        trip->source = source;
        trip->name = QFileInfo(source).fileName();
        ASSERT_TRUE(QFile::copy(source, trip->book()));
        trip->before = xlrdDump(trip->book());
        // Workbooks of Excel 95 and older are exported but never saved.
        if (!trip->before.contains(QStringLiteral("biff\t80"))) continue;
        // Only workbooks that export cleanly take part.
        if (trip->cli(QStringLiteral("export"), {trip->name}).exitCode != 0 || trip->documents().isEmpty()) continue;
        trips.push_back(std::move(trip));
    }
    ASSERT_TRUE(translate(trips));

    for (const auto &trip : trips) {
        SCOPED_TRACE(trip->source.toStdString());
        const QMap<QString, QString> &before = trip->before;
        const auto imported = trip->cli(QStringLiteral("import"), trip->documents());
        const QByteArray log = testsupport::readFile(trip->dir.filePath(QStringLiteral("Celltrove4Excel-Import.log")));
        EXPECT_EQ(imported.exitCode, 0) << log.toStdString();

        const QMap<QString, QString> after = xlrdDump(trip->book());
        EXPECT_EQ(after.keys(), before.keys());
        int translatable = 0;
        int changed = 0;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const QString now = after.value(it.key());
            const QString expected = translated(it.key(), it.value());
            translatable += expected != it.value();
            if (sameEntry(it.value(), now)) continue;
            ++changed;
            // Only texts change, and only to their translation; line feeds inside stay.
            EXPECT_TRUE(it.value().startsWith(QLatin1String("text\t"))) << it.key().toStdString();
            EXPECT_TRUE(sameEntry(expected, now)) << it.key().toStdString() << ": " << now.left(200).toStdString()
                                                  << " instead of " << expected.left(200).toStdString();
        }
        // Every comment is exported and comes back translated.
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (it.key().startsWith(QLatin1String("note"))) {
                EXPECT_EQ(after.value(it.key()), translated(it.key(), it.value()));
            }
        }
        // Texts without lower-case letters (Japanese, say) look the same translated.
        if (translatable > 0) {
            EXPECT_GT(changed, 0);
        }
    }
    EXPECT_GE(trips.size(), 2u);
}
