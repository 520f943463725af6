#include "import/XliffReader.h"

#include "import/XliffVocabulary.h"

#include <QFile>
#include <QXmlStreamReader>

namespace celltrove::importing {

namespace {

constexpr qint64 kChunkBytes = 256 * 1024;
// The reader hands out a text only when it is whole, holding all of it until
// then. No token of a file we can take comes near this (a cell's text is at
// most 32767 characters); a file that feeds more without a token is refused.
constexpr qint64 kMaxBytesPerToken = 4 * 1024 * 1024;

// Inline elements whose content is native code, not text.
bool holdsNativeCode(QStringView name) {
    return name == u"bpt" || name == u"ept" || name == u"it" || name == u"ph" || name == u"sub";
}

// "U+0001" back to its character; nothing for anything else.
QString characterFromCode(QStringView code) {
    if (!code.startsWith(u"U+") || code.size() > 8) return {};
    bool ok = false;
    const uint value = code.mid(2).toUInt(&ok, 16);
    if (!ok || value > 0x10FFFF) return {};
    if (value <= 0xFFFF) return QString(QChar(char16_t(value)));
    const char32_t c = value;
    return QString::fromUcs4(&c, 1);
}

// The text of a <source> or <target> while it is read.
struct InlineText {
    QString text;
    bool tooLong = false;
    int codeDepth = 0;  // depth of a native-code element being skipped; 0 outside
    bool characterCode = false;
    QString code;

    void append(QStringView part) {
        if (tooLong) return;
        if (text.size() + part.size() > xliff::kMaxUnitText) {
            tooLong = true;
            text.clear();
            return;
        }
        text.append(part);
    }
};

class Parser {
public:
    Parser(QIODevice &device, XliffDocument &document) : m_device(device), m_document(document) {}

    office::Status run() {
        m_xml.setNamespaceProcessing(true);
        bool more = feed();
        for (;;) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::Invalid) {
                if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && more) {
                    if (m_bytesSinceToken > kMaxBytesPerToken)
                        return failure(QStringLiteral("Text zu lang (mehr als %1 Bytes)").arg(kMaxBytesPerToken));
                    more = feed();
                    continue;
                }
                if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && m_rootClosed) break;
                return failure(m_xml.errorString());
            }
            m_bytesSinceToken = 0;
            if (token == QXmlStreamReader::EndDocument) break;
            if (token == QXmlStreamReader::DTD) return failure(QStringLiteral("Dokumenttyp-Deklaration nicht erlaubt"));
            if (token == QXmlStreamReader::EntityReference)
                return failure(QStringLiteral("Entität nicht erlaubt: ") + m_xml.name().toString());
            if (token == QXmlStreamReader::StartElement && !startElement()) return m_error;
            if (token == QXmlStreamReader::EndElement) endElement();
            if (token == QXmlStreamReader::Characters) characters();
        }
        if (!m_rootSeen) return failure(QStringLiteral("kein XLIFF-Dokument"));
        return office::Status::success();
    }

private:
    bool feed() {
        const QByteArray chunk = m_device.read(kChunkBytes);
        if (chunk.isEmpty()) return false;
        m_xml.addData(chunk);
        m_bytesSinceToken += chunk.size();
        return true;
    }

    office::Status failure(const QString &reason) {
        return office::Status::failure(
            QStringLiteral("Zeile %1, Spalte %2: %3").arg(m_xml.lineNumber()).arg(m_xml.columnNumber()).arg(reason),
            m_xml.characterOffset());
    }

    bool isXliff() const {
        const QStringView ns = m_xml.namespaceUri();
        return ns.isEmpty() || ns == xliff::kNamespace;
    }

    bool startElement() {
        ++m_depth;
        const QStringView name = m_xml.name();
        if (m_depth == 1) {
            if (name != u"xliff" || !isXliff()) {
                m_error = failure(QStringLiteral("kein XLIFF-Dokument"));
                return false;
            }
            m_rootSeen = true;
            return true;
        }
        if (m_capture) {
            captureElement(name);
            return true;
        }
        if (!isXliff()) return true;
        if (name == u"file" && m_fileDepth == 0) {
            m_fileDepth = m_depth;
            XliffFile file;
            file.original = m_xml.attributes().value(QStringLiteral("original")).toString();
            file.line = m_xml.lineNumber();
            m_document.files.push_back(std::move(file));
        } else if (name == u"trans-unit" && m_fileDepth > 0 && m_unitDepth == 0) {
            m_unitDepth = m_depth;
            m_unit = XliffUnit{};
            m_unit.id = m_xml.attributes().value(QStringLiteral("id")).toString();
            m_unit.line = m_xml.lineNumber();
            m_hasSource = false;
            m_source = InlineText{};
            m_target = InlineText{};
        } else if (m_unitDepth > 0 && m_depth == m_unitDepth + 1 && (name == u"source" || name == u"target")) {
            m_capture = name == u"source" ? &m_source : &m_target;
            m_captureDepth = m_depth;
            if (name == u"source")
                m_hasSource = true;
            else
                m_unit.hasTarget = true;
        }
        return true;
    }

    void captureElement(QStringView name) {
        InlineText &t = *m_capture;
        if (t.codeDepth > 0) return;
        if (name == u"x" && m_xml.attributes().value(QStringLiteral("ctype")) == xliff::kLineBreakType) {
            t.append(u"\n");
        } else if (holdsNativeCode(name)) {
            t.codeDepth = m_depth;
            t.characterCode =
                name == u"ph" && m_xml.attributes().value(QStringLiteral("ctype")) == xliff::kCharacterType;
            t.code.clear();
        }
        // Any other inline element (g, mrk, bx, ex, x) is transparent: its text, if any, is read.
    }

    void characters() {
        if (!m_capture) return;
        InlineText &t = *m_capture;
        if (t.codeDepth == 0) {
            t.append(m_xml.text());
        } else if (t.characterCode && t.code.size() < 16) {
            t.code.append(m_xml.text().left(16));
        }
    }

    void endElement() {
        if (m_capture) {
            InlineText &t = *m_capture;
            if (t.codeDepth == m_depth) {
                if (t.characterCode) t.append(characterFromCode(t.code));
                t.codeDepth = 0;
            }
            if (m_depth == m_captureDepth) m_capture = nullptr;
        } else if (m_depth == m_unitDepth) {
            finishUnit();
            m_unitDepth = 0;
        } else if (m_depth == m_fileDepth) {
            m_fileDepth = 0;
        } else if (m_depth == 1) {
            m_rootClosed = true;
        }
        --m_depth;
    }

    void finishUnit() {
        m_unit.tooLong = m_source.tooLong || m_target.tooLong;
        if (!m_unit.tooLong) {
            m_unit.changed = m_unit.hasTarget && (!m_hasSource || m_target.text != m_source.text);
            m_unit.text = m_unit.hasTarget ? std::move(m_target.text) : std::move(m_source.text);
        }
        m_document.files.back().units.push_back(std::move(m_unit));
    }

    QIODevice &m_device;
    XliffDocument &m_document;
    QXmlStreamReader m_xml;
    office::Status m_error;
    qint64 m_bytesSinceToken = 0;
    int m_depth = 0;
    int m_fileDepth = 0;
    int m_unitDepth = 0;
    int m_captureDepth = 0;
    bool m_rootSeen = false;
    bool m_rootClosed = false;
    bool m_hasSource = false;
    XliffUnit m_unit;
    InlineText m_source;
    InlineText m_target;
    InlineText *m_capture = nullptr;
};

}  // namespace

office::Status ReadXliff(QIODevice &device, XliffDocument &document) {
    document.files.clear();
    return Parser(device, document).run();
}

office::Status ReadXliffFile(const QString &path, XliffDocument &document) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return office::Status::failure(file.errorString());
    return ReadXliff(file, document);
}

}  // namespace celltrove::importing
