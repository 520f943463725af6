#include "ExportTestSupport.h"

#include "export/TaggedSheetWriter.h"
#include "run/RunContext.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace celltrove;

// A sheet writer with its document begun, as the export sets one up.
class PeriodicSave : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(writer.begin(path, QStringLiteral("cellTrove für Excel "), QStringLiteral("x.xls"), 1,
                                 QStringLiteral("Blatt")).ok);
    }
    // One exported cell, counted by the scan before its block as the export does.
    void writeCell(int row, const QString &text) {
        ++writeCounter;
        writer.WriteCellBlock(row, 1, text);
    }

    ExportFixture f;
    const run::RunRequest request = f.request({});
    run::RunContext context{request, f.texts, f.settings, f.ui};
    int writeCounter = 0;
    exporting::TaggedSheetWriter writer{context, writeCounter};
    const QString path = f.path(QStringLiteral("Text_x.xls-1.rtf"));
};

// Once a checkpoint's save is done, the file on disk holds every cell written up
// to it and is a whole RTF document; writing then goes on at its end.
TEST_F(PeriodicSave, EachCheckpointLeavesACompleteFileOnDisk) {
    const int checkpoints[] = {375, 750};
    int written = 0;
    for (const int checkpoint : checkpoints) {
        while (written < checkpoint) {
            ++written;
            writeCell(written, QStringLiteral("Zelle %1").arg(written));
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
    writeCell(751, QStringLiteral("last"));
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
TEST_F(PeriodicSave, AFileChangedBetweenCheckpointsEndsInAFailure) {
    for (int row = 1; row <= 375; ++row) writeCell(row, QStringLiteral("Zelle %1").arg(row));
    ASSERT_TRUE(writer.waitForCheckpoint().ok);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("changed");
    }
    for (int row = 376; row <= 800; ++row) writeCell(row, QStringLiteral("Zelle %1").arg(row));
    EXPECT_FALSE(writer.finish().ok);
    EXPECT_TRUE(testsupport::readFile(path).endsWith("changed"));
}
