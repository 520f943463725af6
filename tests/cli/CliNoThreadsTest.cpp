// With no thread to spare (every thread start refused, as on a system out of
// threads or memory), each command still does its work on the one thread it has
// instead of ending with an uncaught exception.

#include "office/sheet/BiffBuilder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A sheet of 2,000 text cells: enough for the export to save its document in the
// background while it goes on (a thread of its own when there is one).
QByteArray textSheet() {
    using namespace biffbuild;
    QByteArray cells;
    for (int row = 0; row < 1000; ++row)
        for (int column = 0; column < 2; ++column)
            cells += record(0x0204, cellHeader(row, column) + xlString(QStringLiteral("Zeile %1 Text %2").arg(row).arg(column)));
    Book b;
    b.sheets.push_back({QStringLiteral("Texte"), cells});
    return file(b.stream());
}

}  // namespace

TEST(CliNoThreads, EveryCommandWorksOnOneThread) {
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("Mappe.xls")), textSheet()));

    const QByteArray saved = qgetenv("ASAN_OPTIONS");
    qputenv("LD_PRELOAD", CELLTROVE_NO_THREADS_LIB);
    // The sanitizers' runtime otherwise insists on coming first among the libraries.
    qputenv("ASAN_OPTIONS", saved + ":verify_asan_link_order=0");
    struct Step {
        QStringList args;
        const char *made;  // a file the step leaves in the folder
    };
    const Step steps[] = {
        {{QStringLiteral("export"), QStringLiteral("Mappe.xls")}, "Text_Mappe.xls-1.rtf"},
        {{QStringLiteral("import"), QStringLiteral("Text_Mappe.xls-1.rtf")}, "Celltrove4Excel-Import.log"},
        {{QStringLiteral("cat"), QStringLiteral("--name"), QStringLiteral("Alle.rtf"), QStringLiteral("Text_Mappe.xls-1.rtf")},
         "bindle/Alle.rtf"},
        {{QStringLiteral("split"), QStringLiteral("bindle/Alle.rtf")}, "bindle/Alle.rtf"},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.args.join(u' ').toStdString());
        const testsupport::ProcessResult r = testsupport::runProgram(
            testsupport::binDir() + QStringLiteral("/celltrove-cli"), step.args, 120000, dir.path());
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromLatin1(step.made))));
    }
    qunsetenv("LD_PRELOAD");
    qputenv("ASAN_OPTIONS", saved);
    const QByteArray log = testsupport::readFile(dir.filePath(QStringLiteral("Celltrove4Excel-Import.log")));
    EXPECT_TRUE(log.contains("2000 Zellen importiert")) << log.toStdString();
}
