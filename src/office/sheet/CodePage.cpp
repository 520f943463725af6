#include "office/sheet/CodePage.h"

#include <QTextCodec>

namespace office::sheet {

const QTextCodec *codecForCodePage(int codePage) {
    QByteArray name;
    switch (codePage) {
    case 1200: name = "UTF-16LE"; break;  // Gnumeric writes Excel 95 files with UTF-16 byte strings
    case 367: name = "US-ASCII"; break;
    case 932: name = "Shift_JIS"; break;
    case 936: name = "GBK"; break;
    case 949: name = "windows-949"; break;
    case 950: name = "Big5"; break;
    case 10000:
    case 32768: name = "macintosh"; break;
    case 32769: name = "windows-1252"; break;
    default:
        if (codePage >= 1250 && codePage <= 1258) name = "windows-" + QByteArray::number(codePage);
        else name = "IBM" + QByteArray::number(codePage);
        break;
    }
    const QTextCodec *codec = QTextCodec::codecForName(name);
    if (!codec) codec = QTextCodec::codecForName("CP" + QByteArray::number(codePage));
    if (!codec) codec = QTextCodec::codecForName("windows-1252");
    return codec;
}

}  // namespace office::sheet
