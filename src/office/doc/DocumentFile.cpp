#include "office/doc/DocumentFile.h"

#include "office/doc/DocReader.h"
#include "office/doc/RtfReader.h"
#include "office/ole/CompoundFile.h"

#include <QFile>

namespace office::doc {

Status readDocumentFile(const QString &path, Document &into, SaveFormat *format) {
    QByteArray head;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return Status::failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        head = file.read(8);
    }
    const bool word = ole::hasOle2Signature(head);
    if (format) *format = word ? SaveFormat::Doc : SaveFormat::Rtf;
    return word ? DocReader::readFile(path, into) : RtfReader::readFile(path, into);
}

}  // namespace office::doc
