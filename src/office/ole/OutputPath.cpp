#include "office/ole/OutputPath.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace office {

Status checkOutputPath(const QString &path) {
    const QFileInfo link(path);
    if (!link.isSymLink()) return Status::success();
    // Both sides canonical, so a link within the folder named through another link still counts as inside.
    const QString target = link.canonicalFilePath();
    const QString folder = link.absoluteDir().canonicalPath();
    if (!target.isEmpty() && !folder.isEmpty() && QFileInfo(target).absolutePath() == folder) return Status::success();
    return Status::failure(QStringLiteral("%1 is a symbolic link to %2 outside its folder; it is not written through.")
                               .arg(path, target.isEmpty() ? link.symLinkTarget() : target));
}

QString writeFailureReason(const QFileDevice &file) {
    const int code = errno;
    if (code == ENOSPC || code == EFBIG || code == EDQUOT || code == EIO)
        return QString::fromLocal8Bit(std::strerror(code));
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return QStringLiteral("not all bytes were written");
}

}  // namespace office
