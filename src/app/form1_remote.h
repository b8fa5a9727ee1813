#pragma once

#include <QDateTime>

#include "app/remote_control.h"

namespace tarvo {

class Form1;

// The window's side of RemoteControl: the one place that reads the countdown's state from Form1 and
// acts on it for later starts of Tarvo.
class Form1Remote final : public RemoteControl {
public:
    explicit Form1Remote(Form1& form)
        : m_form(form)
    {
    }

    void comeForward() override;
    Status status() const override;
    bool cancel() override;
    bool add(int minutes) override;

private:
    bool armed() const;

    Form1& m_form;
};

// One German line about a countdown: "Ausschalten in 0:04:59, um 15:12 Uhr", the date added when
// the end is on another day, or "Ausschalten angehalten, noch 0:04:59" while it is paused.
QString countdownStatusLine(const QString& action, qint64 remainingSeconds, const QDateTime& now, bool paused);

} // namespace tarvo
