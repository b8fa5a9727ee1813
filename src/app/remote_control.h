#pragma once

#include <QString>

namespace tarvo {

// What a running Tarvo offers to later starts in the same session: coming forward, and the state,
// cancelling and lengthening of its countdown. Free of widgets, so that the bus side can be tested
// on its own and the window side is one small adapter.
class RemoteControl {
public:
    struct Status {
        bool armed = false; // a countdown runs or is paused
        QString line; // one German sentence about it
    };

    virtual ~RemoteControl() = default;
    virtual void comeForward() = 0;
    virtual Status status() const = 0;
    // As "Timer Abbrechen" does; false when no countdown was armed.
    virtual bool cancel() = 0;
    // minutes: 1 to kMaxAddMinutes. False when no countdown is armed.
    virtual bool add(int minutes) = 0;
};

// The most --add takes, and the most a countdown grows to through it: the entry side's 14 days.
inline constexpr int kMaxAddMinutes = 20160;

} // namespace tarvo
