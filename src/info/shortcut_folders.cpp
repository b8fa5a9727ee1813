#include "info/shortcut_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvo {
namespace {

// A folder takes a file when it is a writable directory, or when it is missing and the folder
// above it is one (it is then created on the way).
bool canWriteInto(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.exists())
        return info.isDir() && info.isWritable();
    const QFileInfo parent(info.absolutePath());
    return parent.isDir() && parent.isWritable();
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

QString desktopFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).trimmed();
    if (folder.isEmpty())
        return {};
    QDir().mkpath(folder);
    return withoutTrailingSlash(folder);
}

QString chooseMenuFolder(const QString& dataDirs, const QString& userApplications,
                         const std::function<bool(const QString&)>& canWrite)
{
    QStringList dirs = dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // Only absolute paths count; relative ones are invalid and ignored.
    dirs.removeIf([](const QString& dir) { return !dir.startsWith(QLatin1Char('/')); });
    if (dirs.isEmpty())
        dirs = QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    for (const QString& dir : dirs) {
        QString applications = withoutTrailingSlash(dir) + QLatin1String("/applications");
        if (canWrite(applications))
            return applications;
    }
    return withoutTrailingSlash(userApplications);
}

QString systemMenuFolder()
{
    QString folder
        = chooseMenuFolder(qEnvironmentVariable("XDG_DATA_DIRS"),
                           QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation), canWriteInto);
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    return folder;
}

} // namespace tarvo
