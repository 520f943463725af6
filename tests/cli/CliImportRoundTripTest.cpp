// A translator's round trip through the command-line program: export, a
// translation by LibreOffice Writer (upper case outside the markers), import;
// python3-xlrd then reads every translated cell and comment changed and
// everything else as it was.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

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
    const auto r = testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
                                           {testsupport::fixtureDir() + QStringLiteral("/xlrd_dump.py"), path});
    QMap<QString, QString> entries;
    for (const QString &line : QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (f.first() == QLatin1String("cell") && f.size() == 6)
            entries.insert(f.mid(0, 4).join(u'\t'), f.at(4) + u'\t' + unescape(f.at(5)));
        else if (f.first() == QLatin1String("note") && f.size() == 5)
            entries.insert(f.mid(0, 4).join(u'\t'), QStringLiteral("text\t") + unescape(f.at(4)));
        else if (f.first() == QLatin1String("sheet") || f.first() == QLatin1String("refused"))
            entries.insert(line, QString());
    }
    return entries;
}

struct RoundTrip {
    QTemporaryDir dir;
    RoundTrip() {
        qputenv("LC_ALL", "de_DE.UTF-8");
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    }
    ~RoundTrip() {
        qunsetenv("LC_ALL");
        qunsetenv("XDG_CONFIG_HOME");
    }
    testsupport::ProcessResult cli(const QString &command, const QStringList &files) {
        return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                       QStringList{command} + files, 300000, dir.path());
    }
    QStringList documents() const { return QDir(dir.path()).entryList({QStringLiteral("Text_*.rtf")}, QDir::Files); }
    bool translate(const QStringList &documents) {
        QStringList args{QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../import/lo_translate.py"))};
        for (const QString &d : documents) args << dir.filePath(d) << dir.filePath(QStringLiteral("tr_") + d);
        if (testsupport::runProgram(QStringLiteral("/usr/bin/python3"), args, 600000).exitCode != 0) return false;
        for (const QString &d : documents) {
            QFile::remove(dir.filePath(d));
            if (!QFile::rename(dir.filePath(QStringLiteral("tr_") + d), dir.filePath(d))) return false;
        }
        return true;
    }
};

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

}  // namespace

// Disabled until two round-trip differences are settled: an error cell such as
// "#DIV/0!" comes back as text (typing an error literal should give the error),
// and a 9,000-character text does not come back whole.
TEST(CliImportRoundTrip, DISABLED_TranslatedCellsAndCommentsComeBackAndNothingElseChanges) {
    REQUIRE_PROGRAM("soffice");
    int roundTrips = 0;
    for (const QString &source : workbooks()) {
        SCOPED_TRACE(source.toStdString());
        RoundTrip trip;
        const QString name = QFileInfo(source).fileName();
        const QString book = trip.dir.filePath(name);
        ASSERT_TRUE(QFile::copy(source, book));
        const QMap<QString, QString> before = xlrdDump(book);
        if (before.isEmpty() || before.firstKey().startsWith(QLatin1String("refused"))) continue;
        // Only workbooks that export cleanly take part.
        if (trip.cli(QStringLiteral("export"), {name}).exitCode != 0 || trip.documents().isEmpty()) continue;
        ASSERT_TRUE(trip.translate(trip.documents()));

        const auto imported = trip.cli(QStringLiteral("import"), trip.documents());
        const QByteArray log = testsupport::readFile(trip.dir.filePath(QStringLiteral("Celltrove4Excel-Import.log")));
        ASSERT_EQ(imported.exitCode, 0) << log.toStdString();

        const QMap<QString, QString> after = xlrdDump(book);
        EXPECT_EQ(after.keys(), before.keys());
        int changed = 0;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const QString now = after.value(it.key());
            if (now == it.value()) continue;
            ++changed;
            // Only texts change, and only to their translation; line feeds stay.
            EXPECT_TRUE(it.value().startsWith(QLatin1String("text\t"))) << it.key().toStdString();
            EXPECT_EQ(now, it.value().toUpper().replace(0, 4, QStringLiteral("text"))) << it.key().toStdString();
        }
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (!it.key().startsWith(QLatin1String("note"))) continue;
            EXPECT_EQ(after.value(it.key()), it.value().toUpper().replace(0, 4, QStringLiteral("text")));
        }
        EXPECT_GT(changed, 0);
        ++roundTrips;
    }
    EXPECT_GE(roundTrips, 2);
}
