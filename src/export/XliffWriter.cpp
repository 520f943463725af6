#include "export/XliffWriter.h"

#include "import/XliffVocabulary.h"
#include "office/ole/OutputPath.h"

namespace celltrove::exporting {

namespace xliff = importing::xliff;

namespace {

const QString kNewLine = QStringLiteral("\n");

QString codePointText(char32_t c) {
    return QStringLiteral("U+") + QString::number(quint32(c), 16).toUpper().rightJustified(4, u'0');
}

// Text without codes (a note, a name): its line feeds stay, what XML cannot hold becomes U+FFFD.
QString plainText(const QString &note) {
    QString text = note;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        if (c == u'\r')
            text[i] = u'\n';
        else if (!importing::xliff::IsXmlCharacter(c) || QChar::isSurrogate(c))
            text[i] = QChar(0xFFFD);
    }
    return text;
}

}  // namespace

office::Status XliffWriter::open(const QString &path) {
    if (office::Status target = office::checkOutputPath(path); !target) return target;
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly)) return office::Status::failure(m_file->errorString());
    m_xml.setDevice(m_file.get());
    m_xml.writeStartDocument();
    m_xml.writeCharacters(kNewLine);
    m_xml.writeDefaultNamespace(xliff::kNamespace);
    m_xml.writeNamespace(xliff::kCelltroveNamespace, QStringLiteral("ct"));
    m_xml.writeStartElement(xliff::kNamespace, QStringLiteral("xliff"));
    m_xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
    m_xml.writeCharacters(kNewLine);
    return office::Status::success();
}

void XliffWriter::beginFile(const XliffSheetHeader &header) {
    const QString &ns = xliff::kNamespace;
    m_xml.writeStartElement(ns, QStringLiteral("file"));
    m_xml.writeAttribute(QStringLiteral("original"),
                         plainText(header.workbookFileName) + u'#' + QString::number(header.sheetIndex));
    m_xml.writeAttribute(QStringLiteral("datatype"), xliff::kDatatype);
    m_xml.writeAttribute(QStringLiteral("source-language"), header.sourceLanguage);
    if (!header.targetLanguage.isEmpty())
        m_xml.writeAttribute(QStringLiteral("target-language"), header.targetLanguage);
    m_xml.writeCharacters(kNewLine);
    m_xml.writeStartElement(ns, QStringLiteral("header"));
    m_xml.writeEmptyElement(ns, QStringLiteral("tool"));
    m_xml.writeAttribute(QStringLiteral("tool-id"), QStringLiteral("celltrove"));
    m_xml.writeAttribute(QStringLiteral("tool-name"), header.toolName);
    m_xml.writeAttribute(QStringLiteral("tool-version"), header.toolVersion);
    m_xml.writeTextElement(xliff::kCelltroveNamespace, QStringLiteral("workbook"), plainText(header.workbookFileName));
    m_xml.writeStartElement(xliff::kCelltroveNamespace, QStringLiteral("sheet"));
    m_xml.writeAttribute(QStringLiteral("index"), QString::number(header.sheetIndex));
    m_xml.writeCharacters(plainText(header.sheetName));
    m_xml.writeEndElement();
    m_xml.writeEndElement();  // header
    m_xml.writeCharacters(kNewLine);
    m_xml.writeStartElement(ns, QStringLiteral("body"));
    m_xml.writeCharacters(kNewLine);
}

void XliffWriter::writeUnit(const QString &id, const QString &resname, const QString &text, const QString &note) {
    const QString &ns = xliff::kNamespace;
    m_xml.writeStartElement(ns, QStringLiteral("trans-unit"));
    m_xml.writeAttribute(QStringLiteral("id"), id);
    m_xml.writeAttribute(QStringLiteral("resname"), resname);
    m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    m_xml.writeStartElement(ns, QStringLiteral("source"));
    writeInlineText(text);
    m_xml.writeEndElement();
    m_xml.writeStartElement(ns, QStringLiteral("target"));
    m_xml.writeAttribute(QStringLiteral("state"), xliff::kTargetState);
    writeInlineText(text);
    m_xml.writeEndElement();
    if (!note.isEmpty()) {
        m_xml.writeStartElement(ns, QStringLiteral("note"));
        m_xml.writeCharacters(plainText(note));
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement();
    m_xml.writeCharacters(kNewLine);
}

void XliffWriter::writeInlineText(const QString &text) {
    const QString &ns = xliff::kNamespace;
    int codeId = 0;
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart) m_xml.writeCharacters(text.mid(runStart, end - runStart));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        const bool plain = c != u'\n' && c != u'\r' && xliff::IsXmlCharacter(c) && !QChar::isSurrogate(c);
        if (plain) continue;
        flush(i);
        runStart = i + 1;
        if (c == u'\n') {
            m_xml.writeEmptyElement(ns, QStringLiteral("x"));
            m_xml.writeAttribute(QStringLiteral("id"), QString::number(++codeId));
            m_xml.writeAttribute(QStringLiteral("ctype"), xliff::kLineBreakType);
        } else {
            m_xml.writeStartElement(ns, QStringLiteral("ph"));
            m_xml.writeAttribute(QStringLiteral("id"), QString::number(++codeId));
            m_xml.writeAttribute(QStringLiteral("ctype"), xliff::kCharacterType);
            m_xml.writeCharacters(codePointText(c));
            m_xml.writeEndElement();
        }
    }
    flush(text.size());
}

void XliffWriter::endFile() {
    m_xml.writeEndElement();  // body
    m_xml.writeCharacters(kNewLine);
    m_xml.writeEndElement();  // file
    m_xml.writeCharacters(kNewLine);
}

office::Status XliffWriter::commit() {
    m_xml.writeEndElement();  // xliff
    m_xml.writeCharacters(kNewLine);
    m_xml.writeEndDocument();
    // A failed flush of QSaveFile's buffer (a full disk) would not stop commit().
    if (m_xml.hasError() || !m_file->flush()) {
        const QString reason = office::writeFailureReason(*m_file);
        m_file->cancelWriting();
        m_file->commit();
        return office::Status::failure(reason);
    }
    if (!m_file->commit()) return office::Status::failure(m_file->errorString());
    return office::Status::success();
}

}  // namespace celltrove::exporting
