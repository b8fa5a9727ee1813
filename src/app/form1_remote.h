#pragma once

#include "app/countdown_status_line.h"
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

} // namespace tarvo
