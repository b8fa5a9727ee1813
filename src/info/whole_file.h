#pragma once

#include <QByteArray>
#include <QString>

namespace tarvo {

// Replaces the file at path with these bytes, whole or not at all. A new file is written beside it
// and then renamed over the name: when anything fails (a full disk, a read-only folder) an older
// file stays as it was, and a symbolic link planted at the name is replaced, never written through.
// Where the name cannot be replaced (another user's link in a sticky folder) nothing is written.
// Only the new file gets a mode: executable asks for the execute bits (within the umask).
bool writeWholeFile(const QString& path, const QByteArray& bytes, bool executable = false);

} // namespace tarvo
