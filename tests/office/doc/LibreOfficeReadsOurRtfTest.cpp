// Our RTF as LibreOffice Writer reads it: the texts, the character styles of the
// tagged paragraphs with their font, colour and language, and the tables.
#include "DocTestHelpers.h"
#include "LibreOfficeSupport.h"

#include "office/doc/Application.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

TEST(LibreOfficeReadsOurRtf, TaggedAndTableDocuments) {
    REQUIRE_PROGRAM("soffice");
    QTemporaryDir dir;
    office::CellGridClipboard clipboard;
    Application app(&clipboard);

    // A tagged document as the export types it.
    const QString tagged = dir.filePath(QStringLiteral("Text_Umsatz.xls-1.rtf"));
    Document *doc = app.documents().add();
    ASSERT_TRUE(doc->saveAs(tagged, SaveFormat::Rtf).ok);
    doctest::addTaggedStyles(*doc);
    Selection &sel = doc->selection();
    sel.typeText(QStringLiteral("<!-- cellTrove für Excel 1.0 Build: 13 -->\r<!-- ExcelsheetName: -->Übersicht\r\r"));
    doctest::typeCellBlock(sel, 1, 1, QStringLiteral("Grüße \u20AC \u0416\u65E5\u672C {x} \\"));
    doctest::typeCellBlock(sel, 2, 3, QStringLiteral("zwei\nZeilen"));
    ASSERT_TRUE(doc->save().ok);
    doctest::typeCellBlock(sel, 3, 1, QStringLiteral("nach dem Zwischenspeichern"));
    sel.insertAfter(QStringLiteral("<!-- CellIDs-Gesamt:>>3"));
    (void)sel.range().setStyle(QStringLiteral("tw4winExternal"));
    doc->range(0, doc->paragraphs(2).end() - 1).setStyle(QStringLiteral("tw4winExternal"));
    ASSERT_TRUE(doc->save().ok);
    const auto ours = doctest::engineBlocks(*doc);

    // A table form: header and a pasted grid with line breaks replaced by <<lf>>.
    const QString table = dir.filePath(QStringLiteral("Tab_Umsatz.xls-1.rtf"));
    Document *tab = app.documents().add();
    doctest::addTaggedStyles(*tab);
    tab->selection().typeText(QStringLiteral("<!-- ExcelsheetNr.: -->1\r\r"));
    clipboard.setGrid({{QStringLiteral("Name"), QStringLiteral("Wert")}, {QStringLiteral("a<<lf>>b"), QStringLiteral("3")}});
    tab->selection().paste();
    tab->tables().item(1).autoFitBehavior(1);
    ASSERT_TRUE(tab->saveAs(table, SaveFormat::Rtf).ok);

    const QJsonObject lo = doctest::libreOfficeDump({tagged, table});
    ASSERT_FALSE(lo.isEmpty());
    const QJsonObject taggedLo = lo.value(tagged).toObject();
    ASSERT_FALSE(taggedLo.contains(QStringLiteral("error"))) << taggedLo.value(QStringLiteral("error")).toString().toStdString();
    EXPECT_EQ(doctest::libreOfficeBlocks(taggedLo), ours) << doctest::describe(doctest::libreOfficeBlocks(taggedLo));

    // Every run of a marker paragraph: the style, Courier New, grey, no proofing language.
    int markerRuns = 0;
    QSet<QString> markerLanguages;
    QString bodyLanguage;
    for (const QJsonValue &block : taggedLo.value(QStringLiteral("blocks")).toArray()) {
        const QJsonObject p = block.toObject();
        if (p.value(QStringLiteral("p")).toString().startsWith(QStringLiteral("Grüße")))
            bodyLanguage = p.value(QStringLiteral("runs")).toArray().at(0).toArray().at(4).toString();
    }
    EXPECT_EQ(bodyLanguage, QStringLiteral("de-DE"));
    for (const QJsonValue &block : taggedLo.value(QStringLiteral("blocks")).toArray()) {
        const QJsonObject p = block.toObject();
        if (!p.value(QStringLiteral("p")).toString().startsWith(QLatin1String("<!-- CellID:"))) continue;
        for (const QJsonValue &runValue : p.value(QStringLiteral("runs")).toArray()) {
            const QJsonArray run = runValue.toArray();
            EXPECT_EQ(run.at(1).toString(), QStringLiteral("tw4winExternal"));
            EXPECT_EQ(run.at(2).toString(), QStringLiteral("Courier New"));
            EXPECT_EQ(run.at(3).toInt(), 0x808080);
            markerLanguages.insert(run.at(4).toString());
            ++markerRuns;
        }
    }
    // The runs carry Word's "no proofing" (\lang1024\noproof). LibreOffice knows no
    // such language: it reads LCID 1024 as its user-interface language and ignores
    // \noproof (it shows "zxx" only for its own \lang255, which Word does not know).
    // What can be checked is that the markers do not carry the text's language.
    EXPECT_EQ(markerLanguages.size(), 1);
    EXPECT_FALSE(markerLanguages.contains(bodyLanguage)) << bodyLanguage.toStdString();
    EXPECT_EQ(markerRuns, 3);

    const QJsonObject tableLo = lo.value(table).toObject();
    const auto tableBlocks = doctest::libreOfficeBlocks(tableLo);
    ASSERT_EQ(tableBlocks.size(), 4) << doctest::describe(tableBlocks);
    EXPECT_TRUE(tableBlocks[2].isTable);
    EXPECT_EQ(tableBlocks[2].cells,
              (QList<QStringList>{{QStringLiteral("Name"), QStringLiteral("Wert")}, {QStringLiteral("a<<lf>>b"), QStringLiteral("3")}}));
}

}  // namespace
