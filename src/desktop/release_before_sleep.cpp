#include "desktop/release_before_sleep.h"

#include <utility>

#include "desktop/idle_inhibitor.h"

namespace tarvo {

ReleaseBeforeSleep::ReleaseBeforeSleep(std::unique_ptr<PowerBackend> inner, IdleInhibitor& inhibitor,
    std::chrono::milliseconds cap)
    : m_inner(std::move(inner))
    , m_inhibitor(&inhibitor)
{
    m_cap.setSingleShot(true);
    m_cap.setInterval(cap);
    QObject::connect(&m_cap, &QTimer::timeout, &m_cap, [this] { sendWaiting(); });
    QObject::connect(&inhibitor, &IdleInhibitor::settled, &m_cap, [this] { sendWaiting(); });
}

void ReleaseBeforeSleep::request(PowerCode code, PowerDone done)
{
    const bool sleeps = code == power_code::Hibernate || code == power_code::Standby;
    if (!sleeps || !m_inhibitor) {
        m_inner->request(code, std::move(done));
        return;
    }
    m_inhibitor->release(); // normally done already, by the countdown's Firing state
    m_code = code;
    m_waiting = std::move(done);
    if (m_inhibitor->isSettled())
        sendWaiting();
    else
        m_cap.start();
}

void ReleaseBeforeSleep::sendWaiting()
{
    if (!m_waiting)
        return;
    m_cap.stop();
    m_inner->request(m_code, std::exchange(m_waiting, {}));
}

} // namespace tarvo
