#include "info/whole_file.h"

#include <QSaveFile>

namespace tarvo {

bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Without a commit the destructor throws the temporary file away.
    return file.write(bytes) == bytes.size() && file.flush() && file.commit();
}

} // namespace tarvo
