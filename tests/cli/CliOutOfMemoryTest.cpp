// When memory runs out while a file is read, the reader refuses the file with a
// reason and the program ends normally. Memory is made to run out with the
// address sanitizer's cap on one allocation, which the program's own child
// process inherits; without the sanitizer there is no such cap and the test skips.

#include "office/sheet/BiffBuilder.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// One paragraph of 40 MB: reading it needs blocks far above the cap.
QByteArray longParagraph() {
    return "{\\rtf1\\ansi " + QByteArray("Ein langer Absatz ohne Ende ").repeated(1500000) + "}";
}

// A sheet full across 256 columns for 8,192 rows: two million cells.
QByteArray fullSheet() {
    using namespace biffbuild;
    QByteArray cells;
    for (int row = 0; row < 8192; ++row) {
        QByteArray body = u16(unsigned(row)) + u16(0);
        for (int column = 0; column < 256; ++column) body += u16(0) + u32(std::uint32_t(column) << 2 | 2);
        body += u16(255);
        cells += record(0x00BD, body);
    }
    Book b;
    b.sheets.push_back({QStringLiteral("Voll"), cells});
    return file(b.stream());
}

}  // namespace

TEST(CliOutOfMemory, ReadersRefuseWithAReason) {
#if !defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "needs the address sanitizer's allocation cap";
#endif
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("Absatz.rtf")), longParagraph()));
    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("Voll.xls")), fullSheet()));
    struct Case {
        const char *command;
        const char *file;
        const char *reason;
    };
    const Case cases[] = {
        {"text", "Absatz.rtf", "There is not enough memory to read the RTF file."},
        {"cells", "Voll.xls", "Nicht genug Arbeitsspeicher, um die Arbeitsmappe zu lesen"},
    };
    const QByteArray saved = qEnvironmentVariableIsSet("ASAN_OPTIONS") ? qgetenv("ASAN_OPTIONS") : QByteArray();
    qputenv("ASAN_OPTIONS", "max_allocation_size_mb=16:allocator_may_return_null=1:detect_leaks=0");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        const testsupport::ProcessResult r =
            testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                    {QString::fromLatin1(c.command), QString::fromLatin1(c.file)}, 120000, dir.path());
        EXPECT_GT(r.exitCode, 0) << "a refusal, not a crash (-1) or success (0)";
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(QString::fromUtf8(c.reason))) << r.err.toStdString();
    }
    if (saved.isNull()) qunsetenv("ASAN_OPTIONS");
    else qputenv("ASAN_OPTIONS", saved);
}
