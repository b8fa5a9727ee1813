#pragma once

#include <QByteArray>
#include <QString>

namespace tarvo {

// Replaces the file with these bytes, whole or not at all: when anything fails, an older file stays
// as it was. QSaveFile::commit alone misses a full disk, whose error shows only when the buffer is
// written out, and would put an empty file in place of the old one.
bool writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace tarvo
