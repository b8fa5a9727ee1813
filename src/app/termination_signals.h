#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarvo {

// SIGTERM, SIGINT and SIGHUP arrive as the Qt signal received() on the event loop instead of
// killing the process, so that Tarvo ends its normal way: no power request, the tray icon removed.
// The handler only writes the signal's number into a pipe, which is all a handler may safely do.
// One instance at a time; on platforms without these signals it does nothing.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace tarvo
