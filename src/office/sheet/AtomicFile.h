#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

namespace office::sheet {

/// Writes bytes to a device; returns false when it could not write them all.
using DeviceWriter = std::function<bool(QIODevice &device, const QByteArray &bytes)>;

/// Replaces the file at path with bytes atomically: they go to a temporary file in the
/// same folder, which is flushed to disk and then renamed over path. On any failure the
/// temporary file is removed and path keeps its old contents. writer (for tests) does
/// the writing; by default the bytes are written whole.
Status writeFileAtomically(const QString &path, const QByteArray &bytes, const DeviceWriter &writer = {});

/// Fills an open, empty file from its start; returns the reason of a failure.
using DescriptorFiller = std::function<Status(int fd)>;

/// The same for content that `fill` writes straight into the temporary file, so
/// that no image of a large file has to be built in memory first.
Status writeFileAtomically(const QString &path, const DescriptorFiller &fill);

}  // namespace office::sheet
