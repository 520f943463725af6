#include "office/doc/RtfCodePages.h"

#include <QTextCodec>

namespace office::doc {

int codePageForCharset(int charset) {
    switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 78: return 10001;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

namespace {

QTextCodec *codecFor(int codePage) {
    QTextCodec *c = nullptr;
    switch (codePage) {
    case 10000: c = QTextCodec::codecForName("macintosh"); break;
    case 932: c = QTextCodec::codecForName("Shift_JIS"); break;
    case 936: c = QTextCodec::codecForName("GBK"); break;
    case 949: c = QTextCodec::codecForName("windows-949"); break;
    case 950: c = QTextCodec::codecForName("Big5"); break;
    case 437: c = QTextCodec::codecForName("IBM437"); break;
    case 850: c = QTextCodec::codecForName("IBM850"); break;
    default: break;
    }
    if (!c) c = QTextCodec::codecForName("windows-" + QByteArray::number(codePage));
    if (!c) c = QTextCodec::codecForName("cp" + QByteArray::number(codePage));
    if (!c) c = QTextCodec::codecForName("windows-1252");
    return c;
}

// Code pages whose characters take one or two bytes.
bool isMultiByte(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

}  // namespace

const CodePageDecoder::Decoder &CodePageDecoder::decoder(int codePage) {
    if (m_last && codePage == m_lastCodePage) return *m_last;
    auto it = m_decoders.constFind(codePage);
    if (it == m_decoders.constEnd()) {
        Decoder d;
        d.codec = codecFor(codePage);
        if (!d.codec) {
            d.table.resize(256);
            for (int b = 0; b < 256; ++b) d.table[size_t(b)] = char16_t(b);  // Latin-1
        } else if (!isMultiByte(codePage)) {
            d.table.resize(256);
            for (int b = 0; b < 256; ++b) {
                const QString one = d.codec->toUnicode(QByteArray(1, char(b)));
                d.table[size_t(b)] = one.size() == 1 ? one.at(0).unicode() : char16_t(0xFFFD);
            }
        }
        d.asciiAsIs = !d.table.empty();
        for (int b = 0x20; b < 0x80 && d.asciiAsIs; ++b) d.asciiAsIs = d.table[size_t(b)] == char16_t(b);
        it = m_decoders.insert(codePage, std::move(d));  // may move the other entries
    }
    m_lastCodePage = codePage;
    m_last = &*it;
    return *m_last;
}

QString CodePageDecoder::decode(int codePage, const QByteArray &bytes) {
    QString text;
    decodeInto(codePage, bytes, text);
    return text;
}

const char16_t *CodePageDecoder::byteTable(int codePage, bool *asciiAsIs) {
    const Decoder &d = decoder(codePage);
    if (asciiAsIs) *asciiAsIs = d.asciiAsIs;
    return d.table.empty() ? nullptr : d.table.data();
}

void CodePageDecoder::decodeInto(int codePage, const QByteArray &bytes, QString &out) {
    const Decoder &d = decoder(codePage);
    if (d.table.empty()) {
        out = d.codec->toUnicode(bytes);
        return;
    }
    out.resize(bytes.size());
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    const auto *from = reinterpret_cast<const uchar *>(bytes.constData());
    const char16_t *table = d.table.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) to[i] = table[from[i]];
}

}  // namespace office::doc
