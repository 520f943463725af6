#include "LibreOfficeSupport.h"

#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace doctest {

using namespace office::doc;

QString normalizeForComparison(QString text) {
    static constexpr char16_t kDropped[] = {0x1F, 0xAD, 0x2006, 0x200B, 0x200C, 0x200D, 0x200E, 0x200F, 0xFFFC, 0xFEFF};
    QString out;
    for (QChar c : text) {
        if (std::find(std::begin(kDropped), std::end(kDropped), c.unicode()) != std::end(kDropped)) continue;
        if (c.unicode() == 0x1E || c.unicode() == 0x2011) c = QChar(u'-');
        if (c.unicode() == 0xA0) c = QChar(u' ');
        out.append(c);
    }
    return out;
}

QList<Block> engineBlocks(const Document &doc) {
    QList<Block> blocks;
    const Story &story = doc.story();
    const auto &tables = doc.tableLayout();
    size_t next = 0;
    int start = 0;
    while (start < story.length()) {
        if (next < tables.size() && tables[next].start == start) {
            Block b;
            b.isTable = true;
            b.cells = Table(const_cast<Document *>(&doc), int(next) + 1).cellTexts();
            for (QStringList &row : b.cells)
                for (QString &cell : row) cell = normalizeForComparison(cell);
            blocks.append(b);
            start = tables[next++].end;
            continue;
        }
        int end = start;
        while (end < story.length() && story.at(end) != kParagraphMark && story.at(end) != kCellMark) ++end;
        Block b;
        b.text = normalizeForComparison(story.text(start, end).replace(QChar(kLineBreak), QChar(u'\n')));
        for (int p = start; p < end; ++p) {
            const Style *style = doc.styles().at(doc.charFormats().at(story.charFormatAt(p)).style);
            if (style && !b.styles.contains(style->nameLocal())) b.styles.append(style->nameLocal());
        }
        blocks.append(b);
        start = end + 1;
    }
    return blocks;
}

QList<Block> libreOfficeBlocks(const QJsonObject &file) {
    QList<Block> blocks;
    for (const QJsonValue &v : file.value(QStringLiteral("blocks")).toArray()) {
        const QJsonObject o = v.toObject();
        Block b;
        if (o.contains(QStringLiteral("table"))) {
            b.isTable = true;
            for (const QJsonValue &row : o.value(QStringLiteral("table")).toArray()) {
                QStringList cells;
                for (const QJsonValue &cell : row.toArray()) cells.append(normalizeForComparison(cell.toString()));
                b.cells.append(cells);
            }
        } else {
            b.text = normalizeForComparison(o.value(QStringLiteral("p")).toString());
            for (const QJsonValue &run : o.value(QStringLiteral("runs")).toArray()) {
                QString style = run.toArray().at(1).toString();
                // LibreOffice gives Word's built-in link styles names of its own.
                if (style == QLatin1String("Internet link")) style = QStringLiteral("Hyperlink");
                if (style == QLatin1String("Visited Internet Link")) style = QStringLiteral("FollowedHyperlink");
                if (!style.isEmpty() && !b.styles.contains(style)) b.styles.append(style);
            }
        }
        blocks.append(b);
    }
    return blocks;
}

QJsonObject libreOfficeDump(const QStringList &files) {
    const auto r = testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
                                           QStringList{testsupport::fixtureDir() + QStringLiteral("/lo_writer_dump.py")} + files,
                                           300000);
    if (r.exitCode != 0) return {};
    return QJsonDocument::fromJson(r.out).object();
}

std::string describe(const QList<Block> &blocks) {
    QString out;
    for (const Block &b : blocks) {
        if (b.isTable) {
            out += QStringLiteral("[table");
            for (const QStringList &row : b.cells) out += QStringLiteral(" {") + row.join(QStringLiteral("|")) + QStringLiteral("}");
            out += QStringLiteral("]\n");
        } else {
            out += QStringLiteral("\"") + b.text + QStringLiteral("\"");
            if (!b.styles.isEmpty()) out += QStringLiteral(" styles: ") + b.styles.join(QStringLiteral(", "));
            out += QLatin1Char('\n');
        }
    }
    return out.toStdString();
}

}  // namespace doctest
