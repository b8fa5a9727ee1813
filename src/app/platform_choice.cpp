#include "app/platform_choice.h"

#include <QtGlobal>

namespace tarvo {

QString preferredPlatform(
    const QString& qpaPlatform, const QString& sessionType, const QString& waylandDisplay, const QString& display)
{
    const bool waylandSession = sessionType == QLatin1String("wayland") || !waylandDisplay.isEmpty();
    if (!qpaPlatform.isEmpty() || !waylandSession || display.isEmpty())
        return {};
    return QStringLiteral("xcb");
}

bool preferXWayland()
{
    const QString platform
        = preferredPlatform(qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("XDG_SESSION_TYPE"),
            qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("DISPLAY"));
    return !platform.isEmpty() && qputenv("QT_QPA_PLATFORM", platform.toLatin1());
}

} // namespace tarvo
