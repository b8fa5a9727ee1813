#include "info/whole_file.h"

#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <QSaveFile>
#else
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#endif

namespace tarvo {

#if defined(Q_OS_WIN)

bool writeWholeFile(const QString& path, const QByteArray& bytes, bool)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size() && file.flush() && file.commit();
}

#else

namespace {

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

bool writeWholeFile(const QString& path, const QByteArray& bytes, bool executable)
{
    const QFileInfo info(path);
    // A name of our own beside the target: O_EXCL never opens anything that is already there,
    // a link included, and the rename then replaces the name itself.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName()
                                      + QLatin1Char('.') + QString::number(QRandomGenerator::global()->generate(), 36));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    executable ? 0777 : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    // fsync: a full disk may show only when the data is written out, after every write succeeded.
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) == 0;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

#endif

} // namespace tarvo
