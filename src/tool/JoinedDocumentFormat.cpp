#include "tool/JoinedDocumentFormat.h"

namespace celltrove::tool::joined {

namespace {

bool isControl(QChar c) {
    return c.category() == QChar::Other_Control;
}

}  // namespace

bool IsSafePartName(const QString &name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || isControl(c)) return false;
    return true;
}

QString PrintablePartName(const QString &name) {
    QString shown;
    shown.reserve(name.size());
    for (const QChar c : name) {
        if (isControl(c))
            shown += QStringLiteral("\\u") + QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

}  // namespace celltrove::tool::joined
