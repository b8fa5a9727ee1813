#include "app/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace tarvo {

void watchSessionEnd(QObject& window, std::function<bool()> questionOpen,
                     std::function<bool(const std::function<bool()>& mayAsk)> closeRequest)
{
#if QT_CONFIG(sessionmanager)
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        return;
    // The question needs the session manager's leave: without it the desktop blocks input and would
    // wait for an answer that cannot come, so Tarvo ends.
    QObject::connect(app, &QGuiApplication::commitDataRequest, &window,
                     [questionOpen = std::move(questionOpen), closeRequest = std::move(closeRequest)](
                         QSessionManager& manager) {
                         manager.setRestartHint(QSessionManager::RestartNever);
                         if (questionOpen())
                             return;
                         if (closeRequest([&manager] { return manager.allowsInteraction(); }))
                             manager.cancel();
                     });
    // Tarvo keeps nothing between runs and must not be started by the next session, which would
    // start it without the countdown it had.
    QObject::connect(app, &QGuiApplication::saveStateRequest, &window,
                     [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); });
#else
    Q_UNUSED(window);
    Q_UNUSED(questionOpen);
    Q_UNUSED(closeRequest);
#endif
}

} // namespace tarvo
