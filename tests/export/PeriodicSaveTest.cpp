#include "ExportTestSupport.h"

#include "export/TaggedSheetWriter.h"
#include "run/RunContext.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace celltrove;

// Once a checkpoint's save is done, the file on disk holds every cell written up
// to it and is a whole RTF document; writing then goes on at its end.
TEST(PeriodicSave, EachCheckpointLeavesACompleteFileOnDisk) {
    ExportFixture f;
    const run::RunRequest request = f.request({});
    run::RunContext context(request, f.texts, f.settings, f.ui);
    int writeCounter = 0;
    exporting::TaggedSheetWriter writer(context, writeCounter);
    const QString path = f.path(QStringLiteral("Text_x.xls-1.rtf"));
    ASSERT_TRUE(writer.begin(path, QStringLiteral("cellTrove für Excel "), QStringLiteral("x.xls"), 1,
                             QStringLiteral("Blatt")).ok);

    const int checkpoints[] = {375, 750};
    int written = 0;
    for (const int checkpoint : checkpoints) {
        while (written < checkpoint) {
            ++written;
            ++writeCounter;  // the scan counts before each block
            writer.WriteCellBlock(written, 1, QStringLiteral("Zelle %1").arg(written));
            if (written == checkpoint - 1) {
                ASSERT_TRUE(writer.waitForCheckpoint().ok);
                EXPECT_EQ(markersInRtf(testsupport::readFile(path)).size(), checkpoint - 375) << "saved too early";
            }
        }
        ASSERT_TRUE(writer.waitForCheckpoint().ok);
        const QByteArray onDisk = testsupport::readFile(path);
        EXPECT_EQ(markersInRtf(onDisk).size(), checkpoint);
        EXPECT_TRUE(onDisk.trimmed().endsWith('}'));
        EXPECT_TRUE(onDisk.contains(QStringLiteral("Zelle %1").arg(checkpoint).toLatin1()));
    }
    ++writeCounter;
    writer.WriteCellBlock(751, 1, QStringLiteral("last"));
    ASSERT_TRUE(writer.finish().ok);
    const QByteArray final = testsupport::readFile(path);
    const QStringList markers = markersInRtf(final);
    ASSERT_EQ(markers.size(), 751);
    for (int i = 0; i < markers.size(); ++i) ASSERT_EQ(markers[i], QStringLiteral("%1,1").arg(i + 1));
    EXPECT_EQ(totalLineNumber(final), 751);
    EXPECT_EQ(final.count("\\rtf1"), 1);
}

// A checkpoint whose file was changed by another program is a failure at the
// end of the sheet, and the file is left as that program left it.
TEST(PeriodicSave, AFileChangedBetweenCheckpointsEndsInAFailure) {
    ExportFixture f;
    const run::RunRequest request = f.request({});
    run::RunContext context(request, f.texts, f.settings, f.ui);
    int writeCounter = 0;
    exporting::TaggedSheetWriter writer(context, writeCounter);
    const QString path = f.path(QStringLiteral("Text_x.xls-1.rtf"));
    ASSERT_TRUE(writer.begin(path, QStringLiteral("cellTrove für Excel "), QStringLiteral("x.xls"), 1,
                             QStringLiteral("Blatt")).ok);
    auto writeCells = [&](int from, int to) {
        for (int row = from; row <= to; ++row) {
            ++writeCounter;
            writer.WriteCellBlock(row, 1, QStringLiteral("Zelle %1").arg(row));
        }
    };
    writeCells(1, 375);
    ASSERT_TRUE(writer.waitForCheckpoint().ok);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("changed");
    }
    writeCells(376, 800);
    EXPECT_FALSE(writer.finish().ok);
    EXPECT_TRUE(testsupport::readFile(path).endsWith("changed"));
}
