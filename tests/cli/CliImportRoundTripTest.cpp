// A translator's round trip through the command-line program: export, a
// translation by LibreOffice Writer (upper case outside the markers), import;
// python3-xlrd then reads every translated cell and comment changed and
// everything else as it was.

#include "TranslationCheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <vector>

using namespace clitest;

namespace {

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
